#include "fenetrezelto.h"

#include "fenetres.h"
#include "focuschamp.h"
#include "gardefocus.h"
#include "link/transaction.h"
#include "model/etat.h"
#include "ordretabulation.h"
#include "platform/horloge.h"
#include "platform/plateforme.h"
#include "statut.h"
#include "suiviactivation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

FenetreZelto::FenetreZelto(int numero, QWidget* parent)
    : QMainWindow(parent), numero_(numero), garde_(new GardeFocus(this)),
      suivi_(new SuiviActivation(this, [this] { activationDemandee(); }))
{
    registre().inscrire(numero_, this);
}

FenetreZelto::~FenetreZelto()
{
    if (boucleModale_) boucleModale_->quit();
    if (registre().fenetre(numero_) == this) registre().retirer(numero_);
}

void FenetreZelto::charger()
{
    if (charge_) return;
    charge_ = true;
    fermetureEnAttente_ = false;
    placementAFinir_ = true;
    oublierFocus(this);
    retablirEtatsControles();
    registre().noterChargement(numero_);
    Form_Load();
}

void FenetreZelto::retablirEtatsControles()
{
    // The first load notes the controls' enabled state as built; every
    // later load starts from it, so no state left by the last opening (a
    // command cut short, a link loss) survives the close.
    const QList<QWidget*> controles = findChildren<QWidget*>();
    if (!etatsNotes_) {
        etatsNotes_ = true;
        for (QWidget* w : controles) etatsInitiaux_.emplace_back(w, !w->testAttribute(Qt::WA_ForceDisabled));
        return;
    }
    FocusParCode parCode;
    // Parents come before their children in the list.
    for (auto& [w, actif] : etatsInitiaux_)
        if (w) w->setEnabled(actif);
}

void FenetreZelto::afficher()
{
    charger();
    if (!charge_) return;   // the load steps unloaded the window
    if (!isVisible()) {
        premierFocusADonner_ = true;
        retenirPremierFocus(this);
    }
    show();
    raise();
    activateWindow();
    // A window system may keep the focus on a hidden window's surface and
    // then not activate it again when it shows.
    if (QGuiApplication::focusWindow() == windowHandle() && QApplication::activeWindow() != this)
        QApplication::setActiveWindow(this);
}

void FenetreZelto::afficherDepuis(QWidget* ouvreur)
{
    charger();
    if (!charge_) return;
    ouvreur_ = ouvreur;
    if (ouvreur) ouvreur->setEnabled(false);
    afficher();
}

void FenetreZelto::afficherModal()
{
    charger();
    if (!charge_) return;
    // The window that had the hand gets it back when this one unloads.
    QPointer<QWidget> ouvreur = QApplication::activeWindow();
    if (!ouvreur || ouvreur == this) ouvreur = SuiviActivation::derniere();
    const Qt::WindowModality avant = windowModality();
    if (!isVisible()) setWindowModality(Qt::ApplicationModal);
    afficher();
    if (isVisible()) {
        QEventLoop boucle;
        boucleModale_ = &boucle;
        boucle.exec();
        boucleModale_ = nullptr;
        if (reveilModal_) reveilModal_->stop();
    }
    if (isVisible()) return;
    setWindowModality(avant);
    if (ouvreur && ouvreur != this && ouvreur->isVisible() && ouvreur->isEnabled()) {
        if (SuiviActivation* s = SuiviActivation::de(ouvreur)) s->demanderActivation();
        else {
            ouvreur->raise();
            ouvreur->activateWindow();
        }
    }
}

void FenetreZelto::activationDemandee()
{
    if (activationPossible()) {
        if (activationDifferee_) activationDifferee_->setEnabled(false);
        activerEtPlacer();
        return;
    }
    if (!activationDifferee_) {
        activationDifferee_ = horloge().creerMinuterie();
        activationDifferee_->setInterval(100);
        activationDifferee_->surTick = [this] {
            if (!activationPossible()) return;
            activationDifferee_->setEnabled(false);
            if (isVisible() && isEnabled()) activerEtPlacer();
        };
    }
    activationDifferee_->setEnabled(true);
}

