// The main window on the simulated converter: start-up, going on line, the
// link test and the watchdog.

#include "fixture.h"

#include "app/frmsplash.h"
#include "link/transaction.h"
#include "platform/registrefenetres.h"
#include "model/tables.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QTest>

#include <algorithm>

TEST_F(Appli, PremiereActivationSplashPuisHorsLigne)
{
    charger();
    const double t0 = banc.horloge.maintenant();
    f->show();
    banc.horloge.avancer(0.1);
    EXPECT_FALSE(premierDemarrage);
    EXPECT_GE(banc.horloge.maintenant() - t0, 3.0);
    EXPECT_FALSE(f->splash()->isVisible());
    EXPECT_TRUE(banc.ui.messages.empty());
    EXPECT_EQ(banc.ui.nbTerminer, 0);
    EXPECT_TRUE(f->commChk[1]->isChecked());
    EXPECT_EQ(f->texteStatut(), texteChaine(ids::modeHorsLigne));
}

TEST_F(Appli, SymboleDecimalRefuseTermineLeProgramme)
{
    definirSeparateurDecimal(u';');
    demarrer();
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::symboleDecimal));
    EXPECT_EQ(banc.ui.messages[0].icone(), msg::critique);
    EXPECT_TRUE(banc.ui.messages[0].titre.isEmpty());
    EXPECT_EQ(banc.ui.nbTerminer, 1);
}

TEST_F(Appli, PortAbsentAuDemarrageDesactiveSonOption)
{
    banc.port.erreurOuverture = erreursPort::indisponible;
    charger();
    for (int n = 1; n <= 4; ++n) {
        EXPECT_FALSE(f->commChk[n]->isEnabled()) << n;
        EXPECT_FALSE(portPresent[n]) << n;
    }
    EXPECT_TRUE(banc.ui.messages.empty());
}

TEST_F(Appli, AllerEnLigneSequenceExacte)
{
    demarrer();
    allerEnLigne();
    EXPECT_TRUE(f->onLineChk());
    EXPECT_EQ(f->texteStatut(), texteChaine(ids::modeEnLigne));
    EXPECT_TRUE(f->timer1Enabled());
    EXPECT_EQ(f->Timer1->interval(), 2000);
    EXPECT_TRUE(f->startBtn->isEnabled());
    EXPECT_TRUE(f->mnABtn->isEnabled());
    EXPECT_EQ(banc.sim.journal, QStringList({"", "XxX", "LES"}));
    banc.horloge.avancer(4.0);
    EXPECT_EQ(banc.sim.journal, QStringList({"", "XxX", "LES", "", ""}));
    banc.horloge.avancer(2.0);
    EXPECT_EQ(banc.sim.journal.size(), 6);
    EXPECT_TRUE(f->onLineChk());
    EXPECT_TRUE(banc.ui.messages.empty());
}

// While going on line waits for the reply of "XxX", no button opens a
// window or starts another road (Enter on each focused button), and
// afterwards menu A opens and reads its data.
TEST_F(Appli, PendantLaMiseEnLigneAucunBoutonNePrendLaLiaison)
{
    demarrer();
    passwordOk = true;
    std::vector<QPushButton*> boutons = {f->mnABtn, f->startBtn, f->mnCBtn, f->mnBBtn, f->ExitBtn};
    std::size_t essais = 0;
    banc.horloge.surEvenements = [&] {
        if (essais > 0 || !liaisonOccupee()) return;
        for (QPushButton* b : boutons) {
            ++essais;
            b->setFocus(Qt::TabFocusReason);
            QTest::keyClick(b, Qt::Key_Return);
        }
    };
    allerEnLigne();
    banc.horloge.surEvenements = nullptr;
    EXPECT_EQ(essais, boutons.size());
    EXPECT_EQ(banc.sim.journal, QStringList({"", "XxX", "LES"}));
    for (int n : {numeroFenetre::menuA, numeroFenetre::menuStart, numeroFenetre::menuRelNew, numeroFenetre::menuBGen})
        EXPECT_FALSE(registre().estAffichee(n)) << n;
    EXPECT_EQ(banc.ui.nbTerminer, 0);
    EXPECT_FALSE(travailEnCours);
    EXPECT_TRUE(f->isEnabled());
    for (QPushButton* b : boutons) EXPECT_TRUE(b->isEnabled());

    f->mnABtn->click();
    banc.horloge.avancer(0.05);
    EXPECT_TRUE(registre().estAffichee(numeroFenetre::menuA));
    EXPECT_EQ(banc.sim.journal, QStringList({"", "XxX", "LES", "LES"}));
    EXPECT_FALSE(travailEnCours);
    EXPECT_FALSE(f->timer1Enabled());
}

