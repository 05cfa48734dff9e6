// Form behaviours on real widgets: focus gate, focus moves, option groups,
// lost focus to a message box, modeless chain, activation, pointer, places.
// Mouse input goes through the window system as a user's click does.
#define QTEST_QPA_MOUSE_HANDLING
#include "model/etat.h"
#include "model/session.h"
#include "platform/plateforme.h"
#include "platform/registrefenetres.h"
#include "platform/servicesuiqt.h"
#include "sim/bancessai.h"
#include "sim/entreessysteme.h"
#include "widgets/ctextbxn.h"
#include "widgets/fenetres.h"
#include "widgets/fenetrezelto.h"
#include "widgets/focuschamp.h"
#include "widgets/gardefocus.h"
#include "widgets/groupeoptions.h"
#include "widgets/statut.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// A window with three validated fields a, b, c and a button, behind a gate.
struct Formulaire {
    BancEssai banc;
    QWidget fenetre;
    QLineEdit* a;
    QLineEdit* b;
    QLineEdit* c;
    QPushButton* bouton;
    CTextBxN TXT_a, TXT_b, TXT_c;
    int clics = 0;
    int perteA = 0;
    int gainA = 0;

    Formulaire()
    {
        auto* l = new QVBoxLayout(&fenetre);
        for (QLineEdit** e : {&a, &b, &c}) {
            *e = new QLineEdit(&fenetre);
            l->addWidget(*e);
        }
        bouton = new QPushButton("&Go", &fenetre);
        l->addWidget(bouton);
        QObject::connect(bouton, &QPushButton::clicked, [this] { ++clics; });
        new GardeFocus(&fenetre);
        TXT_a.Init(a, 2, 1, 10);
        TXT_b.Init(b, 2);
        TXT_c.Init(c, 2);
        for (CTextBxN* v : {&TXT_a, &TXT_b, &TXT_c})
            QObject::connect(v, &CTextBxN::ValidateError, [](bool& Cancel) { Cancel = afficheHorsLimites(); });
        surFocus(a, [this] { ++gainA; }, [this] { ++perteA; });
        fenetre.show();
        fenetre.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&fenetre));
        a->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
    std::size_t nbMessages() const { return banc.ui.messages.size(); }
};

TEST(GardeFocus, tabHorsDUnChampRefuseGardeLeFocus)
{
    Formulaire f;
    ASSERT_EQ(QApplication::focusWidget(), f.a);
    f.a->setText("50");
    QTest::keyClick(f.a, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.a);
    EXPECT_EQ(f.nbMessages(), 1u);
    EXPECT_EQ(f.perteA, 0);
    EXPECT_EQ(f.a->palette().color(QPalette::Base), CTextBxN::couleurFocus());

    QTest::keyClick(f.a, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), f.a);
    EXPECT_EQ(f.nbMessages(), 2u);

    f.a->setText("5");
    QTest::keyClick(f.a, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.b);
    EXPECT_EQ(f.nbMessages(), 2u);
    EXPECT_EQ(f.perteA, 1);
    EXPECT_EQ(f.a->palette().color(QPalette::Base), CTextBxN::couleurNormale(f.a));
    EXPECT_EQ(f.b->palette().color(QPalette::Base), CTextBxN::couleurFocus());
}

TEST(GardeFocus, clicSurUnBoutonAvecUnChampRefuseEstAvale)
{
    Formulaire f;
    f.a->setText("0");
    QTest::mouseClick(f.bouton, Qt::LeftButton);
    EXPECT_EQ(f.clics, 0);
    EXPECT_EQ(f.nbMessages(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), f.a);
    EXPECT_EQ(f.perteA, 0);

    // A click into another field is swallowed the same way.
    QTest::mouseClick(f.c, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), f.a);
    EXPECT_EQ(f.nbMessages(), 2u);

    f.a->setText("10");
    QTest::mouseClick(f.bouton, Qt::LeftButton);
    EXPECT_EQ(f.clics, 1);
    EXPECT_EQ(f.nbMessages(), 2u);
}

