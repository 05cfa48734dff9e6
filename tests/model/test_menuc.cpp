#include "commun.h"

#include "link/transaction.h"
#include "model/nombres.h"
#include "model/tables.h"

#include <gtest/gtest.h>

TEST(MenuC, ecritureAvecLignes8Et9Croisees)
{
    BancModele banc;
    definirSeparateurDecimal(QLatin1Char(','));
    tableRelais[0][0] = 1;
    tableRelais[8][0] = 3;    // alarm output
    tableRelais[9][0] = 4;    // comparator output
    tableRelais[16][0] = 5;
    tableSortiesAnalogiques[1][0] = 4;
    tableComparateur[0][0] = 9.5;
    tableComparateur[1][0] = 2;
    VueMenuCFactice vue;
    vue.textes["editTxtValComp"] = "1,00";   // the window's fields are not what is sent
    vues().menuRelNew = &vue;
    bool sens = false;
    transfertMenuC(sens);
    retablirSeparateurDecimal();

    QStringList attendu;
    const char* const cles[17] = {"$fA", "$vA", "$fZ", "$vZ", "$sS", "$su", "$mc", "$gl", "$VC",
                                  "$al", "$an", "$ve", "$aF", "$aA", "$pt", "$nt", "$re"};
    const int relais[17] = {1, 0, 0, 0, 0, 0, 0, 0, 4, 3, 0, 0, 0, 0, 0, 0, 5};
    for (int r = 0; r < 17; ++r) attendu << QString::fromLatin1(cles[r]) + QString::number(relais[r]) << "RL";
    attendu << "$sa1" << "Sn" << "$sn4" << "SN" << "$vc9.50" << "VC" << "$dc2" << "DC";
    EXPECT_EQ(banc.sim.journal, attendu);
    EXPECT_TRUE(sens);
    EXPECT_TRUE(vue.actifs.at("downBtn"));
    EXPECT_TRUE(vue.actifs.at("ExitBtn"));
    EXPECT_EQ(cmdMode, "C");

    // The converter took them: "$al" (position 9) alarm, "$VC" (position 10) comparator.
    EXPECT_EQ(banc.sim.relais[8], 3);
    EXPECT_EQ(banc.sim.relais[9], 4);

    // Read back: the alarm output on relay 3, the comparator output on relay 4.
    initTablesMenuC();
    banc.sim.journal.clear();
    sens = true;
    transfertMenuC(sens);
    EXPECT_EQ(banc.sim.journal, QStringList({"RL", "Sn", "SN", "VC", "DC"}));
    EXPECT_EQ(tableRelais[8][0].nombre(), 3);
    EXPECT_EQ(tableRelais[9][0].nombre(), 4);
    EXPECT_EQ(tableRelais[16][0].nombre(), 5);
    EXPECT_EQ(vue.options["f"], 6 * 16 + 5);
    EXPECT_EQ(tableComparateur[0][0].nombre(), 9.5);
    EXPECT_EQ(tableSortiesAnalogiques[1][0].nombre(), 4);
    EXPECT_EQ(vue.options["san2Chk"], 4);
}

namespace {
struct CasRL {
    const char* nom;
    const char* reponse;
    std::vector<int> relais;   // rows 0 to 16
};
class LectureRL : public ::testing::TestWithParam<CasRL> {};
void PrintTo(const CasRL& c, std::ostream* os) { *os << c.nom; }
}

TEST_P(LectureRL, relaisParPosition)
{
    BancModele banc;
    for (auto& r : tableRelais) r[0] = 2;
    VueMenuCFactice vue;
    vues().menuRelNew = &vue;
    banc.repondre("RL", QString::fromLatin1(GetParam().reponse));
    bool sens = true;
    transfertMenuC(sens);
    for (int r = 0; r < 17; ++r) EXPECT_EQ(tableRelais[r][0].nombre(), GetParam().relais[r]) << r;
    // Each selection stays within its row.
    int n = 0;
    for (const QString& l : vue.journal)
        if (l.startsWith("option f")) {
            const int i = l.mid(8).toInt();
            EXPECT_EQ(i / 6, n) << l.toStdString();
            ++n;
        }
    EXPECT_EQ(n, 17);
}

