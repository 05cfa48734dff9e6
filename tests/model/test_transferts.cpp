#include "commun.h"

#include "link/transaction.h"
#include "model/tables.h"
#include "model/transfertspartitions.h"

#include <gtest/gtest.h>

namespace {
const char* const codes[38] = {"NP", "PM", "RT", "IN", "IC", "IR", "CB", "RI", "TAC", "TDC",
                               "PC", "fdf", "fmn", "FX1", "FX2", "FX3", "FI1", "BI1", "FI2", "BI2",
                               "FI3", "BI3", "MV", "Np", "sp", "cm", "IM1", "IM2", "IM3", "IM4",
                               "TC", "Ic", "Ip", "SF", "CG", "TAU", "TDU", "TM"};

// The 40 read lines of a partition.
QStringList lecturePartition()
{
    QStringList l;
    for (const char* c : codes) l << QString::fromLatin1(c);
    return l << "TAU" << "TDU";
}
}

TEST(TransfertPartition, ecritureIrefClavierEnvoie37Commandes)
{
    BancModele banc;
    partitionCourante = 7;
    parametresPartitions[8][7] = 12.5;
    parametresPartitions[9][7] = QStringLiteral("12,50");
    parametresPartitions[35][7] = 99;
    sensLecture = false;
    transfertPartition(false);
    const QStringList& j = banc.sim.journal;
    ASSERT_EQ(j.size(), 74);
    EXPECT_EQ(j.mid(0, 4), QStringList({"$pp2", "NP", "$pm0.1", "PM"}));
    EXPECT_EQ(j.mid(16, 4), QStringList({"$ta12.5", "TAC", "$td12.50", "TDC"}));
    EXPECT_EQ(j.mid(68, 6), QStringList({"$cg0", "CG", "$tu12.5", "TAU", "$du12.50", "TDU"}));
    EXPECT_FALSE(j.contains("$tm0"));
    EXPECT_TRUE(sensLecture);
    EXPECT_EQ(banc.sim.valeur("TDC"), "12.50");
}

TEST(TransfertPartition, ecritureIrefBornierSauteLesCourants)
{
    BancModele banc;
    partitionCourante = 2;
    parametresPartitions[2][2] = 1;
    sensLecture = false;
    transfertPartition(false);
    QStringList cles;
    for (int i = 0; i < banc.sim.journal.size(); i += 2) cles << banc.sim.journal[i].left(3);
    EXPECT_EQ(cles.size(), 32);
    for (const char* absent : {"$in", "$ia", "$ir", "$cf", "$cp"}) EXPECT_FALSE(cles.contains(absent)) << absent;
    EXPECT_EQ(cles.mid(2, 2), QStringList({"$rt", "$ci"}));
    EXPECT_EQ(cles.mid(27, 2), QStringList({"$df", "$sf"}));
}

TEST(TransfertPartition, lecture40CodesEtLimites)
{
    BancModele banc;
    banc.sim.fixer("NP", "30");   // above 24: minimum
    banc.sim.fixer("PM", "7.5");
    banc.sim.fixer("TM", "120");
    partitionCourante = 4;
    sensLecture = true;
    transfertPartition(true);
    EXPECT_EQ(banc.sim.journal, lecturePartition());
    EXPECT_EQ(parametresPartitions[0][4].nombre(), 2);
    EXPECT_EQ(parametresPartitions[1][4].nombre(), 7.5);
    EXPECT_EQ(parametresPartitions[37][4].nombre(), 120);
    EXPECT_EQ(parametresPartitions[23][4].nombre(), 60);
}

TEST(TransfertPartition, liaisonPerdueLaisseLaPartitionIntacte)
{
    BancModele banc;
    partitionCourante = 4;
    banc.silenceA("TDU", 2);   // the second reading of TDU
    sensLecture = true;
    transfertPartition(true);
    EXPECT_FALSE(banc.principale.enLigne);
    EXPECT_EQ(parametresPartitions[0][4].nombre(), 2);
    EXPECT_EQ(parametresPartitions[1][4].nombre(), 0.1);
}

TEST(TransfertPointsNema, deuxPointsConfirmesEnUnTour)
{
    BancModele banc;
    partitionCourante = 3;
    banc.sim.partition = 3;
    pointsNema[3][0] = 5;
    pointsNema[3][1] = 2;
    pointsNema[3][2] = 230;
    pointsNema[3][3] = 50;
    pointsNema[3][64] = 2;
    sensLecture = false;
    transfertPointsNema();
    EXPECT_EQ(banc.sim.journal, QStringList({"$nm0050002", "$nm2300050", "$nm0000000", "NM"}));
    EXPECT_EQ(reponseAttendue, "ok");
    EXPECT_TRUE(sensLecture);
    EXPECT_EQ(banc.sim.points[3], (std::vector<PointUF>{{5, 2}, {230, 50}}));
}