// A click that reaches the on-line option while a window holds the link
// (the main window disabled, or the busy flag set) sends nothing and
// starts no watchdog.
TEST_F(Appli, OptionEnLigneRefuseeQuandUneFenetreTientLaLiaison)
{
    demarrer();
    for (const bool desactivee : {true, false}) {
        SCOPED_TRACE(desactivee ? "main window disabled" : "busy");
        if (desactivee) activerFenetrePrincipale(false);
        else travailEnCours = true;
        emit f->onLineChk_->clicked();
        QAbstractButton* on = f->onLineChk_;
        if (auto* g = on->group()) emit g->idClicked(1);
        banc.horloge.avancer(5.0);
        EXPECT_TRUE(banc.sim.journal.isEmpty());
        EXPECT_FALSE(f->onLineChk());
        EXPECT_TRUE(f->offLineChk_->isChecked());
        EXPECT_FALSE(f->timer1Enabled());
        activerFenetrePrincipale(true);
        travailEnCours = false;
    }
}

struct CasVersion {
    const char* version;
    int numero;
    int partitions;
};

class VersionConvertisseur : public Appli, public ::testing::WithParamInterface<CasVersion> {};

TEST_P(VersionConvertisseur, NombreDePartitions)
{
    banc.sim.version = QString::fromLatin1(GetParam().version);
    demarrer();
    allerEnLigne();
    EXPECT_EQ(versionLogiciel, GetParam().numero);
    EXPECT_EQ(nbPartitions, GetParam().partitions);
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionConvertisseur,
                         ::testing::Values(CasVersion{"12A", 12, 32}, CasVersion{"13A", 13, 64},
                                           CasVersion{"V15", 15, 64}),
                         [](const auto& i) { return std::string("v") + i.param.version; });

TEST_F(Appli, ConvertisseurMuetAuTestDeLiaison)
{
    demarrer();
    partParamsModifies[4] = true;
    menuBGenCharge = true;
    menuBGenModifie = true;
    banc.sim.silence = true;
    allerEnLigne();
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::pasDeCommunication));
    EXPECT_EQ(banc.ui.messages[0].titre, QStringLiteral("Message"));
    EXPECT_EQ(banc.ui.messages[0].icone(), msg::exclamation);
    EXPECT_FALSE(f->onLineChk());
    EXPECT_TRUE(f->offLineChk_->isChecked());
    EXPECT_FALSE(banc.port.isOpen());
    EXPECT_FALSE(f->timer1Enabled());
    EXPECT_FALSE(f->startBtn->isEnabled());
    EXPECT_FALSE(f->mnABtn->isEnabled());
    EXPECT_TRUE(f->mnBBtn->isEnabled());
    EXPECT_TRUE(f->ExitBtn->isEnabled());
    // Off-line work survives.
    EXPECT_TRUE(partParamsModifies[4]);
    EXPECT_TRUE(menuBGenModifie);
    EXPECT_TRUE(menuBGenCharge);
    banc.horloge.avancer(5.0);
    EXPECT_EQ(banc.sim.journal, QStringList({""}));
}

TEST_F(Appli, ErreursDePortDuTestDeLiaison)
{
    struct Cas {
        int erreur;
        const char* texte;
    };
    const Cas cas[] = {{8000, "Port already open8000"}, {8005, "Port already open8005"},
                       {8013, "Port already open8013"}, {8002, "Port unavailable"},
                       {8004, "Port unavailable"},      {8012, "Port not open"},
                       {8014, "Unexpected error on selected Port"},
                       {8021, "Unexpected error on selected Port"}, {8022, ""}};
    for (const Cas& c : cas) EXPECT_EQ(fondEcran::messageErreurPort(c.erreur), QString::fromLatin1(c.texte)) << c.erreur;

    demarrer();
    banc.port.erreurOuverture = 8002;
    allerEnLigne();
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, QStringLiteral("Port unavailable"));
    EXPECT_TRUE(banc.ui.messages[0].titre.isEmpty());
    EXPECT_FALSE(f->onLineChk());
    // Disabled for the rest of the run.
    EXPECT_FALSE(f->commChk[1]->isEnabled());
    activerFenetrePrincipale(false);
    activerFenetrePrincipale(true);
    EXPECT_FALSE(f->commChk[1]->isEnabled());
    EXPECT_TRUE(f->commChk[2]->isEnabled());
}

