// The user's input that comes while an exchange waits for the converter's
// reply (replies a second late here, inside the limit), delivered as the
// window system delivers it: none sends a command inside that wait. During
// the watchdog's probe, a working-display tick or the working display's
// opening read it acts once the exchange has returned, as it would have
// without the wait; during a window's read it is refused, audibly, and does
// not act afterwards.

#include "app/fixture.h"

#include "link/transaction.h"
#include "menus/fenetremenua.h"
#include "menus/fenetremenubgen.h"
#include "menus/fenetremenuc.h"
#include "platform/porteentrees.h"
#include "platform/registrefenetres.h"
#include "sim/entreessysteme.h"
#include "start/menud.h"
#include "start/menustart.h"

#include <QApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QToolTip>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

template <class T>
T* fen(int numero) { return dynamic_cast<T*>(registre().fenetre(numero)); }
menuA* A() { return fen<menuA>(numeroFenetre::menuA); }
menuBGen* BGen() { return fen<menuBGen>(numeroFenetre::menuBGen); }
menuRelNew* C() { return fen<menuRelNew>(numeroFenetre::menuRelNew); }
menuStart* S() { return fen<menuStart>(numeroFenetre::menuStart); }
menuD* D() { return fen<menuD>(numeroFenetre::menuD); }
bool affichee(int numero) { return registre().estAffichee(numero); }

// The exchange under way when the user acts.
enum class Moment {
    sonde,        // the watchdog's line feed
    avantSonde,   // the last event round before the watchdog's line feed
    scrutation,   // a working-display poll step
    lectureA,     // menu A's read as it opens
    lectureBGen,  // menu B general's read as it opens
    lectureC,     // menu C's read as it opens
    lectureStart, // the working display's read as it opens
    envoiMenuD,   // menu D's send of a value typed in the DC braking time
    envoiStop,    // a working-display tick sending the stop, the motor started
};

// Runs action once, inside the modal loop of the window.
void dansLaFenetre(QWidget* fenetre, std::function<void()> action)
{
    auto* t = new QTimer(fenetre);
    QObject::connect(t, &QTimer::timeout, t, [t, fenetre, action] {
        if (!fenetre->isVisible()) return;
        t->deleteLater();
        t->stop();
        action();
    });
    t->start(0);
}

void dansLeMotDePasse(fondEcran& f, std::function<void()> action)
{
    dansLaFenetre(f.formulaireMotDePasse(), std::move(action));
}

void taperMotDePasse(fondEcran& f)
{
    passform* p = f.formulaireMotDePasse();
    systeme::taper(p, QStringLiteral("pirudo"));
    systeme::touche(p, Qt::Key_Return);
}

struct CasAttente {
    const char* nom;
    Moment moment;
    bool motDePasseDonne;   // passwordOk before the action
    std::function<void(fondEcran&, BancEssai&)> agir;
    // After the exchange: what the action did; lignes: the wire lines from
    // the action on.
    std::function<void(fondEcran&, const QStringList& lignes, int beeps)> verifier;
    // Nothing tells the window system's time at an exchange's end.
    bool finInconnue = false;
};

void refuseAvecBip(fondEcran&, const QStringList&, int beeps) { EXPECT_EQ(beeps, 1); }
auto ouverte(int numero)
{
    return [numero](fondEcran&, const QStringList&, int) { EXPECT_TRUE(affichee(numero)); };
}
auto envoyeUneFois(const char* commande)
{
    return [commande](fondEcran&, const QStringList& l, int) { EXPECT_EQ(l.count(QLatin1String(commande)), 1); };
}
// Clicked greyed: refused with a beep, never sent.
auto griseRefuse(const QStringList& commandes)
{
    return [commandes](fondEcran&, const QStringList& l, int beeps) {
        for (const QString& c : commandes) EXPECT_FALSE(l.contains(c)) << c.toStdString();
        EXPECT_EQ(beeps, commandes.size());
    };
}

