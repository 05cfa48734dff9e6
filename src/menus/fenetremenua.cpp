#include "fenetremenua.h"

#include "link/fenetreprincipale.h"
#include "link/identite.h"
#include "link/transaction.h"
#include "model/etat.h"
#include "model/menua.h"
#include "model/nombres.h"
#include "model/session.h"
#include "platform/plateforme.h"
#include "platform/registrefenetres.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "widgets/ctextbxn.h"
#include "widgets/fenetres.h"
#include "widgets/focuschamp.h"
#include "widgets/statut.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int defautBouton2 = 256;   // the second button is the default
constexpr int longueurSaisie = 14;

// Converter sizes: model code and rated maximum current by partition count.
struct Taille {
    int taille;
    const char* code;
    int courant64;
    int courant32;
};
constexpr Taille tailles[] = {
    {5, "7005", 10, 10},   {10, "7010", 20, 20}, {15, "7015", 23, 24},
    {20, "7020", 30, 30},  {30, "7030", 45, 45}, {40, "7040", 60, 60},
    {60, "7060", 90, 90},  {90, "7090", 135, 120}, {120, "7120", 180, 150},
};

int courantEnVigueur(const Taille& t, int partitions) { return partitions == 64 ? t.courant64 : t.courant32; }

const Taille* tailleDuCourant(double courant, int partitions)
{
    for (const Taille& t : tailles)
        if (courantEnVigueur(t, partitions) == courant) return &t;
    return nullptr;
}

const Taille* tailleValide(double taille)
{
    for (const Taille& t : tailles)
        if (t.taille == taille) return &t;
    return nullptr;
}

// Size of a serial number: characters 2 to 4, or 0 when it is shorter.
double tailleDuNumero(const QString& numero)
{
    return numero.size() >= 4 ? nombreEnTete(numero.mid(1, 3)) : 0.0;
}

// Hint of a field: 0, 2 and 3 only.
QString indicationChamp(int index)
{
    switch (index) {
    case 0: return texteChaine(ids::infoCourantMax);
    case 2: return texteChaine(ids::infoDateLivraison);
    case 3: return texteChaine(ids::infoNumeroSerie);
    default: return QString();
    }
}

}

menuA::menuA() : FenetreVue(numeroFenetre::menuA)
{
    setObjectName(QStringLiteral("menuA"));
    // Fields 2 and 3 take their tab positions from the device-data read.
    garderOrdreTabulation();
    construire();
}

menuA::~menuA()
{
    if (vues().menuA == this) vues().menuA = nullptr;
}

void menuA::construire()
{
    auto* centre = new QWidget(this);
    setCentralWidget(centre);
    auto* haut = new QVBoxLayout(centre);
    auto* grille = new QGridLayout;
    haut->addLayout(grille);
    for (int i = 0; i < 6; ++i) {
        Label[i] = new QLabel(centre);
        Label[i]->setObjectName(element(QStringLiteral("Label"), i));
        editTxt[i] = new QLineEdit(centre);
        editTxt[i]->setObjectName(element(QStringLiteral("editTxt"), i));
        editTxt[i]->installEventFilter(this);
        controlesNommes::limiterSaisie(editTxt[i], longueurSaisie);
        grille->addWidget(Label[i], i, 0);
        grille->addWidget(editTxt[i], i, 1);
        surFocus(editTxt[i], [this, i] { editTxt_GotFocus(i); }, [this, i] { editTxt_LostFocus(i); });
        retablirEnFinDeFocus(editTxt[i], [e = editTxt[i]] { couleurSysteme(e, QPalette::Base); });
    }
    uniteLbl = new QLabel(QStringLiteral("[A]"), centre);
    grille->addWidget(uniteLbl, 0, 2);

    auto* boutons = new QHBoxLayout;
    haut->addLayout(boutons);
    downBtn = creerBouton(centre, QStringLiteral("downBtn"), [this] { downBtn_Click(); });
    ExitBtn = creerBouton(centre, QStringLiteral("ExitBtn"), [this] { ExitBtn_Click(); });
    boutons->addWidget(downBtn);
    boutons->addWidget(ExitBtn);

    // Hints; the buttons and the window's background clear the panel.
    QLabel* panneau = panneau1();
    statusBar()->setSizeGripEnabled(false);
    for (int i : {0, 2, 3}) ajouterIndication(editTxt[i], panneau, [i] { return indicationChamp(i); });
    for (QWidget* w : {static_cast<QWidget*>(downBtn), static_cast<QWidget*>(ExitBtn), centre})
        ajouterIndication(w, panneau, QString());

    ordreTab_ = {editTxt[0], editTxt[2], editTxt[3], editTxt[1], editTxt[4], editTxt[5], downBtn, ExitBtn};
    appliquerOrdreTab();
    setWindowTitle(QStringLiteral("MENU \"A\"          "));
}

