// CTextBxN: key filter and validation rules.
#include "model/nombres.h"
#include "model/session.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "sim/bancessai.h"
#include "widgets/ctextbxn.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Champ {
    BancEssai banc;
    QLineEdit box;
    CTextBxN TXT;
    int erreurs = 0;

    Champ()
    {
        QObject::connect(&TXT, &CTextBxN::ValidateError, [this](bool& Cancel) {
            ++erreurs;
            Cancel = afficheHorsLimites();
        });
    }
    ~Champ() { retablirSeparateurDecimal(); }
};

struct CasValidation {
    const char* nom;
    QChar separateur;
    Variant min, max;
    bool zero;
    const char* texte;
    bool accepte;
    const char* texteApres;   // text left in the box
    bool jaune;               // box yellow after a refusal
};

void PrintTo(const CasValidation& c, std::ostream* os) { *os << c.nom; }

class Validation : public ::testing::TestWithParam<CasValidation> {};

TEST_P(Validation, refusOuAcceptation)
{
    const CasValidation& c = GetParam();
    Champ ch;
    definirSeparateurDecimal(c.separateur);
    ch.TXT.Init(&ch.box, 2, c.min, c.max, false, c.zero);
    ch.TXT.IsDecimal = true;
    ch.box.setText(QString::fromUtf8(c.texte));

    EXPECT_EQ(ch.TXT.valider(), c.accepte);
    EXPECT_EQ(ch.erreurs, c.accepte ? 0 : 1);
    EXPECT_EQ(ch.banc.ui.messages.size(), c.accepte ? 0u : 1u);
    if (!c.accepte) {
        EXPECT_EQ(ch.banc.ui.messages[0].texte, texteChaine(ids::horsLimites));
        EXPECT_EQ(ch.banc.ui.messages[0].icone(), msg::exclamation);
        const QColor fond = ch.box.palette().color(QPalette::Base);
        EXPECT_EQ(fond == CTextBxN::couleurFocus(), c.jaune);
    }
    EXPECT_EQ(ch.box.text(), QString::fromUtf8(c.texteApres));
}

const Variant vide;

INSTANTIATE_TEST_SUITE_P(
    CTextBxN, Validation,
    ::testing::Values(
        CasValidation{"minInclus", '.', 1, 10, false, "1", true, "1", false},
        CasValidation{"maxInclus", '.', 1, 10, false, "10", true, "10", false},
        CasValidation{"sousMin", '.', 1, 10, false, "0", false, "0", true},
        CasValidation{"surMax", '.', 1, 10, false, "11", false, "11", true},
        CasValidation{"decimalSurMax", '.', 1, 10, false, "10.01", false, "10.01", true},
        CasValidation{"videMinZero", '.', 0, 5, false, "", false, "", true},
        CasValidation{"videMinPositif", '.', 1, 10, false, "", false, "", true},
        CasValidation{"videMinNegatif", '.', -5, 5, false, "", true, "", false},
        CasValidation{"videZeroSurMax", '.', -5, -1, false, "", false, "", true},
        CasValidation{"videSansLimite", '.', vide, vide, false, "", true, "", false},
        CasValidation{"videMaxSeul", '.', vide, 10, false, "", true, "", false},
        CasValidation{"sansLimite", '.', vide, vide, false, "123456.5", true, "123456.5", false},
        CasValidation{"zeroAutorise", '.', 1, 300, true, "0", true, "0", false},
        CasValidation{"zeroAutoriseDecimal", '.', 1, 300, true, "0.0", true, "0.0", false},
        CasValidation{"zeroAutoriseVide", '.', 1, 300, true, "", false, "", false},
        CasValidation{"zeroAutoriseSurMax", '.', 1, 300, true, "301", false, "301", true},
        CasValidation{"zeroAutoriseDansLimites", '.', 1, 300, true, "300", true, "300", false},
        CasValidation{"deuxPointsVide", '.', 1, 10, false, "1.2.3", false, "", true},
        CasValidation{"separateurSeul", '.', vide, vide, false, ".", false, "", true},
        CasValidation{"lettres", '.', 1, 10, false, "abc", false, "", true},
        CasValidation{"virguleSystemePoint", '.', 1, 20, false, "12,5", false, "", true},
        CasValidation{"systemeVirgule", ',', 1, 20, false, "12,5", true, "12,5", false},
        CasValidation{"systemeVirgulePointRefuse", ',', 1, 20, false, "12.5", false, "", true},
        CasValidation{"limiteTexteEgale", ',', 1, "12,50", false, "12,5", true, "12,5", false},
        CasValidation{"limiteTexteDepassee", ',', 1, "12,50", false, "12,51", false, "12,51", true},
        CasValidation{"limiteTexteMin", ',', "12,50", 20, false, "12,49", false, "12,49", true},
        CasValidation{"limiteTextePoint", ',', "12.50", 20, false, "12,5", true, "12,5", false},
        CasValidation{"limiteNonNombre", '.', "abc", 20, false, "5", false, "", true},
        CasValidation{"minSurMaxEntre", '.', 10, 5, false, "7", false, "7", true},
        CasValidation{"minSurMaxVide", '.', 10, 5, false, "", false, "", true},
        CasValidation{"minSurMaxSous", '.', 10, 5, false, "3", false, "3", true}),
    [](const auto& info) { return std::string(info.param.nom); });

