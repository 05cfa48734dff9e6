#pragma once
// Got-focus and lost-focus steps of a control, as the original window
// system raised them: focus taken by a message box, a popup or another
// application is no loss, and getting it back is no gain.

#include <QObject>

#include <functional>

#include <QColor>
#include <QPalette>

class QAbstractButton;
class QWidget;

class EvenementsFocus : public QObject {
    Q_OBJECT
public:
    EvenementsFocus(QWidget* controle, std::function<void()> gotFocus, std::function<void()> lostFocus);

    std::function<void()> gotFocus;
    std::function<void()> lostFocus;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    bool suspendu_ = false;   // lost to another window, not to a control
    bool aLeFocus_ = false;   // got-focus step ran, lost-focus step not yet
};

// While one lives, focus moves made by code (a focused control disabled or
// hidden) run no got-focus or lost-focus step. A control the focus fell on
// meanwhile loses it again when the last one ends, so no field holds the
// focus without its got-focus step.
class FocusParCode {
public:
    FocusParCode();
    ~FocusParCode();
    FocusParCode(const FocusParCode&) = delete;
    FocusParCode& operator=(const FocusParCode&) = delete;
    static bool actif();
};

// A hidden window forgets the control that had the focus when it showed
// last: its next showing starts on the control its load steps set, else on
// the first one in tab order.
void oublierFocus(QWidget* fenetre);

// From the window's show to the end of its first activation the got-focus
// steps of its controls wait; then the control the load or activation steps
// gave the focus, else the first control in tab order that can take it,
// gets the focus and its steps run once, after the activation's. A focus
// the window system gave on activation, or moved from a control disabled or
// hidden meanwhile, is no choice of the steps. Hiding the window ends the
// wait without any step.
void retenirPremierFocus(QWidget* fenetre);
void donnerPremierFocus(QWidget* fenetre);

// Hooks the steps on the control (either may be empty); the filter lives as
// the control's child.
EvenementsFocus* surFocus(QWidget* controle, std::function<void()> gotFocus, std::function<void()> lostFocus);

// A colour given by a focus step: set for the active and inactive colour
// groups only, so a disabled control keeps the style's disabled colours.
void couleurFocus(QWidget* controle, QPalette::ColorRole role, const QColor& couleur);
// The role back to the system colour (active and inactive groups).
void couleurSysteme(QWidget* controle, QPalette::ColorRole role);
// The highlight-text colour when it reads on that background (contrast of
// at least 4.5:1), else the button text.
QColor texteSurFond(const QWidget* controle, const QColor& fond);

// Runs retablir when the control's focus ends on a road that raises no
// lost-focus step: its window hides (close, unload) or it is disabled. The
// watcher lives as the control's child.
QObject* retablirEnFinDeFocus(QWidget* controle, std::function<void()> retablir);

// Option focus colours: with the focus, the highlight as background and a
// text that reads on it; leaving, closing, unloading or disabling puts the
// system colours back.
void couleursFocusOption(QAbstractButton* option, const QColor& fond = QColor());
