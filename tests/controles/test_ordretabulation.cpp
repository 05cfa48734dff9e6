// Every window of the program, brought up by the user's road: Tab (and the
// validator's Enter and Down, which follow the same chain) goes through its
// controls in screen order, an option group by its box; the U/F window and
// menu A keep their given orders. The working display has its Stop button
// focused as it comes up, and again once the setpoint dialog has closed.
#include "app/fixture.h"
#include "controles/outils.h"

#include "platform/registrefenetres.h"

#include <QAbstractButton>
#include <QApplication>
#include <QRadioButton>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace {

void cliquer(QWidget* b) { qobject_cast<QAbstractButton*>(b)->click(); }

std::string nomDe(const QWidget* c)
{
    if (!c) return "none";
    if (!c->objectName().isEmpty()) return c->objectName().toStdString();
    const auto* b = qobject_cast<const QAbstractButton*>(c);
    return std::string(c->metaObject()->className()) + " \"" + (b ? b->text().toStdString() : "") + "\"";
}

// The controls of the window that take Tab, disabled ones included, in
// chain order from the window; hidden ones only when asked.
QList<QWidget*> arrets(QWidget* w, bool caches)
{
    QList<QWidget*> l;
    for (QWidget* c = w->nextInFocusChain(); c && c != w; c = c->nextInFocusChain())
        if (c->window() == w && (c->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && (caches || c->isVisibleTo(w)))
            l << c;
    return l;
}

// Where a control stands in the window: an option by its group's box,
// unless the other control is an option of the same group.
QRect place(const QWidget* c, const QWidget* autre, const QWidget* w)
{
    const QWidget* p = c;
    if (qobject_cast<const QRadioButton*>(c) && autre->parentWidget() != c->parentWidget()) p = c->parentWidget();
    return {p->mapTo(w, QPoint(0, 0)), p->size()};
}

// A Tab step from a to b: further right on the same row, down to a later
// row, or up to a column wholly to the right.
bool suit(const QWidget* a, const QWidget* b, const QWidget* w)
{
    const QRect ra = place(a, b, w), rb = place(b, a, w);
    const bool memeRangee = rb.top() <= ra.bottom() && ra.top() <= rb.bottom();
    if (memeRangee) return rb.left() > ra.left();
    return rb.top() > ra.top() || rb.left() > ra.right();
}

QStringList ordreProgNema()
{
    QStringList l{"ExitBtn", "corrBtn", "AnnulBtn", "terminerBtn", "grapheBtn", "downBtn", "copieBtn",
                  "editTxtUs", "editTxtFs", "editTxtNumGamme"};
    // Point 32 last: never shown, never focused during a correction.
    for (int k = 0; k < 64; ++k) l << QStringLiteral("editTxt%1").arg(k);
    return l;
}

} // namespace

class OrdreTabulation;

namespace {
using Verification = std::function<void(QWidget*)>;

struct CasOrdre {
    const char* nom;
    // Brings the window up and runs the check on it while it is up.
    std::function<void(OrdreTabulation&, const Verification&)> route;
    QStringList ordreDonne = {};     // empty: screen order
    const char* focus = nullptr;     // control with the focus, when checked
};

void PrintTo(const CasOrdre& c, std::ostream* os) { *os << c.nom; }

} // namespace

class OrdreTabulation : public Appli, public ::testing::WithParamInterface<CasOrdre> {
public:
    using Appli::banc;
    using Appli::f;

    void enLigne()
    {
        demarrer();
        allerEnLigne();
        passwordOk = true;
    }
    // A modeless window opened by a button, once it is active.
    QWidget* ouvrir(QWidget* bouton, int numero)
    {
        cliquer(bouton);
        banc.horloge.avancer(0.05);
        evenements();
        QWidget* w = fenetre(numero);
        for (int i = 0; i < 50 && QApplication::activeWindow() != w; ++i) QTest::qWait(5);
        return w;
    }
    // A modal window opened by a button: verifier runs in its loop once it
    // is active, then the window is unloaded.
    void ouvrirModal(QWidget* bouton, QWidget* w, const Verification& verifier)
    {
        auto vu = std::make_shared<bool>(false);
        quandActive(w, [w, verifier, vu] {
            *vu = true;
            verifier(w);
            if (w->isVisible()) dynamic_cast<IFenetre*>(w)->decharger();
        });
        cliquer(bouton);
        banc.horloge.avancer(2.0);
        EXPECT_TRUE(*vu) << w->objectName().toStdString() << " did not show";
    }
    static void quandActive(QWidget* w, std::function<void()> action, int essais = 20000)
    {
        QTimer::singleShot(0, [w, action, essais] {
            if (essais > 0 && (!w->isVisible() || QApplication::activeWindow() != w))
                return quandActive(w, action, essais - 1);
            // One more round: the window's activation comes first.
            QTimer::singleShot(0, action);
        });
    }
    QWidget* menuB()
    {
        passwordOk = true;
        return ouvrir(f->mnBBtn, numeroFenetre::menuBGen);
    }
    QWidget* menuStart() { return ouvrir(f->startBtn, numeroFenetre::menuStart); }