TEST(CTextBxN, sansGestionnaireLeFocusPart)
{
    BancEssai banc;
    QLineEdit box;
    CTextBxN TXT;
    int erreurs = 0;
    QObject::connect(&TXT, &CTextBxN::ValidateError, [&](bool&) { ++erreurs; });
    TXT.Init(&box, 2, 1, 10);
    box.setText("50");
    EXPECT_TRUE(TXT.valider());
    EXPECT_EQ(erreurs, 1);
}

TEST(CTextBxN, limitesChangeesEnCours)
{
    Champ ch;
    ch.TXT.Init(&ch.box, 2, 1, 10);
    ch.box.setText("15");
    EXPECT_FALSE(ch.TXT.valider());
    ch.TXT.max = Variant("20");
    EXPECT_TRUE(ch.TXT.valider());
    ch.TXT.min = Variant();
    ch.TXT.max = Variant();
    ch.box.setText("");
    EXPECT_TRUE(ch.TXT.valider());
    EXPECT_EQ(ch.erreurs, 1);
}

TEST(CTextBxN, formatMaskReecritLaValeurAcceptee)
{
    Champ ch;
    definirSeparateurDecimal(',');
    ch.TXT.Init(&ch.box, 2, 0, 100);
    ch.TXT.FormatMask = "#0.00";
    ch.box.setText("5");
    EXPECT_TRUE(ch.TXT.valider());
    EXPECT_EQ(ch.box.text(), "5,00");
    ch.box.setText("500");
    EXPECT_FALSE(ch.TXT.valider());
    EXPECT_EQ(ch.box.text(), "500");
    // Without any limit the text stays as typed.
    ch.TXT.min = Variant();
    ch.TXT.max = Variant();
    ch.box.setText("7");
    EXPECT_TRUE(ch.TXT.valider());
    EXPECT_EQ(ch.box.text(), "7");
}

TEST(CTextBxN, InitSansBoiteNeLieRien)
{
    Champ ch;
    ch.TXT.Init(nullptr, 2, 1, 10);
    EXPECT_EQ(ch.TXT.textbox, nullptr);
    EXPECT_TRUE(ch.TXT.valider());
    ch.TXT.lier(&ch.box);
    EXPECT_EQ(CTextBxN::de(&ch.box), &ch.TXT);
    ch.box.setText("0");
    EXPECT_FALSE(ch.TXT.valider());
}

struct CasTouches {
    const char* nom;
    QChar separateur;
    bool decimal;
    const char* frappe;
    const char* texte;
    int beeps;
};

void PrintTo(const CasTouches& c, std::ostream* os) { *os << c.nom; }

class Touches : public ::testing::TestWithParam<CasTouches> {};

TEST_P(Touches, filtre)
{
    const CasTouches& c = GetParam();
    Champ ch;
    definirSeparateurDecimal(c.separateur);
    ch.TXT.Init(&ch.box, 2, Variant(), Variant());
    ch.TXT.IsDecimal = c.decimal;
    QTest::keyClicks(&ch.box, QString::fromUtf8(c.frappe));
    EXPECT_EQ(ch.box.text(), QString::fromUtf8(c.texte));
    EXPECT_EQ(ch.banc.ui.beeps, c.beeps);
}

INSTANTIATE_TEST_SUITE_P(
    CTextBxN, Touches,
    ::testing::Values(CasTouches{"chiffres", '.', false, "0123456789", "0123456789", 0},
                      CasTouches{"moinsEtPlus", '.', true, "-5+", "5", 2},
                      CasTouches{"lettresEtBlanc", '.', true, "a1 B", "1", 3},
                      CasTouches{"separateurSansDecimal", '.', false, "1.5", "15", 1},
                      CasTouches{"separateurDecimal", '.', true, "1.5", "1.5", 0},
                      CasTouches{"virguleSurSystemePoint", '.', true, "1,5", "15", 1},
                      CasTouches{"pointSurSystemeVirgule", ',', true, "1.5", "15", 1},
                      CasTouches{"virguleSurSystemeVirgule", ',', true, "1,5", "1,5", 0},
                      CasTouches{"parenthesesEtEsperluette", '.', true, "(5&)", "5", 3}),
    [](const auto& info) { return std::string(info.param.nom); });

TEST(CTextBxN, touchesDeControlePassent)
{
    Champ ch;
    ch.TXT.Init(&ch.box, 2);
    QTest::keyClicks(&ch.box, "123");
    QTest::keyClick(&ch.box, Qt::Key_Backspace);
    QTest::keyClick(&ch.box, Qt::Key_Home);
    QTest::keyClick(&ch.box, Qt::Key_Delete);
    EXPECT_EQ(ch.box.text(), "2");
    EXPECT_EQ(ch.banc.ui.beeps, 0);
}

void frapper(QWidget* w, const QString& texte)
{
    for (const QChar c : texte) {
        QKeyEvent appui(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &appui);
    }
}

TEST(CTextBxN, accentRefuse)
{
    Champ ch;
    ch.TXT.Init(&ch.box, 2);
    frapper(&ch.box, QString::fromUtf8("\xC3\xA9" "7"));
    EXPECT_EQ(ch.box.text(), "7");
    EXPECT_EQ(ch.banc.ui.beeps, 1);
}

TEST(CTextBxN, texteLibreRefuseAuDelaDe126)
{
    Champ ch;
    ch.TXT.Init(&ch.box, CTextBxN::texteLibre, 1, 10);
    frapper(&ch.box, QString::fromUtf8("a-\xC3\xA9Z"));
    EXPECT_EQ(ch.box.text(), "a-Z");
    EXPECT_EQ(ch.banc.ui.beeps, 1);
    EXPECT_TRUE(ch.TXT.valider());
}

}  // namespace
