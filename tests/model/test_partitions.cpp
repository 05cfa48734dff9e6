#include "commun.h"

#include "model/affichagepartition.h"
#include "model/nombres.h"
#include "model/tables.h"

#include <gtest/gtest.h>

TEST(Partitions, demarrage)
{
    BancModele banc;
    for (int p : {1, 33, 64}) {
        EXPECT_EQ(parametresPartitions[0][p].nombre(), 2);
        EXPECT_EQ(parametresPartitions[1][p].nombre(), 0.1);
        EXPECT_EQ(parametresPartitions[3][p].nombre(), 1);
        EXPECT_EQ(parametresPartitions[11][p].nombre(), 0);
        EXPECT_EQ(parametresPartitions[37][p].nombre(), 0);
        EXPECT_EQ(pointsNema[p][0].nombre(), 1);
        EXPECT_EQ(pointsNema[p][1].nombre(), 50);
        EXPECT_EQ(pointsNema[p][64].nombre(), 1);
    }
    EXPECT_EQ(parametresPartitions[1][1].texteFil(), "0.1");
    EXPECT_EQ(valeursCourantes[0].valeur.nombre(), 1);
    EXPECT_EQ(valeursCourantes[0].max.nombre(), 64);
    EXPECT_EQ(defParamsPartition[11].cle, "$dF");
    EXPECT_EQ(defParamsPartition[30].cle, "$df");
    EXPECT_EQ(defParamsPartition[25].cle, "$MC");
    EXPECT_EQ(cleNema, "$nm");
    EXPECT_EQ(codeNema, "NM");
    EXPECT_FALSE(partitionsModifiees());
    EXPECT_EQ(compterPartitionsChargees(), 0);
}

namespace {
struct CasTable {
    const char* nom;
    std::vector<std::pair<double, double>> points;   // (U, F)
    Variant compte;
    bool remise;
};
class InitPointsNema : public ::testing::TestWithParam<CasTable> {};
void PrintTo(const CasTable& c, std::ostream* os) { *os << c.nom; }
}

