#pragma once
// What the link core needs of the main window: the serial control, the
// on-line option, the watchdog switch, status panel 1 and the controls that
// going off line and the window helpers enable or disable.

#include <QString>

class ISerialPort;

enum class ControlePrincipal {
    fenetre,        // the main window itself
    mnABtn, mnBBtn, mnCBtn, startBtn, ExitBtn, aboutBtn,
    offLineChk, onLineChk,
    comportFr, langueFr, onlineFr, menuFr,
};

class IFenetrePrincipale {
public:
    virtual ~IFenetrePrincipale() = default;

    virtual ISerialPort& MSComm1() = 0;

    // onLineChk.Value: true while the program is on line.
    virtual bool onLineChk() const = 0;
    // offLineChk on, onLineChk off, without running any click step.
    virtual void selectionnerHorsLigne() = 0;

    // The link watchdog Timer1.
    virtual bool timer1Enabled() const = 0;
    virtual void setTimer1Enabled(bool actif) = 0;
    // True while a watchdog tick waits for the converter's answer.
    virtual bool sondeEnCours() const = 0;

    // Panel 1 of StatusBar1.
    virtual void setTexteStatut(const QString& texte) = 0;
    virtual QString texteStatut() const = 0;

    virtual void setControleEnabled(ControlePrincipal c, bool actif) = 0;
    virtual void setLangueChkEnabled(int index, bool actif) = 0;   // 1 to 6
    virtual void setCommChkEnabled(int index, bool actif) = 0;     // 1 to 4

    virtual bool estVisible() const = 0;
    // Left, Top, Width, Height in twips, for centring other windows.
    virtual int leftTwips() const = 0;
    virtual int topTwips() const = 0;
    virtual int widthTwips() const = 0;
    virtual int heightTwips() const = 0;
};

// onLineChk of the installed main window; false when there is none.
bool enLigne();
