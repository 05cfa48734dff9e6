// Every window of the program, brought up by the user's road (on line, on
// the simulated converter): a mouse move over an option, a field or a button
// shows its hint in panel 1, Tab into an option group lands on its selected
// option, a window that a button opens is the active window, and the control
// that has the focus as a window comes up, shown again too, has run its
// got-focus steps.
#define QTEST_QPA_MOUSE_HANDLING
#include "app/fixture.h"
#include "controles/outils.h"

#include "platform/registrefenetres.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "uf/prognema.h"
#include "widgets/fenetrezelto.h"
#include "widgets/groupeoptions.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <utility>

namespace {

// One control of each kind: its name and the hint a move over it shows (a
// field's hint, built from its limits, only needs to be there).
struct Survol {
    const char* option;
    int indicationOption;
    const char* champ;
    const char* bouton;
};

} // namespace

class Controles : public Appli {
protected:
    // Mouse moves over the window's button, field and option.
    void survoler(QWidget* w, const Survol& s)
    {
        auto* z = dynamic_cast<FenetreZelto*>(w);
        ASSERT_TRUE(z && z->isVisible()) << (w ? w->objectName().toStdString() : "?");
        const std::string nom = w->objectName().toStdString();
        QLabel* panneau = z->panneau1();
        panneau->setText(QStringLiteral("x"));
        QTest::mouseMove(nomme(w, s.bouton));
        EXPECT_EQ(panneau->text(), QString()) << nom << " " << s.bouton;
        QTest::mouseMove(nomme(w, s.champ));
        EXPECT_FALSE(panneau->text().isEmpty()) << nom << " " << s.champ;
        if (s.option) {
            QTest::mouseMove(nomme(w, s.bouton));
            QTest::mouseMove(nomme(w, s.option));
            EXPECT_EQ(panneau->text(), texteChaine(s.indicationOption)) << nom << " " << s.option;
        }
        ++survolees;
    }

    // For each option group of the window with a selection: the second
    // option is selected when the first one was (unless selecter is false),
    // then Tab from the control before the group lands on the selected one.
    void tabuler(QWidget* w, bool selecter = true)
    {
        const std::string nom = w->objectName().toStdString();
        for (GroupeOptions* g : w->findChildren<GroupeOptions*>()) {
            if (g->selection() < 0) continue;
            QList<QAbstractButton*> options;
            for (int i = 0; i < 120; ++i)
                if (QAbstractButton* o = g->option(i)) options << o;
            const int avantChoix = g->selection();
            if (selecter && g->option(avantChoix) == options.first()) g->selectionner(avantChoix + 1);
            QAbstractButton* choisie = g->option(g->selection());
            if (!choisie || !choisie->isEnabled() || !choisie->isVisible()) {
                g->selectionner(avantChoix);
                continue;
            }
            // The control before the group in tab order.
            QWidget* avant = choisie;
            do avant = avant->previousInFocusChain();
            while (avant != choisie
                   && (options.contains(avant) || !(avant->focusPolicy() & Qt::TabFocus) || !avant->isEnabled()
                       || !avant->isVisible() || avant->window() != w));
            avant->setFocus(Qt::TabFocusReason);
            evenements();
            ASSERT_EQ(QApplication::focusWidget(), avant) << nom;
            QTest::keyClick(avant, Qt::Key_Tab);
            evenements();
            EXPECT_EQ(QApplication::focusWidget(), choisie)
                << nom << ": Tab from " << avant->objectName().toStdString() << " to "
                << choisie->objectName().toStdString() << " reached "
                << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none");
            ++groupes;
            // The window's data as it was.
            g->selectionner(avantChoix);
        }
    }

