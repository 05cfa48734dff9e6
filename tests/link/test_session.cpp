// Run state: going off line, the reset, the link claim, window helpers.
#include "commun.h"

#include "link/transaction.h"
#include "model/etat.h"
#include "model/menubgen.h"
#include "model/session.h"
#include "model/tables.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"

#include <gtest/gtest.h>

namespace {

TEST(Session, razEtatSessionListeGardee)
{
    BancLiaison banc;
    for (bool* f : {&menuAModifie, &menuCModifie, &menuBGenModifie, &menuBGenCharge, &startInitialise,
                    &menuCCharge, &reponseXxX, &travailEnCours, &origPartExterne, &premierDemarrage,
                    &passwordOk, &startActif, &sensLecture})
        *f = true;
    bgenLu = 1;
    partParamsCharges.fill(true);
    partNemaCharges.fill(true);
    partParamsModifies.fill(true);
    partNemaModifies.fill(true);

    razEtatSession();

    for (bool f : {menuAModifie, menuCModifie, menuBGenModifie, menuBGenCharge, startInitialise, menuCCharge,
                   reponseXxX, travailEnCours})
        EXPECT_FALSE(f);
    for (bool f : {origPartExterne, premierDemarrage, passwordOk, startActif, sensLecture}) EXPECT_TRUE(f);
    EXPECT_EQ(bgenLu, 1);
    for (const auto* t : {&partParamsCharges, &partNemaCharges, &partParamsModifies, &partNemaModifies})
        for (bool m : *t) EXPECT_FALSE(m);
}

TEST(Session, fixerDrapeauxPartitionsToutes)
{
    BancLiaison banc;
    fixerDrapeauxPartitions(true);
    for (const auto* t : {&partParamsCharges, &partNemaCharges, &partParamsModifies, &partNemaModifies}) {
        EXPECT_TRUE((*t)[0]);
        EXPECT_TRUE((*t)[64]);
    }
}

struct CasHorsLigne {
    const char* nom;
    bool chargee;
};

void PrintTo(const CasHorsLigne& c, std::ostream* os) { *os << c.nom; }

class PasserHorsLigne : public ::testing::TestWithParam<CasHorsLigne> {};

TEST_P(PasserHorsLigne, partieGenerale)
{
    BancLiaison banc;
    initTableMenuBGen();
    for (int r = 0; r <= 12; ++r) tableMenuBGen[r].valeur = tableMenuBGen[r].max;
    menuBGenCharge = GetParam().chargee;
    partNemaModifies[10] = true;
    banc.principale.controles[ControlePrincipal::startBtn] = true;
    banc.principale.controles[ControlePrincipal::mnABtn] = true;

    passerHorsLigne();

    EXPECT_FALSE(banc.port.isOpen());
    EXPECT_FALSE(banc.principale.enLigne);
    EXPECT_FALSE(banc.principale.controles[ControlePrincipal::startBtn]);
    EXPECT_FALSE(banc.principale.controles[ControlePrincipal::mnABtn]);
    EXPECT_EQ(banc.principale.statut, texteChaine(ids::modeHorsLigne));
    EXPECT_FALSE(menuBGenCharge);
    EXPECT_FALSE(partNemaModifies[10]);
    for (int r = 0; r <= 11; ++r)
        EXPECT_EQ(tableMenuBGen[r].valeur, GetParam().chargee ? tableMenuBGen[r].min : tableMenuBGen[r].max) << r;
    EXPECT_EQ(tableMenuBGen[12].valeur, tableMenuBGen[12].max);   // DTO delay keeps its value
    EXPECT_EQ(tableMenuBGen[6].code, QStringLiteral("Ur"));
    EXPECT_TRUE(banc.ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Cas, PasserHorsLigne,
                         ::testing::Values(CasHorsLigne{"partieChargee", true}, CasHorsLigne{"partieNonChargee", false}),
                         [](const ::testing::TestParamInfo<CasHorsLigne>& i) { return std::string(i.param.nom); });

struct CasActiver {
    const char* nom;
    bool actif;
    bool enLigne;
};

void PrintTo(const CasActiver& c, std::ostream* os) { *os << c.nom; }

class ActiverPrincipale : public ::testing::TestWithParam<CasActiver> {};

TEST_P(ActiverPrincipale, controles)
{
    BancLiaison banc;
    const CasActiver& c = GetParam();
    banc.principale.enLigne = c.enLigne;
    portPresent = {false, true, false, true, true};
    activerFenetrePrincipale(c.actif);
    auto& ctl = banc.principale.controles;
    for (ControlePrincipal k :
         {ControlePrincipal::fenetre, ControlePrincipal::mnBBtn, ControlePrincipal::mnCBtn, ControlePrincipal::ExitBtn,
          ControlePrincipal::aboutBtn, ControlePrincipal::offLineChk, ControlePrincipal::onLineChk,
          ControlePrincipal::comportFr, ControlePrincipal::langueFr, ControlePrincipal::onlineFr,
          ControlePrincipal::menuFr}) {
        ASSERT_TRUE(ctl.count(k));
        EXPECT_EQ(ctl[k], c.actif);
    }
    EXPECT_EQ(ctl[ControlePrincipal::mnABtn], c.actif && c.enLigne);
    EXPECT_EQ(ctl[ControlePrincipal::startBtn], c.actif && c.enLigne);
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(banc.principale.langues[i], c.actif);
    EXPECT_EQ(banc.principale.ports[1], c.actif);
    EXPECT_FALSE(banc.principale.ports[2]);   // failed at start-up
    EXPECT_EQ(banc.principale.ports[3], c.actif);
    EXPECT_EQ(banc.principale.ports[4], c.actif);
}

INSTANTIATE_TEST_SUITE_P(Cas, ActiverPrincipale,
                         ::testing::Values(CasActiver{"actifEnLigne", true, true},
                                           CasActiver{"actifHorsLigne", true, false},
                                           CasActiver{"inactif", false, true}),
                         [](const ::testing::TestParamInfo<CasActiver>& i) { return std::string(i.param.nom); });

TEST(ArreterScrutation, horsLigneRetourImmediat)
{
    BancLiaison banc;
    banc.principale.enLigne = false;
    banc.principale.timer1 = true;
    arreterScrutation();
    EXPECT_FALSE(travailEnCours);
    EXPECT_TRUE(banc.principale.timer1);
    EXPECT_EQ(banc.horloge.nbTraitements, 0);
}

TEST(ArreterScrutation, attendQueLeChienDeGardeSArrete)
{
    BancLiaison banc;
    // A watchdog that switches itself off at its next tick when the link is claimed.
    auto minuterie = banc.horloge.creerMinuterie();
    minuterie->setInterval(2000);
    minuterie->setEnabled(true);
    banc.principale.timer1 = true;
    minuterie->surTick = [&] {
        if (travailEnCours) {
            banc.principale.timer1 = false;
            minuterie->setEnabled(false);
        }
    };
    const double t0 = banc.horloge.maintenant();
    arreterScrutation();
    EXPECT_TRUE(travailEnCours);
    EXPECT_FALSE(banc.principale.timer1);
    EXPECT_NEAR(banc.horloge.maintenant() - t0, 2.0, 0.05);
}

TEST(ArreterScrutation, sondeEnCoursCoupeeSansDeclarerLeSilence)
{
    BancLiaison banc;
    banc.principale.timer1 = true;
    banc.principale.sonde = true;   // the claim comes from inside a probe's wait
    arreterScrutation();
    EXPECT_TRUE(travailEnCours);
    EXPECT_FALSE(banc.principale.timer1);
    EXPECT_TRUE(banc.principale.enLigne);
    EXPECT_TRUE(banc.port.isOpen());
}

TEST(ArreterScrutation, pendantUneTransactionNeBloquePas)
{
    BancLiaison banc;
    banc.sim.fixer("Ur", "410");
    // The watchdog does nothing while a transaction is under way.
    auto minuterie = banc.horloge.creerMinuterie();
    minuterie->setInterval(2000);
    minuterie->setEnabled(true);
    banc.principale.timer1 = true;
    minuterie->surTick = [&] {
        if (liaisonOccupee()) return;
        if (travailEnCours) banc.principale.timer1 = false;
    };
    // A window claims the link from a click handled in the reply wait.
    bool reclamee = false;
    bool dansReclamation = false;
    int tours = 0;
    banc.horloge.surEvenements = [&] {
        if (dansReclamation) {
            if (++tours > 5000) banc.principale.timer1 = false;   // way out of a hang
            return;
        }
        if (reclamee) return;
        reclamee = true;
        dansReclamation = true;
        arreterScrutation();
        dansReclamation = false;
    };
    banc.sim.delaiReponse = 0.5;
    cmdCode = QStringLiteral("Ur");
    envoyerCommande(cmdCode, QStringLiteral("L"), QString(), QString());

    EXPECT_TRUE(reclamee);
    EXPECT_LE(tours, 5000);
    EXPECT_TRUE(travailEnCours);
    EXPECT_FALSE(banc.principale.timer1);
    EXPECT_EQ(reponse, QStringLiteral("410\x1a"));
    EXPECT_TRUE(banc.ui.messages.empty());
}

TEST(Fenetres, fermerFenetresOrdreEtSeulementAffichees)
{
    BancLiaison banc;
    using namespace numeroFenetre;
    for (int n : {menuRelNew, menuD, menuBGen, menuBP, progNema, menuA, copyNema, newFreqW, printW, passform, menuStart,
                  frmSplash, fondEcran})
        banc.charger(n);
    static_cast<FenetreTest*>(registre().fenetre(menuA))->affichee = false;
    fermerFenetres();
    EXPECT_EQ(banc.dechargements, QStringList({"11", "12", "10", "1", "13", "6", "5", "7", "8"}));
}

TEST(Fenetres, terminerApplicationPlusRecenteDAbord)
{
    BancLiaison banc;
    using namespace numeroFenetre;
    banc.charger(fondEcran);
    banc.charger(menuBGen, false);
    banc.charger(menuBP);
    terminerApplication();
    EXPECT_EQ(banc.dechargements, QStringList({"6", "5", "2"}));
    EXPECT_TRUE(registre().chargees().empty());
    EXPECT_EQ(banc.ui.nbTerminer, 1);
}

TEST(Fenetres, terminerApplicationSArreteAuRefus)
{
    BancLiaison banc;
    using namespace numeroFenetre;
    banc.charger(fondEcran);
    banc.charger(menuBGen).refuse = true;
    banc.charger(menuBP);
    terminerApplication();
    EXPECT_EQ(banc.dechargements, QStringList({"6", "5"}));
    EXPECT_EQ(banc.ui.nbTerminer, 1);
}

TEST(Aides, afficheHorsLimites)
{
    BancLiaison banc;
    EXPECT_TRUE(afficheHorsLimites());
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::horsLimites));
    EXPECT_EQ(banc.ui.messages[0].icone(), msg::exclamation);
    EXPECT_EQ(banc.ui.messages[0].boutons(), msg::okSeul);
    EXPECT_TRUE(banc.ui.messages[0].titre.isEmpty());
}

TEST(Aides, virguleEnPointEtPointeur)
{
    BancLiaison banc;
    EXPECT_EQ(virguleEnPoint(QStringLiteral("1,5;2,25")), QStringLiteral("1.5;2.25"));
    EXPECT_EQ(virguleEnPoint(QStringLiteral("400")), QStringLiteral("400"));
    pointeurSourisPartout(pointeur::sablier);
    EXPECT_EQ(banc.ui.pointeurCourant, pointeur::sablier);
}

} // namespace
