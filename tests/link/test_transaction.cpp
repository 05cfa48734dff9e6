// The serial transaction over the simulated converter: wire sequences,
// timing roads, event discipline, link loss and late replies.
#include "commun.h"

#include "link/transaction.h"
#include "model/etat.h"
#include "model/menubgen.h"
#include "model/session.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"

#include <gtest/gtest.h>

namespace {

QByteArray fil(const QStringList& lignes)
{
    QByteArray r;
    for (const QString& l : lignes) r += l.toLatin1() + '\n';
    return r;
}

void transaction(const QString& commande, const QString& mode, const QString& cle, const QString& relecture)
{
    cmdCode = commande;
    cmdMode = mode;
    cmdParam1 = cle;
    cmdParam2 = relecture;
    envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
}

// ---- Wire sequence of each mode ----

struct CasFil {
    const char* nom;
    std::function<void(ConvertisseurSim&)> preparer;
    QString commande, mode, cle, relecture;
    QStringList attendu;
};

void PrintTo(const CasFil& c, std::ostream* os) { *os << c.nom; }

class FilParMode : public ::testing::TestWithParam<CasFil> {};

TEST_P(FilParMode, lignesEnvoyees)
{
    BancLiaison banc;
    const CasFil& c = GetParam();
    if (c.preparer) c.preparer(banc.sim);
    transaction(c.commande, c.mode, c.cle, c.relecture);
    EXPECT_EQ(banc.sim.journal, c.attendu);
    EXPECT_EQ(banc.port.octetsEcrits, fil(c.attendu));   // no CR, no ","
    EXPECT_TRUE(banc.ui.messages.empty());
    EXPECT_TRUE(banc.principale.enLigne);
}

QStringList fois(int n, const QStringList& l)
{
    QStringList r;
    for (int i = 0; i < n; ++i) r += l;
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FilParMode,
    ::testing::Values(
        CasFil{"lecture", nullptr, "Ur", "L", "", "", {"Ur"}},
        CasFil{"retourChariotNonEnvoye", nullptr, "U\rr\r", "L", "", "", {"Ur"}},
        CasFil{"ecritureRelue", nullptr, "$ur410", "B", "$ur", "Ur", {"$ur410", "Ur"}},
        CasFil{"virguleEnvoyeeEnPoint", nullptr, "$ta2,5", "B", "$ta", "TAC", {"$ta2.5", "TAC"}},
        CasFil{"relectureFausseQuatreTours", [](ConvertisseurSim& s) { s.relectureFausse = true; },
               "$ur410", "B", "$ur", "Ur", fois(4, {"$ur410", "Ur"})},
        CasFil{"relaisRelu", nullptr, "$VC4", "C", "$VC", "RL", {"$VC4", "RL"}},
        CasFil{"relaisFauxQuatreTours", [](ConvertisseurSim& s) { s.relectureFausse = true; },
               "$al3", "C", "$al", "RL", fois(4, {"$al3", "RL"})},
        CasFil{"donneeAppareil", nullptr, "$CRT45", "A", "$CRT", "LES", {"$CRT45", "LES"}},
        // The written value is filtered like the reply field before the comparison.
        CasFil{"numeroAvecLettresConfirme", nullptr, "$NUMZT4711", "A", "$NUM", "LES", {"$NUMZT4711", "LES"}},
        CasFil{"dateAvecBarresConfirmee", nullptr, "$DAT12/03/04", "A", "$DAT", "LES", {"$DAT12/03/04", "LES"}},
        CasFil{"sondeVerrouSansRelecture", nullptr, "XxX", "A", "", "", {"XxX"}},
        CasFil{"posteUneFois", nullptr, "r", "S", "", "", {"r"}},
        CasFil{"posteAvecRelectureUneFois", [](ConvertisseurSim& s) { s.relectureFausse = true; },
               "$F50", "S", "$F", "FT", {"$F50", "FT"}},
        CasFil{"fermetureUneFois", nullptr, "xXx", "X", "", "", {"xXx"}},
        CasFil{"sansModeSansRelectureUneFois", nullptr, "I", "", "", "", {"I"}},
        CasFil{"modeUUneFois", [](ConvertisseurSim& s) { s.relectureFausse = true; },
               "$nm0000000", "U", "$nm", "NM", {"$nm0000000", "NM"}}),
    [](const ::testing::TestParamInfo<CasFil>& i) { return std::string(i.param.nom); });

TEST(Transaction, modeUCompareLeDebutAttendu)
{
    BancLiaison banc;
    // A closing record alone leaves the partition without points: "NM" gives "0;0;".
    reponseAttendue = QStringLiteral("0;0;");
    transaction("$nm0000000", "U", "$nm", "NM");
    EXPECT_EQ(reponseAttendue, QStringLiteral("ok"));
    reponseAttendue = QStringLiteral("50;230;");
    transaction("$nm0000000", "U", "$nm", "NM");
    EXPECT_EQ(reponseAttendue, QStringLiteral("error"));
    EXPECT_EQ(banc.sim.journal.size(), 4);
    // The link lost before the check: no match either.
    banc.sim.silence = true;
    reponseAttendue = QStringLiteral("0;0;");
    transaction("$nm0000000", "U", "$nm", "NM");
    EXPECT_EQ(reponseAttendue, QStringLiteral("error"));
    EXPECT_FALSE(enLigne());
}

// Before each character: a 1 ms pause after the previous echo, then the
// input emptied (a stray byte that came after the echo is gone).
TEST(Transaction, pauseEtEntreeVideeAvantChaqueCaractere)
{
    BancLiaison banc;
    banc.port.parasiteApresEcho = 0.0002;
    transaction("$ur410", "S", "", "");
    const auto& e = banc.port.ecritures;
    ASSERT_EQ(e.size(), 7u);
    for (std::size_t i = 0; i < e.size(); ++i) {
        EXPECT_EQ(e[i].nonLus, 0) << i;
        if (i > 0 && i + 1 < e.size())
            EXPECT_GE(e[i].temps - e[i - 1].temps, banc.port.delaiEcho + 0.001 - 1e-9) << i;
    }
}

TEST(Transaction, relectureAvecVirguleConfirmeUnPoint)
{
    BancLiaison banc;
    banc.sim.script = [](const QString& ligne) -> std::optional<QByteArray> {
        if (ligne == QLatin1String("TAC")) return ConvertisseurSim::cadrer(QStringLiteral("2,5"));
        return std::nullopt;
    };
    transaction("$ta2,5", "B", "$ta", "TAC");
    EXPECT_EQ(banc.sim.journal, (QStringList{"$ta2.5", "TAC"}));
}

TEST(Transaction, horsLigneRienNEstEnvoye)
{
    BancLiaison banc;
    banc.principale.enLigne = false;
    reponse = QStringLiteral("avant");
    reponseAttendue = QStringLiteral("x");
    transaction("$ur410", "B", "$ur", "Ur");
    transaction("$nm0000000", "U", "$nm", "NM");
    EXPECT_TRUE(banc.port.octetsEcrits.isEmpty());
    EXPECT_EQ(reponse, QStringLiteral("avant"));
    EXPECT_EQ(reponseAttendue, QStringLiteral("x"));
}

TEST(Transaction, reponseLueEtNettoyee)
{
    BancLiaison banc;
    banc.sim.fixer("Ur", "440");
    banc.sim.invite = true;
    transaction("Ur", "L", "", "");
    EXPECT_EQ(reponse, QStringLiteral("440\x1a"));
}

// ---- Timing of the reply ----

enum class Issue { acceptee, tardive, horsLigne };

struct CasDelai {
    const char* nom;
    std::function<void(ConvertisseurSim&)> preparer;
    Issue issue;
    QString reponse;      // when accepted
    double dureeMin;      // seconds the reply wait took at least
};

void PrintTo(const CasDelai& c, std::ostream* os) { *os << c.nom; }

class DelaiReponse : public ::testing::TestWithParam<CasDelai> {};

TEST_P(DelaiReponse, issue)
{
    BancLiaison banc;
    const CasDelai& c = GetParam();
    banc.sim.fixer("Ur", "410");
    c.preparer(banc.sim);
    const double debut = banc.horloge.maintenant();
    transaction("Ur", "L", "", "");
    EXPECT_GE(banc.horloge.maintenant() - debut, c.dureeMin);
    switch (c.issue) {
    case Issue::acceptee:
        EXPECT_EQ(reponse, c.reponse);
        EXPECT_TRUE(banc.ui.messages.empty());
        EXPECT_TRUE(banc.principale.enLigne);
        EXPECT_FALSE(programmeTermine);
        EXPECT_EQ(banc.ui.nbTerminer, 0);
        break;
    case Issue::tardive:
        ASSERT_EQ(banc.ui.messages.size(), 1u);
        EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::reponseTropTardive));
        EXPECT_EQ(banc.ui.messages[0].titre, texteChaine(ids::messageTitre));
        EXPECT_EQ(banc.ui.messages[0].icone(), msg::critique);
        EXPECT_FALSE(banc.principale.enLigne);
        EXPECT_FALSE(banc.port.isOpen());
        EXPECT_TRUE(reponse.isEmpty());
        EXPECT_FALSE(programmeTermine);
        EXPECT_EQ(banc.ui.nbTerminer, 0);
        break;
    case Issue::horsLigne:
        EXPECT_TRUE(banc.ui.messages.empty());
        EXPECT_FALSE(banc.principale.enLigne);
        EXPECT_TRUE(reponse.isEmpty());
        EXPECT_FALSE(programmeTermine);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cas, DelaiReponse,
    ::testing::Values(
        CasDelai{"a1s9Acceptee", [](ConvertisseurSim& s) { s.delaiReponse = 1.9; }, Issue::acceptee,
                 "410\x1a", 1.9},
        CasDelai{"fin26a2s1Tardive", [](ConvertisseurSim& s) { s.delaiReponse = 2.1; }, Issue::tardive, "", 2.1},
        CasDelai{"interrogationSans26AccepteeApres4s",
                 [](ConvertisseurSim& s) { s.finInterrogation = true; }, Issue::acceptee, "410?", 4.0},
        CasDelai{"interrogationPuis26Apres2sTardive",
                 [](ConvertisseurSim& s) {
                     s.delaiReponse = 2.1;
                     s.script = [](const QString&) { return std::optional<QByteArray>("\n\r?\x1a"); };
                 },
                 Issue::tardive, "", 2.1},
        CasDelai{"sansTerminateurTardiveA4s", [](ConvertisseurSim& s) { s.sansTerminateur = true; },
                 Issue::tardive, "", 4.0},
        CasDelai{"silenceHorsLigne", [](ConvertisseurSim& s) { s.silence = true; }, Issue::horsLigne, "", 4.0}),
    [](const ::testing::TestParamInfo<CasDelai>& i) { return std::string(i.param.nom); });