int menuA::courantNominal(int taille, int partitions)
{
    const Taille* t = tailleValide(taille);
    return t ? courantEnVigueur(*t, partitions) : 0;
}

// ---- View ----

void menuA::selectionnerOption(const QString& groupe, int index)
{
    qFatal("menuA has no option group %s(%d)", qPrintable(groupe), index);
}

bool menuA::optionSelectionnee(const QString& groupe, int index) const
{
    qFatal("menuA has no option group %s(%d)", qPrintable(groupe), index);
    return false;
}

void menuA::setTabStop(const QString& nom, bool arret)
{
    controle(nom)->setFocusPolicy(arret ? Qt::StrongFocus : Qt::ClickFocus);
}

void menuA::setTabIndex(const QString& nom, int index)
{
    QWidget* w = controle(nom);
    auto it = std::find(ordreTab_.begin(), ordreTab_.end(), w);
    if (it == ordreTab_.end()) return;
    ordreTab_.erase(it);
    ordreTab_.insert(ordreTab_.begin() + std::clamp<int>(index, 0, static_cast<int>(ordreTab_.size())), w);
    appliquerOrdreTab();
}

void menuA::appliquerOrdreTab()
{
    for (std::size_t i = 1; i < ordreTab_.size(); ++i) setTabOrder(ordreTab_[i - 1], ordreTab_[i]);
}

// ---- Load, activation, close ----

void menuA::Form_Load()
{
    vues().menuA = this;
    for (int i = 0; i < 6; ++i) couleurTexte(i, false);
    arreterScrutation();
    pointeurSourisPartout(pointeur::sablier);
    for (int i = 0; i < 6; ++i) Label[i]->setText(texteChaine(ids::libCourantMax + 10 * i));
    downBtn->setText(texteChaine(ids::telecharger));
    downBtn->setToolTip(texteChaine(ids::infoTelechargerMenuA));
    ExitBtn->setText(texteChaine(ids::quitter));
    ExitBtn->setToolTip(texteChaine(ids::infoRetourMenuPrincipal));
    placerFenetre(numeroFenetre::menuA, this);
}

// Raised inside an exchange (a window switch during the download), the read
// could not take place and the download would lose its busy flag: the
// activation waits for the link, and for the end of the download (its
// messages wait for the user).
bool menuA::activationPossible() const
{
    return !liaisonOccupee() && !telechargement_;
}

void menuA::Form_Activate()
{
    // A field that loses the focus because it is disabled here is not left
    // by the user: no leave step.
    enActivation_ = true;
    activerChampsMenuA(false);
    chargerMenuA();
    panneau1()->clear();
    activerChampsMenuA(true);
    pointeurSourisPartout(pointeur::normal);
    travailEnCours = false;
    enActivation_ = false;
}

void menuA::Form_QueryUnload(bool& Cancel, int /*UnloadMode*/)
{
    refuserSiOccupe(Cancel);
}

void menuA::Form_Unload(bool& /*Cancel*/)
{
    memoriserPosition(numeroFenetre::menuA, this);
    // Closed by a link loss, there is nothing to save to.
    if (menuAModifie && enLigne()) questionQuoiFaireA();
    activerFenetrePrincipale(true);
    vues().menuA = nullptr;
}

void menuA::ExitBtn_Click()
{
    decharger();
}

void menuA::questionQuoiFaireA()
{
    if (ui().msgBox(texteChaine(ids::sauverDansZelto), msg::ouiNon | msg::question, texteChaine(ids::messageTitre))
        == msg::oui)
        telechargerMenuA();
}

void menuA::activerChampsMenuA(bool actif)
{
    const bool libre = actif && !reponseXxX;
    for (int i : {0, 2, 3}) editTxt[i]->setEnabled(libre);
    downBtn->setEnabled(libre && enLigne());
}

// ---- Fields ----

bool menuA::eventFilter(QObject* objet, QEvent* e)
{
    if (e->type() == QEvent::KeyPress && std::find(std::begin(editTxt), std::end(editTxt), objet) != std::end(editTxt)) {
        int cle = codeTouche(static_cast<QKeyEvent*>(e));
        if (cle == touche::enter || cle == touche::haut || cle == touche::bas) {
            enterVersTab(cle);
            flechesVersTab(cle);
            return true;
        }
    }
    return FenetreZelto::eventFilter(objet, e);
}

