#include "resources/chaines.h"
#include "resources/idschaines.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <cstring>
#include <set>
#include <string>

namespace {

int compter(const char* texte, char c)
{
    int n = 0;
    for (const char* p = texte; *p; ++p)
        if (*p == c) ++n;
    return n;
}

int blancsDevant(const char* texte)
{
    int n = 0;
    while (texte[n] == ' ') ++n;
    return n;
}

int blancsDerriere(const char* texte)
{
    const int longueur = static_cast<int>(std::strlen(texte));
    int n = 0;
    while (n < longueur && texte[longueur - 1 - n] == ' ') ++n;
    return n;
}

} // namespace

TEST(TableChaines, TrieeParBaseMultipleDeDixSansDoublon)
{
    ASSERT_GT(nbEntreesChaines, 0u);
    std::set<int> vues;
    for (std::size_t i = 0; i < nbEntreesChaines; ++i) {
        const int base = tableChaines[i].base;
        EXPECT_GT(base, 0) << "entry " << i;
        EXPECT_EQ(base % 10, 0) << "base " << base;
        EXPECT_TRUE(vues.insert(base).second) << "base " << base << " twice";
        if (i > 0) {
            EXPECT_LT(tableChaines[i - 1].base, base) << "base " << base << " out of order";
        }
    }
}

TEST(TableChaines, ChaqueEntreeCompleteDansLesSixLangues)
{
    for (std::size_t i = 0; i < nbEntreesChaines; ++i) {
        const EntreeChaine& e = tableChaines[i];
        EXPECT_TRUE(chaineComplete(e.base)) << "base " << e.base;
        for (int slot = 0; slot < 6; ++slot) {
            ASSERT_NE(e.textes[slot], nullptr) << "base " << e.base << " slot " << slot;
            EXPECT_GT(std::strlen(e.textes[slot]), 0u) << "base " << e.base << " slot " << slot;
            // Stored as UTF-8: decoding and encoding again gives the same bytes.
            const QByteArray octets(e.textes[slot]);
            EXPECT_EQ(QString::fromUtf8(octets).toUtf8(), octets)
                << "base " << e.base << " slot " << slot << " is not valid UTF-8";
        }
    }
}

// Every language keeps the shape that the code relies on: one access key per
// caption, the embedded quotes, the leading blanks of the menu C captions and
// the trailing blanks of the hint prefixes that a number follows.
TEST(TableChaines, TraductionsGardentLaFormeDuTexteAnglais)
{
    for (std::size_t i = 0; i < nbEntreesChaines; ++i) {
        const EntreeChaine& e = tableChaines[i];
        const char* anglais = e.textes[1];
        for (int slot = 0; slot < 6; ++slot) {
            const char* t = e.textes[slot];
            EXPECT_EQ(compter(t, '&'), compter(anglais, '&')) << "base " << e.base << " slot " << slot;
            EXPECT_EQ(compter(t, '"'), compter(anglais, '"')) << "base " << e.base << " slot " << slot;
            EXPECT_EQ(blancsDevant(t), blancsDevant(anglais)) << "base " << e.base << " slot " << slot;
            EXPECT_EQ(blancsDerriere(t), blancsDerriere(anglais)) << "base " << e.base << " slot " << slot;
        }
    }
}

// A blank before "!", "?" and ":" is French typography only; Spanish opens
// its exclamations and questions.
TEST(TableChaines, TypographieDesLangues)
{
    for (std::size_t i = 0; i < nbEntreesChaines; ++i) {
        const EntreeChaine& e = tableChaines[i];
        for (int slot = 2; slot < 6; ++slot) {
            const QString t = QString::fromUtf8(e.textes[slot]);
            for (qsizetype k = 1; k < t.size(); ++k)
                if (t[k] == u'!' || t[k] == u'?' || t[k] == u':')
                    EXPECT_NE(t[k - 1], u' ') << "base " << e.base << " slot " << slot;
        }
        const QString espagnol = QString::fromUtf8(e.textes[4]);
        if (espagnol.contains(u'!')) EXPECT_TRUE(espagnol.contains(u'\u00a1')) << "base " << e.base;
        if (espagnol.contains(u'?')) EXPECT_TRUE(espagnol.contains(u'\u00bf')) << "base " << e.base;
    }
}