TEST(GardeFocus, clicDansLeChampLuiMemeNeValidePas)
{
    Formulaire f;
    f.a->setText("50");
    QTest::mouseClick(f.a, Qt::LeftButton);
    EXPECT_EQ(f.nbMessages(), 0u);
}

TEST(GardeFocus, mnemoniqueAvale)
{
    Formulaire f;
    f.a->setText("50");
    QTest::keyClick(&f.fenetre, Qt::Key_G, Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_EQ(f.clics, 0);
    EXPECT_EQ(f.nbMessages(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), f.a);
}

TEST(GardeFocus, fermerLaFenetreNeValideRien)
{
    Formulaire f;
    f.a->setText("50");
    f.fenetre.close();
    EXPECT_EQ(f.nbMessages(), 0u);
}

struct CasDeplacement {
    const char* nom;
    Qt::Key touche;
    int depuis;   // 0 a, 1 b, 2 c
    int vers;
};

void PrintTo(const CasDeplacement& c, std::ostream* os) { *os << c.nom; }

class Deplacement : public ::testing::TestWithParam<CasDeplacement> {};

TEST_P(Deplacement, uneSeuleFoisParTouche)
{
    const CasDeplacement& c = GetParam();
    Formulaire f;
    QLineEdit* champs[] = {f.a, f.b, f.c};
    f.a->setText("5");
    champs[c.depuis]->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(champs[c.depuis], c.touche);
    EXPECT_EQ(QApplication::focusWidget(), champs[c.vers]);
    EXPECT_EQ(f.clics, 0);
}

INSTANTIATE_TEST_SUITE_P(CTextBxN, Deplacement,
                         ::testing::Values(CasDeplacement{"Enter", Qt::Key_Return, 0, 1},
                                           CasDeplacement{"EnterPave", Qt::Key_Enter, 1, 2},
                                           CasDeplacement{"Bas", Qt::Key_Down, 0, 1},
                                           CasDeplacement{"Haut", Qt::Key_Up, 2, 1},
                                           CasDeplacement{"Tab", Qt::Key_Tab, 0, 1},
                                           CasDeplacement{"Backtab", Qt::Key_Backtab, 1, 0}),
                         [](const auto& info) { return std::string(info.param.nom); });

TEST(CTextBxN, enterSurUnChampRefuseResteEtAvertitUneFois)
{
    Formulaire f;
    f.a->setText("11");
    QTest::keyClick(f.a, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f.a);
    EXPECT_EQ(f.nbMessages(), 1u);
    QTest::keyClick(f.a, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), f.a);
    EXPECT_EQ(f.nbMessages(), 2u);
}

TEST(CTextBxN, parentheseNEstPasUneFleche)
{
    Formulaire f;
    f.a->setText("5");
    f.b->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(f.b, '(');
    QTest::keyClick(f.b, '&');
    EXPECT_EQ(QApplication::focusWidget(), f.b);
    EXPECT_EQ(f.banc.ui.beeps, 2);
}

TEST(CTextBxN, sansGardeLeClicEstAvaleAussi)
{
    BancEssai banc;
    QWidget fenetre;
    auto* l = new QVBoxLayout(&fenetre);
    auto* a = new QLineEdit(&fenetre);
    auto* bouton = new QPushButton("x", &fenetre);
    l->addWidget(a);
    l->addWidget(bouton);
    int clics = 0;
    QObject::connect(bouton, &QPushButton::clicked, [&] { ++clics; });
    CTextBxN TXT;
    TXT.Init(a, 2, 1, 10);
    QObject::connect(&TXT, &CTextBxN::ValidateError, [](bool& Cancel) { Cancel = afficheHorsLimites(); });
    fenetre.show();
    fenetre.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fenetre));
    a->setFocus();
    a->setText("99");
    QTest::mouseClick(bouton, Qt::LeftButton);
    EXPECT_EQ(clics, 0);
    EXPECT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), a);
}