void menuA::editTxt_GotFocus(int index)
{
    QLineEdit* e = editTxt[index];
    couleurFocus(e, QPalette::Base, QColor(255, 255, 0));
    e->selectAll();
    last = e->text();
}

void menuA::editTxt_LostFocus(int index)
{
    QLineEdit* e = editTxt[index];
    couleurSysteme(e, QPalette::Base);
    if (enActivation_) return;
    if (last.isEmpty()) last = QStringLiteral("0");
    if (index == 0) quitterCourant();
    else if (index == 3) quitterNumeroSerie();
}

void menuA::couleurTexte(int index, bool rouge)
{
    QLineEdit* e = editTxt[index];
    if (rouge) couleurFocus(e, QPalette::Text, QColor(255, 0, 0));
    else couleurSysteme(e, QPalette::Text);
}

void menuA::refuser(int index)
{
    editTxt[index]->setText(last);
    ui().beep();
    couleurTexte(index, true);
}

void menuA::quitterCourant()
{
    const double courant = nombreEnTete(editTxt[0]->text());
    const Taille* t = tailleDuCourant(courant, nbPartitions);
    if (!t) {
        refuser(0);
        return;
    }
    if (!valeurInchangee(last, editTxt[0]->text())) menuAModifie = true;
    couleurTexte(0, false);

    // The serial number's model code follows the current.
    const QString numero = editTxt[3]->text();
    QString prefixe = numero.size() >= 4 ? numero.left(4) : QString();
    if (tailleDuNumero(numero) != t->taille) prefixe = QString::fromLatin1(t->code);
    editTxt[3]->setText(prefixe + numero.mid(4));
}

void menuA::quitterNumeroSerie()
{
    const Taille* t = tailleValide(tailleDuNumero(editTxt[3]->text()));
    if (!t) {
        refuser(3);
        return;
    }
    if (editTxt[3]->text() != last) menuAModifie = true;
    couleurTexte(3, false);

    const int nominal = courantEnVigueur(*t, nbPartitions);
    if (versEntier(nombreEnTete(editTxt[0]->text())) != nominal) {
        editTxt[0]->setText(QString::number(nominal));
        ui().msgBox(texteChaine(ids::courantConvertisseurChange), msg::exclamation | msg::okSeul, QString());
    }
}

// ---- Download ----

bool menuA::ecrireDonnee(const QString& cle, const QString& valeur)
{
    cmdCode = cle + valeur;
    cmdMode = QStringLiteral("A");
    cmdParam1 = cle;
    cmdParam2 = QStringLiteral("LES");
    return envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
}

int menuA::telechargerMenuA()
{
    telechargement_ = true;
    // Busy: a close request meanwhile is refused.
    travailEnCours = true;
    pointeurSourisPartout(pointeur::sablier);
    sensLecture = false;
    cmdMode = QStringLiteral("A");
    const int reponseAvertissement = ui().msgBox(texteChaine(ids::confirmerDonneesMenuA),
                                                 msg::exclamation | msg::ouiNon | defautBouton2, QString());
    if (reponseAvertissement == msg::oui) {
        // Only data the converter confirmed are locked.
        const bool confirme = ecrireDonnee(QStringLiteral("$CRT"), editTxt[0]->text())
            && ecrireDonnee(QStringLiteral("$NUM"), editTxt[3]->text())
            && ecrireDonnee(QStringLiteral("$DAT"), editTxt[2]->text());
        if (confirme) {
            cmdParam2.clear();
            for (const char* c : {"$HES0", "$HST0"}) {
                cmdCode = QString::fromLatin1(c);
                cmdParam1 = cmdCode;
                envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
            }
            cmdCode = QStringLiteral("YyY");
            envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
            menuAModifie = false;
        } else {
            pointeurSourisPartout(pointeur::normal);
            ui().msgBox(texteChaine(ids::donneesAppareilNonConfirmees), msg::exclamation | msg::okSeul, QString());
        }
    }
    pointeurSourisPartout(pointeur::normal);
    travailEnCours = false;
    telechargement_ = false;
    return reponseAvertissement;
}

void menuA::downBtn_Click()
{
    if (telechargerMenuA() == msg::oui) {
        telechargement_ = true;
        travailEnCours = true;
        envoyerXxX();
        travailEnCours = false;
        telechargement_ = false;
        activerChampsMenuA(true);
    }
    pointeurSourisPartout(pointeur::normal);
}