TEST(Transaction, interrogationAvant2sSans26EstAcceptee)
{
    BancLiaison banc;
    banc.sim.script = [](const QString&) { return std::optional<QByteArray>("\n\r12?"); };
    transaction("Ur", "L", "", "");
    EXPECT_EQ(reponse, QStringLiteral("12?"));
    EXPECT_TRUE(banc.ui.messages.empty());
}

TEST(Transaction, silenceHorsLigneDansLOrdreSansMessage)
{
    BancLiaison banc;
    initTableMenuBGen();
    menuBGenCharge = true;
    menuBGenModifie = true;
    travailEnCours = true;
    banc.charger(numeroFenetre::menuStart);
    FenetreTest& menuBGen = banc.charger(numeroFenetre::menuBGen);
    banc.charger(numeroFenetre::passform);
    banc.charger(numeroFenetre::menuA, false);
    // At the windows' closing: port closed, off line, flagExit set, run state not yet reset.
    int nbVerifies = 0;
    menuBGen.surDecharger = [&] {
        EXPECT_FALSE(banc.port.isOpen());
        EXPECT_FALSE(banc.principale.enLigne);
        EXPECT_TRUE(flagExit);
        EXPECT_TRUE(menuBGenCharge);
        EXPECT_TRUE(banc.ui.pointeurs.empty());
        ++nbVerifies;
    };
    banc.sim.silence = true;
    transaction("$ur410", "B", "$ur", "Ur");

    EXPECT_EQ(nbVerifies, 1);
    EXPECT_EQ(banc.dechargements, QStringList({"11", "5"}));   // shown menu windows, in order
    EXPECT_FALSE(menuBGenCharge);
    EXPECT_FALSE(menuBGenModifie);
    EXPECT_FALSE(travailEnCours);
    EXPECT_EQ(banc.principale.statut, texteChaine(ids::modeHorsLigne));
    ASSERT_FALSE(banc.ui.pointeurs.empty());
    EXPECT_EQ(banc.ui.pointeurs.back(), pointeur::normal);
    EXPECT_TRUE(banc.ui.messages.empty());
    EXPECT_EQ(banc.ui.nbTerminer, 0);
    // The read-back and the other attempts are not sent.
    EXPECT_EQ(banc.sim.journal, QStringList({"$ur410"}));
    EXPECT_TRUE(reponse.isEmpty());
}

