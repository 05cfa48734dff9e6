#pragma once
// The working display opened by the main window's button, on the simulated
// converter and the virtual clock.

#include "app/fixture.h"

#include "link/transaction.h"
#include "model/tables.h"
#include "platform/registrefenetres.h"
#include "start/menud.h"
#include "start/menustart.h"
#include "start/newfreqw.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

class Start : public Appli {
protected:
    menuStart* ms() const { return dynamic_cast<menuStart*>(registre().fenetre(numeroFenetre::menuStart)); }
    newFreqW* nf() const { return dynamic_cast<newFreqW*>(registre().fenetre(numeroFenetre::newFreqW)); }
    menuD* md() const { return dynamic_cast<menuD*>(registre().fenetre(numeroFenetre::menuD)); }

    // On line, then the working display's button; n0 = lines before the click.
    void ouvrir(const std::function<void()>& avantClic = {})
    {
        demarrer();
        allerEnLigne();
        if (avantClic) avantClic();
        n0 = banc.sim.journal.size();
        f->startBtn->click();
        banc.horloge.avancer(0.01);
    }
    QStringList depuisOuverture() const { return journalDepuis(n0); }
    // Lines sent from now on during that many seconds.
    QStringList pendant(double secondes)
    {
        const int n = banc.sim.journal.size();
        banc.horloge.avancer(secondes);
        return journalDepuis(n);
    }
    // Runs action once the window shows (inside its modal loop).
    static void quandVisible(std::function<QWidget*()> fenetre, std::function<void()> action, int essais = 20000)
    {
        QTimer::singleShot(0, [fenetre, action, essais] {
            QWidget* w = fenetre();
            // One more round: the window's activation comes first.
            if (w && w->isVisible()) QTimer::singleShot(0, action);
            else if (essais > 0) quandVisible(fenetre, action, essais - 1);
        });
    }
    void pendantDialogue(std::function<void()> action)
    {
        quandVisible([this] { return static_cast<QWidget*>(nf()); }, std::move(action));
    }
    void pendantMenuD(std::function<void()> action)
    {
        quandVisible([this] { return static_cast<QWidget*>(md()); }, std::move(action));
    }
    static void evenements()
    {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }
    // Focus into a field, its text replaced by typed keys.
    static void saisir(QLineEdit* e, const QString& texte)
    {
        e->window()->activateWindow();
        e->setFocus(Qt::OtherFocusReason);
        evenements();
        e->selectAll();
        QTest::keyClicks(e, texte);
    }
    // Enter: the validator checks the value and moves the focus on.
    static void valider(QLineEdit* e) { QTest::keyClick(e, Qt::Key_Return); evenements(); }

    int n0 = 0;
};
