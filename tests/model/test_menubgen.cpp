#include "commun.h"

#include "link/transaction.h"
#include "model/etat.h"
#include "model/tables.h"

#include <gtest/gtest.h>

namespace {
// Write lines and read-back codes of rows 0 to derniere at their start values.
QStringList ecritureAttendue(int derniere)
{
    static const char* const lignes[13][2] = {
        {"$cs0", "CS"}, {"$uf0", "UF"}, {"$iv0", "IV"}, {"$ps0", "ps"}, {"$fc1", "FC"},
        {"$cP0", "CP"}, {"$ur400", "Ur"}, {"$pg0", "pg"}, {"$as0", "AS"}, {"$dd0", "DD"},
        {"$rv0", "RV"}, {"$vm0", "VM"}, {"$dm0", "DM"},
    };
    QStringList l;
    for (int r = 0; r <= derniere; ++r) {
        l << QString::fromLatin1(lignes[r][0]) << QString::fromLatin1(lignes[r][1]);
    }
    return l;
}

struct CasVersion {
    const char* nom;
    int version;
    const char* lettre;
    int derniere;
};

class EcritureGenerale : public ::testing::TestWithParam<CasVersion> {};
void PrintTo(const CasVersion& c, std::ostream* os) { *os << c.nom; }
}

TEST_P(EcritureGenerale, envoieLesLignesDeLaVersion)
{
    BancModele banc;
    versionLogiciel = GetParam().version;
    versionLettre = QString::fromLatin1(GetParam().lettre);
    sensLecture = false;
    transfertMenuBGen();
    EXPECT_EQ(banc.sim.journal, ecritureAttendue(GetParam().derniere));
    EXPECT_TRUE(sensLecture);
    EXPECT_EQ(derniereLigneEchangee(), GetParam().derniere);
}

INSTANTIATE_TEST_SUITE_P(Versions, EcritureGenerale,
                         ::testing::Values(CasVersion{"v14A", 14, "A", 10}, CasVersion{"v15", 15, "", 11},
                                           CasVersion{"v17A", 17, "A", 11}, CasVersion{"v17B", 17, "B", 12},
                                           CasVersion{"V17", 17, "Z", 12}, CasVersion{"v17b", 17, "b", 12},
                                           CasVersion{"v18", 18, "", 12}),
                         [](const auto& i) { return std::string(i.param.nom); });

TEST(MenuBGen, originePartitionExterneEnvoieZeroSansToucherLaTable)
{
    BancModele banc;
    versionLogiciel = 18;
    tableMenuBGen[7].valeur = 1;
    origPartExterne = true;
    sensLecture = false;
    transfertMenuBGen();
    EXPECT_EQ(banc.sim.journal.mid(14, 2), QStringList({"$pg0", "pg"}));
    EXPECT_EQ(tableMenuBGen[7].valeur.nombre(), 1);
}

TEST(MenuBGen, valeursNombreEtTexteSurLeFil)
{
    BancModele banc;
    versionLogiciel = 14;
    tableMenuBGen[6].valeur = 410.0;
    tableMenuBGen[4].valeur = QStringLiteral("5,5");
    sensLecture = false;
    transfertMenuBGen();
    EXPECT_TRUE(banc.sim.journal.contains("$ur410"));
    EXPECT_TRUE(banc.sim.journal.contains("$fc5.5"));
}

TEST(MenuBGen, ecritureHorsLigneNEnvoieRien)
{
    BancModele banc;
    banc.principale.enLigne = false;
    sensLecture = false;
    transfertMenuBGen();
    EXPECT_TRUE(banc.sim.journal.isEmpty());
    EXPECT_TRUE(sensLecture);
}

TEST(MenuBGen, lectureHorsLimitesDevientMinimum)
{
    BancModele banc;
    versionLogiciel = 14;
    banc.repondre("Ur", "390");
    banc.repondre("FC", "0");
    banc.repondre("DD", "5 s");
    banc.repondre("CS", "1");
    sensLecture = true;
    transfertMenuBGen();
    EXPECT_EQ(tableMenuBGen[6].valeur.nombre(), 400);
    EXPECT_EQ(tableMenuBGen[4].valeur.nombre(), 1);
    EXPECT_EQ(tableMenuBGen[9].valeur.nombre(), 5);
    EXPECT_EQ(tableMenuBGen[0].valeur.nombre(), 1);
    EXPECT_EQ(banc.sim.journal.size(), 11);
}

