#pragma once
// Clock and event pump. Production: steady clock and the Qt event loop;
// tests: a virtual clock that advances only when waited on.

#include <functional>
#include <memory>

class ISerialPort;

// A window timer (the watchdog, the working display's poll). Its tick is
// never re-entered while it runs.
class IMinuterie {
public:
    virtual ~IMinuterie() = default;
    virtual void setInterval(int millisecondes) = 0;
    virtual int interval() const = 0;
    virtual void setEnabled(bool actif) = 0;
    virtual bool enabled() const = 0;
    std::function<void()> surTick;
};

class IHorloge {
public:
    virtual ~IHorloge() = default;
    // Seconds since an arbitrary start, monotonic.
    virtual double maintenant() = 0;
    // Blocks for that many seconds without processing events.
    virtual void attendre(double secondes) = 0;
    // Blocks without processing events until the port has input or the time
    // has passed; true when input is waiting. A closed port (also one whose
    // device went away meanwhile) ends the wait at once.
    virtual bool attendreDonnees(ISerialPort& port, double secondesMax) = 0;
    // Processes pending window events (timers, clicks, repaints).
    virtual void traiterEvenements() = 0;
    virtual std::unique_ptr<IMinuterie> creerMinuterie() = 0;
};