INSTANTIATE_TEST_SUITE_P(
    Reponses, LectureRL,
    ::testing::Values(
        CasRL{"complet", "1;0;2;0;0;0;0;0;3;4;0;0;0;0;0;0;5;", {1, 0, 2, 0, 0, 0, 0, 0, 3, 4, 0, 0, 0, 0, 0, 0, 5}},
        CasRL{"dixChiffres", "1;1;1;1;1;1;1;1;1;1;", {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}},
        CasRL{"chiffreAuDelaDe5", "9;6;5;", {0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}),
    [](const auto& i) { return std::string(i.param.nom); });

TEST(MenuC, sortieAnalogiqueZeroLaisseLOption)
{
    BancModele banc;
    VueMenuCFactice vue;
    vues().menuRelNew = &vue;
    banc.sim.fixer("Sn", "0");
    bool sens = true;
    transfertMenuC(sens);
    EXPECT_EQ(tableSortiesAnalogiques[0][0].nombre(), 0);
    EXPECT_EQ(vue.options.count("san1Chk"), 0u);
    EXPECT_EQ(vue.options["san2Chk"], 2);
    EXPECT_EQ(vue.textes["editTxtValComp"], "5");
}

TEST(MenuC, initTables)
{
    BancModele banc;
    EXPECT_EQ(tableRelais[8][2].texte(), "$VC");
    EXPECT_EQ(tableRelais[9][2].texte(), "$al");
    EXPECT_EQ(tableRelais[9][3].texte(), "Ral");
    EXPECT_EQ(tableRelais[0][1].texte(), "RL");
    EXPECT_EQ(tableSortiesAnalogiques[0][0].nombre(), 1);
    EXPECT_EQ(tableSortiesAnalogiques[1][2].texte(), "$sn");
    EXPECT_EQ(tableComparateur[1][1].texte(), "DC");
    EXPECT_EQ(tableCodesMesures[12][0].texte(), "NG");
    EXPECT_EQ(tableCodesMesures[12][1].nombre(), 1);
    EXPECT_EQ(tableCodesMesures[6][0].texte(), "UR");
}

TEST(MenuC, libelles)
{
    BancModele banc;
    langueIndex = 1;
    VueMenuCFactice vue;
    vues().menuRelNew = &vue;
    libellesMenuC();
    EXPECT_EQ(vue.textes["Label(0)"], " Reached frequency");
    EXPECT_EQ(vue.textes["Label(16)"], " Main anomly");
    EXPECT_EQ(vue.textes["Label(22)"], "Relay's No");
    EXPECT_EQ(vue.textes["downBtn"], "&Download");
    EXPECT_EQ(vue.bulles["ExitBtn"], "Exit menu \"C\" to retrun into main menu!...");
    EXPECT_EQ(vue.titre, "Programmables outputs menu (relays, comparators...)");
}

TEST(MenuC, liaisonPerdueEnLectureGardeLeReste)
{
    BancModele banc;
    VueMenuCFactice vue;
    vues().menuRelNew = &vue;
    tableComparateur[0][0] = 7;
    banc.silenceA("SN");
    bool sens = true;
    transfertMenuC(sens);
    EXPECT_FALSE(banc.principale.enLigne);
    EXPECT_EQ(banc.sim.journal, QStringList({"RL", "Sn", "SN"}));
    EXPECT_EQ(tableSortiesAnalogiques[1][0].nombre(), 1);
    EXPECT_EQ(tableComparateur[0][0].nombre(), 7);
    EXPECT_EQ(vue.textes.count("editTxtValComp"), 0u);
    EXPECT_TRUE(vue.actifs.at("downBtn"));
    EXPECT_TRUE(vue.actifs.at("ExitBtn"));
}
