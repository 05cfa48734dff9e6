// The working display: opening, poll cycle, display, faults, command queue
// and closing roads.

#include "fixture_start.h"

#include "resources/chaines.h"
#include "resources/idschaines.h"

#include "sim/entreessysteme.h"
#include "widgets/suiviactivation.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

namespace {
QStringList codes(std::initializer_list<const char*> l)
{
    QStringList r;
    for (const char* c : l) r << QString::fromLatin1(c);
    return r;
}
const QStringList general = codes({"CS", "UF", "IV", "ps", "FC", "CP", "Ur", "pg", "AS", "DD", "RV", "VM", "DM"});
const QStringList pas0 = codes({"FT", "FQ", "IS", "US", "IR", "IC", "UR"});
const QStringList pas1 = codes({"UR", "IW", "PW", "UD", "IN", "PM", "NG"});
const QStringList pas2 = codes({"AN", "ST"});
QStringList partition()
{
    return codes({"NP", "PM", "RT", "IN", "IC", "IR", "CB", "RI", "TAC", "TDC", "PC", "fdf", "fmn", "FX1",
                  "FX2", "FX3", "FI1", "BI1", "FI2", "BI2", "FI3", "BI3", "MV", "Np", "sp", "cm", "IM1", "IM2",
                  "IM3", "IM4", "TC", "Ic", "Ip", "SF", "CG", "TAU", "TDU", "TM", "TAU", "TDU"});
}
}

TEST_F(Start, PremiereOuvertureSequenceExacteEtCycle)
{
    ouvrir();
    ASSERT_NE(ms(), nullptr);
    EXPECT_TRUE(ms()->isVisible());
    const QStringList attendu = general + QStringList{"NG"} + general + partition() + QStringList{"NM"} + pas0 + pas1 + pas2;
    ASSERT_EQ(attendu.size(), 84);
    EXPECT_EQ(depuisOuverture(), attendu);
    EXPECT_TRUE(startActif);
    EXPECT_FALSE(travailEnCours);
    // The twelve values read as normal text and take no focus or typing.
    for (QLineEdit* e : {ms()->editTxtCrt, ms()->editTxtFc, ms()->editTxtFreq, ms()->editTxtIacc, ms()->EditTxtInom,
                         ms()->editTxtIref, ms()->editTxtIw, ms()->editTxtPm, ms()->editTxtPnom, ms()->editTxtU,
                         ms()->editTxtUc, ms()->editTxtUr}) {
        EXPECT_TRUE(e->isEnabled()) << e->objectName().toStdString();
        EXPECT_TRUE(e->isReadOnly()) << e->objectName().toStdString();
        EXPECT_EQ(e->focusPolicy(), Qt::NoFocus) << e->objectName().toStdString();
    }
    EXPECT_TRUE(pendant(0.49).isEmpty());
    EXPECT_EQ(pendant(0.02), pas0);
    EXPECT_EQ(pendant(0.5), pas1);
    EXPECT_EQ(pendant(0.5), pas2);
    EXPECT_EQ(pendant(0.5), pas0);
}

TEST_F(Start, ConsigneHzLimitesEtEnvoi)
{
    ouvrir();
    ms()->newConsBtn->click();
    QString indication;
    int refus = 0;
    pendantDialogue([&] {
        newFreqW* d = nf();
        saisir(d->editTxt, "50.1");
        indication = d->panneau1()->text();
        valider(d->editTxt);
        refus = int(banc.ui.messages.size());
        EXPECT_TRUE(d->isVisible());
        saisir(d->editTxt, "50");
        valider(d->editTxt);
    });
    banc.horloge.avancer(0.5);
    EXPECT_EQ(indication, texteChaine(ids::limites) + " 0...50 Hz");
    EXPECT_EQ(refus, 1);
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::horsLimites));
    EXPECT_FALSE(nf()->isVisible());
    EXPECT_EQ(pendant(1.0).filter("$F"), QStringList{"$F50"});
}

TEST_F(Start, ConsigneSansFinDeCaracteristiqueLimiteeAZero)
{
    ouvrir();
    freqMaxGamme = Variant();
    ms()->newConsBtn->click();
    bool refuse = false;
    pendantDialogue([&] {
        saisir(nf()->editTxt, "1");
        valider(nf()->editTxt);
        refuse = nf()->isVisible();
        saisir(nf()->editTxt, "0");
        valider(nf()->editTxt);
    });
    banc.horloge.avancer(0.5);
    EXPECT_TRUE(refuse);
    EXPECT_EQ(pendant(1.0).filter("$F"), QStringList{"$F0"});
}

