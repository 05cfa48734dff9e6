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