// Enter on a focused button clicks it; the button shows a focus cue also
// when the focus came with a click.
TEST(GardeFocus, enterCliqueLeBoutonFocalise)
{
    Formulaire f;
    const QImage sansFocus = f.bouton->grab().toImage();
    f.bouton->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_NE(f.bouton->grab().toImage(), sansFocus);
    QTest::keyClick(f.bouton, Qt::Key_Return);
    QTest::keyClick(f.bouton, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(f.bouton, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(f.clics, 2);
    EXPECT_EQ(QApplication::focusWidget(), f.bouton);
}

TEST(GardeFocus, uneSecondeGardeResteInactive)
{
    Formulaire f;
    new GardeFocus(&f.fenetre);
    f.a->setText("50");
    QTest::keyClick(f.a, Qt::Key_Tab);
    QTest::mouseClick(f.bouton, Qt::LeftButton);
    EXPECT_EQ(f.nbMessages(), 2u);
    EXPECT_EQ(f.clics, 0);
}

TEST(CTextBxN, sansGardeTabValideAussi)
{
    BancEssai banc;
    QWidget fenetre;
    auto* l = new QVBoxLayout(&fenetre);
    auto* a = new QLineEdit(&fenetre);
    auto* b = new QLineEdit(&fenetre);
    l->addWidget(a);
    l->addWidget(b);
    CTextBxN TXT;
    TXT.Init(a, 2, 1, 10);
    QObject::connect(&TXT, &CTextBxN::ValidateError, [](bool& Cancel) { Cancel = afficheHorsLimites(); });
    fenetre.show();
    fenetre.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fenetre));
    a->setFocus();
    a->setText("99");
    QTest::keyClick(a, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), a);
    EXPECT_EQ(banc.ui.messages.size(), 1u);
    a->setText("9");
    QTest::keyClick(a, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), b);
}

TEST(GroupeOptions, selectionDepuisLeCodeUneFois)
{
    QWidget fenetre;
    auto* l = new QVBoxLayout(&fenetre);
    GroupeOptions groupe;
    for (int i = 0; i < 3; ++i) {
        auto* o = new QRadioButton(QString::number(i), &fenetre);
        l->addWidget(o);
        groupe.ajouter(o, i);
    }
    std::vector<int> clics;
    QObject::connect(&groupe, &GroupeOptions::Click, [&](int Index) { clics.push_back(Index); });

    groupe.selectionner(1);
    EXPECT_EQ(clics, std::vector<int>({1}));
    EXPECT_TRUE(groupe.option(1)->isChecked());
    groupe.selectionner(1);
    EXPECT_EQ(clics, std::vector<int>({1}));
    groupe.selectionner(2);
    EXPECT_EQ(clics, std::vector<int>({1, 2}));
    EXPECT_FALSE(groupe.option(1)->isChecked());
    EXPECT_EQ(groupe.selection(), 2);

    fenetre.show();
    QTest::mouseClick(groupe.option(0), Qt::LeftButton);
    EXPECT_EQ(clics, std::vector<int>({1, 2, 0}));
    EXPECT_EQ(groupe.selection(), 0);
    // A click on the option already selected runs nothing.
    QTest::mouseClick(groupe.option(0), Qt::LeftButton);
    EXPECT_EQ(clics, std::vector<int>({1, 2, 0}));
    // Set from code without its click steps, then clicked: no step either.
    groupe.fixer(1);
    EXPECT_TRUE(groupe.option(1)->isChecked());
    QTest::mouseClick(groupe.option(1), Qt::LeftButton);
    EXPECT_EQ(clics, std::vector<int>({1, 2, 0}));
}

TEST(GroupeOptions, optionSeule)
{
    QRadioButton o;
    int clics = 0;
    selectionnerOption(&o, [&] { ++clics; });
    selectionnerOption(&o, [&] { ++clics; });
    EXPECT_EQ(clics, 1);
}

