#pragma once
// Got-focus and lost-focus steps of a control, as the original window
// system raised them: focus taken by a message box, a popup or another
// application is no loss, and getting it back is no gain.

#include <QObject>

#include <functional>

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

// Option focus colours: with the focus, the button-face background and the
// highlight-text colour; when it leaves, the text goes back to button text.
void couleursFocusOption(QAbstractButton* option);
