#pragma once
// Menu B general on the test bench: the real main window, the simulated
// converter, scripted boxes, and stand-ins for the windows it opens.

#include "app/fixture.h"

#include "menus/fenetremenubgen.h"
#include "model/partitions.h"
#include "model/tables.h"
#include "widgets/groupeoptions.h"
#include "widgets/fenetrezelto.h"

#include <QApplication>

#include <memory>

// A window of the program that only counts its showings.
class FenetreFactice : public FenetreZelto {
public:
    using FenetreZelto::FenetreZelto;
    int activations = 0;
    int modeALAffichage = -1;

protected:
    void Form_Load() override { modeALAffichage = modeCopie; }
    void Form_Activate() override { ++activations; }
};

class MenuBGen : public Appli {
protected:
    menuBGen* m() const { return f->fenetreMenuBGen(); }
    static void traiter()
    {
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
    }
    // Main window shown, on line with a converter of that version.
    void brancher(const char* version = "18A")
    {
        banc.sim.version = QString::fromLatin1(version);
        demarrer();
        allerEnLigne();
    }
    // MENU "B" with the password already given.
    void ouvrir()
    {
        passwordOk = true;
        f->mnBBtn->click();
        traiter();
    }
    // Wire lines since mark(), the watchdog's bare line feeds left out.
    QStringList lignes() const
    {
        QStringList l = banc.sim.journal.mid(debut_);
        l.removeAll(QString());
        return l;
    }
    void marquer() { debut_ = static_cast<int>(banc.sim.journal.size()); }
    // The data file written off line with the start-up tables, as lines.
    QStringList fichierDefaut();
    QString ecrireLignes(const char* nom, const QStringList& l);

    int debut_ = 0;
};

// True when attendu appears in l in this order (other lines between).
inline bool sousSuite(const QStringList& l, const QStringList& attendu)
{
    int i = 0;
    for (const QString& ligne : l)
        if (i < attendu.size() && ligne == attendu[i]) ++i;
    return i == attendu.size();
}