    void verifier(QWidget* w, const CasOrdre& c)
    {
        ++verifiees;
        const std::string nom = c.nom;
        ASSERT_TRUE(w && w->isVisible()) << nom;
        if (c.focus) {
            EXPECT_EQ(w->focusWidget(), nomme(w, c.focus)) << nom << " has its focus on " << nomDe(w->focusWidget());
        }
        if (!c.ordreDonne.isEmpty()) {
            QStringList noms;
            for (const QWidget* x : arrets(w, true)) noms << x->objectName();
            const qsizetype debut = std::max<qsizetype>(0, noms.indexOf(c.ordreDonne.first()));
            const QStringList depuisPremier = noms.mid(debut) + noms.mid(0, debut);
            EXPECT_EQ(depuisPremier.join(u' ').toStdString(), c.ordreDonne.join(u' ').toStdString()) << nom;
            return;
        }
        const QList<QWidget*> l = arrets(w, false);
        EXPECT_FALSE(l.isEmpty()) << nom;
        for (qsizetype i = 1; i < l.size(); ++i)
            EXPECT_TRUE(suit(l[i - 1], l[i], w))
                << nom << ": Tab from " << nomDe(l[i - 1]) << " goes to " << nomDe(l[i]);
    }

    int verifiees = 0;
};

TEST_P(OrdreTabulation, SuitLEcran)
{
    const CasOrdre& c = GetParam();
    c.route(*this, [this, &c](QWidget* w) { verifier(w, c); });
    EXPECT_EQ(verifiees, 1) << c.nom;
}

namespace {
using T = OrdreTabulation;
using V = const Verification&;

const CasOrdre casOrdre[] = {
    {"fondEcran", [](T& t, V v) { t.enLigne(); v(t.f.get()); }},
    {"frmSplash", [](T& t, V v) { t.enLigne(); v(t.ouvrir(t.f->aboutBtn, numeroFenetre::frmSplash)); }},
    {"passform", [](T& t, V v) {
         t.enLigne();
         passwordOk = false;
         t.ouvrirModal(t.f->mnBBtn, t.f->formulaireMotDePasse(), v);
     }},
    {"menuA", [](T& t, V v) { t.enLigne(); v(t.ouvrir(t.f->mnABtn, numeroFenetre::menuA)); },
     {"editTxt(0)", "editTxt(2)", "editTxt(3)", "downBtn", "ExitBtn"}},
    {"menuBGen", [](T& t, V v) { t.enLigne(); v(t.menuB()); }},
    {"menuBP", [](T& t, V v) {
         t.enLigne();
         v(t.ouvrir(nomme(t.menuB(), "progGammeBtn"), numeroFenetre::menuBP));
     }},
    {"copyNema", [](T& t, V v) {
         t.enLigne();
         QWidget* bp = t.ouvrir(nomme(t.menuB(), "progGammeBtn"), numeroFenetre::menuBP);
         v(t.ouvrir(nomme(bp, "copyBtn"), numeroFenetre::copyNema));
     }},
    {"progNema", [](T& t, V v) {
         t.enLigne();
         QWidget* bp = t.ouvrir(nomme(t.menuB(), "progGammeBtn"), numeroFenetre::menuBP);
         v(t.ouvrir(nomme(bp, "progGammeBtn"), numeroFenetre::progNema));
     }, ordreProgNema()},
    {"printW", [](T& t, V v) {
         t.enLigne();
         t.ouvrirModal(nomme(t.menuB(), "printBtn"), fenetre(numeroFenetre::printW), v);
     }},
    {"menuRelNew", [](T& t, V v) {
         t.enLigne();
         QWidget* c = t.ouvrir(t.f->mnCBtn, numeroFenetre::menuRelNew);
         // The comparator fields show once its function has a relay.
         cliquer(nomme(c, "f(55)"));
         evenements();
         v(c);
     }},
    {"menuStart", [](T& t, V v) { t.enLigne(); v(t.menuStart()); }, {}, "stopConvBtn"},
    {"newFreqW", [](T& t, V v) {
         t.enLigne();
         t.ouvrirModal(nomme(t.menuStart(), "newConsBtn"), fenetre(numeroFenetre::newFreqW), v);
     }},
    {"menuD", [](T& t, V v) {
         t.enLigne();
         t.ouvrirModal(nomme(t.menuStart(), "menuDBtn"), fenetre(numeroFenetre::menuD), v);
     }},
    // The setpoint's button, clicked, stays greyed until the setpoint is sent.
    {"menuStartApresConsigne", [](T& t, V v) {
         t.enLigne();
         QWidget* s = t.menuStart();
         QWidget* b = nomme(s, "newConsBtn");
         b->setFocus(Qt::MouseFocusReason);
         t.ouvrirModal(b, fenetre(numeroFenetre::newFreqW), [](QWidget*) {
             QWidget* champ = QApplication::focusWidget();
             QTest::keyClicks(champ, QStringLiteral("45"));
             QTest::keyClick(champ, Qt::Key_Return);
             evenements();
         });
         EXPECT_EQ(t.banc.sim.commandes, QStringList{"$F45"});
         for (int i = 0; i < 50 && QApplication::activeWindow() != s; ++i) QTest::qWait(5);
         v(s);
     }, {}, "stopConvBtn"},
};
} // namespace

INSTANTIATE_TEST_SUITE_P(Fenetres, OrdreTabulation, ::testing::ValuesIn(casOrdre),
                         [](const auto& i) { return std::string(i.param.nom); });