void FenetreZelto::activerEtPlacer()
{
    Form_Activate();
    if (premierFocusADonner_) {
        premierFocusADonner_ = false;
        if (isVisible()) {
            // The activation has set the texts: the layout is final.
            if (ordreEcran_) ordonnerTabulation(this);
            donnerPremierFocus(this);
        }
    }
    // The first activation after the load sets the window's texts: its size
    // is now final.
    if (placementAFinir_) {
        placementAFinir_ = false;
        finirPlacement(this);
    }
}

void FenetreZelto::activer()
{
    suivi_->demanderActivation();
}

bool FenetreZelto::decharger()
{
    return dechargerPar(modeFermeture::vbFormCode);
}

void FenetreZelto::dechargerDesQueLibre()
{
    // Not asked during an exchange or while busy: it would refuse with a beep.
    if (!travailEnCours && !liaisonOccupee() && decharger()) return;
    fermetureEnAttente_ = true;
    if (!fermetureDifferee_) {
        fermetureDifferee_ = horloge().creerMinuterie();
        fermetureDifferee_->setInterval(10);
        fermetureDifferee_->surTick = [this] { fermerSiLibre(); };
    }
    fermetureDifferee_->setEnabled(true);
}

// Once the exchange has returned, its message boxes included, and the
// windows opened from this one have closed, the close runs once.
void FenetreZelto::fermerSiLibre()
{
    if (fermetureEnAttente_ && charge_) {
        const QWidget* modale = QApplication::activeModalWidget();
        if (liaisonOccupee() || travailEnCours || (modale && modale != this) || !isEnabled()) return;
    }
    fermetureDifferee_->setEnabled(false);
    if (!fermetureEnAttente_) return;
    fermetureEnAttente_ = false;
    decharger();
}

bool FenetreZelto::dechargerPar(int mode)
{
    if (!charge_) {
        hide();
        return true;
    }
    if (enDechargement_) return false;
    enDechargement_ = true;
    bool Cancel = false;
    Form_QueryUnload(Cancel, mode);
    if (!Cancel) Form_Unload(Cancel);
    enDechargement_ = false;
    if (Cancel) return false;

    charge_ = false;
    fermetureEnAttente_ = false;
    if (activationDifferee_) activationDifferee_->setEnabled(false);
    if (fermetureDifferee_) fermetureDifferee_->setEnabled(false);
    registre().noterDechargement(numero_);
    hide();
    if (QWidget* o = ouvreur_) {
        ouvreur_ = nullptr;
        o->setEnabled(true);
        if (SuiviActivation* s = SuiviActivation::de(o)) s->demanderActivation();
        else {
            o->raise();
            o->activateWindow();
        }
    }
    return true;
}

void FenetreZelto::closeEvent(QCloseEvent* e)
{
    if (!isEnabled()) {
        e->ignore();
        return;
    }
    e->setAccepted(dechargerPar(modeFermeture::vbFormControlMenu));
}

void FenetreZelto::hideEvent(QHideEvent* e)
{
    QMainWindow::hideEvent(e);
    if (!e->spontaneous()) quitterBoucleModale();
}

// Qt's Unix event dispatcher can go to sleep with a loop's exit pending when
// events were processed in between (an exchange run from a posted event): a
// zero timer keeps each round short until the loop has seen its exit.
void FenetreZelto::quitterBoucleModale()
{
    if (!boucleModale_) return;
    boucleModale_->quit();
    if (!reveilModal_) {
        reveilModal_ = new QTimer(this);
        reveilModal_->setInterval(0);
    }
    reveilModal_->start();
}

QLabel* FenetreZelto::panneau1()
{
    if (!panneau1_) panneau1_ = creerPanneau1(statusBar());
    return panneau1_;
}
