#pragma once
// The windows the core writes into, seen through small interfaces. A null
// entry means the window is not loaded: the core then leaves it alone and
// never creates it. Controls are named as in the window ("editTxtCrtMot");
// an element of a control array is named with its index ("Label(41)").

#include "link/fenetreprincipale.h"

#include <QString>

class IVue {
public:
    virtual ~IVue() = default;

    virtual bool estVisible() const = 0;
    // Text of a field, caption of a label, button or frame.
    virtual void setTexte(const QString& controle, const QString& texte) = 0;
    virtual QString texte(const QString& controle) const = 0;
    virtual void setEnabled(const QString& controle, bool actif) = 0;
    virtual void setVisible(const QString& controle, bool visible) = 0;
    // Selects element index of an option group, running its click steps.
    virtual void selectionnerOption(const QString& groupe, int index) = 0;
    virtual bool optionSelectionnee(const QString& groupe, int index) const = 0;
    // Panel 1 of the window's status bar.
    virtual void setTexteStatut(const QString& texte) = 0;
};

// Menu B general (menuBGen).
class IVueMenuBGen : public IVue {};

// Menu B partitions (menuBP).
class IVueMenuBP : public IVue {};

// Menu D (menuD): MCM fields and the mcmChk options.
class IVueMenuD : public IVue {};

// Menu A (menuA): the device-data fields editTxt(0) to editTxt(5).
class IVueMenuA : public IVue {
public:
    virtual void setTabStop(const QString& controle, bool arret) = 0;
    virtual void setTabIndex(const QString& controle, int index) = 0;
};

// Menu C (menuRelNew): grid f(6 x row + relay), san1Chk, san2Chk.
class IVueMenuC : public IVue {
public:
    virtual void setInfoBulle(const QString& controle, const QString& texte) = 0;
    virtual void setTitre(const QString& titre) = 0;
};

struct Vues {
    IVueMenuBGen* menuBGen = nullptr;
    IVueMenuBP* menuBP = nullptr;
    IVueMenuA* menuA = nullptr;
    IVueMenuC* menuRelNew = nullptr;
    IVueMenuD* menuD = nullptr;
};

// The windows loaded now; each window registers itself at load and clears
// its entry at unload.
Vues& vues();

// "Label" and 41 give "Label(41)".
inline QString element(const QString& controle, int index)
{
    return controle + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}