    // The control that holds the focus as the window comes up (premier when
    // given, a field with its whole text selected) shows what a got-focus
    // step gives it: the same hint and colours as a focus-in now.
    void verifierPremierFocus(QWidget* w, const char* premier)
    {
        const std::string nom = w->objectName().toStdString();
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus && focus->window() == w) << nom;
        if (premier) {
            EXPECT_EQ(focus, nomme(w, premier)) << nom << " starts on " << focus->objectName().toStdString();
            if (auto* e = qobject_cast<QLineEdit*>(focus)) {
                EXPECT_EQ(e->selectedText(), e->text()) << nom;
            }
        }
        QLabel* panneau = dynamic_cast<FenetreZelto*>(w)->panneau1();
        auto etat = [&] {
            const QPalette p = focus->palette();
            return QStringList{panneau->text(), p.color(QPalette::Base).name(), p.color(QPalette::Window).name(),
                               p.color(QPalette::ButtonText).name(), QString::number(focus->autoFillBackground())};
        };
        const QStringList avant = etat();
        QFocusEvent e(QEvent::FocusIn, Qt::OtherFocusReason);
        QApplication::sendEvent(focus, &e);
        EXPECT_EQ(avant.join(u'|').toStdString(), etat().join(u'|').toStdString())
            << nom << " " << focus->objectName().toStdString();
        ++premiersFocus;
    }

    // A modeless window opened by a button: active, with the focus inside.
    QWidget* ouvrir(QWidget* b, int numero, const char* premier = nullptr)
    {
        if (auto* a = qobject_cast<QAbstractButton*>(b)) a->click();
        banc.horloge.avancer(0.05);
        evenements();
        QWidget* w = fenetre(numero);
        EXPECT_TRUE(w && w->isVisible()) << numero;
        if (!w) return w;
        for (int i = 0; i < 50 && QApplication::activeWindow() != w; ++i) QTest::qWait(5);
        EXPECT_EQ(QApplication::activeWindow(), w) << w->objectName().toStdString();
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus && focus->window() == w) << w->objectName().toStdString();
        verifierPremierFocus(w, premier);
        return w;
    }
    void fermer(int numero)
    {
        registre().fenetre(numero)->decharger();
        banc.horloge.avancer(0.05);
    }
    // A modal window opened by a button on the next timer ticks: action
    // runs inside its loop, then it is closed.
    void ouvrirModal(QWidget* b, int numero, std::function<void(QWidget*)> action, const char* premier = nullptr)
    {
        QWidget* w = fenetre(numero);
        attendreModal(w, std::move(action), premier);
        if (auto* a = qobject_cast<QAbstractButton*>(b)) a->click();
        banc.horloge.avancer(2.0);
        EXPECT_TRUE(vu_) << numero << " did not show";
        vu_ = false;
    }
    void attendreModal(QWidget* w, std::function<void(QWidget*)> action, const char* premier)
    {
        QTimer::singleShot(0, [this, w, action, premier] {
            if (!w->isVisible()) return attendreModal(w, action, premier);
            agirQuandActive(w, action, 50, premier);
        });
    }

    // The activation may come some event rounds after the show (slower
    // under the sanitizers): a bounded wait for it, then the action.
    void agirQuandActive(QWidget* w, std::function<void(QWidget*)> action, int essais, const char* premier)
    {
        QTimer::singleShot(essais > 0 && QApplication::activeWindow() != w ? 5 : 0, [this, w, action, essais, premier] {
            if (essais > 0 && QApplication::activeWindow() != w)
                return agirQuandActive(w, action, essais - 1, premier);
            vu_ = true;
            EXPECT_EQ(QApplication::activeWindow(), w) << w->objectName().toStdString();
            evenements();
            verifierPremierFocus(w, premier);
            action(w);
            dynamic_cast<IFenetre*>(w)->decharger();
        });
    }

    int survolees = 0;
    int premiersFocus = 0;
    int groupes = 0;
    bool vu_ = false;
};

