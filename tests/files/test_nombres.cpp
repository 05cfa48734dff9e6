#include "model/nombres.h"
#include "model/variant.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

class Nombres : public ::testing::Test {
protected:
    void TearDown() override { retablirSeparateurDecimal(); }
};

TEST_F(Nombres, LeadingNumberOfAText)
{
    const struct {
        const char* texte;
        double attendu;
    } cas[] = {
        {"", 0},          {"abc", 0},        {"x12", 0},          {".", 0},
        {"-", 0},         {"400", 400},      {"0.1", 0.1},        {"12.5xyz", 12.5},
        {"  42", 42},     {"\t7;", 7},       {"12,5", 12},        {"1.2.3", 1.2},
        {"-3.25", -3.25}, {"+7", 7},         {"- 5", -5},         {".5", 0.5},
        {"5.", 5},        {"0050", 50},      {"255.255", 255.255}, {"4000?", 4000},
        {"12345678901234567890", 12345678901234567890.0},
        // Blanks inside the number are left out as well.
        {"12 34", 1234},  {"1 2.5", 12.5},   {" 4 0 0;", 400},
        {"12..5", 12},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.texte);
        // Exactly the double the text names, whatever the host locale.
        EXPECT_EQ(nombreEnTete(QString::fromLatin1(c.texte)), c.attendu);
    }
    // The system separator never counts as a decimal point.
    definirSeparateurDecimal(',');
    EXPECT_EQ(nombreEnTete(QStringLiteral("12,5")), 12.0);
    EXPECT_EQ(nombreEnTete(QStringLiteral("12.5")), 12.5);
}

TEST_F(Nombres, IntegerConversionRoundsHalfToEven)
{
    const struct {
        double valeur;
        int attendu;
    } cas[] = {
        {0.5, 0},   {1.5, 2},    {2.5, 2},    {3.5, 4},   {-0.5, 0},      {-1.5, -2},
        {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {7, 7},         {0, 0},
        {1e12, INT_MAX}, {-1e12, INT_MIN}, {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.valeur);
        EXPECT_EQ(versEntier(c.valeur), c.attendu);
    }
}

TEST_F(Nombres, ShortestTextWithPoint)
{
    definirSeparateurDecimal(',');   // the wire text ignores the system separator
    const struct {
        double valeur;
        const char* attendu;
    } cas[] = {
        {0.1, "0.1"},         {400, "400"},       {12.5, "12.5"},       {0, "0"},
        {-0.0, "0"},          {-3.75, "-3.75"},   {255.255, "255.255"}, {4000, "4000"},
        {1e6, "1000000"},     {1234567, "1234567"}, {1e-7, "0.0000001"}, {0.3, "0.3"},
        {1e20, "100000000000000000000"},
        {0.1 + 0.2, "0.3"},   // at most 15 significant digits
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.attendu);
        const QString t = texteCourt(c.valeur);
        EXPECT_EQ(t, QString::fromLatin1(c.attendu));
        EXPECT_DOUBLE_EQ(nombreEnTete(t), c.valeur == 0 ? 0.0 : c.valeur);
    }
    EXPECT_EQ(texteSysteme(12.5), "12,5");
    EXPECT_EQ(texteSysteme(400), "400");
    definirSeparateurDecimal('.');
    EXPECT_EQ(texteSysteme(12.5), "12.5");
}