const CasAttente casAttentes[] = {
    // The watchdog's probe.
    {"MENU A by its mnemonic", Moment::sonde, true,
     [](fondEcran& f, BancEssai&) { systeme::touche(&f, Qt::Key_A, Qt::AltModifier); },
     [](fondEcran&, const QStringList& l, int) {
         EXPECT_TRUE(affichee(numeroFenetre::menuA));
         EXPECT_EQ(l.count(QStringLiteral("LES")), 1);
         EXPECT_EQ(A()->editTxt[0]->text(), QStringLiteral("30"));
     }},
    {"MENU B clicked, the pointer moved off", Moment::sonde, true,
     [](fondEcran& f, BancEssai&) {
         systeme::cliquer(f.mnBBtn);
         systeme::deplacer(&f, QPoint(2, 2));
     },
     [](fondEcran&, const QStringList& l, int) {
         EXPECT_TRUE(affichee(numeroFenetre::menuBGen));
         EXPECT_TRUE(menuBGenCharge);
         EXPECT_EQ(l.count(QStringLiteral("Ur")), 1);
     }},
    {"MENU C by Enter", Moment::sonde, true,
     [](fondEcran& f, BancEssai&) {
         f.mnCBtn->setFocus(Qt::TabFocusReason);
         systeme::touche(&f, Qt::Key_Return);
     },
     [](fondEcran&, const QStringList& l, int) {
         EXPECT_TRUE(affichee(numeroFenetre::menuRelNew));
         EXPECT_TRUE(menuCCharge);
         EXPECT_EQ(l.count(QStringLiteral("RL")), 1);
     }},
    {"working display by a click", Moment::sonde, true, [](fondEcran& f, BancEssai&) { systeme::cliquer(f.startBtn); },
     [](fondEcran&, const QStringList& l, int) {
         EXPECT_TRUE(affichee(numeroFenetre::menuStart));
         EXPECT_TRUE(startActif);
         EXPECT_EQ(l.mid(0, 1), QStringList({"CS"}));   // its read of the general part
     }},
    // An accepted close is the last input taken: the click after it is refused.
    {"the close box then MENU B", Moment::sonde, true,
     [](fondEcran& f, BancEssai&) {
         systeme::fermer(&f);
         systeme::cliquer(f.mnBBtn);
     },
     [](fondEcran& f, const QStringList& l, int beeps) {
         EXPECT_EQ(l.filter(QStringLiteral("xXx")).size(), 1);
         EXPECT_FALSE(l.contains(QStringLiteral("CS")));
         EXPECT_FALSE(affichee(numeroFenetre::menuBGen));
         EXPECT_FALSE(f.isVisible());
         EXPECT_EQ(beeps, 1);
     }},
    {"Exit by a click", Moment::sonde, true, [](fondEcran& f, BancEssai&) { systeme::cliquer(f.ExitBtn); },
     [](fondEcran&, const QStringList& l, int) { EXPECT_EQ(l.filter(QStringLiteral("xXx")).size(), 1); }},
    {"the close box", Moment::sonde, true, [](fondEcran& f, BancEssai&) { systeme::fermer(&f); },
     [](fondEcran& f, const QStringList& l, int beeps) {
         EXPECT_EQ(l.filter(QStringLiteral("xXx")).size(), 1);
         EXPECT_FALSE(f.isVisible());
         EXPECT_EQ(beeps, 0);
     }},
    // Two clicks: the second meets what the first made of the windows.
    {"MENU B then MENU C", Moment::sonde, true,
     [](fondEcran& f, BancEssai&) {
         systeme::cliquer(f.mnBBtn);
         systeme::cliquer(f.mnCBtn);
     },
     [](fondEcran&, const QStringList&, int) {
         EXPECT_TRUE(affichee(numeroFenetre::menuBGen));
         EXPECT_FALSE(affichee(numeroFenetre::menuRelNew));
     }},
    {"OFF then ON", Moment::sonde, true,
     [](fondEcran& f, BancEssai&) {
         systeme::cliquer(f.offLineChk_);
         systeme::cliquer(f.onLineChk_);
     },
     [](fondEcran& f, const QStringList& l, int) {
         EXPECT_TRUE(f.onLineChk());
         EXPECT_EQ(l.count(QStringLiteral("LES")), 1) << l.join(u'|').toStdString();
     }},
    {"Alt+A then Alt+C", Moment::sonde, true,
     [](fondEcran& f, BancEssai&) {
         systeme::touche(&f, Qt::Key_A, Qt::AltModifier);
         systeme::touche(&f, Qt::Key_C, Qt::AltModifier);
     },
     [](fondEcran& f, const QStringList&, int) {
         EXPECT_TRUE(affichee(numeroFenetre::menuA));
         EXPECT_FALSE(affichee(numeroFenetre::menuRelNew));
         EXPECT_FALSE(f.isEnabled());
     }},
    // The password form that the first mnemonic opens takes the keys; the
    // main window behind it takes no mnemonic.
    {"Alt+B then Alt+W", Moment::sonde, false,
     [](fondEcran& f, BancEssai&) {
         systeme::touche(&f, Qt::Key_B, Qt::AltModifier);
         systeme::touche(&f, Qt::Key_W, Qt::AltModifier);
         dansLeMotDePasse(f, [&f] {
             QCoreApplication::processEvents();
             EXPECT_FALSE(affichee(numeroFenetre::menuStart));
             taperMotDePasse(f);
         });
     },
     [](fondEcran&, const QStringList&, int) {
         EXPECT_TRUE(passwordOk);
         EXPECT_TRUE(affichee(numeroFenetre::menuBGen));
         EXPECT_FALSE(affichee(numeroFenetre::menuStart));
         EXPECT_FALSE(startActif);
     }},
    // The password typed during the next probe reaches the form.
    {"password typed in a later probe", Moment::sonde, false,
     [](fondEcran& f, BancEssai& banc) {
         systeme::cliquer(f.mnBBtn);
         dansLeMotDePasse(f, [&f, &banc] {
             bool tape = false;
             banc.horloge.surEvenements = [&] {
                 if (tape || !f.sondeEnCours()) return;
                 tape = true;
                 taperMotDePasse(f);
             };
             banc.horloge.avancer(4.0);
             banc.horloge.surEvenements = nullptr;
             EXPECT_TRUE(tape);
         });
     },
     [](fondEcran&, const QStringList&, int) {
         EXPECT_TRUE(passwordOk);
         EXPECT_TRUE(affichee(numeroFenetre::menuBGen));
     }},
    // What the window system shows by itself is not the probe's doing.
    {"MENU B clicked after the window is restored", Moment::sonde, false,
     [](fondEcran& f, BancEssai&) {
         systeme::minimiser(&f, true);
         QCoreApplication::processEvents();
         systeme::minimiser(&f, false);
         systeme::cliquer(f.mnBBtn);
         dansLeMotDePasse(f, [&f] { taperMotDePasse(f); });
     },
     [](fondEcran&, const QStringList&, int beeps) {
         EXPECT_TRUE(affichee(numeroFenetre::menuBGen));
         EXPECT_EQ(beeps, 0);
     }},
    // A click on a window that the probe's link loss closes goes nowhere.
    {"OK of the password form as the probe meets silence", Moment::sonde, false,
     [](fondEcran& f, BancEssai& banc) {
         systeme::cliquer(f.mnBBtn);
         dansLeMotDePasse(f, [&f, &banc] {
             passform* p = f.formulaireMotDePasse();
             systeme::taper(p, QStringLiteral("pirudo"));
             QCoreApplication::processEvents();
             banc.sim.silence = true;
             bool clique = false;
             banc.horloge.surEvenements = [&] {
                 if (clique || !f.sondeEnCours()) return;
                 clique = true;
                 systeme::cliquer(p->enterBtn);
             };
             banc.horloge.avancer(5.0);
             banc.horloge.surEvenements = nullptr;
             EXPECT_TRUE(clique);
         });
     },
     [](fondEcran& f, const QStringList&, int) {
         EXPECT_FALSE(f.onLineChk());
         EXPECT_FALSE(passwordOk);
         EXPECT_FALSE(affichee(numeroFenetre::menuBGen));
     }},
    // Disabled by the link loss of the probe that follows: the mnemonic acts
    // before the probe or not at all, never on the disabled button.
    {"Alt+W just before a probe that meets silence", Moment::avantSonde, true,
     [](fondEcran& f, BancEssai&) {
         systeme::touche(&f, Qt::Key_W, Qt::AltModifier);
         QCoreApplication::processEvents();
     },
     [](fondEcran&, const QStringList&, int) {}},
    // A working-display poll step.
    {"Start", Moment::scrutation, true, [](fondEcran&, BancEssai&) { systeme::cliquer(S()->startConvBtn); },
     envoyeUneFois("r")},
    {"Stop clicked, the pointer moved off", Moment::scrutation, true,
     [](fondEcran&, BancEssai&) {
         systeme::cliquer(S()->stopConvBtn);
         systeme::deplacer(S(), QPoint(2, 2));
     },
     envoyeUneFois("s")},
    {"Reset", Moment::scrutation, true, [](fondEcran&, BancEssai&) { systeme::cliquer(S()->resetBtn); },
     envoyeUneFois("I")},
    {"Def. freq.", Moment::scrutation, true, [](fondEcran&, BancEssai&) { systeme::cliquer(S()->freqDefBtn); },
     envoyeUneFois("$J")},
    {"Exit of the working display", Moment::scrutation, true,
     [](fondEcran&, BancEssai&) { systeme::cliquer(S()->exitStartBtn); },
     [](fondEcran&, const QStringList&, int) {
         EXPECT_FALSE(affichee(numeroFenetre::menuStart));
         EXPECT_FALSE(startActif);
     }},
    {"close box of the working display", Moment::scrutation, true,
     [](fondEcran&, BancEssai&) { systeme::fermer(S()); },
     [](fondEcran&, const QStringList&, int beeps) {
         EXPECT_FALSE(affichee(numeroFenetre::menuStart));
         EXPECT_EQ(beeps, 0);
     }},
    // The working display's opening read leaves its buttons in use.
    {"Stop while the working display reads", Moment::lectureStart, true,
     [](fondEcran&, BancEssai&) { systeme::cliquer(S()->stopConvBtn); }, envoyeUneFois("s")},
    // Greyed while it reads, enabled by the read: the user's click is refused.
    {"greyed Start and Def. freq. while the working display reads", Moment::lectureStart, true,
     [](fondEcran&, BancEssai&) {
         systeme::cliquer(S()->startConvBtn);
         systeme::cliquer(S()->freqDefBtn);
     },
     griseRefuse({"r", "$J"})},
    {"greyed Start while the working display reads, its end's time unknown", Moment::lectureStart, true,
     [](fondEcran&, BancEssai&) { systeme::cliquer(S()->startConvBtn); }, griseRefuse({"r"}), true},
    {"greyed Start while the stop is sent", Moment::envoiStop, true,
     [](fondEcran&, BancEssai&) { systeme::cliquer(S()->startConvBtn); }, griseRefuse({"r"})},
    {"close box while the working display reads", Moment::lectureStart, true,
     [](fondEcran&, BancEssai&) { systeme::fermer(S()); },
     [](fondEcran&, const QStringList&, int beeps) {
         EXPECT_FALSE(affichee(numeroFenetre::menuStart));
         EXPECT_EQ(beeps, 0);
     }},
    // What is typed while menu D sends a value lands in the next field.
    {"menu D: the next value typed during a send", Moment::envoiMenuD, true,
     [](fondEcran&, BancEssai&) {
         systeme::taper(D(), QStringLiteral("1.5"));
         systeme::touche(D(), Qt::Key_Tab);
     },
     [](fondEcran&, const QStringList& l, int beeps) {
         EXPECT_EQ(l.filter(QStringLiteral("$cf")), QStringList({"$cf1.50"}));
         EXPECT_EQ(beeps, 0);
     }},
    // A window's read: refused with a beep.
    {"Exit of menu A", Moment::lectureA, true, [](fondEcran&, BancEssai&) { systeme::cliquer(A()->ExitBtn); },
     [](fondEcran&, const QStringList&, int beeps) {
         EXPECT_TRUE(affichee(numeroFenetre::menuA));
         EXPECT_EQ(beeps, 1);
     }},
    {"close box of menu A", Moment::lectureA, true, [](fondEcran&, BancEssai&) { systeme::fermer(A()); },
     [](fondEcran&, const QStringList&, int beeps) {
         EXPECT_TRUE(affichee(numeroFenetre::menuA));
         EXPECT_EQ(beeps, 1);
     }},
    {"Download of menu B general", Moment::lectureBGen, true,
     [](fondEcran&, BancEssai&) { systeme::cliquer(BGen()->downBtn); }, refuseAvecBip},
    {"Exit of menu B general", Moment::lectureBGen, true,
     [](fondEcran&, BancEssai&) { systeme::cliquer(BGen()->ExitBtn); },
     [](fondEcran& f, const QStringList& l, int beeps) {
         ouverte(numeroFenetre::menuBGen)(f, l, beeps);
         EXPECT_EQ(beeps, 1);
     }},
    // Closed by its own timer, a tooltip is no close request.
    {"a tooltip closing", Moment::lectureBGen, true,
     [](fondEcran&, BancEssai&) {
         QToolTip::showText(BGen()->mapToGlobal(QPoint(10, 10)), QStringLiteral("?"), BGen());
         for (QWidget* w : QApplication::topLevelWidgets())
             if (w->windowType() == Qt::ToolTip && w->isVisible()) w->close();
     },
     [](fondEcran&, const QStringList&, int beeps) { EXPECT_EQ(beeps, 0); }},
    {"Download of menu C", Moment::lectureC, true, [](fondEcran&, BancEssai&) { systeme::cliquer(C()->downBtn); },
     refuseAvecBip},
    {"Exit of menu C", Moment::lectureC, true, [](fondEcran&, BancEssai&) { systeme::cliquer(C()->ExitBtn); },
     [](fondEcran& f, const QStringList& l, int beeps) {
         ouverte(numeroFenetre::menuRelNew)(f, l, beeps);
         EXPECT_EQ(beeps, 1);
     }},
};

} // namespace

