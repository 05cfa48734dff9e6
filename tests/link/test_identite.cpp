// Converter identity, lock probe, partition-origin and bare commands.
#include "commun.h"

#include "link/identite.h"
#include "link/transaction.h"
#include "model/etat.h"
#include "model/menubgen.h"

#include <gtest/gtest.h>

namespace {

struct CasLES {
    const char* nom;
    QString reponse;      // text of the "LES" reply
    int version;
    QString lettre;
    int partitions;
    std::array<QString, 8> champs;
};

void PrintTo(const CasLES& c, std::ostream* os) { *os << c.nom; }

class LectureVersion : public ::testing::TestWithParam<CasLES> {};

TEST_P(LectureVersion, champsEtIdentite)
{
    BancLiaison banc;
    const CasLES& c = GetParam();
    champsLES = {"a", "b", "c", "d", "e", "f", "g", "h"};
    nbPartitions = 0;
    banc.sim.script = [&](const QString& l) -> std::optional<QByteArray> {
        if (l == QLatin1String("LES")) return ConvertisseurSim::cadrer(c.reponse);
        return std::nullopt;
    };
    lireVersionConvertisseur();
    EXPECT_EQ(banc.sim.journal, QStringList({"LES"}));
    EXPECT_EQ(versionLogiciel, c.version);
    EXPECT_EQ(versionLettre, c.lettre);
    EXPECT_EQ(nbPartitions, c.partitions);
    EXPECT_EQ(champsLES, c.champs);
    EXPECT_TRUE(reponse.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cas, LectureVersion,
    ::testing::Values(
        CasLES{"versionV15", "30;V15;12.03.04;2030;1250;310;", 15, "Z", 64,
               {"30", "V15", "12.03.04", "2030", "1250", "310", "g", "h"}},
        CasLES{"version12A", "30;12A;1;2;3;4;", 12, "A", 32, {"30", "12A", "1", "2", "3", "4", "g", "h"}},
        CasLES{"version13A", "30;13A;1;2;3;4;", 13, "A", 64, {"30", "13A", "1", "2", "3", "4", "g", "h"}},
        CasLES{"blancsEtTirets", " 3 0 ;1 7 B;12-03-04; 20 30;1-5;310;", 17, "B", 64,
               {"30", "17B", "12.03.04", "2030", "1.5", "310", "g", "h"}},
        CasLES{"plusDeSixChamps", "1;18A;3;4;5;6;7;8;", 18, "A", 64, {"1", "18A", "3", "4", "5", "6", "g", "h"}},
        CasLES{"texteApresDernierPointVirguleIgnore", "9;14C;x", 14, "C", 64,
               {"9", "14C", "c", "d", "e", "f", "g", "h"}},
        CasLES{"unSeulChiffre", "9;7;", 7, "", 32, {"9", "7", "c", "d", "e", "f", "g", "h"}},
        CasLES{"versionVide", "9;;", 0, "", 32, {"9", "", "c", "d", "e", "f", "g", "h"}},
        CasLES{"sansChiffres", "9;AB;", 0, "", 32, {"9", "AB", "c", "d", "e", "f", "g", "h"}},
        CasLES{"signePlus", "9;+4;", 0, "", 32, {"9", "+4", "c", "d", "e", "f", "g", "h"}}),
    [](const ::testing::TestParamInfo<CasLES>& i) { return std::string(i.param.nom); });

TEST(Identite, converterSilencieuxGardeLeChampVersion)
{
    BancLiaison banc;
    champsLES[1] = QStringLiteral("16A");
    banc.sim.silence = true;
    lireVersionConvertisseur();
    EXPECT_FALSE(banc.principale.enLigne);
    EXPECT_EQ(champsLES[1], QStringLiteral("16A"));
    EXPECT_EQ(versionLogiciel, 16);
    EXPECT_EQ(nbPartitions, 64);
}

TEST(Identite, verrouillage)
{
    BancLiaison banc;
    banc.sim.verrouille = true;
    envoyerXxX();
    EXPECT_EQ(banc.sim.journal, QStringList({"XxX"}));
    EXPECT_TRUE(reponseXxX);
    banc.sim.verrouille = false;
    envoyerXxX();
    EXPECT_TRUE(reponseXxX);   // never cleared here
    reponseXxX = false;
    envoyerXxX();
    EXPECT_FALSE(reponseXxX);
}

TEST(Identite, origineDesPartitions)
{
    BancLiaison banc;
    initTableMenuBGen();
    const double t0 = banc.horloge.maintenant();
    envoyerOrigPart0();
    EXPECT_GE(banc.horloge.maintenant() - t0, 0.01);
    envoyerOrigPart1();
    EXPECT_EQ(banc.sim.journal, QStringList({"$pg0", "pg", "$pg1", "pg"}));
    EXPECT_EQ(cmdMode, QStringLiteral("B"));
    EXPECT_EQ(banc.sim.valeur("pg"), QStringLiteral("1"));

    banc.sim.relectureFausse = true;
    banc.sim.journal.clear();
    envoyerOrigPart0();
    EXPECT_EQ(banc.sim.journal.size(), 8);
}

TEST(Identite, commandeSimple)
{
    BancLiaison banc;
    sensLecture = true;
    cmdMode = QStringLiteral("S");
    envoyerCommandeSimple(QStringLiteral("r"));
    EXPECT_EQ(banc.sim.journal, QStringList({"r"}));
    EXPECT_TRUE(cmdMode.isEmpty());
    EXPECT_FALSE(sensLecture);

    banc.principale.enLigne = false;
    cmdMode = QStringLiteral("S");
    envoyerCommandeSimple(QStringLiteral("s"));
    EXPECT_EQ(banc.sim.journal, QStringList({"r"}));
    EXPECT_TRUE(cmdMode.isEmpty());
}

} // namespace
