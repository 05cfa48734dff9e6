#pragma once
// A clock that advances only when waited on: a 4-second time-out costs no
// real time. Timers fire inside traiterEvenements(), never re-entered.

#include "platform/horloge.h"

#include <functional>
#include <vector>

class MinuterieVirtuelle;

class HorlogeVirtuelle : public IHorloge {
public:
    HorlogeVirtuelle();
    ~HorlogeVirtuelle() override;

    double maintenant() override { return t_; }
    void attendre(double secondes) override;
    bool attendreDonnees(ISerialPort& port, double secondesMax) override;
    void traiterEvenements() override;
    std::unique_ptr<IMinuterie> creerMinuterie() override;

    // Time passes in the event loop: timers fire at their times.
    void avancer(double secondes);
    // Something outside (the simulated converter) tells when it next acts.
    void ajouterSource(std::function<double()> prochainEvenement);
    void viderSources() { sources_.clear(); }

    // Called at every event processing (a click during a reply wait...).
    std::function<void()> surEvenements;

    int nbTraitements = 0;    // calls of traiterEvenements
    int nbAttentesBloquantes = 0;

private:
    friend class MinuterieVirtuelle;
    double prochainEvenement() const;
    double prochainTick() const;
    void declencherMinuteries();

    double t_ = 1000.0;
    std::vector<std::function<double()>> sources_;
    std::vector<MinuterieVirtuelle*> minuteries_;
    bool dansEvenements_ = false;
};