class Attentes : public Appli, public ::testing::WithParamInterface<CasAttente> {};

TEST_P(Attentes, AucunEchangeDansLAttenteDUnAutre)
{
    const CasAttente& c = GetParam();
    demarrer();
    passwordOk = true;
    allerEnLigne();
    if (c.moment == Moment::scrutation || c.moment == Moment::envoiMenuD || c.moment == Moment::envoiStop) {
        f->startBtn->click();
        banc.horloge.avancer(0.1);
        ASSERT_TRUE(startActif);
    }
    if (c.moment == Moment::envoiStop) {
        S()->startConvBtn->click();
        banc.horloge.avancer(1.0);
        ASSERT_EQ(banc.sim.commandes, QStringList({"r"}));
        S()->stopConvBtn->click();
        ASSERT_FALSE(S()->startConvBtn->isEnabled());
    }
    passwordOk = c.motDePasseDonne;
    banc.sim.delaiReponse = 1.0;
    if (c.finInconnue) definirHorlogeEntrees([] { return std::optional<unsigned long>(); });
    const auto horlogeRemise = qScopeGuard([] { definirHorlogeEntrees(systeme::maintenant); });

    const Moment m = c.moment;
    auto pendant = [m, this] {
        if (!liaisonOccupee()) return false;
        switch (m) {
        case Moment::scrutation: return startActif && !travailEnCours;
        case Moment::lectureA: return affichee(numeroFenetre::menuA);
        case Moment::lectureBGen: return affichee(numeroFenetre::menuBGen);
        case Moment::lectureC: return affichee(numeroFenetre::menuRelNew);
        case Moment::lectureStart: return affichee(numeroFenetre::menuStart) && travailEnCours;
        case Moment::envoiMenuD: return affichee(numeroFenetre::menuD);
        case Moment::envoiStop: return banc.sim.commandes.size() == 2;
        default: return false;
        }
    };
    int n = 0, beepsAvant = 0, fois = 0;
    auto agir = [&] {
        ++fois;
        n = banc.sim.journal.size();
        beepsAvant = banc.ui.beeps;
        c.agir(*f, banc);
    };
    // The working display shown while off line.
    bool ouverteHorsLigne = false;
    if (m == Moment::avantSonde) {
        // The watchdog ticks 2 s after going on line; then the converter is silent.
        banc.horloge.avancer(1.99);
        agir();
        banc.horloge.surEvenements = [&] {
            if (f->sondeEnCours()) banc.sim.silence = true;
            if (affichee(numeroFenetre::menuStart) && !f->onLineChk()) ouverteHorsLigne = true;
        };
    } else {
        banc.horloge.surEvenements = [&] {
            const bool maintenant = m == Moment::sonde ? f->sondeEnCours() : pendant();
            if (fois == 0 && maintenant) agir();
        };
    }
    switch (m) {
    case Moment::lectureA: f->mnABtn->click(); break;
    case Moment::lectureBGen: f->mnBBtn->click(); break;
    case Moment::lectureC: f->mnCBtn->click(); break;
    case Moment::lectureStart: f->startBtn->click(); break;
    case Moment::envoiMenuD:
        S()->menuDBtn->click();
        dansLaFenetre(D(), [this] {
            D()->champNomme(QStringLiteral("editTxtDurFcc"))->setFocus();
            systeme::taper(D(), QStringLiteral("12"));
            systeme::touche(D(), Qt::Key_Tab);
            banc.horloge.avancer(4.0);
            EXPECT_EQ(banc.sim.journal.filter(QStringLiteral("$df")), QStringList({"$df12"}));
            systeme::cliquer(D()->ExitBtn);
            banc.horloge.avancer(0.1);
        });
        break;
    default: break;
    }
    banc.horloge.avancer(4.0);
    if (m != Moment::avantSonde) banc.horloge.surEvenements = nullptr;
    // A Qt button's delayed click would come 100 ms after its key.
    QTest::qWait(200);
    banc.horloge.avancer(40.0);
    banc.horloge.surEvenements = nullptr;

    ASSERT_EQ(fois, 1);
    EXPECT_EQ(banc.port.ecrituresPendantReponse, 0);
    EXPECT_EQ(systeme::enAttente(), 0);
    EXPECT_FALSE(ouverteHorsLigne);

    c.verifier(*f, journalDepuis(n), banc.ui.beeps - beepsAvant);
}

