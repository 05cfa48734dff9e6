// The user's actions that come while an exchange waits for the converter's
// reply (a second late here, inside the limit): none sends a command inside
// that wait. During the watchdog's probe or a working-display tick the
// action runs once, after the exchange; during a window's read it is
// refused and does not run afterwards.

#include "app/fixture.h"

#include "link/transaction.h"
#include "menus/fenetremenua.h"
#include "menus/fenetremenubgen.h"
#include "menus/fenetremenuc.h"
#include "platform/porteentrees.h"
#include "platform/registrefenetres.h"
#include "start/menustart.h"

#include <QRegularExpression>
#include <QTest>

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
bool affichee(int numero) { return registre().estAffichee(numero); }

void cliquer(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
// As the window system delivers it: to the window, which passes it on.
void cliquerFenetre(QWidget* w)
{
    QTest::mouseClick(w->window()->windowHandle(), Qt::LeftButton, {}, w->mapTo(w->window(), w->rect().center()));
}

// The exchange under way when the user acts.
enum class Moment {
    sonde,        // the watchdog's line feed
    scrutation,   // a working-display poll step
    lectureA,     // menu A's read as it opens
    lectureBGen,  // menu B general's read as it opens
    lectureC,     // menu C's read as it opens
    lectureStart, // the working display's read as it opens
};

struct CasAttente {
    const char* nom;
    Moment moment;
    std::function<void(fondEcran&)> agir;
    // After the exchange: what the action did; lignes: the wire lines from
    // the action on.
    std::function<void(fondEcran&, const QStringList& lignes, int beeps)> verifier;
};

void refuseSansBip(fondEcran&, const QStringList&, int beeps) { EXPECT_EQ(beeps, 0); }

const CasAttente casAttentes[] = {
    {"MENU A by its mnemonic", Moment::sonde, [](fondEcran& f) { QTest::keyClick(&f, Qt::Key_A, Qt::AltModifier); },
     [](fondEcran&, const QStringList& l, int) {
         EXPECT_TRUE(affichee(numeroFenetre::menuA));
         EXPECT_EQ(l.count(QStringLiteral("LES")), 1);
         EXPECT_EQ(A()->editTxt[0]->text(), QStringLiteral("30"));
     }},
    {"MENU B by a click on the window", Moment::sonde, [](fondEcran& f) { cliquerFenetre(f.mnBBtn); },
     [](fondEcran&, const QStringList& l, int) {
         EXPECT_TRUE(affichee(numeroFenetre::menuBGen));
         EXPECT_TRUE(menuBGenCharge);
         EXPECT_EQ(l.count(QStringLiteral("Ur")), 1);
     }},
    {"MENU C by Enter", Moment::sonde,
     [](fondEcran& f) {
         f.mnCBtn->setFocus(Qt::TabFocusReason);
         QTest::keyClick(f.mnCBtn, Qt::Key_Return);
     },
     [](fondEcran&, const QStringList& l, int) {
         EXPECT_TRUE(affichee(numeroFenetre::menuRelNew));
         EXPECT_TRUE(menuCCharge);
         EXPECT_EQ(l.count(QStringLiteral("RL")), 1);
     }},
    {"working display by a click", Moment::sonde, [](fondEcran& f) { cliquer(f.startBtn); },
     [](fondEcran&, const QStringList& l, int) {
         EXPECT_TRUE(affichee(numeroFenetre::menuStart));
         EXPECT_TRUE(startActif);
         EXPECT_EQ(l.mid(0, 1), QStringList({"CS"}));   // its read of the general part
     }},
    {"Exit by a click", Moment::sonde, [](fondEcran& f) { cliquer(f.ExitBtn); },
     [](fondEcran&, const QStringList& l, int) { EXPECT_EQ(l.filter(QStringLiteral("xXx")).size(), 1); }},
    {"the close box", Moment::sonde, [](fondEcran& f) { f.close(); },
     [](fondEcran& f, const QStringList& l, int beeps) {
         EXPECT_EQ(l.filter(QStringLiteral("xXx")).size(), 1);
         EXPECT_FALSE(f.isVisible());
         EXPECT_EQ(beeps, 0);
     }},
    {"Start", Moment::scrutation, [](fondEcran&) { cliquer(S()->startConvBtn); },
     [](fondEcran&, const QStringList& l, int) { EXPECT_EQ(l.count(QStringLiteral("r")), 1); }},
    {"Reset", Moment::scrutation, [](fondEcran&) { cliquer(S()->resetBtn); },
     [](fondEcran&, const QStringList& l, int) { EXPECT_EQ(l.count(QStringLiteral("I")), 1); }},
    {"Def. freq.", Moment::scrutation, [](fondEcran&) { cliquer(S()->freqDefBtn); },
     [](fondEcran&, const QStringList& l, int) { EXPECT_EQ(l.count(QStringLiteral("$J")), 1); }},
    {"Exit of the working display", Moment::scrutation, [](fondEcran&) { cliquer(S()->exitStartBtn); },
     [](fondEcran&, const QStringList&, int) {
         EXPECT_FALSE(affichee(numeroFenetre::menuStart));
         EXPECT_FALSE(startActif);
     }},
    {"close box of the working display", Moment::scrutation, [](fondEcran&) { S()->close(); },
     [](fondEcran&, const QStringList&, int beeps) {
         EXPECT_FALSE(affichee(numeroFenetre::menuStart));
         EXPECT_EQ(beeps, 0);
     }},
    {"Exit of menu A", Moment::lectureA, [](fondEcran&) { cliquer(A()->ExitBtn); },
     [](fondEcran&, const QStringList&, int beeps) {
         EXPECT_TRUE(affichee(numeroFenetre::menuA));
         EXPECT_EQ(beeps, 0);
     }},
    {"close box of menu A", Moment::lectureA, [](fondEcran&) { A()->close(); },
     [](fondEcran&, const QStringList&, int beeps) {
         EXPECT_TRUE(affichee(numeroFenetre::menuA));
         EXPECT_EQ(beeps, 1);
     }},
    {"Download of menu B general", Moment::lectureBGen, [](fondEcran&) { cliquer(BGen()->downBtn); },
     refuseSansBip},
    {"Exit of menu B general", Moment::lectureBGen, [](fondEcran&) { cliquer(BGen()->ExitBtn); },
     [](fondEcran&, const QStringList&, int) { EXPECT_TRUE(affichee(numeroFenetre::menuBGen)); }},
    {"Download of menu C", Moment::lectureC, [](fondEcran&) { cliquer(C()->downBtn); }, refuseSansBip},
    {"Exit of menu C", Moment::lectureC, [](fondEcran&) { cliquer(C()->ExitBtn); },
     [](fondEcran&, const QStringList&, int) { EXPECT_TRUE(affichee(numeroFenetre::menuRelNew)); }},
    {"Stop while the working display reads", Moment::lectureStart, [](fondEcran&) { cliquer(S()->stopConvBtn); },
     [](fondEcran&, const QStringList& l, int) { EXPECT_EQ(l.count(QStringLiteral("s")), 0); }},
    {"close box while the working display reads", Moment::lectureStart, [](fondEcran&) { S()->close(); },
     [](fondEcran&, const QStringList&, int beeps) {
         EXPECT_TRUE(affichee(numeroFenetre::menuStart));
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
    if (c.moment == Moment::scrutation) {
        f->startBtn->click();
        banc.horloge.avancer(0.1);
        ASSERT_TRUE(startActif);
    }
    banc.sim.delaiReponse = 1.0;

    const Moment m = c.moment;
    auto pendant = [m] {
        if (!liaisonOccupee()) return false;
        switch (m) {
        case Moment::scrutation: return startActif && !travailEnCours;
        case Moment::lectureA: return affichee(numeroFenetre::menuA);
        case Moment::lectureBGen: return affichee(numeroFenetre::menuBGen);
        case Moment::lectureC: return affichee(numeroFenetre::menuRelNew);
        case Moment::lectureStart: return affichee(numeroFenetre::menuStart) && travailEnCours;
        default: return false;
        }
    };
    int n = 0, beepsAvant = 0, fois = 0;
    banc.horloge.surEvenements = [&] {
        const bool maintenant = m == Moment::sonde ? f->sondeEnCours() : pendant();
        if (fois > 0 || !maintenant) return;
        ++fois;
        n = banc.sim.journal.size();
        beepsAvant = banc.ui.beeps;
        c.agir(*f);
    };
    switch (m) {
    case Moment::lectureA: f->mnABtn->click(); break;
    case Moment::lectureBGen: f->mnBBtn->click(); break;
    case Moment::lectureC: f->mnCBtn->click(); break;
    case Moment::lectureStart: f->startBtn->click(); break;
    default: break;
    }
    banc.horloge.avancer(4.0);
    banc.horloge.surEvenements = nullptr;
    // A mnemonic's click comes 100 ms after its key.
    if (m == Moment::sonde) QTest::qWait(400);
    banc.horloge.avancer(40.0);

    ASSERT_EQ(fois, 1);
    EXPECT_EQ(banc.port.ecrituresPendantReponse, 0);
    EXPECT_EQ(entreesRetenues(), 0);

    c.verifier(*f, journalDepuis(n), banc.ui.beeps - beepsAvant);
}

INSTANTIATE_TEST_SUITE_P(Fenetres, Attentes, ::testing::ValuesIn(casAttentes),
                         [](const ::testing::TestParamInfo<CasAttente>& i) {
                             QString nom = QString::fromLatin1(i.param.nom);
                             nom.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QString());
                             return nom.toStdString();
                         });
