#pragma once
// The real clock: steady clock, blocking waits on the port, the Qt event
// loop, QTimer-based window timers.

#include "horloge.h"

#include <chrono>

class HorlogeReelle : public IHorloge {
public:
    HorlogeReelle();

    double maintenant() override;
    // Pauses up to 2 ms are precise (sleep, then spin the last fraction);
    // longer ones sleep.
    void attendre(double secondes) override;
    bool attendreDonnees(ISerialPort& port, double secondesMax) override;
    void traiterEvenements() override;
    std::unique_ptr<IMinuterie> creerMinuterie() override;

private:
    std::chrono::steady_clock::time_point debut_;
};