TEST_F(Nombres, FormatsUseTheSystemSeparatorAndNoGroups)
{
    const struct {
        double valeur;
        const char* masque;
        const char* virgule;   // system separator ","
        const char* point;     // system separator "."
    } cas[] = {
        {4000, "#0.00", "4000,00", "4000.00"},
        {12345.678, "#0.00", "12345,68", "12345.68"},
        {0.1, "#0.00", "0,10", "0.10"},
        {0, "#0.00", "0,00", "0.00"},
        {2.675, "#0.00", "2,68", "2.68"},   // half away from zero on the decimal text
        {0.005, "#0.00", "0,01", "0.01"},
        {-1.234, "#0.00", "-1,23", "-1.23"},
        {-0.001, "#0.00", "0,00", "0.00"},
        {2.5, "#0", "3", "3"},
        {-1.5, "#0", "-2", "-2"},
        {0.4, "#0", "0", "0"},
        {4000, "#0", "4000", "4000"},
        {7, "#0.", "7,", "7."},
        {5, "#000", "005", "005"},
        {1234, "#000", "1234", "1234"},
        // Large values: the value's own decimal text, no offset growing with it.
        {123456789.125, "#0.00", "123456789,13", "123456789.13"},
        {-123456789.125, "#0.00", "-123456789,13", "-123456789.13"},
        {5000000.005, "#0.00", "5000000,01", "5000000.01"},
        {1e15 + 0.5, "#0.00", "1000000000000000,50", "1000000000000000.50"},
        {1e15 + 0.5, "#0", "1000000000000001", "1000000000000001"},
        {1e20, "#0.00", "100000000000000000000,00", "100000000000000000000.00"},
        {9.995, "#0.00", "10,00", "10.00"},
        {-99.5, "#0", "-100", "-100"},
        {-0.005, "#0.00", "-0,01", "-0.01"},
        {1.005, "#0.00", "1,01", "1.01"},
        {0.2 * 12.53, "#0.00", "2,51", "2.51"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(std::string(c.masque) + " " + c.point);
        definirSeparateurDecimal(',');
        EXPECT_EQ(formatNombre(c.valeur, QString::fromLatin1(c.masque)), QString::fromLatin1(c.virgule));
        definirSeparateurDecimal('.');
        EXPECT_EQ(formatNombre(c.valeur, QString::fromLatin1(c.masque)), QString::fromLatin1(c.point));
    }
}

TEST_F(Nombres, FormatKeptWithinLimitsAndDecimalProducts)
{
    const struct {
        double valeur;
        const char* masque;
        double min;
        double max;
        const char* attendu;
    } cas[] = {
        {2.506, "#0.00", 0, 2.506, "2.50"},     // 2.51 would cross the maximum
        {2.504, "#0.00", 0, 2.506, "2.50"},
        {1.004, "#0.00", 1.004, 5, "1.01"},     // 1.00 would cross the minimum
        {299.6, "#0", 0, 299.6, "299"},
        {2.505, "#0.00", 0, 2.505, "2.50"},
        {2.5, "#0.00", 0, 2.506, "2.50"},
        {5, "#0.00", 0, 2, "5.00"},             // not within: as formatted
        {2.5055, "#0.00", 2.5055, 2.5058, "2.51"},   // no two-decimal value within
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.attendu);
        EXPECT_EQ(formatDansLimites(c.valeur, QString::fromLatin1(c.masque), c.min, c.max), QString::fromLatin1(c.attendu));
    }
    EXPECT_EQ(produitDecimal(0.2, 12.53), 2.506);
    EXPECT_EQ(produitDecimal(0.2, 5.6), 1.12);
    EXPECT_EQ(produitDecimal(1.5, 12.34), 18.51);
    EXPECT_EQ(produitDecimal(2, 180), 360);
}

TEST_F(Nombres, TextReadWithTheSystemSettings)
{
    const struct {
        QChar separateur;
        const char* texte;
        bool ok;
        double valeur;
    } cas[] = {
        {',', "12,5", true, 12.5},  {',', " 3 ", true, 3},   {',', "-4", true, -4},
        {',', "12.5", false, 0},    {',', ",", false, 0},    {',', "1,2,3", false, 0},
        {',', "", false, 0},        {',', "abc", false, 0},  {',', "1 2", false, 0},
        {'.', "12.5", true, 12.5},  {'.', "12,5", false, 0}, {'.', "..", false, 0},
        {'.', "+.5", true, 0.5},    {'.', "5-", false, 0},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(std::string(1, char(c.separateur.unicode())) + " " + c.texte);
        definirSeparateurDecimal(c.separateur);
        double v = -99;
        EXPECT_EQ(lireNombreSysteme(QString::fromLatin1(c.texte), v), c.ok);
        if (c.ok) {
            EXPECT_EQ(v, c.valeur);
        }
    }
}

TEST_F(Nombres, StoredValuesKeepNumberOrText)
{
    definirSeparateurDecimal(',');
    const struct {
        Variant valeur;
        const char* fil;       // wire and file text
        const char* affiche;   // field text, system separator ","
        double nombre;
        int entier;
    } cas[] = {
        {Variant(0.1), "0.1", "0,1", 0.1, 0},
        {Variant(400), "400", "400", 400, 400},
        {Variant(12.5), "12.5", "12,5", 12.5, 12},
        {Variant(2.5), "2.5", "2,5", 2.5, 2},
        {Variant(3.5), "3.5", "3,5", 3.5, 4},
        {Variant("12,50"), "12.50", "12,50", 12.5, 12},
        {Variant("400"), "400", "400", 400, 400},
        {Variant("7.5"), "7.5", "7.5", 7.5, 8},   // a point in a text: its leading number
        {Variant("abc"), "abc", "abc", 0, 0},
        {Variant(""), "", "", 0, 0},
        {Variant(), "", "", 0, 0},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.fil);
        EXPECT_EQ(c.valeur.texteFil(), QString::fromLatin1(c.fil));
        EXPECT_EQ(c.valeur.texteAffiche(), QString::fromLatin1(c.affiche));
        EXPECT_EQ(c.valeur.nombre(), c.nombre);
        EXPECT_EQ(c.valeur.entier(), c.entier);
    }
    EXPECT_TRUE(Variant().estVide());
    EXPECT_TRUE(Variant("").estVide());
    EXPECT_FALSE(Variant(0).estVide());
    // A number and the text of the same number are different values.
    EXPECT_NE(Variant(12.5), Variant("12.5"));
    EXPECT_EQ(Variant(12.5), Variant(12.5));
    EXPECT_EQ(Variant(3), Variant(3.0));
}

}  // namespace