TEST(TableChaines, TextesAnglaisAuCaracterePres)
{
    struct Cas {
        int base;
        const char* anglais;
    };
    const Cas cas[] = {
        {ids::reponseTropTardive, "The Zelto answered too late: the program goes off line!..."},
        {ids::horsLimites, "Data out of limits!..."},
        {ids::modeHorsLigne, "\"Off Line\" mode"},
        {ids::messageTitre, "Message..."},
        {ids::patientez, "Please wait !..."},
        {ids::fonctionDefaut, " Faillure"},
        {ids::fonctionDefautSecteur, " Main anomly"},
        {ids::symboleDecimal, "The decimal symbol must be a point(.) or a comma(;) !   "},
        {ids::valeurEntre, "The value has to be between: "},
        {ids::valeurSuperieureA, "The value must be greater or equal to : "},
        {ids::enteteFonctionRelais, "       Relay's       Function"},
        {ids::infoQuitterMenuC, "Exit menu \"C\" to retrun into main menu!..."},
        {ids::aPropos, "Abou&t.."},
        {ids::impClefVerrouillage, "Locking key  0= B,C  1=B to F, J"},
        {ids::impFreqInterdite2, "Prohibited frequency N°2  [Hz]"},
        {ids::impCourantMcm1, "Courant MCM1 [A] "},
        {ids::cadreRepriseVol, "Catch spin. mot. "},
        {ids::infoTelechargerTout, "Loads ALL datas into converter "},
        {ids::patientezCopie, "Please wait!... "},
    };
    for (const Cas& c : cas) {
        EXPECT_EQ(chargerChaine(c.base + 1).toUtf8(), QByteArray(c.anglais)) << "base " << c.base;
    }
}

// Windows compute these ids (first id + 10 x row); a hole would show an empty text.
TEST(TableChaines, SuitesParcouruesParIndice)
{
    struct Suite {
        int premier;
        int nombre;
    };
    const Suite suites[] = {
        {ids::libCourantMax, 6},           // menu A labels
        {ids::fonctionFreqAtteinte, 17},   // menu C function captions
        {ids::sortieAnalogique1, 4},       // analog outputs and comparator
        {ids::freqDefaut, 11},             // partition labels 30 to 40
        {ids::imcm1, 9},                   // partition labels 43 to 51
        {ids::arret, 3},                   // Im > Iref options
        {ids::clavierIref, 2},             // Iref source options
        {ids::clavier, 2},                 // setpoint source options
        {ids::oui, 2},                     // speed measurement options (No at 1130, Yes at 1120)
        {ids::impMarcheArret, 12},         // printout, menu B general rows 0 to 11
        {ids::impNbPoles, 37},             // printout, partition rows 0 to 36
        {ids::anoVerrouillagesExternes, 9} // fault texts 0 to 7 and "no failure"
    };
    for (const Suite& s : suites) {
        for (int k = 0; k < s.nombre; ++k) {
            EXPECT_TRUE(chaineComplete(s.premier + 10 * k)) << "id " << s.premier + 10 * k;
        }
    }
}

TEST(ChargerChaine, RendLeTexteDuSlotDemande)
{
    for (std::size_t i = 0; i < nbEntreesChaines; ++i) {
        const EntreeChaine& e = tableChaines[i];
        for (int slot = 0; slot < 6; ++slot) {
            EXPECT_EQ(chargerChaine(e.base + slot), QString::fromUtf8(e.textes[slot]))
                << "id " << e.base + slot;
        }
        for (int slot = 6; slot < 10; ++slot) {
            EXPECT_TRUE(chargerChaine(e.base + slot).isEmpty()) << "id " << e.base + slot;
        }
    }
}

TEST(ChargerChaine, SlotZeroFrancaisSlotUnAnglais)
{
    EXPECT_EQ(chargerChaine(ids::quitter + 1), QStringLiteral("&Exit"));
    EXPECT_EQ(chargerChaine(ids::quitter + 0), QStringLiteral("&Quitter"));
    EXPECT_EQ(chargerChaine(ids::modeHorsLigne + 0), QString::fromUtf8("Mode \"Hors ligne\""));
    EXPECT_EQ(chargerChaine(ids::oui + 1), QStringLiteral("Yes"));
    EXPECT_EQ(chargerChaine(ids::non + 1), QStringLiteral("No"));
}

TEST(ChargerChaine, IdInconnuDonneUnTexteVide)
{
    const int inconnus[] = {-1, -10, 0, 5, 100, 440, 450, 4999, 99990, ids::horsLimites + 6,
                            ids::horsLimites + 9};
    for (int id : inconnus) {
        EXPECT_TRUE(chargerChaine(id).isEmpty()) << "id " << id;
    }
}

TEST(ChaineComplete, FauxHorsDesBasesDeLaTable)
{
    EXPECT_TRUE(chaineComplete(ids::horsLimites));
    EXPECT_FALSE(chaineComplete(ids::horsLimites + 1)); // an id, not a base
    EXPECT_FALSE(chaineComplete(440));
    EXPECT_FALSE(chaineComplete(0));
    EXPECT_FALSE(chaineComplete(-10));
}