TEST(MenuBGen, premiereLectureCompleteFixeOrigPartExterne)
{
    BancModele banc;
    versionLogiciel = 18;
    banc.sim.fixer("pg", "1");
    sensLecture = true;
    transfertMenuBGen();
    EXPECT_EQ(bgenLu, 1);
    EXPECT_TRUE(origPartExterne);

    banc.sim.fixer("pg", "0");
    sensLecture = true;
    transfertMenuBGen();
    EXPECT_TRUE(origPartExterne);
}

TEST(MenuBGen, lectureInterrompueNeFixeRien)
{
    BancModele banc;
    versionLogiciel = 18;
    banc.sim.fixer("pg", "1");
    banc.sim.fixer("UF", "1");
    banc.sim.fixer("AS", "1");
    banc.silenceA("AS");
    sensLecture = true;
    transfertMenuBGen();
    EXPECT_FALSE(banc.principale.enLigne);
    EXPECT_EQ(bgenLu, 0);
    EXPECT_FALSE(origPartExterne);
    EXPECT_EQ(tableMenuBGen[8].valeur.nombre(), 0);
    EXPECT_EQ(banc.sim.journal.last(), "AS");
}

TEST(MenuBGen, afficherRienPendantStart)
{
    BancModele banc;
    VueFactice<IVueMenuBGen> vue;
    vues().menuBGen = &vue;
    startActif = true;
    afficherMenuBGen();
    EXPECT_TRUE(vue.journal.isEmpty());

    startActif = false;
    tableMenuBGen[6].valeur = 410;
    afficherMenuBGen();
    EXPECT_EQ(vue.textes["editTxtUres"], "410");
    EXPECT_EQ(vue.options["autorIsrChk"], 0);
    EXPECT_FALSE(vue.actifs.at("origIsrChk(0)"));
    EXPECT_FALSE(vue.actifs.at("origIsrChk(1)"));
}

TEST(MenuBGen, afficherInversionAutoriseeLaisseOrigIsr)
{
    BancModele banc;
    VueFactice<IVueMenuBGen> vue;
    vues().menuBGen = &vue;
    tableMenuBGen[2].valeur = 1;
    tableMenuBGen[5].valeur = 7;   // outside its group: nothing selected
    afficherMenuBGen();
    EXPECT_EQ(vue.actifs.count("origIsrChk(0)"), 0u);
    EXPECT_EQ(vue.options.count("genreConsChk"), 0u);
}

namespace {
struct CasBoutons {
    const char* nom;
    bool enLigne;
    int version;
    const char* lettre;
    bool verrVisible;
    bool dtoVisible;
};
class BoutonsMenuBGen : public ::testing::TestWithParam<CasBoutons> {};
void PrintTo(const CasBoutons& c, std::ostream* os) { *os << c.nom; }
}

TEST_P(BoutonsMenuBGen, groupesSelonVersion)
{
    BancModele banc;
    VueFactice<IVueMenuBGen> vue;
    vues().menuBGen = &vue;
    const CasBoutons& c = GetParam();
    banc.principale.enLigne = c.enLigne;
    versionLogiciel = c.version;
    versionLettre = QString::fromLatin1(c.lettre);
    majBoutonsMenuBGen(false);
    EXPECT_EQ(vue.visibles.at("verrClefFr"), c.verrVisible);
    EXPECT_EQ(vue.visibles.at("verrClefChk(1)"), c.verrVisible);
    EXPECT_EQ(vue.visibles.at("tempoDtoFr"), c.dtoVisible);
    EXPECT_FALSE(vue.actifs.at("saveBtn"));

    majBoutonsMenuBGen(true);
    EXPECT_TRUE(vue.actifs.at("saveBtn"));
    EXPECT_EQ(vue.actifs.at("downBtn"), c.enLigne);
    EXPECT_EQ(vue.actifs.at("downAsIsBtn"), c.enLigne);
    if (c.enLigne && c.dtoVisible) {
        EXPECT_TRUE(vue.actifs.at("tempoDtoChk(0)"));
    }
    if (!c.enLigne) {
        EXPECT_EQ(vue.actifs.count("tempoDtoFr"), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Versions, BoutonsMenuBGen,
    ::testing::Values(CasBoutons{"horsLigne", false, 0, "", true, true},
                      CasBoutons{"v14", true, 14, "A", false, false},
                      CasBoutons{"v15", true, 15, "", true, false},
                      CasBoutons{"v17sansLettre", true, 17, "", true, false},
                      CasBoutons{"v17A", true, 17, "A", true, true},
                      CasBoutons{"v18", true, 18, "", true, true}),
    [](const auto& i) { return std::string(i.param.nom); });