TEST_F(Start, BornierChaqueActivationEtConsigneLenteEnvoyeeUneFois)
{
    banc.sim.fixer("pg", "1");
    banc.sim.fixer("FT", "50");
    ouvrir();
    EXPECT_EQ(depuisOuverture().mid(13, 3), QStringList({"$pg1", "pg", "NG"}));
    banc.sim.delaiReponse = 0.3;
    ms()->newConsBtn->click();
    int n = 0;
    pendantDialogue([&] {
        n = banc.sim.journal.size();
        nf()->close();
    });
    banc.horloge.avancer(6.0);
    const QStringList apres = journalDepuis(n);
    EXPECT_EQ(apres.mid(0, 3), QStringList({"$pg1", "pg", "NG"}));
    EXPECT_EQ(apres.count("$F50"), 1);
    EXPECT_EQ(banc.sim.commandes.filter("$F"), QStringList{"$F50"});
}

struct CasAffichage {
    const char* nom;
    const char* unite;
    const char* poles;
    const char* ft;
    const char* fq;
    char16_t separateur;
    const char* fc;
    const char* f;
    bool sortie;
};
void PrintTo(const CasAffichage& c, std::ostream* os) { *os << c.nom; }

class Affichage : public Start, public ::testing::WithParamInterface<CasAffichage> {};

TEST_P(Affichage, FrequencesEtBoutonSortie)
{
    const CasAffichage& c = GetParam();
    definirSeparateurDecimal(c.separateur);
    banc.sim.fixer("UF", c.unite);
    banc.sim.fixer("NP", c.poles);
    banc.sim.fixer("FT", c.ft);
    banc.sim.fixer("FQ", c.fq);
    ouvrir();
    banc.horloge.avancer(0.5);
    EXPECT_EQ(ms()->editTxtFc->text(), QString::fromLatin1(c.fc));
    EXPECT_EQ(ms()->editTxtFreq->text(), QString::fromLatin1(c.f));
    EXPECT_EQ(ms()->exitStartBtn->isEnabled(), c.sortie);
}

INSTANTIATE_TEST_SUITE_P(
    Start, Affichage,
    ::testing::Values(CasAffichage{"rpm4poles", "1", "4", "50", "50", u'.', "1500", "1500", false},
                      CasAffichage{"rpm2poles", "1", "2", "50", "50", u'.', "3000", "3000", false},
                      CasAffichage{"rpm2polesArret", "1", "2", "0", "0", u'.', "0", "0", true},
                      CasAffichage{"rpmZeroPoleUnePaire", "1", "0", "50", "50", u'.', "3000", "3000", false},
                      CasAffichage{"hzVirgule", "0", "4", "49.5", "0", u',', "49,5", "0,00", true},
                      CasAffichage{"hzUnEstArret", "0", "4", "1", "1", u'.', "1", "0.00", true},
                      CasAffichage{"hzEnMarche", "0", "4", "1.5", "1.5", u'.', "1.5", "1.5", false}),
    [](const auto& i) { return std::string(i.param.nom); });

TEST_F(Start, FermetureRefuseeMoteurEnMarche)
{
    banc.sim.fixer("FQ", "1.5");
    ouvrir();
    banc.horloge.avancer(0.5);
    EXPECT_FALSE(ms()->close());
    EXPECT_TRUE(ms()->isVisible());
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::arreterAvantFermer));
    EXPECT_EQ(banc.ui.messages[0].icone(), msg::exclamation);
    EXPECT_EQ(banc.ui.messages[0].titre, texteChaine(ids::messageTitre));
    EXPECT_TRUE(startActif);
}

struct CasAnomalie {
    const char* nom;
    std::array<int, 8> drapeaux;
    int texte;
};
void PrintTo(const CasAnomalie& c, std::ostream* os) { *os << c.nom; }

class Anomalie : public Start, public ::testing::WithParamInterface<CasAnomalie> {};

