#include "horlogevirtuelle.h"

#include "platform/porteentrees.h"
#include "platform/portserie.h"


#include <algorithm>
#include <cmath>
#include <limits>

class MinuterieVirtuelle : public IMinuterie {
public:
    explicit MinuterieVirtuelle(HorlogeVirtuelle& h) : horloge_(h) { horloge_.minuteries_.push_back(this); }
    ~MinuterieVirtuelle() override
    {
        auto& v = horloge_.minuteries_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    void setInterval(int ms) override
    {
        interval_ = ms;
        if (enabled_) prochain_ = horloge_.t_ + interval_ / 1000.0;
    }
    int interval() const override { return interval_; }
    void setEnabled(bool actif) override
    {
        if (actif && !enabled_) prochain_ = horloge_.t_ + interval_ / 1000.0;
        enabled_ = actif;
    }
    bool enabled() const override { return enabled_; }

    double prochain() const
    {
        return (enabled_ && interval_ > 0 && !enCours_) ? prochain_ : std::numeric_limits<double>::infinity();
    }
    void declencher()
    {
        if (!enabled_ || interval_ <= 0 || enCours_ || horloge_.t_ + 1e-9 < prochain_) return;
        prochain_ = horloge_.t_ + interval_ / 1000.0;
        enCours_ = true;
        if (surTick) surTick();
        enCours_ = false;
    }

private:
    HorlogeVirtuelle& horloge_;
    int interval_ = 0;
    bool enabled_ = false;
    bool enCours_ = false;
    double prochain_ = 0.0;
};

HorlogeVirtuelle::HorlogeVirtuelle() = default;
HorlogeVirtuelle::~HorlogeVirtuelle() = default;

void HorlogeVirtuelle::attendre(double secondes)
{
    ++nbAttentesBloquantes;
    if (secondes > 0) t_ += secondes;
}

double HorlogeVirtuelle::prochainEvenement() const
{
    double p = std::numeric_limits<double>::infinity();
    for (const auto& s : sources_) p = std::min(p, s());
    return p;
}

double HorlogeVirtuelle::prochainTick() const
{
    double p = std::numeric_limits<double>::infinity();
    for (const auto* m : minuteries_) p = std::min(p, m->prochain());
    return p;
}

bool HorlogeVirtuelle::attendreDonnees(ISerialPort& port, double secondesMax)
{
    ++nbAttentesBloquantes;
    if (!port.isOpen()) return false;
    if (port.inBufferCount() > 0) return true;
    const double fin = t_ + std::max(0.0, secondesMax);
    const double p = prochainEvenement();
    t_ = (p > t_ && p < fin) ? p : fin;
    return port.inBufferCount() > 0;
}

void HorlogeVirtuelle::declencherMinuteries()
{
    // Copy: a tick may create or destroy timers.
    const std::vector<MinuterieVirtuelle*> copie = minuteries_;
    for (auto* m : copie)
        if (std::find(minuteries_.begin(), minuteries_.end(), m) != minuteries_.end()) m->declencher();
}

void HorlogeVirtuelle::traiterEvenements()
{
    ++nbTraitements;
    traiterEvenementsQt();
    declencherMinuteries();
    if (surEvenements) surEvenements();
}

void HorlogeVirtuelle::avancer(double secondes)
{
    const double fin = t_ + secondes;
    traiterEvenements();
    while (true) {
        const double inf = std::numeric_limits<double>::infinity();
        const double tick = prochainTick();
        const double source = prochainEvenement();
        const double p = std::min(tick > t_ ? tick : inf, source > t_ ? source : inf);
        if (!(p <= fin)) break;
        t_ = p;
        traiterEvenements();
    }
    if (t_ < fin) t_ = fin;
    traiterEvenements();
}

std::unique_ptr<IMinuterie> HorlogeVirtuelle::creerMinuterie()
{
    return std::make_unique<MinuterieVirtuelle>(*this);
}

void HorlogeVirtuelle::ajouterSource(std::function<double()> prochainEvenement)
{
    sources_.push_back(std::move(prochainEvenement));
}
