#include "commun.h"

#include "link/transaction.h"
#include "model/menua.h"
#include "model/tables.h"

#include <gtest/gtest.h>

namespace {
int compter(const QStringList& j, const QString& debut)
{
    int n = 0;
    for (const QString& l : j) n += l.startsWith(debut) ? 1 : 0;
    return n;
}
}

TEST(ChargerTout, convertisseur32Partitions)
{
    BancModele banc;
    nbPartitions = 32;
    banc.sim.version = "12A";
    banc.sim.points[32] = {{10, 5}, {230, 50}};
    VueFactice<IVueMenuBGen> bgen;
    vues().menuBGen = &bgen;
    langueIndex = 1;

    EXPECT_TRUE(chargerTout());
    const QStringList& j = banc.sim.journal;
    EXPECT_EQ(j.mid(0, 6), QStringList({"LES", "RL", "Sn", "SN", "VC", "DC"}));
    EXPECT_EQ(compter(j, "$ng"), 32);
    EXPECT_EQ(j.mid(6, 2), QStringList({"$ng1", "NG"}));
    EXPECT_FALSE(j.contains("$ng33"));
    EXPECT_EQ(j.size(), 6 + 32 * (2 + 40 + 1));
    EXPECT_TRUE(menuCCharge);
    EXPECT_EQ(champsLES[1], "12A");
    EXPECT_EQ(champsLES[2], "12.03.04");
    EXPECT_EQ(parametresPartitions[0][32].nombre(), 4);
    EXPECT_EQ(pointsNema[32][64].nombre(), 2);
    EXPECT_EQ(pointsNema[32][2].nombre(), 230);
    EXPECT_EQ(parametresPartitions[0][33].nombre(), 2);   // not read
    ASSERT_GE(bgen.statuts.size(), 3);
    EXPECT_EQ(bgen.statuts.first(), "Loading menu A...");
    EXPECT_EQ(bgen.statuts[1], "Loading menu C...");
    EXPECT_TRUE(bgen.statuts.contains("Loading menu B partition : 7 ..."));
    EXPECT_EQ(bgen.statuts.last(), "");

    // Menu C held: the next upload skips it.
    banc.sim.journal.clear();
    EXPECT_TRUE(chargerTout());
    EXPECT_EQ(banc.sim.journal.mid(0, 2), QStringList({"LES", "$ng1"}));
}

TEST(ChargerTout, statutALaFenetrePrincipaleQuandMenuBGenCache)
{
    BancModele banc;
    nbPartitions = 32;
    langueIndex = 1;
    VueFactice<IVueMenuBGen> bgen;
    bgen.fenetreVisible = false;
    vues().menuBGen = &bgen;
    QStringList principal;
    banc.horloge.surEvenements = [&] { principal << banc.principale.statut; };
    chargerTout();
    EXPECT_FALSE(bgen.statuts.contains("Loading menu C..."));
    EXPECT_TRUE(principal.contains("Loading menu B partition : 32 ..."));
}

TEST(ChargerTout, partitionModifieeGardeSesValeurs)
{
    BancModele banc;
    nbPartitions = 32;
    parametresPartitions[0][2] = 10;
    partParamsModifies[1] = true;
    pointsNema[3][0] = 100;
    partNemaModifies[2] = true;
    partParamsModifies[3] = true;
    partNemaModifies[3] = true;
    parametresPartitions[0][4] = 12;

    EXPECT_TRUE(chargerTout());
    EXPECT_EQ(parametresPartitions[0][2].nombre(), 10);
    EXPECT_EQ(pointsNema[3][0].nombre(), 100);
    EXPECT_EQ(parametresPartitions[0][3].nombre(), 4);
    EXPECT_EQ(parametresPartitions[0][4].nombre(), 12);
    EXPECT_TRUE(partParamsModifies[1]);

    const QStringList& j = banc.sim.journal;
    const int i2 = static_cast<int>(j.indexOf("$ng2"));
    EXPECT_EQ(j.mid(i2, 3), QStringList({"$ng2", "NG", "NM"}));
    const int i3 = static_cast<int>(j.indexOf("$ng3"));
    EXPECT_EQ(j[i3 + 2], "NP");
    EXPECT_EQ(j[i3 + 2 + 40], "$ng5");   // no NM for 3, nothing for 4
    EXPECT_FALSE(j.contains("$ng4"));
}

TEST(ChargerTout, liaisonPerdueEnCoursDePartition)
{
    BancModele banc;
    nbPartitions = 32;
    banc.silenceA("IN", 2);   // inside partition 2
    EXPECT_FALSE(chargerTout());
    EXPECT_FALSE(banc.principale.enLigne);
    EXPECT_EQ(parametresPartitions[0][1].nombre(), 4);    // read
    for (int p = 2; p <= 4; ++p) {
        EXPECT_EQ(parametresPartitions[0][p].nombre(), 2) << p;
        EXPECT_EQ(parametresPartitions[1][p].nombre(), 0.1) << p;
    }
    EXPECT_EQ(banc.sim.journal.last(), "IN");
}

TEST(ChargerMenuA, lectureEnLigne)
{
    BancModele banc;
    VueMenuAFactice vue;
    vues().menuA = &vue;
    banc.repondre("LES", "30;18 A;12-03-04;ZT 20;1250;310;extra;9;");
    chargerMenuA();
    EXPECT_EQ(banc.sim.journal, QStringList({"LES"}));
    const QStringList attendu({"30", "18A", "12.03.04", "ZT20", "1250", "310"});
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(champsLES[i], attendu[i]);
        EXPECT_EQ(vue.textes[element("editTxt", i)], attendu[i]);
    }
    EXPECT_TRUE(reponse.isEmpty());
    EXPECT_TRUE(vue.actifs.at("editTxt(2)"));
    EXPECT_EQ(vue.tabIndex.at("editTxt(2)"), 1);
    EXPECT_EQ(vue.tabIndex.at("editTxt(3)"), 2);
    EXPECT_FALSE(vue.actifs.at("editTxt(4)"));
    EXPECT_FALSE(vue.tabStops.at("editTxt(1)"));
}

TEST(ChargerMenuA, verrouilleToutDesactive)
{
    BancModele banc;
    VueMenuAFactice vue;
    vues().menuA = &vue;
    reponseXxX = true;
    chargerMenuA();
    for (int i = 0; i < 6; ++i) EXPECT_FALSE(vue.actifs.at(element("editTxt", i))) << i;
}

TEST(ChargerMenuA, horsLigne)
{
    BancModele banc;
    banc.principale.enLigne = false;
    langueIndex = 1;
    VueMenuAFactice vue;
    vues().menuA = &vue;
    champsLES[0] = "45";
    chargerMenuA();
    EXPECT_TRUE(banc.sim.journal.isEmpty());
    EXPECT_EQ(vue.textes["editTxt(0)"], "0");
    EXPECT_EQ(vue.textes["editTxt(3)"], "Not available !");
    menuAModifie = true;
    chargerMenuA();
    EXPECT_EQ(vue.textes["editTxt(0)"], "45");
}
