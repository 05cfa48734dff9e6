#include "portsimule.h"

#include "convertisseursim.h"
#include "horlogevirtuelle.h"

#include <QTimer>

#include <deque>
#include <limits>

// Bytes on their way, shared with the clock's source (which may outlive the port).
struct PortSimule::Etat {
    struct Envoi {
        double arrivee;
        QByteArray octets;
    };
    std::deque<Envoi> enRoute;   // in arrival order
    QByteArray recus;            // arrived, not yet read

    void arriver(double maintenant)
    {
        while (!enRoute.empty() && enRoute.front().arrivee <= maintenant + 1e-12) {
            recus += enRoute.front().octets;
            enRoute.pop_front();
        }
    }
    double prochaine(double maintenant) const
    {
        for (const Envoi& e : enRoute)
            if (e.arrivee > maintenant) return e.arrivee;
        return std::numeric_limits<double>::infinity();
    }
    void envoyer(double arrivee, const QByteArray& octets)
    {
        // Keep arrival order: a later byte never overtakes an earlier one.
        if (!enRoute.empty() && enRoute.back().arrivee > arrivee) arrivee = enRoute.back().arrivee;
        enRoute.push_back({arrivee, octets});
    }
};

PortSimule::PortSimule(ConvertisseurSim& sim, HorlogeVirtuelle& horloge)
    : sim_(sim), horloge_(horloge), etat_(std::make_shared<Etat>())
{
    std::weak_ptr<Etat> faible = etat_;
    HorlogeVirtuelle* h = &horloge_;
    horloge_.ajouterSource([faible, h]() {
        if (auto e = faible.lock()) return e->prochaine(h->maintenant());
        return std::numeric_limits<double>::infinity();
    });
}

PortSimule::~PortSimule() = default;

int PortSimule::open()
{
    if (erreurOuverture != 0) return erreurOuverture;
    if (perdu_) close();
    if (ouvert_) return erreursPort::dejaOuvert;
    ouvert_ = true;
    ++nbOuvertures;
    etat_->enRoute.clear();
    etat_->recus.clear();
    ligne_.clear();
    reponseJusqua_ = 0;
    return 0;
}

void PortSimule::perdre()
{
    if (!isOpen()) return;
    perdu_ = true;
    erreurOuverture = erreursPort::indisponible;
    etat_->enRoute.clear();
    etat_->recus.clear();
    std::weak_ptr<Etat> faible = etat_;
    QTimer::singleShot(0, [faible, this] {
        // The port (sole owner of its state) is still there.
        if (faible.lock() && surPerte) surPerte();
    });
}

void PortSimule::close()
{
    perdu_ = false;
    if (!ouvert_) return;
    ouvert_ = false;
    ++nbFermetures;
    etat_->enRoute.clear();
    etat_->recus.clear();
    ligne_.clear();
}

void PortSimule::recevoir()
{
    etat_->arriver(horloge_.maintenant());
}

int PortSimule::inBufferCount()
{
    if (!isOpen()) return 0;
    recevoir();
    return int(etat_->recus.size());
}

QByteArray PortSimule::input()
{
    if (!isOpen()) return QByteArray();
    recevoir();
    QByteArray r;
    r.swap(etat_->recus);
    return r;
}

void PortSimule::output(const QByteArray& octets)
{
    if (!isOpen()) return;
    const double t = horloge_.maintenant();
    recevoir();
    for (char c : octets) {
        if (!isOpen()) return;
        octetsEcrits += c;
        ecritures.push_back({t, c, int(etat_->recus.size())});
        if (t + 1e-9 < reponseJusqua_) ++ecrituresPendantReponse;
        if (c == '\n') {
            const QByteArray reponse = sim_.traiterLigne(ligne_);
            ligne_.clear();
            if (!reponse.isEmpty()) {
                etat_->envoyer(t + sim_.delaiReponse, reponse);
                reponseJusqua_ = t + sim_.delaiReponse;
            }
        } else {
            ligne_ += c;
            if (!sim_.sansEcho && !sim_.silence) {
                etat_->envoyer(t + delaiEcho, QByteArray(1, c));
                if (parasiteApresEcho > 0) etat_->envoyer(t + delaiEcho + parasiteApresEcho, QByteArray(1, '~'));
            }
        }
        if (perteApresOctets >= 0 && octetsEcrits.size() >= perteApresOctets) perdre();
    }
}

bool PortSimule::waitForInput(int millisecondes)
{
    if (!isOpen()) return false;
    return horloge_.attendreDonnees(*this, millisecondes / 1000.0);
}