TEST_F(Controles, IndicationsTabulationEtActivationDansChaqueFenetre)
{
    demarrer();
    allerEnLigne();
    ASSERT_TRUE(f->onLineChk());
    tabuler(f.get(), false);

    // The password accepted: the menu opened after the form has the hand.
    passwordOk = false;
    pendantModal([this] {
        passform* p = f->formulaireMotDePasse();
        p->editTxt[0]->setText(QStringLiteral("pirudo"));
        p->enterBtn_Click();
    });
    QWidget* bgen = ouvrir(f->mnBBtn, numeroFenetre::menuBGen, "startStopChk(0)");
    ASSERT_TRUE(passwordOk);
    survoler(bgen, {"startStopChk(1)", ids::infoMarcheArret, "editTxtUres", "saveBtn"});
    tabuler(bgen);

    QWidget* bp = ouvrir(nomme(bgen, "progGammeBtn"), numeroFenetre::menuBP);
    EXPECT_EQ(QApplication::focusWidget(), nomme(bp, "ExitBtn"));
    survoler(bp, {"irefChk(0)", ids::infoSourceIref, "editTxtNbPoles", "copyBtn"});
    tabuler(bp);
    QWidget* copie = ouvrir(nomme(bp, "copyBtn"), numeroFenetre::copyNema);
    survoler(copie, {nullptr, 0, "txtOrigCopy", "okBtn"});
    // Shown again after the focus was left elsewhere: the first field again.
    nomme(copie, "ExitBtn")->setFocus(Qt::MouseFocusReason);
    fermer(numeroFenetre::copyNema);
    ouvrir(nomme(bp, "copyBtn"), numeroFenetre::copyNema, "txtOrigCopy");
    fermer(numeroFenetre::copyNema);
    QWidget* uf = ouvrir(nomme(bp, "progGammeBtn"), numeroFenetre::progNema);
    // The point fields take input during a correction.
    dynamic_cast<progNema*>(uf)->corrBtn->click();
    evenements();
    survoler(uf, {nullptr, 0, "editTxt2", "AnnulBtn"});
    dynamic_cast<progNema*>(uf)->terminerBtn->click();
    evenements();
    fermer(numeroFenetre::progNema);
    fermer(numeroFenetre::menuBP);
    ouvrirModal(nomme(bgen, "printBtn"), numeroFenetre::printW, [this](QWidget* w) { tabuler(w); });
    fermer(numeroFenetre::menuBGen);

    QWidget* a = ouvrir(f->mnABtn, numeroFenetre::menuA);
    survoler(a, {nullptr, 0, "editTxt(0)", "downBtn"});
    nomme(a, "ExitBtn")->setFocus(Qt::MouseFocusReason);
    fermer(numeroFenetre::menuA);
    ouvrir(f->mnABtn, numeroFenetre::menuA, "editTxt(0)");
    fermer(numeroFenetre::menuA);

    QWidget* c = ouvrir(f->mnCBtn, numeroFenetre::menuRelNew);
    // The comparator fields show once its function has a relay.
    qobject_cast<QAbstractButton*>(nomme(c, "f(55)"))->click();
    survoler(c, {"f(1)", ids::infoAffectationRelais, "editTxtValComp", "downBtn"});
    tabuler(c);
    fermer(numeroFenetre::menuRelNew);

    QWidget* start = ouvrir(f->startBtn, numeroFenetre::menuStart);
    ouvrirModal(nomme(start, "newConsBtn"), numeroFenetre::newFreqW,
                [this](QWidget* w) { survoler(w, {nullptr, 0, "editTxt", "okBtn"}); });
    int hauteursMenuD[2] = {};
    ouvrirModal(nomme(start, "menuDBtn"), numeroFenetre::menuD, [this, &hauteursMenuD](QWidget* w) {
        hauteursMenuD[0] = w->height();
        survoler(w, {"origConsChk(1)", ids::infoSourceConsigne, "editTxtFiltre", "ExitBtn"});
        tabuler(w);
    });
    ouvrirModal(nomme(start, "menuDBtn"), numeroFenetre::menuD,
                [&hauteursMenuD](QWidget* w) { hauteursMenuD[1] = w->height(); }, "editTxtFiltre");
    // Laid out the same at every showing.
    EXPECT_EQ(hauteursMenuD[0], hauteursMenuD[1]);
    fermer(numeroFenetre::menuStart);

    EXPECT_EQ(survolees, 8);
    EXPECT_EQ(premiersFocus, 13);
    EXPECT_GE(groupes, 20);
}