INSTANTIATE_TEST_SUITE_P(Fenetres, Attentes, ::testing::ValuesIn(casAttentes),
                         [](const ::testing::TestParamInfo<CasAttente>& i) {
                             QString nom = QString::fromLatin1(i.param.nom);
                             nom.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QString());
                             return nom.toStdString();
                         });

// Input that no wait held reaches a window hidden meanwhile, as Qt hands it
// on (a completer's popup passes a key on to its field).
TEST(EntreesNonRetenues, FenetreCacheeEntreTempsLesRecoit)
{
    QWidget fenetre;
    auto* champ = new QLineEdit(&fenetre);
    fenetre.show();
    champ->setFocus();
    { EchangeEnCours attente(entrees::Regle::differer); }
    QCoreApplication::processEvents();
    systeme::taper(&fenetre, QStringLiteral("ab"));
    fenetre.hide();
    QCoreApplication::processEvents();
    EXPECT_EQ(champ->text(), QStringLiteral("ab"));
}

// What held input's own handlers change is not the exchange's doing, though
// the dispatcher delivers that input before the exchange's handler has
// returned (Qt's Unix dispatcher, right after a timer's handler).
TEST_F(Appli, EntreesRetenuesSurUnBoutonQueLeurGestionnaireGriseEtRend)
{
    QWidget fenetre;
    auto* bouton = new QPushButton(QStringLiteral("Défaut"), &fenetre);
    int clics = 0;
    QObject::connect(bouton, &QPushButton::clicked, [&] {
        ++clics;
        bouton->setEnabled(false);
        bouton->setEnabled(true);
    });
    fenetre.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenetre));
    {
        EchangeEnCours attente(entrees::Regle::differer);
        systeme::cliquer(bouton);
        systeme::cliquer(bouton);
    }
    systeme::livrer();
    EXPECT_EQ(clics, 2);
    EXPECT_EQ(banc.ui.beeps, 0);
}