TEST(TransfertPointsNema, nonConfirmeQuatreToursExactement)
{
    BancModele banc;
    partitionCourante = 3;
    pointsNema[3][0] = 5;
    pointsNema[3][1] = 2;
    pointsNema[3][2] = 230;
    pointsNema[3][3] = 50;
    pointsNema[3][64] = 2;
    banc.repondre("NM", "9;9;0;0;");
    sensLecture = false;
    transfertPointsNema();
    QStringList tour({"$nm0050002", "$nm2300050", "$nm0000000", "NM"});
    EXPECT_EQ(banc.sim.journal, tour + tour + tour + tour);
    EXPECT_EQ(reponseAttendue, "error");
}

TEST(TransfertPointsNema, valeursHorsLimitesCorrigeesALEnvoi)
{
    BancModele banc;
    partitionCourante = 1;
    pointsNema[1][0] = 500;
    pointsNema[1][1] = 4500;
    pointsNema[1][64] = 1;
    banc.repondre("NM", "4500;500;0;0;");
    sensLecture = false;
    transfertPointsNema();
    EXPECT_EQ(banc.sim.journal, QStringList({"$nm0010050", "$nm0000000", "NM"}));
    EXPECT_EQ(reponseAttendue, "ok");
}

namespace {
struct CasNM {
    const char* nom;
    const char* reponse;
    int compte;
    std::vector<std::pair<int, int>> points;   // (U, F) expected in slots
};
class LectureNM : public ::testing::TestWithParam<CasNM> {};
void PrintTo(const CasNM& c, std::ostream* os) { *os << c.nom; }
}

TEST_P(LectureNM, compteLesPairesEntieresStockees)
{
    BancModele banc;
    partitionCourante = 5;
    for (int k = 0; k < 64; ++k) pointsNema[5][k] = 77;
    banc.repondre("NM", QString::fromLatin1(GetParam().reponse));
    sensLecture = true;
    transfertPointsNema();
    EXPECT_EQ(banc.sim.journal, QStringList({"NM"}));
    EXPECT_EQ(pointsNema[5][64].nombre(), GetParam().compte);
    const auto& attendus = GetParam().points;
    for (size_t j = 0; j < attendus.size(); ++j) {
        EXPECT_EQ(pointsNema[5][2 * j].nombre(), attendus[j].first) << j;
        EXPECT_EQ(pointsNema[5][2 * j + 1].nombre(), attendus[j].second) << j;
    }
    // Beyond: 0 after a read that stored a point, else as it was.
    for (size_t k = 2 * attendus.size(); k < 64; ++k)
        EXPECT_EQ(pointsNema[5][k].nombre(), attendus.empty() ? 77 : 0) << k;
}

INSTANTIATE_TEST_SUITE_P(
    Reponses, LectureNM,
    ::testing::Values(CasNM{"deuxPoints", "10;5;50;230;0;0;", 2, {{5, 10}, {230, 50}}},
                      CasNM{"vide", "0;0;", 1, {}},
                      CasNM{"rien", "", 1, {}},
                      CasNM{"paireIncomplete", "10;5;50;", 1, {{5, 10}}},
                      CasNM{"sansZeroFinal", "10;5;50;230;", 2, {{5, 10}, {230, 50}}},
                      CasNM{"champNonNumerique", "10;5;x;230;0;0;", 1, {{5, 10}}},
                      CasNM{"tensionNonNumerique", "10;5;50;;0;0;", 1, {{5, 10}}}),
    [](const auto& i) { return std::string(i.param.nom); });

TEST(TransfertPointsNema, auPlus32Points)
{
    BancModele banc;
    partitionCourante = 5;
    QString r;
    for (int j = 0; j < 40; ++j) r += "10;5;";
    banc.repondre("NM", r);
    sensLecture = true;
    transfertPointsNema();
    EXPECT_EQ(pointsNema[5][64].nombre(), 32);
    EXPECT_EQ(pointsNema[5][63].nombre(), 10);
}

namespace {
struct CasNG {
    const char* nom;
    const char* reponse;
    int nbPartitions;
    int attendu;
};
class LectureNG : public ::testing::TestWithParam<CasNG> {};
void PrintTo(const CasNG& c, std::ostream* os) { *os << c.nom; }
}

TEST_P(LectureNG, seulUnNumeroValideDevientCourant)
{
    BancModele banc;
    nbPartitions = GetParam().nbPartitions;
    valeursCourantes[0].valeur = 3;
    banc.repondre("NG", QString::fromLatin1(GetParam().reponse));
    sensLecture = true;
    transfertNumPartition();
    EXPECT_EQ(valeursCourantes[0].valeur.nombre(), GetParam().attendu);
}