TEST_F(Appli, AllerEnLigneGardeLesEditionsGeneralesEtRelitLesPartitionsNonModifiees)
{
    demarrer();
    menuBGenCharge = true;
    menuBGenModifie = true;
    partParamsCharges[2] = true;
    partNemaCharges[2] = true;
    partParamsCharges[5] = true;
    partParamsModifies[5] = true;
    menuCCharge = true;
    allerEnLigne();
    EXPECT_TRUE(menuBGenCharge);
    EXPECT_FALSE(menuCCharge);
    EXPECT_FALSE(partParamsCharges[2]);
    EXPECT_FALSE(partNemaCharges[2]);
    EXPECT_TRUE(partParamsCharges[5]);
}

TEST_F(Appli, HorsLigneParLOptionArreteLeWatchdog)
{
    demarrer();
    allerEnLigne();
    f->offLineChk_->click();
    EXPECT_FALSE(f->onLineChk());
    EXPECT_FALSE(f->timer1Enabled());
    EXPECT_FALSE(banc.port.isOpen());
    const int n = banc.sim.journal.size();
    const int ouvertures = banc.port.nbOuvertures;
    banc.horloge.avancer(10.0);
    EXPECT_EQ(banc.sim.journal.size(), n);
    EXPECT_EQ(banc.port.nbOuvertures, ouvertures);
    // A restarter does nothing off line.
    f->setTimer1Enabled(true);
    EXPECT_FALSE(f->timer1Enabled());
}

TEST_F(Appli, WatchdogPasseHorsLigneEtFermeLeMotDePasse)
{
    demarrer();
    allerEnLigne();
    banc.sim.silence = true;
    const double debut = banc.horloge.maintenant();
    double fin = 0;
    bool visibleAvant = false;
    pendantModal([&] {
        visibleAvant = f->formulaireMotDePasse()->isVisible();
        while (f->onLineChk() && banc.horloge.maintenant() - debut < 10) banc.horloge.avancer(0.1);
        fin = banc.horloge.maintenant();
    });
    f->mnBBtn->click();
    EXPECT_TRUE(visibleAvant);
    EXPECT_FALSE(f->formulaireMotDePasse()->isVisible());
    EXPECT_FALSE(f->onLineChk());
    EXPECT_FALSE(passwordOk);
    EXPECT_TRUE(banc.ui.messages.empty());
    EXPECT_NEAR(fin - debut, 4.0, 0.3);
    EXPECT_FALSE(f->timer1Enabled());
    EXPECT_EQ(f->texteStatut(), texteChaine(ids::modeHorsLigne));
}

// The watchdog's silence takes the program off line before it closes the
// menu windows: a closing window sees it off line.
TEST_F(Appli, WatchdogHorsLigneAvantDeFermerLesFenetres)
{
    struct Temoin : IFenetre {
        std::function<void()> surFermeture;
        bool affichee = true;
        bool estAffichee() const override { return affichee; }
        bool decharger() override
        {
            affichee = false;
            surFermeture();
            return true;
        }
    } temoin;
    demarrer();
    allerEnLigne();
    int enLigneALaFermeture = -1;
    temoin.surFermeture = [&] { enLigneALaFermeture = f->onLineChk() || banc.port.isOpen(); };
    IFenetre* avant = registre().fenetre(numeroFenetre::menuRelNew);
    registre().inscrire(numeroFenetre::menuRelNew, &temoin);
    banc.sim.silence = true;
    banc.horloge.avancer(5.0);
    registre().inscrire(numeroFenetre::menuRelNew, avant);
    EXPECT_FALSE(temoin.affichee);
    EXPECT_EQ(enLigneALaFermeture, 0);
    EXPECT_FALSE(f->onLineChk());
}

TEST_F(Appli, SondeAbandonneeQuandUneFenetreReclameLaLiaison)
{
    demarrer();
    allerEnLigne();
    banc.sim.delaiReponse = 0.5;   // the probe waits half a second
    bool reclame = false;
    bool sondeVue = false;
    banc.horloge.surEvenements = [&] {
        if (!reclame && f->sondeEnCours()) {
            reclame = true;
            sondeVue = true;
            arreterScrutation();
        }
    };
    banc.horloge.avancer(2.5);
    banc.horloge.surEvenements = nullptr;
    EXPECT_TRUE(sondeVue);
    EXPECT_TRUE(travailEnCours);
    EXPECT_FALSE(f->timer1Enabled());
    EXPECT_FALSE(f->sondeEnCours());
    EXPECT_TRUE(f->onLineChk());
    banc.horloge.avancer(6.0);
    EXPECT_TRUE(f->onLineChk());
}

TEST_F(Appli, BoutonEcranDeTravailSansMotDePasse)
{
    demarrer();
    allerEnLigne();
    f->startBtn->click();
    EXPECT_TRUE(banc.ui.messages.empty());
    EXPECT_FALSE(f->formulaireMotDePasse()->isVisible());
}