// Contrast ratio of two colours (relative luminance, 1:1 to 21:1).
double contraste(const QColor& a, const QColor& b)
{
    auto l = [](const QColor& c) {
        auto v = [](double x) { return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4); };
        return 0.2126 * v(c.redF()) + 0.7152 * v(c.greenF()) + 0.0722 * v(c.blueF());
    };
    const double x = l(a), y = l(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// A group's options take the focus colours unless the group is made
// without them (the main window's groups): a background of their own and a
// text that reads on it.
class CouleursGroupe : public ::testing::TestWithParam<bool> {};

TEST_P(CouleursGroupe, auFocus)
{
    const bool couleurs = GetParam();
    QWidget fenetre;
    auto* l = new QVBoxLayout(&fenetre);
    auto* o = new QRadioButton("x", &fenetre);
    auto* e = new QLineEdit(&fenetre);
    l->addWidget(o);
    l->addWidget(e);
    GroupeOptions groupe(nullptr, couleurs);
    groupe.ajouter(o, 0);
    fenetre.show();
    fenetre.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fenetre));
    const QPalette systeme = QApplication::palette(o);
    o->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(o->autoFillBackground(), couleurs);
    const QColor fond = o->palette().color(QPalette::Window);
    const QColor texte = o->palette().color(QPalette::WindowText);
    if (couleurs) EXPECT_NE(fond, systeme.color(QPalette::Window));
    else EXPECT_EQ(texte, systeme.color(QPalette::WindowText));
    EXPECT_GE(contraste(texte, fond), 4.5) << texte.name().toStdString() << " on " << fond.name().toStdString();
    e->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(o->palette().color(QPalette::WindowText), systeme.color(QPalette::WindowText));
}

// The end of a control's focus puts its system colours back on every road,
// and a disabled control is drawn in the style's disabled colours whatever
// its focus gave it.
enum class Fin { quitter, fermer, fermerDelie, desactiver, desactiverApres };
struct CasFin {
    const char* nom;
    Fin fin;
    bool option;
};

void PrintTo(const CasFin& c, std::ostream* os) { *os << c.nom; }

class FinDuFocus : public ::testing::TestWithParam<CasFin> {};

TEST_P(FinDuFocus, couleursSysteme)
{
    const CasFin c = GetParam();
    BancEssai banc;
    QWidget fenetre;
    auto* l = new QVBoxLayout(&fenetre);
    auto* cadre = new QWidget(&fenetre);
    auto* lc = new QVBoxLayout(cadre);
    auto* o = new QRadioButton("x", cadre);
    auto* e = new QLineEdit(cadre);
    auto* autre = new QLineEdit(&fenetre);
    lc->addWidget(o);
    lc->addWidget(e);
    l->addWidget(cadre);
    l->addWidget(autre);
    GroupeOptions groupe;
    groupe.ajouter(o, 0);
    CTextBxN TXT;
    TXT.Init(e, 2);
    QWidget* w = c.option ? static_cast<QWidget*>(o) : e;
    fenetre.show();
    fenetre.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fenetre));
    w->setFocus(Qt::TabFocusReason);
    const auto roles = {QPalette::Window, QPalette::WindowText, QPalette::ButtonText, QPalette::Base, QPalette::Text};
    ASSERT_NE(w->palette().color(c.option ? QPalette::Window : QPalette::Base),
              QApplication::palette(w).color(c.option ? QPalette::Window : QPalette::Base));
    switch (c.fin) {
    case Fin::quitter: autre->setFocus(Qt::TabFocusReason); break;
    case Fin::fermer: fenetre.hide(); break;
    case Fin::fermerDelie:
        // The close box, the unload letting go of the validator first.
        TXT.lier(nullptr);
        systeme::fermer(&fenetre);
        break;
    case Fin::desactiver: {
        FocusParCode parCode;   // as the windows disable their controls
        cadre->setEnabled(false);
        break;
    }
    case Fin::desactiverApres:
        autre->setFocus(Qt::TabFocusReason);
        cadre->setEnabled(false);
        break;
    }
    QApplication::processEvents();
    const QPalette systeme = QApplication::palette(w);
    for (auto g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (auto r : roles)
            EXPECT_EQ(w->palette().color(g, r), systeme.color(g, r)) << "group " << g << " role " << r;
    if (c.option) EXPECT_FALSE(o->autoFillBackground());
}

INSTANTIATE_TEST_SUITE_P(Focus, FinDuFocus,
                         ::testing::Values(CasFin{"optionQuittee", Fin::quitter, true},
                                           CasFin{"optionFermee", Fin::fermer, true},
                                           CasFin{"optionDesactivee", Fin::desactiver, true},
                                           CasFin{"optionQuitteeDesactivee", Fin::desactiverApres, true},
                                           CasFin{"champQuitte", Fin::quitter, false},
                                           CasFin{"champFerme", Fin::fermer, false},
                                           CasFin{"champFermeValidateurLache", Fin::fermerDelie, false},
                                           CasFin{"champDesactive", Fin::desactiver, false},
                                           CasFin{"champQuitteDesactive", Fin::desactiverApres, false}),
                         [](const auto& i) { return std::string(i.param.nom); });

