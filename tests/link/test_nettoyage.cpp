// Reply clean-up and the read-back decoders.
#include "commun.h"

#include "link/decodeurs.h"
#include "link/transaction.h"

#include <gtest/gtest.h>

namespace {

QString brut(const char* s, int n = -1) { return QString::fromLatin1(s, n); }

template <class T>
std::string nomCas(const ::testing::TestParamInfo<T>& info) { return info.param.nom; }

struct CasNettoyage {
    const char* nom;
    QString brut;
    QString attendu;
};

void PrintTo(const CasNettoyage& c, std::ostream* os) { *os << c.nom; }

class Nettoyage : public ::testing::TestWithParam<CasNettoyage> {};

TEST_P(Nettoyage, texteDeReponse)
{
    EXPECT_EQ(nettoyerReponse(GetParam().brut), GetParam().attendu);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, Nettoyage,
    ::testing::Values(
        CasNettoyage{"vide", brut(""), brut("")},
        CasNettoyage{"deuxCaracteres", brut("\n\r"), brut("")},
        CasNettoyage{"troisCaracteres", brut("\n\rA"), brut("A")},
        CasNettoyage{"troisiemePasInferieur", brut("\n\r12.5\x1a"), brut("12.5\x1a")},
        CasNettoyage{"troisiemePasInferieurMemeAvecChevron", brut("ab1>\n\r2"), brut("1>2")},
        CasNettoyage{"inviteSimple", brut("\n\r<Zelto>\n\r400\x1a"), brut("400\x1a")},
        CasNettoyage{"inferieurSansChevronLfCr", brut("x\r<abc\x1a"), brut("<abc\x1a")},
        CasNettoyage{"chevronSansLfCr", brut("xy<a>\nb"), brut("y<a>b")},
        CasNettoyage{"plusieursChevronsLeDernierGagne", brut("ab<>\n\r1>\n\r2\x1a"), brut("2\x1a")},
        CasNettoyage{"chevronEnFin", brut("ab<c>\n\r"), brut("")},
        CasNettoyage{"bsSpBsEffaceAvantEtApres", brut("ab<12\b \b3"), brut("b<1 3")},
        CasNettoyage{"bsSpLfDevientPointVirgule", brut("ab<1\b \n2"), brut("b<1; 2")},
        CasNettoyage{"caseVideeNeCorrespondPlus", brut("ab<\b \b \n"), brut("b  ")},
        CasNettoyage{"reglesBsSansInferieurIgnorees", brut("ab1\b \b2\b \n3"), brut("1 2 3")},
        CasNettoyage{"bsLfCrRetires", brut("\n\r1\b2\n3\r4"), brut("1234")},
        CasNettoyage{"fin26EtSuiteGardes", brut("\n\r7\x1a" "89"), brut("7\x1a" "89")},
        CasNettoyage{"interrogation", brut("\n\r?"), brut("?")}),
    nomCas<CasNettoyage>);

TEST(NettoyageLong, seulsLes300PremiersCaracteres)
{
    const QString r = nettoyerReponse(brut("\n\r") + QString(400, u'x'));
    EXPECT_EQ(r, QString(298, u'x'));
}

TEST(NettoyageLong, chevronLfCrAuDelaDe300Ignore)
{
    // A match starting in slot 297 still counts; one starting at 298 does not.
    QString dedans = brut("ab<") + QString(294, u'x') + brut(">\n\r") + brut("zz");
    EXPECT_EQ(nettoyerReponse(dedans), QString());
    QString dehors = brut("ab<") + QString(295, u'x') + brut(">\n\r");
    EXPECT_EQ(nettoyerReponse(dehors), brut("b<") + QString(295, u'x') + brut(">"));
}

struct CasDecodeur {
    const char* nom;
    QString reponse;
    QString cle;
    QString attendu;
};

void PrintTo(const CasDecodeur& c, std::ostream* os) { *os << c.nom; }

class DecodeurRelais : public ::testing::TestWithParam<CasDecodeur> {};
TEST_P(DecodeurRelais, valeur)
{
    reponse = GetParam().reponse;
    EXPECT_EQ(extraireEtatRelais(GetParam().cle), GetParam().attendu);
}

const QString rl = QStringLiteral("1;0;2;0;0;0;0;0;3;4;0;0;0;0;0;0;5;\x1a");

INSTANTIATE_TEST_SUITE_P(
    Cas, DecodeurRelais,
    ::testing::Values(CasDecodeur{"premier", rl, "$fA", "1"},
                      CasDecodeur{"alarme", rl, "$al", "3"},
                      CasDecodeur{"comparateur", rl, "$VC", "4"},
                      CasDecodeur{"dernier", rl, "$re", "5"},
                      CasDecodeur{"niveauTexteEntier", rl, "$vc", "10200000340000005"},
                      CasDecodeur{"sortieAnalogique", "3\x1a", "$sa", "3"},
                      CasDecodeur{"niveauAvecVirgule", "9,5\x1a", "$vc", "9,5"},
                      CasDecodeur{"tropCourt", "1;0;2;", "$VC", ""},
                      CasDecodeur{"cleInconnue", rl, "$zz", ""},
                      CasDecodeur{"plusDe200", QString(201, u'1'), "$fA", ""},
                      CasDecodeur{"exactement200", QString(200, u'1'), "$fA", "1"}),
    nomCas<CasDecodeur>);

class DecodeurChamp : public ::testing::TestWithParam<CasDecodeur> {};
TEST_P(DecodeurChamp, valeur)
{
    reponse = GetParam().reponse;
    EXPECT_EQ(extraireChampReponse(GetParam().cle), GetParam().attendu);
}

const QString les = QStringLiteral("30;18A;12-03-04;2030;1250;310;\x1a");

INSTANTIATE_TEST_SUITE_P(
    Cas, DecodeurChamp,
    ::testing::Values(CasDecodeur{"courant", les, "$CRT", "30"},
                      CasDecodeur{"date", les, "$DAT", "12.03.04"},
                      CasDecodeur{"numero", les, "$NUM", "2030"},
                      CasDecodeur{"heure", "1;2;10:30;", "$DAT", "10:30"},
                      CasDecodeur{"champManquant", "30;18A;", "$NUM", ""},
                      CasDecodeur{"cleInconnue", les, "$XYZ", ""},
                      CasDecodeur{"plusDe200", QString(201, u'1'), "$CRT", ""}),
    nomCas<CasDecodeur>);

} // namespace