// The device of the port goes away (an adapter pulled out): the transaction
// takes the program off line at once, without a message, wherever it was.
TEST(Transaction, peripheriquePerduHorsLigneAussitot)
{
    struct Cas {
        const char* nom;
        int perteApresOctets;   // -1: gone before the transaction starts
        const char* ecrits;
    };
    const Cas cas[] = {{"avantLaTransaction", -1, ""},
                       {"pendantLEcho", 2, "$u"},
                       {"pendantLaReponse", 7, "$ur410\n"},
                       {"pendantLaRelecture", 8, "$ur410\nU"}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        BancLiaison banc;
        banc.charger(numeroFenetre::menuBGen);
        if (c.perteApresOctets < 0) banc.port.perdre();
        banc.port.perteApresOctets = c.perteApresOctets;
        const double t0 = banc.horloge.maintenant();
        transaction("$ur410", "B", "$ur", "Ur");
        EXPECT_LT(banc.horloge.maintenant() - t0, 0.05);
        EXPECT_EQ(banc.port.octetsEcrits, QByteArray(c.ecrits));
        EXPECT_FALSE(banc.principale.enLigne);
        EXPECT_EQ(banc.dechargements, QStringList({"5"}));
        EXPECT_TRUE(banc.ui.messages.empty());
        EXPECT_EQ(banc.ui.nbTerminer, 0);
        EXPECT_TRUE(reponse.isEmpty());
    }
}

