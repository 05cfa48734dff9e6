#include "horlogereelle.h"

#include "porteentrees.h"
#include "portserie.h"

#include <QTimer>

#include <algorithm>
#include <cmath>
#include <thread>

namespace {

using horlogeSys = std::chrono::steady_clock;
constexpr double pasErreur = 0.005;   // pause when the port fails at once

class MinuterieQt : public IMinuterie {
public:
    MinuterieQt()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this]() {
            // A tick that processes events must not run again inside itself.
            if (enCours_ || !surTick) return;
            enCours_ = true;
            surTick();
            enCours_ = false;
        });
    }
    void setInterval(int ms) override
    {
        timer_.setInterval(ms);
    }
    int interval() const override { return timer_.interval(); }
    void setEnabled(bool actif) override
    {
        if (actif == timer_.isActive()) return;
        if (actif) timer_.start();
        else timer_.stop();
    }
    bool enabled() const override { return timer_.isActive(); }

private:
    QTimer timer_;
    bool enCours_ = false;
};

}  // namespace

HorlogeReelle::HorlogeReelle() : debut_(horlogeSys::now()) {}

double HorlogeReelle::maintenant()
{
    return std::chrono::duration<double>(horlogeSys::now() - debut_).count();
}

void HorlogeReelle::attendre(double secondes)
{
    if (!(secondes > 0)) return;
    const auto fin = horlogeSys::now() + std::chrono::duration_cast<horlogeSys::duration>(
                                             std::chrono::duration<double>(secondes));
    if (secondes > 0.002) {
        std::this_thread::sleep_until(fin);
        return;
    }
    // Short pause: sleep while the wake-up delay allows, spin the rest.
    constexpr auto marge = std::chrono::microseconds(200);
    if (fin - horlogeSys::now() > marge) std::this_thread::sleep_until(fin - marge);
    while (horlogeSys::now() < fin) {
    }
}

bool HorlogeReelle::attendreDonnees(ISerialPort& port, double secondesMax)
{
    const double fin = maintenant() + std::max(0.0, secondesMax);
    while (true) {
        if (port.inBufferCount() > 0) return true;
        const double reste = fin - maintenant();
        if (reste <= 0) return false;
        // Closed, or its device went away: nothing can come.
        if (!port.isOpen()) return false;
        const double avant = maintenant();
        if (port.waitForInput(std::max(1, int(std::ceil(reste * 1000.0))))) continue;
        if (!port.isOpen()) return false;
        // Back at once with nothing for another reason: no spinning.
        const double resteApres = fin - maintenant();
        if (maintenant() - avant < pasErreur && resteApres > 0) attendre(std::min(resteApres, pasErreur));
    }
}

void HorlogeReelle::traiterEvenements()
{
    traiterEvenementsQt();
}

std::unique_ptr<IMinuterie> HorlogeReelle::creerMinuterie()
{
    return std::make_unique<MinuterieQt>();
}