TEST_P(Anomalie, TexteDuPanneau2)
{
    ouvrir();
    EXPECT_EQ(ms()->panneau2(), nullptr);
    banc.sim.anomalies = GetParam().drapeaux;
    banc.horloge.avancer(1.5);
    ASSERT_NE(ms()->panneau2(), nullptr);
    EXPECT_EQ(ms()->panneau2()->text(), texteChaine(GetParam().texte));
    // The motor was not started from here: no stop.
    EXPECT_TRUE(banc.sim.commandes.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Start, Anomalie,
                         ::testing::Values(CasAnomalie{"alimAuxiliaire", {0, 0, 1, 0, 0, 0, 0, 0}, ids::anoAlimAuxiliaire},
                                           CasAnomalie{"plusHautDrapeau", {0, 1, 0, 0, 0, 0, 1, 0}, ids::anoSurchargeMoteur}),
                         [](const auto& i) { return std::string(i.param.nom); });

TEST_F(Start, BoutonDefautPuisNouveauDefautEtLampes)
{
    ouvrir();
    ms()->anoBtn->click();
    ASSERT_NE(ms()->panneau2(), nullptr);
    EXPECT_EQ(ms()->panneau2()->text(), texteChaine(ids::anoAucune));
    EXPECT_TRUE(ms()->anoBtn->isEnabled());
    banc.sim.anomalies = {0, 0, 0, 1, 0, 0, 0, 0};
    banc.sim.etatRelais = {1, 0, 0, 0, 1};
    banc.horloge.avancer(1.5);
    EXPECT_EQ(ms()->panneau2()->text(), texteChaine(ids::anoTempMoteur));
    EXPECT_EQ(etatAnomalies[3], QStringLiteral("1"));
    for (int j = 1; j <= 5; ++j)
        EXPECT_EQ(ms()->relon[j]->text(), (j == 1 || j == 5) ? QStringLiteral("X") : QString()) << j;
    EXPECT_EQ(etatRelais[4], 1);
    // A cleared fault leaves the text; the fault button removes it.
    banc.sim.anomalies = {};
    banc.horloge.avancer(1.5);
    EXPECT_EQ(ms()->panneau2()->text(), texteChaine(ids::anoTempMoteur));
    ms()->anoBtn->click();
    EXPECT_EQ(ms()->panneau2(), nullptr);
}

TEST_F(Start, DemarrageAuBornierDefautArreteEtDemarrageRefuse)
{
    banc.sim.fixer("CS", "1");
    ouvrir();
    EXPECT_FALSE(ms()->startConvBtn->isEnabled());
    ms()->startConvBtn_Click();
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::startParBornier));
    EXPECT_EQ(banc.ui.messages[0].icone(), msg::information);
    EXPECT_EQ(banc.ui.messages[0].titre, texteChaine(ids::messageTitre));
    EXPECT_FALSE(ms()->nouvCommDuPupVersZelto);
    banc.sim.anomalies = {1, 0, 0, 0, 0, 0, 0, 0};
    // Every "AN" poll queues a stop, sent by the next tick.
    banc.horloge.avancer(4.0);
    EXPECT_EQ(banc.sim.commandes, QStringList({"s", "s"}));
}

struct CasFile {
    const char* nom;
    std::vector<const char*> boutons;   // "Enter": the key, as the window comes up
    QStringList envoyes;
    int bips = 0;   // buttons whose command cannot wait behind a queued stop
};
void PrintTo(const CasFile& c, std::ostream* os) { *os << c.nom; }

class File : public Start, public ::testing::WithParamInterface<CasFile> {};