TEST_F(Appli, ChoixDeLangueTraduitEtAfficheHorsLigne)
{
    demarrer();
    allerEnLigne();
    f->langueChk[2]->click();
    EXPECT_EQ(langueIndex, 1);
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Main menu"));
    EXPECT_EQ(f->ExitBtn->text(), QStringLiteral("&Exit"));
    EXPECT_EQ(f->langueChk[1]->text(), QStringLiteral("Français"));
    EXPECT_EQ(f->texteStatut(), texteChaine(ids::modeHorsLigne));
    EXPECT_TRUE(f->onLineChk());
}

TEST_F(Appli, BoiteAPropos)
{
    demarrer();
    f->aboutBtn->click();
    frmSplash* s = f->splash();
    EXPECT_TRUE(s->isVisible());
    EXPECT_FALSE(s->okBtn->isHidden());
    EXPECT_EQ(s->lblCompanyProduct->text(), QStringLiteral("Zelto Windows Link"));
    EXPECT_EQ(s->lblVersion->text(), QStringLiteral("Version: 1.000"));
    s->okBtn->click();
    EXPECT_FALSE(s->isVisible());
}

// Enter on a focused button of the main window and of the password form.
TEST_F(Appli, EnterSurUnBoutonLeClique)
{
    demarrer();
    pendantModal([this] {
        passform* p = f->formulaireMotDePasse();
        p->cancelBtn->setFocus(Qt::TabFocusReason);
        QTest::keyClick(p->cancelBtn, Qt::Key_Return);
    });
    f->mnBBtn->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(f->mnBBtn, Qt::Key_Return);
    EXPECT_FALSE(f->formulaireMotDePasse()->isVisible());
    EXPECT_FALSE(passwordOk);
    f->ExitBtn->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(f->ExitBtn, Qt::Key_Return);
    EXPECT_EQ(banc.ui.nbTerminer, 1);
}

TEST(TexteSplash, PlateformeEtVersion)
{
    definirSeparateurDecimal(u',');
    struct Cas {
        InfoSysteme info;
        const char* texte;
    };
    const Cas cas[] = {{{plateformeOs::nonIdentifiee, 4.1, 1}, "Unidentified"},
                       {{plateformeOs::windows9x, 4.1, 2222}, "Windows 95/98 Vers. 4,1 (2222)"},
                       {{plateformeOs::windowsNt, 5.1, 2600}, "Windows XP. Vers. 5,1 (2600)"},
                       {{plateformeOs::windowsNt, 5.0, 2195}, "Windows 2000. Vers. 5 (2195)"},
                       {{plateformeOs::windowsNt, 4.0, 1381}, "Windows NT. Vers. 4 (1381)"},
                       {{plateformeOs::autre, 6.0, 1}, ""}};
    for (const Cas& c : cas) EXPECT_EQ(frmSplash::textePlateforme(c.info), QString::fromLatin1(c.texte));
    EXPECT_EQ(frmSplash::texteVersion(), QStringLiteral("Version: 1,000"));
    retablirSeparateurDecimal();
}

// The start-up splash waits its 3 seconds without handling any event; the
// about box waits nothing, shows OK and closes on any key.
TEST_F(Appli, SplashSansEvenementsPuisAProposFermeParUneTouche)
{
    charger();
    const double t0 = banc.horloge.maintenant();
    std::vector<double> pendantSplash;
    bool okCache = true;
    banc.horloge.surEvenements = [&] {
        if (!f->splash()->isVisible()) return;
        pendantSplash.push_back(banc.horloge.maintenant());
        okCache = okCache && f->splash()->okBtn->isHidden();
    };
    f->show();
    banc.horloge.avancer(0.1);
    banc.horloge.surEvenements = nullptr;
    ASSERT_FALSE(pendantSplash.empty());
    for (double t : pendantSplash) EXPECT_LT(t - t0, 0.01);
    EXPECT_GE(banc.horloge.maintenant() - t0, 3.0);
    EXPECT_TRUE(okCache);

    const double t1 = banc.horloge.maintenant();
    f->aboutBtn->click();
    frmSplash* s = f->splash();
    EXPECT_TRUE(s->isVisible());
    EXPECT_FALSE(s->okBtn->isHidden());
    EXPECT_LT(banc.horloge.maintenant() - t1, 0.01);
    QTest::keyClick(s, Qt::Key_Z);
    EXPECT_FALSE(s->isVisible());
    EXPECT_TRUE(registre().chargees().end()
                == std::find(registre().chargees().begin(), registre().chargees().end(), numeroFenetre::frmSplash));
}