TEST(Transaction, sansEcranDeTravailFlagExitIntact)
{
    BancLiaison banc;
    banc.charger(numeroFenetre::menuStart, false);
    banc.sim.silence = true;
    transaction("Ur", "L", "", "");
    EXPECT_FALSE(flagExit);
}

// ---- Events: only the reply wait processes them ----

TEST(Evenements, seuleLAttenteDeReponseTraiteLesEvenements)
{
    BancLiaison banc;
    int horsAttenteReponse = 0;
    int pendantReponse = 0;
    banc.horloge.surEvenements = [&] {
        if (banc.port.octetsEcrits.endsWith('\n')) ++pendantReponse;
        else ++horsAttenteReponse;
    };
    banc.port.delaiEcho = 0.3;   // slow echo: the echo waits take time
    transaction("$ur410", "B", "$ur", "Ur");
    EXPECT_EQ(horsAttenteReponse, 0);
    EXPECT_GT(pendantReponse, 0);
}

TEST(Evenements, pausesSansEvenementsAttenteTimerAvec)
{
    BancLiaison banc;
    const double t0 = banc.horloge.maintenant();
    attentePrecise(1.0f);
    attentePrecise(0.001f);
    EXPECT_EQ(banc.horloge.nbTraitements, 0);
    EXPECT_NEAR(banc.horloge.maintenant() - t0, 1.001, 1e-6);
    attenteTimer(1.0);
    EXPECT_GT(banc.horloge.nbTraitements, 0);
    EXPECT_GE(banc.horloge.maintenant() - t0, 2.001 - 1e-9);
}

struct CasEcho {
    double decalage;   // fraction of the second at the start
    double duree;      // length of the wait without an echo
};