INSTANTIATE_TEST_SUITE_P(GroupeOptions, CouleursGroupe, ::testing::Bool());

// A real message box, closed as soon as it shows.
int messageReel(const QString& texte)
{
    QTimer::singleShot(0, [] {
        if (QWidget* m = QApplication::activeModalWidget()) m->close();
    });
    ServicesUiQt services;
    return services.msgBox(texte, msg::exclamation | msg::okSeul, QString());
}

TEST(Focus, unMessageNeDeclenchePasLaPerteDuFocus)
{
    Formulaire f;
    ASSERT_EQ(f.gainA, 1);
    EXPECT_EQ(messageReel("x"), msg::ok);
    QApplication::processEvents();
    EXPECT_EQ(f.perteA, 0);
    EXPECT_EQ(f.gainA, 1);
    EXPECT_EQ(f.a->palette().color(QPalette::Base), CTextBxN::couleurFocus());

    // The refusal's own real message box does not move the focus either.
    plateforme().ui = nullptr;
    ServicesUiQt services;
    plateforme().ui = &services;
    f.a->setText("50");
    QTimer::singleShot(0, [] {
        if (QWidget* m = QApplication::activeModalWidget()) m->close();
    });
    QTest::keyClick(f.a, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(f.fenetre.focusWidget(), f.a);
    EXPECT_EQ(f.perteA, 0);
    plateforme().ui = &f.banc.ui;
}

// A program window recording its steps.
class FenetreEssai : public FenetreZelto {
public:
    using FenetreZelto::FenetreZelto;
    int loads = 0, activates = 0, unloads = 0;
    bool refuser = false;

protected:
    void Form_Load() override { ++loads; }
    void Form_Activate() override { ++activates; }
    void Form_QueryUnload(bool& Cancel, int) override { Cancel = refuser; }
    void Form_Unload(bool&) override { ++unloads; }
};

void attendre()
{
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

TEST(FenetreZelto, ouvreurDesactiveRefuseLaFermeture)
{
    BancEssai banc;
    FenetreEssai ouvreur(numeroFenetre::menuBGen);
    FenetreEssai enfant(numeroFenetre::menuBP);
    ouvreur.afficher();
    attendre();
    enfant.afficherDepuis(&ouvreur);
    attendre();
    EXPECT_FALSE(ouvreur.isEnabled());
    EXPECT_TRUE(enfant.isEnabled());

    EXPECT_FALSE(ouvreur.close());
    EXPECT_TRUE(ouvreur.isVisible());
    EXPECT_EQ(ouvreur.unloads, 0);

    EXPECT_TRUE(enfant.close());
    EXPECT_FALSE(enfant.isVisible());
    EXPECT_EQ(enfant.unloads, 1);
    EXPECT_TRUE(ouvreur.isEnabled());
    EXPECT_TRUE(ouvreur.close());
    EXPECT_FALSE(ouvreur.isVisible());
}

TEST(FenetreZelto, fermetureAnnuleeGardeLaFenetre)
{
    BancEssai banc;
    FenetreEssai f(numeroFenetre::menuA);
    f.afficher();
    f.refuser = true;
    EXPECT_FALSE(f.decharger());
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(registre().chargees(), std::vector<int>({numeroFenetre::menuA}));
    f.refuser = false;
    EXPECT_TRUE(f.decharger());
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(registre().chargees().empty());
    EXPECT_EQ(registre().fenetre(numeroFenetre::menuA), &f);

    // The next load runs the load steps again.
    f.afficher();
    EXPECT_EQ(f.loads, 2);
}

TEST(FenetreZelto, activation)
{
    BancEssai banc;
    FenetreEssai ouvreur(numeroFenetre::menuBGen);
    FenetreEssai enfant(numeroFenetre::menuBP);
    ouvreur.afficher();
    attendre();
    EXPECT_EQ(ouvreur.activates, 1);

    // A message box over the window: no activation on return.
    messageReel("x");
    attendre();
    EXPECT_EQ(ouvreur.activates, 1);

    enfant.afficherDepuis(&ouvreur);
    attendre();
    EXPECT_EQ(enfant.activates, 1);
    EXPECT_EQ(ouvreur.activates, 1);

    // The child unloads and hands back to its opener.
    enfant.decharger();
    attendre();
    EXPECT_EQ(ouvreur.activates, 2);
    EXPECT_EQ(enfant.activates, 1);

    // Shown again: a first activation again.
    enfant.afficherDepuis(&ouvreur);
    attendre();
    EXPECT_EQ(enfant.activates, 2);
    EXPECT_EQ(enfant.loads, 2);
}

TEST(FenetreZelto, rechargeeLeChampRetrouveLeFocus)
{
    BancEssai banc;
    FenetreEssai f(numeroFenetre::menuA);
    auto* e = new QLineEdit(&f);
    f.setCentralWidget(e);
    CTextBxN TXT;
    TXT.Init(e, 2);
    f.afficher();
    attendre();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    EXPECT_EQ(e->palette().color(QPalette::Base), CTextBxN::couleurFocus());
    f.decharger();
    attendre();
    QPalette normale = e->palette();
    normale.setColor(QPalette::Base, CTextBxN::couleurNormale(e));
    e->setPalette(normale);
    f.afficher();
    attendre();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    EXPECT_EQ(e->palette().color(QPalette::Base), CTextBxN::couleurFocus());
}

TEST(FenetreZelto, modaleRendLaMainAuDechargement)
{
    BancEssai banc;
    FenetreEssai f(numeroFenetre::newFreqW);
    QTimer::singleShot(0, [&] { f.decharger(); });
    f.afficherModal();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.unloads, 1);
    EXPECT_EQ(f.windowModality(), Qt::NonModal);
}

TEST(FenetreZelto, modaleFermeeRendLaMainASonOuvreur)
{
    BancEssai banc;
    FenetreEssai ouvreur(numeroFenetre::menuStart);
    FenetreEssai modale(numeroFenetre::newFreqW);
    ouvreur.afficher();
    attendre();
    ASSERT_EQ(ouvreur.activates, 1);
    QTimer::singleShot(20, [&] { modale.decharger(); });
    modale.afficherModal();
    EXPECT_EQ(modale.activates, 1);
    attendre();
    EXPECT_EQ(ouvreur.activates, 2);
    EXPECT_EQ(QApplication::activeWindow(), &ouvreur);
}

TEST(FenetreZelto, ouvreurDesactiveNEstPasActive)
{
    BancEssai banc;
    FenetreEssai ouvreur(numeroFenetre::menuBGen);
    FenetreEssai enfant(numeroFenetre::menuBP);
    ouvreur.afficher();
    attendre();
    enfant.afficherDepuis(&ouvreur);
    attendre();
    ASSERT_EQ(ouvreur.activates, 1);
    // The window system brings the disabled opener forward: its child,
    // which has the hand, gets the activation back and takes the keys.
    ouvreur.activateWindow();
    attendre();
    EXPECT_EQ(ouvreur.activates, 1);
    EXPECT_EQ(QApplication::activeWindow(), &enfant);
    EXPECT_EQ(enfant.activates, 1);
    enfant.activateWindow();
    attendre();
    EXPECT_EQ(enfant.activates, 1);
    // Its child unloads: now it is activated.
    enfant.decharger();
    attendre();
    EXPECT_EQ(ouvreur.activates, 2);
}

TEST(FenetreZelto, activeeDesactiveePuisReactivee)
{
    BancEssai banc;
    FenetreEssai a(numeroFenetre::menuBGen);
    FenetreEssai b(numeroFenetre::copyNema);
    a.afficher();
    attendre();
    b.afficher();
    attendre();
    ASSERT_EQ(a.activates, 1);
    a.setEnabled(false);
    // Brought forward while disabled, it hands the activation to b.
    a.activateWindow();
    attendre();
    EXPECT_EQ(QApplication::activeWindow(), &b);
    // With no other window to take it, it stays active and is activated
    // once enabled.
    b.hide();
    a.activateWindow();
    attendre();
    EXPECT_EQ(a.activates, 1);
    a.setEnabled(true);
    attendre();
    EXPECT_EQ(a.activates, 2);
}

TEST(Statut, panneau1EtIndications)
{
    BancEssai banc;
    FenetreEssai f(numeroFenetre::menuA);
    auto* centre = new QWidget(&f);
    auto* l = new QVBoxLayout(centre);
    auto* e = new QLineEdit(centre);
    auto* o = new QRadioButton("o", centre);
    l->addWidget(e);
    l->addWidget(o);
    f.setCentralWidget(centre);
    QLabel* p = f.panneau1();
    int limite = 250;
    ajouterIndication(e, p, [&] { return QString("1...%1").arg(limite); }, true);
    ajouterIndication(o, p, QStringLiteral("option"));
    f.afficher();
    attendre();
    e->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(p->text(), "1...250");
    limite = 300;
    QTest::mouseMove(o);
    EXPECT_EQ(p->text(), "option");
    QTest::mouseMove(e);
    EXPECT_EQ(p->text(), "1...300");
    f.statusBar()->showMessage("astuce");
    EXPECT_EQ(p->text(), "1...300");
    o->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(p->text(), "option");
}

TEST(Pointeur, sablierNonEmpile)
{
    ServicesUiQt services;
    services.pointeurSouris(pointeur::sablier);
    services.pointeurSouris(pointeur::sablier);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    services.pointeurSouris(pointeur::normal);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    services.pointeurSouris(pointeur::normal);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(ServicesUiQt, filtre)
{
    EXPECT_EQ(ServicesUiQt::filtreQt("Text Files(*.mnc)|*.mnc"), "Text Files(*.mnc)");
    EXPECT_EQ(ServicesUiQt::filtreQt("Data|*.mnc;*.txt|All|*.*"), "Data (*.mnc *.txt);;All (*.*)");
    EXPECT_EQ(ServicesUiQt::suffixeParDefaut("Text Files(*.mnc)|*.mnc"), "mnc");
    EXPECT_EQ(ServicesUiQt::suffixeParDefaut("All|*.*"), "");
    EXPECT_EQ(ServicesUiQt::suffixeParDefaut("Text Files"), "");
}

TEST(ServicesUiQt, reponsesEtTitre)
{
    QString titre;
    QTimer::singleShot(0, [&] {
        auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!m) return;
        titre = m->windowTitle();
        m->button(QMessageBox::No)->click();
    });
    ServicesUiQt services;
    EXPECT_EQ(services.msgBox("?", msg::question | msg::ouiNon, QString()), msg::non);
    EXPECT_EQ(titre, "Zelto");
}

TEST(ServicesUiQt, ouiNonSansEchappement)
{
    bool resteOuverte = false;
    QTimer::singleShot(0, [&] {
        auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!m) return;
        QTest::keyClick(m, Qt::Key_Escape);
        m->close();
        resteOuverte = m->isVisible();
        if (resteOuverte) m->button(QMessageBox::Yes)->click();
    });
    ServicesUiQt services;
    EXPECT_EQ(services.msgBox("?", msg::question | msg::ouiNon, QString()), msg::oui);
    EXPECT_TRUE(resteOuverte);

    // With Cancel, Escape answers Cancel.
    QTimer::singleShot(0, [] {
        if (QWidget* m = QApplication::activeModalWidget()) QTest::keyClick(m, Qt::Key_Escape);
    });
    EXPECT_EQ(services.msgBox("?", msg::question | msg::ouiNonAnnuler, QString()), msg::annuler);
}