TEST_P(InitPointsNema, tablesMauvaises)
{
    BancModele banc;
    const CasTable& c = GetParam();
    auto& pts = pointsNema[9];
    for (size_t j = 0; j < c.points.size(); ++j) {
        pts[2 * j] = c.points[j].first;
        pts[2 * j + 1] = c.points[j].second;
    }
    pts[64] = c.compte;
    if (c.points.size() == 1) pts[2] = Variant();   // point 2 counted but empty
    initPointsNema(64);
    if (c.remise) {
        EXPECT_EQ(pts[0].nombre(), 1);
        EXPECT_EQ(pts[1].nombre(), 50);
        EXPECT_EQ(pts[64].nombre(), 1);
        for (int k = 2; k <= 63; ++k) EXPECT_EQ(pts[k].nombre(), 0) << k;
    } else {
        EXPECT_EQ(pts[64], c.compte);
        EXPECT_EQ(pts[2].nombre(), c.points[1].first);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cas, InitPointsNema,
    ::testing::Values(CasTable{"frequenceHorsLimite", {{10, 5}, {100, 4500}, {230, 50}}, Variant(3), true},
                      CasTable{"tensionHorsLimite", {{10, 5}, {470, 40}}, Variant(2), true},
                      CasTable{"dechetAuDelaDuCompte", {{10, 5}, {100, 25}, {230, 50}, {-5, 9000}}, Variant(3), false},
                      CasTable{"compteZero", {{10, 5}, {100, 25}}, Variant(0), true},
                      CasTable{"compteVide", {{10, 5}, {100, 25}}, Variant(), true},
                      CasTable{"compteTropGrand", {{10, 5}, {100, 25}}, Variant(40), true},
                      CasTable{"pointVide", {{10, 5}}, Variant(2), true}),
    [](const auto& i) { return std::string(i.param.nom); });

TEST(Partitions, terminerPointsNemaPointNulNArretePasLeCompte)
{
    BancModele banc;
    auto& pts = pointsNema[4];
    const double valeurs[8] = {1, 10, 100, 25, 0, 0, 230, 50};
    for (int k = 0; k < 8; ++k) pts[k] = valeurs[k];
    terminerPointsNema(4);
    EXPECT_EQ(pts[64].nombre(), 3);
    for (int k = 6; k <= 63; ++k) EXPECT_EQ(pts[k].nombre(), 0) << k;
    EXPECT_EQ(pts[4].nombre(), 0);
    EXPECT_EQ(freqMaxGamme.nombre(), 0);
}

TEST(Partitions, terminerPointsNemaAuPlus31)
{
    BancModele banc;
    auto& pts = pointsNema[4];
    for (int j = 0; j < 32; ++j) {
        pts[2 * j] = 10 + j;
        pts[2 * j + 1] = 20 + j;
    }
    terminerPointsNema(4);
    EXPECT_EQ(pts[64].nombre(), 31);
    EXPECT_EQ(pts[62].nombre(), 0);
    EXPECT_EQ(pts[63].nombre(), 0);
    EXPECT_EQ(tensionMaxGamme.nombre(), 40);
    EXPECT_EQ(freqMaxGamme.nombre(), 50);
    terminerPointsNema(0);    // no partition 0: nothing
    terminerPointsNema(65);
}

TEST(Partitions, choisirPartition)
{
    BancModele banc;
    VueFactice<IVueMenuBP> vue;
    vues().menuBP = &vue;
    auto& pts = pointsNema[6];
    pts[64] = 5;
    pts[8] = 300;
    pts[9] = 80;
    nbPointsNema = 4;
    choisirPartition(Variant(6));
    EXPECT_EQ(partitionCourante, 6);
    EXPECT_EQ(valeursCourantes[0].valeur.nombre(), 6);
    EXPECT_EQ(nbPointsGamme.nombre(), 5);
    EXPECT_EQ(freqMaxGamme.nombre(), 80);
    EXPECT_EQ(tensionMaxGamme.nombre(), 300);
    EXPECT_EQ(nbPointsNema.nombre(), 1);
    EXPECT_EQ(vue.textes["editTxtGamme"], "6");
    choisirPartition(valeursCourantes[0].valeur);   // the selector itself
    EXPECT_EQ(partitionCourante, 6);
}

TEST(Partitions, marques)
{
    BancModele banc;
    partNemaModifies[63] = true;
    EXPECT_TRUE(partitionsModifiees());
    partNemaModifies[63] = false;
    partParamsModifies[64] = true;   // no partition 65
    EXPECT_FALSE(partitionsModifiees());
    partParamsCharges.fill(true);
    EXPECT_EQ(compterPartitionsChargees(), 64);
    partNemaCharges.fill(true);
    EXPECT_EQ(compterPartitionsChargees(), 128);
}

TEST(AfficherPartition, finDeGammeSansFenetre)
{
    BancModele banc;
    pointsNema[2][64] = 2;
    pointsNema[2][2] = 230;
    pointsNema[2][3] = 60;
    afficherPartition(2);
    EXPECT_EQ(nbPointsGamme.nombre(), 2);
    EXPECT_EQ(freqMaxGamme.nombre(), 60);
    EXPECT_EQ(tensionMaxGamme.nombre(), 230);
}

TEST(AfficherPartition, champsEtRegles)
{
    BancModele banc;
    definirSeparateurDecimal(QLatin1Char(','));
    VueFactice<IVueMenuBP> vue;
    vues().menuBP = &vue;
    vue.textes["editTxtGamme"] = "2";
    parametresPartitions[0][2] = 4;
    parametresPartitions[1][2] = 7.5;
    parametresPartitions[24][2] = 2.5;
    parametresPartitions[2][2] = 1;
    parametresPartitions[22][2] = 0;
    parametresPartitions[25][2] = 2;
    parametresPartitions[26][2] = 12.6;
    afficherPartition(2);
    retablirSeparateurDecimal();
    EXPECT_EQ(vue.textes["editTxtNbPoles"], "4");
    EXPECT_EQ(vue.textes["editTxtPuissMax"], "7,50");
    EXPECT_EQ(vue.textes["editTxtGliss"], "2,5");
    EXPECT_EQ(vue.textes["editTxtMcm1"], "13");
    EXPECT_EQ(vue.options["irefChk"], 1);
    EXPECT_FALSE(vue.visibles.at("editTxtCrtMot"));
    EXPECT_FALSE(vue.visibles.at("editTxtCrtFccPerm"));
    EXPECT_FALSE(vue.actifs.at("Label(135)"));
    EXPECT_FALSE(vue.actifs.at("editTxtNbPulses"));
    EXPECT_FALSE(vue.actifs.at("Label(42)"));
    EXPECT_TRUE(vue.visibles.at("editTxtMcm4"));
    EXPECT_FALSE(vue.visibles.at("Label(53)"));
}

namespace {
struct CasMcm {
    const char* nom;
    int genre;
    const char* attendu;
    bool champs;
    bool unites;
};
class FormatMcm : public ::testing::TestWithParam<CasMcm> {};
void PrintTo(const CasMcm& c, std::ostream* os) { *os << c.nom; }
}

TEST_P(FormatMcm, formatSelonGenre)
{
    BancModele banc;
    VueFactice<IVueMenuBP> vue;
    vues().menuBP = &vue;
    vue.textes["editTxtGamme"] = "5";
    parametresPartitions[25][5] = GetParam().genre;
    parametresPartitions[29][5] = 12.6;
    afficherPartition(5);
    EXPECT_EQ(vue.textes["editTxtMcm4"], GetParam().attendu);
    EXPECT_EQ(vue.visibles.at("editTxtMcm1"), GetParam().champs);
    EXPECT_EQ(vue.visibles.at("Label(43)"), GetParam().champs);
    EXPECT_EQ(vue.visibles.at("Label(19)"), GetParam().unites);
}

INSTANTIATE_TEST_SUITE_P(Genres, FormatMcm,
                         ::testing::Values(CasMcm{"absolu", 0, "12.60", true, true},
                                           CasMcm{"sh", 1, "12.60", true, true},
                                           CasMcm{"dto", 2, "13", true, false},
                                           CasMcm{"aucun", 3, "13", false, false}),
                         [](const auto& i) { return std::string(i.param.nom); });

TEST(FormatMcm, champPartitionInvalideNeLitRien)
{
    BancModele banc;
    VueFactice<IVueMenuBP> vue;
    vues().menuBP = &vue;
    for (const char* t : {"abc", "0", "65", "-3", "", "x5"}) {
        vue.textes["editTxtGamme"] = t;
        formatValeursMcm(1);
        EXPECT_EQ(vue.textes.count("editTxtMcm1"), 0u) << t;
    }
    vue.textes["editTxtGamme"] = "64";
    formatValeursMcm(1);
    EXPECT_EQ(vue.textes["editTxtMcm1"], "0.00");
}

TEST(FormatMcm, menuDPartitionCourante)
{
    BancModele banc;
    VueFactice<IVueMenuD> d;
    vues().menuD = &d;
    d.options["mcmChk"] = 2;
    valeursCourantes[0].valeur = 3;
    parametresPartitions[26][3] = 7.4;
    formatValeursMcm(2);
    EXPECT_EQ(d.textes["editTxtMcm1"], "7");
}