void PrintTo(const CasEcho& c, std::ostream* os) { *os << c.decalage; }

class EchoAbsent : public ::testing::TestWithParam<CasEcho> {};

TEST_P(EchoAbsent, limiteArrondieALaSeconde)
{
    BancLiaison banc;
    banc.horloge.attendre(GetParam().decalage);
    const double t0 = banc.horloge.maintenant();
    QString tampon;
    EXPECT_FALSE(attenteEcho(tampon));
    EXPECT_NEAR(banc.horloge.maintenant() - t0, GetParam().duree, 1e-6);
    EXPECT_EQ(banc.horloge.nbTraitements, 0);
}

INSTANTIATE_TEST_SUITE_P(Cas, EchoAbsent, ::testing::Values(CasEcho{0.4, 1.6}, CasEcho{0.6, 2.4}, CasEcho{0.0, 2.0}));

TEST(Echo, chevronSeulNeComptePas)
{
    BancLiaison banc;
    QString tampon;
    banc.port.output(">");
    EXPECT_FALSE(attenteEcho(tampon));
    EXPECT_EQ(tampon, QStringLiteral(">"));
    banc.port.output("a");
    EXPECT_TRUE(attenteEcho(tampon));
    EXPECT_EQ(tampon, QStringLiteral("a"));
}

// ---- One transaction at a time ----

TEST(Imbrication, transactionImbriqueeRefusee)
{
    BancLiaison banc;
    banc.sim.fixer("Ur", "430");
    bool essaye = false;
    banc.horloge.surEvenements = [&] {
        if (essaye) return;
        essaye = true;
        EXPECT_TRUE(liaisonOccupee());
        const QString avant = reponse;
        QString autre = QStringLiteral("r");
        envoyerCommande(autre, QStringLiteral("S"), QString(), QString());
        EXPECT_EQ(reponse, avant);
    };
    transaction("Ur", "L", "", "");
    EXPECT_TRUE(essaye);
    EXPECT_FALSE(liaisonOccupee());
    EXPECT_EQ(banc.sim.journal, QStringList({"Ur"}));
    EXPECT_EQ(reponse, QStringLiteral("430\x1a"));
}

// ---- Late reply: off line with a message ----

// Off line before the box, nothing sent while it is up; once it is closed
// the link-loss road runs; the road that goes on sends nothing and shows no
// second box.
TEST(ReponseTardive, horsLigneAvantLeMessagePuisPerteDeLiaison)
{
    BancLiaison banc;
    initTableMenuBGen();
    menuBGenCharge = true;
    travailEnCours = true;
    banc.charger(numeroFenetre::fondEcran);
    FenetreTest& menuBGen = banc.charger(numeroFenetre::menuBGen);
    bool vu = false;
    banc.ui.pendantMessage = [&](const MessageVu&) {
        vu = true;
        EXPECT_FALSE(banc.port.isOpen());
        EXPECT_FALSE(banc.principale.onLineChk());
        EXPECT_TRUE(banc.dechargements.isEmpty());
        EXPECT_TRUE(menuBGenCharge);
        // A timer firing while the box is up sends nothing.
        transaction("xXx", "X", "", "");
    };
    menuBGen.surDecharger = [&] { transaction("$ur400", "B", "$ur", "Ur"); };
    banc.sim.delaiReponse = 2.1;
    transaction("$ur410", "B", "$ur", "Ur");
    transaction("$ur420", "B", "$ur", "Ur");

    EXPECT_TRUE(vu);
    EXPECT_EQ(banc.port.octetsEcrits, QByteArray("$ur410\n"));
    EXPECT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.dechargements, QStringList({"5"}));   // menu windows only
    EXPECT_FALSE(menuBGenCharge);
    EXPECT_FALSE(travailEnCours);
    EXPECT_EQ(banc.principale.statut, texteChaine(ids::modeHorsLigne));
    EXPECT_EQ(banc.ui.pointeurCourant, pointeur::normal);
    EXPECT_TRUE(reponse.isEmpty());
    EXPECT_FALSE(programmeTermine);
    EXPECT_EQ(banc.ui.nbTerminer, 0);
}

} // namespace
