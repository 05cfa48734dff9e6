#pragma once
// User input during the waits on the converter. The reply wait, the link
// claim, the link test and the watchdog's probe process pending events, so
// that windows repaint and timers tick; the user's keys, mouse buttons,
// mnemonics and close requests are not handled there, where they would
// start an exchange inside another one's wait:
// - during an exchange the user did not start (the watchdog's probe, a
//   working-display tick) they are held, and handled once that exchange
//   has returned, as they came, on the controls as they are then;
// - during a road the user started (going on line, a read, a download, a
//   save, a print) they are refused, a close request with a beep.
// A box or dialog opened inside the wait takes its input as usual.

#include <memory>

namespace entrees {
enum class Regle {
    refuser,    // a road the user started
    differer,   // an exchange the user did not start
};
}

// An exchange holds the link while one lives; the outermost one of an
// event-loop level gives the rule to those nested in it (its transactions).
class EchangeEnCours {
public:
    explicit EchangeEnCours(entrees::Regle regle = entrees::Regle::refuser);
    ~EchangeEnCours();
    EchangeEnCours(const EchangeEnCours&) = delete;
    EchangeEnCours& operator=(const EchangeEnCours&) = delete;
};

// Processes pending events in the middle of a road the user started (the
// few loops that let windows repaint between exchanges): user input is
// refused there as in the road's waits.
void traiterEvenementsRoute();

// User input held back and not yet handled.
int entreesRetenues();
