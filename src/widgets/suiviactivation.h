#pragma once
// Activation of the program's windows (Form_Activate): raised on the first
// activation after a window is shown, and when activation passes from
// another of the program's windows. A message box, a common dialog or
// another application in between raises nothing. A disabled window that
// becomes active hands the activation to the program window that has the
// hand.

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

class SuiviActivation : public QObject {
    Q_OBJECT
public:
    // Follows the window; the tracker lives as the window's child.
    SuiviActivation(QWidget* fenetre, std::function<void()> Form_Activate);

    // Activates the window (a child unloaded and gave it back the hand);
    // Form_Activate follows at the latest once the current handler returns.
    void demanderActivation();
    // The tracker of a window, or null.
    static SuiviActivation* de(const QWidget* fenetre);

    // The program window activated last.
    static QWidget* derniere();
    // Forgets the last window (tests).
    static void oublier();

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void activer();
    void passerLaMain();

    QWidget* fenetre_;
    std::function<void()> activate_;
    bool premiere_ = true;   // next activation follows a show
};
