#include "session.h"

#include "etat.h"
#include "menubgen.h"
#include "tables.h"
#include "link/fenetreprincipale.h"
#include "link/transaction.h"
#include "platform/horloge.h"
#include "platform/plateforme.h"
#include "platform/porteentrees.h"
#include "platform/portserie.h"
#include "platform/registrefenetres.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"

namespace {
constexpr double pasScrutation = 0.01;  // blocking step between event rounds

// Menu windows closed on link loss, in this order.
constexpr int fenetresMenus[] = {
    numeroFenetre::passform, numeroFenetre::printW,   numeroFenetre::newFreqW,
    numeroFenetre::copyNema, numeroFenetre::menuA,    numeroFenetre::progNema,
    numeroFenetre::menuBP,   numeroFenetre::menuBGen, numeroFenetre::menuD,
    numeroFenetre::menuRelNew,
};
} // namespace

void passerHorsLigne()
{
    IFenetrePrincipale* p = plateforme().principale;
    if (p) {
        if (p->MSComm1().isOpen()) p->MSComm1().close();
        p->selectionnerHorsLigne();
    }
    if (menuBGenCharge) {
        menuBGenCharge = false;
        for (int r = 0; r <= 11; ++r) tableMenuBGen[r].valeur = Variant();
        initTableMenuBGen();
    }
    if (p) {
        p->setControleEnabled(ControlePrincipal::startBtn, false);
        p->setControleEnabled(ControlePrincipal::mnABtn, false);
        p->setTexteStatut(texteChaine(ids::modeHorsLigne));
    }
    razEtatSession();
}

void razEtatSession()
{
    fixerDrapeauxPartitions(false);
    menuAModifie = false;
    menuCModifie = false;
    menuBGenModifie = false;
    menuBGenCharge = false;
    startInitialise = false;
    menuCCharge = false;
    reponseXxX = false;
    travailEnCours = false;
}

void fixerDrapeauxPartitions(bool valeur)
{
    partParamsCharges.fill(valeur);
    partNemaCharges.fill(valeur);
    partNemaModifies.fill(valeur);
    partParamsModifies.fill(valeur);
}

void arreterScrutation()
{
    IFenetrePrincipale* p = plateforme().principale;
    if (programmeTermine || !p || !p->onLineChk()) return;
    travailEnCours = true;
    // The user's road holds the link from here: no other action meanwhile.
    EchangeEnCours echange;
    IHorloge& h = horloge();
    while (p->timer1Enabled() && !programmeTermine) {
        // A probe or a transaction waiting under us keeps the watchdog from
        // ticking to a stop: switch it off here.
        if (p->sondeEnCours() || liaisonOccupee()) {
            p->setTimer1Enabled(false);
            break;
        }
        h.traiterEvenements();
        if (!p->timer1Enabled() || programmeTermine) break;
        h.attendre(pasScrutation);
    }
}

void fermerFenetres()
{
    RegistreFenetres& r = registre();
    for (const int n : fenetresMenus)
        if (r.estAffichee(n)) r.fenetre(n)->dechargerDesQueLibre();
}

void terminerApplication()
{
    RegistreFenetres& r = registre();
    while (!r.chargees().empty()) {
        const std::size_t avant = r.chargees().size();
        IFenetre* f = r.fenetre(r.chargees().back());
        if (f) f->decharger();
        if (r.chargees().size() >= avant) break;   // refused
    }
    ui().terminerProgramme();
}

void activerFenetrePrincipale(bool actif)
{
    IFenetrePrincipale* p = plateforme().principale;
    if (!p) return;
    p->setControleEnabled(ControlePrincipal::fenetre, actif);
    // Menu A and the working display only on line.
    const bool enLigne = actif && p->onLineChk();
    p->setControleEnabled(ControlePrincipal::mnABtn, enLigne);
    p->setControleEnabled(ControlePrincipal::startBtn, enLigne);
    for (const ControlePrincipal c :
         {ControlePrincipal::mnBBtn, ControlePrincipal::mnCBtn, ControlePrincipal::ExitBtn,
          ControlePrincipal::aboutBtn, ControlePrincipal::offLineChk, ControlePrincipal::onLineChk,
          ControlePrincipal::comportFr, ControlePrincipal::langueFr, ControlePrincipal::onlineFr,
          ControlePrincipal::menuFr})
        p->setControleEnabled(c, actif);
    for (int i = 1; i <= 6; ++i) p->setLangueChkEnabled(i, actif);
    for (int n = 1; n <= 4; ++n) p->setCommChkEnabled(n, actif && portPresent[n]);
}

void pointeurSourisPartout(int forme) { ui().pointeurSouris(forme); }

bool afficheHorsLimites()
{
    ui().msgBox(texteChaine(ids::horsLimites), msg::exclamation | msg::okSeul, QString());
    return true;
}

QString virguleEnPoint(const QString& texte)
{
    QString r = texte;
    r.replace(u',', u'.');
    return r;
}