INSTANTIATE_TEST_SUITE_P(Reponses, LectureNG,
                         ::testing::Values(CasNG{"valide", "7", 64, 7}, CasNG{"derniere", "64", 64, 64},
                                           CasNG{"vide", "", 64, 3}, CasNG{"texte", "abc", 64, 3},
                                           CasNG{"zero", "0", 64, 3}, CasNG{"audela", "65", 64, 3},
                                           CasNG{"audela32", "33", 32, 3}, CasNG{"decimal", "2.5", 64, 3},
                                           CasNG{"negatif", "-2", 64, 3}),
                         [](const auto& i) { return std::string(i.param.nom); });

TEST(TransfertNumPartition, ecritureSelectionne)
{
    BancModele banc;
    partitionCourante = 12;
    sensLecture = false;
    transfertNumPartition();
    EXPECT_EQ(banc.sim.journal, QStringList({"$ng12", "NG"}));
    EXPECT_EQ(valeursCourantes[0].valeur.nombre(), 12);
    EXPECT_EQ(banc.sim.partition, 12);
    EXPECT_TRUE(sensLecture);
}

namespace {
struct CasCharger {
    const char* nom;
    bool tenue;
    bool origExterne;
};
class ChargerPartition : public ::testing::TestWithParam<CasCharger> {};
void PrintTo(const CasCharger& c, std::ostream* os) { *os << c.nom; }
}

TEST_P(ChargerPartition, sequenceSurLeFil)
{
    BancModele banc;
    VueFactice<IVueMenuBP> vue;
    vues().menuBP = &vue;
    const CasCharger& c = GetParam();
    origPartExterne = c.origExterne;
    partParamsCharges[2] = c.tenue;
    valeursCourantes[0].valeur = 3;
    chargerPartition();

    QStringList attendu;
    if (c.origExterne) attendu << "$pg0" << "pg";
    attendu << "$ng3" << "NG";
    if (!c.tenue) attendu += lecturePartition();
    EXPECT_EQ(banc.sim.journal, attendu);
    EXPECT_TRUE(partParamsCharges[2]);
    EXPECT_EQ(partitionCourante, 3);
    EXPECT_EQ(vue.textes["editTxtGamme"], "3");
    EXPECT_EQ(vue.statuts.isEmpty(), c.tenue);
    if (!c.tenue) {
        EXPECT_EQ(parametresPartitions[0][3].nombre(), 4);
        EXPECT_EQ(vue.textes["editTxtNbPoles"], "4");
    }
}

INSTANTIATE_TEST_SUITE_P(Cas, ChargerPartition,
                         ::testing::Values(CasCharger{"nonTenue", false, false}, CasCharger{"tenue", true, false},
                                           CasCharger{"nonTenueOrig", false, true},
                                           CasCharger{"tenueOrig", true, true}),
                         [](const auto& i) { return std::string(i.param.nom); });

TEST(TelechargerPartitionsModifiees, seulementCeQuiAChange)
{
    BancModele banc;
    partNemaModifies[4] = true;        // partition 5: U/F only
    partParamsModifies[9] = true;      // partition 10: parameters only
    telechargerPartitionsModifiees();
    const QStringList& j = banc.sim.journal;
    ASSERT_GE(j.size(), 6);
    EXPECT_EQ(j.mid(0, 6), QStringList({"$ng5", "NG", "$nm0010050", "$nm0000000", "NM", "$ng10"}));
    EXPECT_EQ(j.size(), 6 + 1 + 74);
    EXPECT_FALSE(partNemaModifies[4]);
    EXPECT_FALSE(partParamsModifies[9]);
    EXPECT_EQ(banc.ui.beeps, 1);
}

TEST(TelechargerPartitionsModifiees, origineExterneEtStatut)
{
    BancModele banc;
    langueIndex = 1;
    origPartExterne = true;
    partParamsModifies[6] = true;   // partition 7
    telechargerPartitionsModifiees();
    const QStringList& j = banc.sim.journal;
    ASSERT_EQ(j.size(), 2 + 2 + 74);
    EXPECT_EQ(j.mid(0, 5), QStringList({"$pg0", "pg", "$ng7", "NG", "$pp2"}));
    EXPECT_EQ(j.mid(76, 2), QStringList({"$du1", "TDU"}));
    EXPECT_FALSE(j.contains("$pg1"));
    EXPECT_EQ(banc.principale.statut, "Loading menu B partition : 7 ...");
    EXPECT_FALSE(partitionsModifiees());
}

TEST(TransfertPartitions, intervalleVideNeFixeQueLaPartition)
{
    BancModele banc;
    partitionCourante = 1;
    transfertPartitions(5, 4);
    EXPECT_TRUE(banc.sim.journal.isEmpty());
    EXPECT_EQ(partitionCourante, 5);
}