TEST(ServicesUiQt, terminerProgramme)
{
    ServicesUiQt services;
    programmeTermine = false;
    services.terminerProgramme();
    EXPECT_TRUE(programmeTermine);
    QEventLoop boucle;
    QTimer::singleShot(5000, &boucle, [&] { boucle.exit(99); });
    EXPECT_EQ(boucle.exec(), 0);
    programmeTermine = false;
}

struct CasPlace {
    const char* nom;
    int numero;
    std::int16_t left, top;
    QPoint attendu;   // pixels
};

void PrintTo(const CasPlace& c, std::ostream* os) { *os << c.nom; }

class Placement : public ::testing::TestWithParam<CasPlace> {};

TEST_P(Placement, placerFenetre)
{
    const CasPlace& c = GetParam();
    BancEssai banc;   // main window 1500, 1200, 9000 x 6000 twips
    positionsFenetres[c.numero] = {c.left, c.top};
    QWidget w;
    w.resize(300, 200);
    placerFenetre(c.numero, &w);
    EXPECT_EQ(w.pos(), c.attendu);
}

INSTANTIATE_TEST_SUITE_P(Fenetres, Placement,
                         ::testing::Values(CasPlace{"jamaisPlacee", 4, 0, 0, QPoint(250, 180)},
                                           CasPlace{"memorisee", 4, 3000, 1500, QPoint(200, 100)},
                                           // Fits exactly in the corner of the 800 x 800 screen.
                                           CasPlace{"coinBasDroit", 4, 7500, 9000, QPoint(500, 600)},
                                           // Partly or wholly off the screen: moved just inside.
                                           CasPlace{"negative", 5, -1500, 0, QPoint(0, 0)},
                                           CasPlace{"depasseEnBas", 4, 1500, 10500, QPoint(100, 600)},
                                           CasPlace{"depasseADroite", 4, 9000, -15, QPoint(500, 0)},
                                           CasPlace{"horsEcranADroite", 4, 30000, 1500, QPoint(500, 100)},
                                           CasPlace{"horsEcranEnHaut", 4, 750, -15000, QPoint(50, 0)},
                                           CasPlace{"splashToujoursCentre", 3, 3000, 1500, QPoint(250, 180)}),
                         [](const auto& info) { return std::string(info.param.nom); });

