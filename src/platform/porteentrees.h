#pragma once
// User input during the waits on the converter. The reply wait, the link
// claim, the link test and the watchdog's probe process pending events, so
// that windows repaint and timers tick; the user's keys, mouse buttons,
// mnemonics and close requests are not handled there, where they would
// start an exchange inside another one's wait:
// - during an exchange that leaves the user's windows in use (the
//   watchdog's probe, a working-display tick, the working display's opening
//   read, menu D's send of a value) they stay in the window system's queue
//   and reach the program once the exchange has returned, in order and
//   through Qt's own checks, as if there had been no wait;
// - during any other road the user started (going on line, a read, a
//   download, a save, a print) they are refused, and a click, a mnemonic,
//   Enter or a close request beeps.
// A box or dialog opened inside the wait runs a loop of its own and takes
// its input as usual.
// Held input is judged against the controls as the user saw them: a held
// click, key or mnemonic aimed at a control that the exchange enabled or
// showed, or at one disabled meanwhile, is refused with a beep, and input
// held for a window hidden meanwhile goes nowhere. Held means made, by the
// window system's clock, before the exchange's end; on X11 that end is
// marked on the server's clock, elsewhere it is not known and input
// delivered just after the exchange counts as held.

#include <functional>
#include <optional>

namespace entrees {
enum class Regle {
    refuser,    // a road the user started
    differer,   // an exchange that leaves the windows in use
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

// An exchange holds the link at this event-loop level: a road started from
// a timer waits until it has returned.
bool echangeEnCours();

// Processes pending events as the exchange open at this loop level allows:
// deferred input stays queued. The clocks' event pump.
void traiterEvenementsQt();

// While one lives, the user's input at the event-loop level it was made at
// is refused, audibly: a close request accepted is the last input the
// program takes until its road has run.
class EntreesRefusees {
public:
    EntreesRefusees();
    ~EntreesRefusees();
    EntreesRefusees(const EntreesRefusees&) = delete;
    EntreesRefusees& operator=(const EntreesRefusees&) = delete;
    // The loop that made it is the one running now (not a box's inside it).
    bool auNiveauCourant() const;

private:
    int niveau_;
};

// The window system's clock of input events, in milliseconds, for tests
// that queue input with timestamps of their own (nullopt: not known).
// Without it, X11's end marks are used.
void definirHorlogeEntrees(std::function<std::optional<unsigned long>()> horloge);

// Processes pending events in the middle of a road the user started (the
// few loops that let windows repaint between exchanges): user input is
// refused there as in the road's waits.
void traiterEvenementsRoute();
