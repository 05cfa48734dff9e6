// The simulated converter: framing, the wire model, the fault knobs.
#include "sim/bancessai.h"
#include "sim/convertisseursim.h"

#include "link/transaction.h"

#include <gtest/gtest.h>

namespace {

QByteArray cadre(const char* texte) { return QByteArray("\n\r") + texte + '\x1a'; }

QByteArray ligne(ConvertisseurSim& s, const char* l) { return s.traiterLigne(QByteArray(l)); }

TEST(ConvertisseurSim, framingAndLog)
{
    ConvertisseurSim s;
    EXPECT_EQ(ligne(s, "Ur"), cadre("400"));
    EXPECT_EQ(ligne(s, ""), QByteArray("\n\r>"));
    EXPECT_EQ(ligne(s, "ZZ"), cadre("?"));
    EXPECT_EQ(ligne(s, "$zz1"), cadre("?"));
    EXPECT_EQ(s.journal, QStringList({"Ur", "", "ZZ", "$zz1"}));
}

TEST(ConvertisseurSim, cleanUpGivesTheReplyText)
{
    ConvertisseurSim s;
    s.fixer("Ur", "410");
    EXPECT_EQ(nettoyerReponse(QString::fromLatin1(ligne(s, "Ur"))), QStringLiteral("410\x1a"));
    s.invite = true;
    const QByteArray brut = ligne(s, "Ur");
    ASSERT_EQ(brut.at(2), '<');
    EXPECT_EQ(nettoyerReponse(QString::fromLatin1(brut)), QStringLiteral("410\x1a"));
}

// Write then read each kind of value; keys and codes are case-sensitive.
TEST(ConvertisseurSim, writeThenReadByCode)
{
    struct Cas {
        const char* ecriture;
        const char* code;
        const char* attendu;
    };
    const Cas cas[] = {
        {"$ur410", "Ur", "410"},     {"$cP1", "CP", "1"},         {"$cp12.50", "Ip", "12.50"},
        {"$dF45.5", "fdf", "45.5"},  {"$df30", "TC", "30"},        {"$MC2", "cm", "2"},
        {"$mx3.25", "IM1", "3.25"},  {"$tm1500", "TM", "1500"},    {"$sa4", "Sn", "4"},
        {"$sn6", "SN", "6"},         {"$vc9.5", "VC", "9.5"},      {"$dc3", "DC", "3"},
        {"$ng7", "NG", "7"},         {"$pg1", "pg", "1"},          {"$dm1", "DM", "1"},
    };
    for (const Cas& c : cas) {
        ConvertisseurSim s;
        EXPECT_EQ(ligne(s, c.ecriture), cadre("OK")) << c.ecriture;
        EXPECT_EQ(ligne(s, c.code), cadre(c.attendu)) << c.ecriture;
    }
    ConvertisseurSim s;
    ligne(s, "$cp12.50");
    EXPECT_EQ(s.valeur("CP"), "0");   // "$cp" is not "$cP"
    ligne(s, "$df30");
    EXPECT_EQ(s.valeur("fdf"), "50");
}

TEST(ConvertisseurSim, partitionValuesAreKeptPerPartition)
{
    ConvertisseurSim s;
    ligne(s, "$ng3");
    ligne(s, "$in22.5");
    ligne(s, "$ng4");
    EXPECT_EQ(ligne(s, "IN"), cadre("15"));
    EXPECT_EQ(s.valeur("$in", 3), "22.5");
    EXPECT_EQ(s.valeur("IN", 4), "15");
    EXPECT_EQ(ligne(s, "$ng65"), cadre("?"));
    EXPECT_EQ(s.partition, 4);
    s.version = "12A";
    EXPECT_EQ(ligne(s, "$ng33"), cadre("?"));
    EXPECT_EQ(ligne(s, "$ng32"), cadre("OK"));
}

TEST(ConvertisseurSim, uFPointTable)
{
    ConvertisseurSim s;
    ligne(s, "$ng2");
    ligne(s, "$nm2300050");
    ligne(s, "$nm0050002");
    // Not closed yet: the partition keeps its points.
    EXPECT_EQ(ligne(s, "NM"), cadre("50;400;0;0;"));
    ligne(s, "$nm0000000");
    EXPECT_EQ(ligne(s, "NM"), cadre("50;230;2;5;0;0;"));
    EXPECT_EQ(s.points[2], (std::vector<PointUF>{{230, 50}, {5, 2}}));
    EXPECT_EQ(s.points[1], (std::vector<PointUF>{{400, 50}}));
    EXPECT_EQ(ligne(s, "$nm230005"), cadre("?"));
    ligne(s, "$nm0000000");
    EXPECT_EQ(ligne(s, "NM"), cadre("0;0;"));
}

TEST(ConvertisseurSim, relayRowsEightAndNine)
{
    ConvertisseurSim s;
    ligne(s, "$fA1");
    ligne(s, "$al3");   // alarm output, position 9
    ligne(s, "$VC4");   // comparator output, position 10
    ligne(s, "$re5");
    EXPECT_EQ(ligne(s, "RL"), cadre("1;0;0;0;0;0;0;0;3;4;0;0;0;0;0;0;5;"));
    EXPECT_EQ(ligne(s, "$al6"), cadre("?"));
    EXPECT_EQ(s.relais[8], 3);
    EXPECT_EQ(ligne(s, "VC"), cadre("5"));   // the comparator level is another value
}

TEST(ConvertisseurSim, deviceDataAndLock)
{
    ConvertisseurSim s;
    s.version = "V15";
    EXPECT_EQ(ligne(s, "LES"), cadre("30;V15;12-03-04;ZT2030;1250;310;"));
    EXPECT_EQ(ligne(s, "XxX"), cadre("XxX0"));
    ligne(s, "$CRT45");
    ligne(s, "$HES0");
    ligne(s, "$HST0");
    ligne(s, "YyY");
    EXPECT_EQ(ligne(s, "XxX"), cadre("XxX1"));
    EXPECT_EQ(ligne(s, "$NUM1"), cadre("?"));
    EXPECT_EQ(ligne(s, "LES"), cadre("45;V15;12-03-04;ZT2030;0;0;"));
    EXPECT_EQ(s.commandes, QStringList({"$HES0", "$HST0", "YyY"}));
}

TEST(ConvertisseurSim, workingDisplayCommands)
{
    ConvertisseurSim s;
    ligne(s, "$F42.5");
    ligne(s, "r");
    EXPECT_EQ(ligne(s, "FQ"), cadre("42.5"));
    ligne(s, "$J");
    EXPECT_EQ(s.valeur("fdf"), "42.5");
    s.anomalies[2] = 1;
    s.etatRelais[0] = 1;
    EXPECT_EQ(ligne(s, "AN"), cadre("0;0;1;0;0;0;0;0;"));
    EXPECT_EQ(ligne(s, "ST"), cadre("1;0;0;0;0;"));
    ligne(s, "I");
    ligne(s, "s");
    EXPECT_EQ(ligne(s, "AN"), cadre("0;0;0;0;0;0;0;0;"));
    EXPECT_EQ(ligne(s, "FQ"), cadre("0"));
    EXPECT_EQ(ligne(s, "xXx"), cadre("Bye"));
    EXPECT_EQ(s.commandes, QStringList({"$F42.5", "r", "$J", "I", "s", "xXx"}));
}

TEST(ConvertisseurSim, faultKnobs)
{
    struct Cas {
        const char* nom;
        std::function<void(ConvertisseurSim&)> regler;
        QByteArray attendu;
    };
    const std::vector<Cas> cas = {
        {"silence", [](ConvertisseurSim& s) { s.silence = true; }, QByteArray()},
        {"sansTerminateur", [](ConvertisseurSim& s) { s.sansTerminateur = true; }, "\n\r400"},
        {"finInterrogation", [](ConvertisseurSim& s) { s.finInterrogation = true; }, "\n\r400?"},
        {"relectureFausse", [](ConvertisseurSim& s) { s.relectureFausse = true; }, cadre("511")},
        {"invite", [](ConvertisseurSim& s) { s.invite = true; }, "\n\r<Zelto>\n\r400\x1a"},
        {"script", [](ConvertisseurSim& s) { s.script = [](const QString&) { return std::optional<QByteArray>("x"); }; },
         "x"},
    };
    for (const Cas& c : cas) {
        ConvertisseurSim s;
        c.regler(s);
        EXPECT_EQ(ligne(s, "Ur"), c.attendu) << c.nom;
        EXPECT_EQ(s.journal, QStringList({"Ur"})) << c.nom;
    }

    ConvertisseurSim longue;
    longue.reponseLongue = true;
    const QByteArray r = ligne(longue, "Ur");
    EXPECT_GT(r.size(), 300);
    EXPECT_TRUE(r.startsWith("\n\r400;"));
    EXPECT_TRUE(r.endsWith('\x1a'));

    ConvertisseurSim garbage;
    garbage.charabia = true;
    const QByteArray g = ligne(garbage, "Ur");
    EXPECT_TRUE(g.endsWith('\x1a'));
    EXPECT_EQ(g.count('\x1a'), 1);
    EXPECT_FALSE(g.contains("400"));

    // A wrong read-back leaves writes alone.
    ConvertisseurSim faux;
    faux.relectureFausse = true;
    EXPECT_EQ(ligne(faux, "$ur410"), cadre("OK"));
    EXPECT_EQ(faux.valeur("Ur"), "410");
    EXPECT_EQ(ligne(faux, "RL"), cadre("1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;"));
}

// ---- PortSimule on the virtual clock ----

TEST(PortSimule, echoAndReplyArriveAtTheirTimes)
{
    BancEssai b;
    b.sim.delaiReponse = 0.5;
    const double t0 = b.horloge.maintenant();
    b.port.output("U");
    EXPECT_EQ(b.port.inBufferCount(), 0);
    EXPECT_TRUE(b.port.waitForInput(2000));
    EXPECT_DOUBLE_EQ(b.horloge.maintenant(), t0 + 0.001);
    EXPECT_EQ(b.port.input(), QByteArray("U"));
    b.port.output("r\n");
    EXPECT_TRUE(b.port.waitForInput(2000));
    EXPECT_EQ(b.port.input(), QByteArray("r"));
    EXPECT_TRUE(b.port.waitForInput(2000));
    EXPECT_NEAR(b.horloge.maintenant(), t0 + 0.501, 1e-9);
    EXPECT_EQ(b.port.input(), cadre("400"));
    EXPECT_EQ(b.sim.journal, QStringList({"Ur"}));
    EXPECT_EQ(b.port.octetsEcrits, QByteArray("Ur\n"));
}

TEST(PortSimule, silenceNoEchoAndClosedPort)
{
    BancEssai b;
    b.sim.sansEcho = true;
    b.port.output("NG");
    EXPECT_FALSE(b.port.waitForInput(2000));
    b.port.output("\n");
    EXPECT_TRUE(b.port.waitForInput(2000));
    EXPECT_EQ(b.port.input(), cadre("1"));

    b.sim.sansEcho = false;
    b.sim.silence = true;
    const double t0 = b.horloge.maintenant();
    b.port.output("NG\n");
    EXPECT_FALSE(b.port.waitForInput(4000));
    EXPECT_NEAR(b.horloge.maintenant(), t0 + 4.0, 1e-9);

    b.port.close();
    b.port.output("x\n");
    EXPECT_EQ(b.sim.journal.size(), 2);
    EXPECT_EQ(b.port.octetsEcrits, QByteArray("NG\nNG\n"));
    b.port.erreurOuverture = erreursPort::indisponible;
    EXPECT_EQ(b.port.open(), 8002);
    b.port.erreurOuverture = 0;
    EXPECT_EQ(b.port.open(), 0);
    EXPECT_EQ(b.port.open(), erreursPort::dejaOuvert);
}

// The bench drives the real transaction: a write read back.
TEST(BancEssai, writeWithReadBackThroughTheLink)
{
    BancEssai b;
    cmdCode = "$ur410";
    envoyerCommande(cmdCode, "B", "$ur", "Ur");
    EXPECT_EQ(reponse, QStringLiteral("410\x1a"));
    EXPECT_EQ(b.sim.journal, QStringList({"$ur410", "Ur"}));
    EXPECT_EQ(b.port.octetsEcrits, QByteArray("$ur410\nUr\n"));
}

}  // namespace