// A window whose first activation sets its texts, which widen it.
class FenetreTextes : public FenetreZelto {
public:
    explicit FenetreTextes(int numero) : FenetreZelto(numero)
    {
        auto* centre = new QWidget(this);
        setCentralWidget(centre);
        texte = new QLabel(centre);
        (new QVBoxLayout(centre))->addWidget(texte);
    }
    QLabel* texte;

protected:
    void Form_Load() override
    {
        texte->clear();
        placerFenetre(numero(), this);
    }
    void Form_Activate() override { texte->setText(QString(40, QLatin1Char('W'))); }
};

TEST(Fenetres, placeeAvecSaTailleFinale)
{
    BancEssai banc;   // main window centred at (400, 280) on the 800 x 800 screen
    positionsFenetres[numeroFenetre::menuA] = {0, 0};
    FenetreTextes centree(numeroFenetre::menuA);
    centree.afficher();
    attendre();
    ASSERT_GT(centree.width(), 300);
    EXPECT_NEAR(centree.frameGeometry().center().x(), 400, 1);
    EXPECT_NEAR(centree.frameGeometry().center().y(), 280, 1);

    // Stored near the right edge: it fitted before its texts, not after.
    positionsFenetres[numeroFenetre::menuRelNew] = {9000, 1500};
    FenetreTextes memorisee(numeroFenetre::menuRelNew);
    memorisee.afficher();
    attendre();
    EXPECT_EQ(memorisee.frameGeometry().right(), 799);
    EXPECT_EQ(memorisee.frameGeometry().top(), 100);
}

TEST(Fenetres, positionMemoriseeEnTwipsBornee)
{
    BancEssai banc;
    QWidget w;
    w.move(120, 40);
    memoriserPosition(numeroFenetre::menuRelNew, &w);
    EXPECT_EQ(positionsFenetres[numeroFenetre::menuRelNew].Left, 1800);
    EXPECT_EQ(positionsFenetres[numeroFenetre::menuRelNew].Top, 600);
    w.move(3000, -3000);
    memoriserPosition(numeroFenetre::menuRelNew, &w);
    EXPECT_EQ(positionsFenetres[numeroFenetre::menuRelNew].Left, 32767);
    EXPECT_EQ(positionsFenetres[numeroFenetre::menuRelNew].Top, -32768);
}

}  // namespace