TEST_P(File, UnSeulEnvoiParTick)
{
    banc.sim.fixer("IV", "1");
    ouvrir();
    for (const char* b : GetParam().boutons) {
        if (qstrcmp(b, "Enter") == 0) {
            systeme::touche(ms(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            evenements();
            continue;
        }
        auto* bouton = ms()->findChild<QPushButton*>(QLatin1String(b));
        const int bipsAvant = banc.ui.beeps;
        systeme::cliquer(bouton);
        evenements();
        // Refused: the button as it was.
        if (banc.ui.beeps > bipsAvant) EXPECT_TRUE(bouton->isEnabled()) << b;
    }
    EXPECT_EQ(banc.ui.beeps, GetParam().bips);
    banc.horloge.avancer(1.0);
    EXPECT_EQ(banc.sim.commandes, GetParam().envoyes);
    // Every button is back after the send.
    for (QPushButton* b : {ms()->stopConvBtn, ms()->resetBtn, ms()->inversionBtn, ms()->startConvBtn})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Start, File,
    ::testing::Values(CasFile{"inversionPuisReset", {"inversionBtn", "resetBtn"}, {"I"}},
                      CasFile{"stopPuisReset", {"stopConvBtn", "resetBtn"}, {"s"}, 1},
                      CasFile{"stopPuisStart", {"stopConvBtn", "startConvBtn"}, {"s"}, 1},
                      CasFile{"stopPuisInversionPuisFreqDef", {"stopConvBtn", "inversionBtn", "freqDefBtn"}, {"s"}, 2},
                      CasFile{"startPuisStop", {"startConvBtn", "stopConvBtn"}, {"s"}},
                      CasFile{"enterALOuvertureArrete", {"Enter"}, {"s"}}),
    [](const auto& i) { return std::string(i.param.nom); });

TEST_F(Start, ConvertisseurMuetFermeLaFenetre)
{
    ouvrir();
    banc.sim.silence = true;
    const double t0 = banc.horloge.maintenant();
    while (ms()->isVisible() && banc.horloge.maintenant() - t0 < 20) banc.horloge.avancer(0.1);
    EXPECT_LT(banc.horloge.maintenant() - t0, 10.0);
    EXPECT_FALSE(ms()->isVisible());
    EXPECT_FALSE(f->onLineChk());
    EXPECT_FALSE(startActif);
    EXPECT_FALSE(f->startBtn->isEnabled());
    EXPECT_FALSE(f->mnABtn->isEnabled());
    EXPECT_TRUE(f->mnBBtn->isEnabled());
    EXPECT_TRUE(f->isEnabled());
}

TEST_F(Start, CaseDeFermetureArreteLaScrutation)
{
    ouvrir();
    banc.horloge.avancer(0.6);
    EXPECT_TRUE(ms()->close());
    EXPECT_FALSE(startActif);
    EXPECT_FALSE(ms()->TimerStart->enabled());
    EXPECT_TRUE(pendant(3.0).isEmpty());
    EXPECT_TRUE(f->startBtn->isEnabled());
    EXPECT_TRUE(f->mnABtn->isEnabled());
    // Opened again: the partition is read again.
    n0 = banc.sim.journal.size();
    f->startBtn->click();
    banc.horloge.avancer(0.01);
    EXPECT_TRUE(depuisOuverture().contains("NM"));
}

TEST_F(Start, PartitionModifieeGardeLesValeursDuPc)
{
    ouvrir([] {
        parametresPartitions[0][1] = 6;
        partParamsModifies[0] = true;
        partNemaModifies[0] = true;
    });
    EXPECT_EQ(depuisOuverture(), general + QStringList{"NG"} + general + pas0 + pas1 + pas2);
    EXPECT_EQ(parametresPartitions[0][1].nombre(), 6);
    EXPECT_EQ(ms()->nbPpole, 3);

    // Motor started; a later activation (after the setpoint dialog, say)
    // reloads nothing and leaves Start disabled.
    ms()->startConvBtn->click();
    EXPECT_EQ(pendant(0.5), QStringList({"r"}));
    SuiviActivation::oublier();
    QEvent activation(QEvent::WindowActivate);
    const int n = banc.sim.journal.size();
    QApplication::sendEvent(ms(), &activation);
    EXPECT_EQ(journalDepuis(n), QStringList({"NG"}));
    EXPECT_FALSE(ms()->startConvBtn->isEnabled());
}

TEST_F(Start, ActivationPendantUnEchangeDifferee)
{
    ouvrir();
    bool essaye = false;
    banc.horloge.surEvenements = [&] {
        if (essaye || !liaisonOccupee()) return;
        essaye = true;
        // Back from another of the program's windows in the middle of the step.
        SuiviActivation::oublier();
        QEvent activation(QEvent::WindowActivate);
        QApplication::sendEvent(ms(), &activation);
    };
    banc.horloge.avancer(0.6);
    banc.horloge.surEvenements = {};
    EXPECT_TRUE(essaye);
    EXPECT_TRUE(ms()->isVisible());
    EXPECT_TRUE(startActif);
    // That activation runs at the next free tick, then the poll goes on.
    EXPECT_EQ(pendant(0.5), QStringList({"NG"}));
    EXPECT_EQ(pendant(0.5), pas1);
}
