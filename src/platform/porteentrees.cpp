#include "porteentrees.h"

#include "horloge.h"
#include "marqueurx11.h"
#include "plateforme.h"
#include "servicesui.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QSet>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

// Open exchanges, outermost first, with the event-loop level each was
// opened at: a box opened inside a wait runs a loop of its own.
struct Portee {
    entrees::Regle regle;
    int niveau;
};
std::vector<Portee> portees;
// Levels whose input is refused outside any exchange.
std::vector<int> niveauxRefuses;

int niveauBoucle()
{
    return QThread::currentThread()->loopLevel();
}

// The rule of the outermost exchange open at this loop level.
std::optional<entrees::Regle> regleCourante()
{
    const int n = niveauBoucle();
    for (const Portee& p : portees)
        if (p.niveau == n) return p.regle;
    return std::nullopt;
}

bool niveauRefuse()
{
    return std::find(niveauxRefuses.begin(), niveauxRefuses.end(), niveauBoucle()) != niveauxRefuses.end();
}

// ---- Held input ----

std::function<std::optional<unsigned long>()> horlogeEntrees;

// Input times wrap at 32 bits.
bool pasApres(unsigned long t, unsigned long fin)
{
    return static_cast<qint32>(static_cast<quint32>(t) - static_cast<quint32>(fin)) <= 0;
}

// When nothing tells the window system's time at an exchange's end, input
// delivered up to this long after the handler that ran it has returned
// counts as held.
constexpr qint64 delaiFinInconnue = 500;

// A deferring exchange: what it enabled or showed, and the window system's
// time at its end once known.
struct Retenue {
    std::uint64_t numero = 0;
    bool finie = false;
    std::optional<unsigned long> fin;
    QElapsedTimer depuisRetour;   // since the handler that ran it returned
    QSet<const QWidget*> rendus;
};
std::vector<Retenue> retenues;
std::uint64_t derniereRetenue = 0;
// Enables and shows are noted from a deferring exchange's start until the
// handler that ran it has returned or input is delivered after it: what the
// window system does by itself, and what input's own handlers do, is not
// the exchange's.
bool enSuivi = false;
int cloturesEnAttente = 0;
// The time of the key a mnemonic comes from: its shortcut override goes
// just before it.
std::optional<unsigned long> tempsRaccourci;

Retenue* retenue(std::uint64_t numero)
{
    for (Retenue& r : retenues)
        if (r.numero == numero) return &r;
    return nullptr;
}

// An exchange whose end's time is not known holds, in doubt, the input
// delivered until a while after its handler returned.
bool finEnDoute(const Retenue& r)
{
    return !r.fin && (!r.depuisRetour.isValid() || r.depuisRetour.elapsed() <= delaiFinInconnue);
}

// The exchange held input made at t.
bool retient(const Retenue& r, unsigned long t)
{
    return r.finie && (r.fin ? pasApres(t, *r.fin) : finEnDoute(r));
}

// Old exchanges hold nothing any more: a bound on what is kept.
void limiterRetenues()
{
    constexpr unsigned long garde = 60000;
    constexpr std::size_t maximum = 64;
    std::optional<unsigned long> derniere;
    for (const Retenue& r : retenues)
        if (r.fin) derniere = r.fin;
    std::erase_if(retenues, [&](const Retenue& r) {
        if (!r.finie) return false;
        if (r.fin) return derniere && !pasApres(*derniere - garde, *r.fin);
        return !finEnDoute(r);
    });
    if (retenues.size() > maximum) retenues.erase(retenues.begin(), retenues.end() - maximum);
}

// Input made after an exchange's end was not held by it. The exchange whose
// handler is still running keeps its record.
void oublierRetenuesAvant(unsigned long t)
{
    const std::size_t gardees = enSuivi ? 1 : 0;
    auto fin = retenues.end() - std::min(gardees, retenues.size());
    retenues.erase(
        std::remove_if(retenues.begin(), fin, [t](const Retenue& r) { return r.finie && r.fin && !pasApres(t, *r.fin); }),
        fin);
}

bool estRetenue(unsigned long t)
{
    return std::any_of(retenues.begin(), retenues.end(), [t](const Retenue& r) { return retient(r, t); });
}

// The control or one of its parents was enabled or shown by an exchange
// that held input made at t.
bool renduPendant(const QWidget* cible, unsigned long t)
{
    for (const Retenue& r : retenues) {
        if (!retient(r, t)) continue;
        for (const QWidget* w = cible; w; w = w->parentWidget())
            if (r.rendus.contains(w)) return true;
    }
    return false;
}

// The window system's time of an input event. Input sent straight to a
// control (a test's) has none, nor has a close request.
std::optional<unsigned long> tempsDe(const QEvent* e)
{
    if (e->type() == QEvent::Shortcut) return std::exchange(tempsRaccourci, std::nullopt);
    if (!e->isInputEvent()) return std::nullopt;
    const quint64 t = static_cast<const QInputEvent*>(e)->timestamp();
    if (t == 0) return std::nullopt;
    return static_cast<unsigned long>(t);
}

QWidget* widgetDe(const QWindow* fenetre)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowHandle() == fenetre) return w;
    return nullptr;
}

// Keys, mouse buttons, mnemonics and close requests of the user. A window
// the program closes itself (a tooltip) is no close request.
bool estEntree(const QObject* o, const QEvent* e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
        return e->spontaneous() && (o->isWidgetType() || o->isWindowType());
    case QEvent::Shortcut:
        return o->isWidgetType();
    case QEvent::Close:
        // Judged where it reaches the window's widget: the platform window
        // takes the program's own closes as spontaneous too. The end of the
        // desktop session closes at once.
        return e->spontaneous() && o->isWidgetType() && static_cast<const QWidget*>(o)->isWindow()
               && !qApp->isSavingSession();
    default:
        return false;
    }
}

bool estPointeur(const QEvent* e)
{
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

// What the user meant as an action: a refused one is heard.
bool estDemande(const QEvent* e)
{
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::Shortcut:
    case QEvent::Close:
        return true;
    case QEvent::KeyPress: {
        const auto* k = static_cast<const QKeyEvent*>(e);
        return !k->isAutoRepeat() && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter);
    }
    default:
        return false;
    }
}

bool fenetreCachee(const QObject* o)
{
    return o->isWindowType() && !static_cast<const QWindow*>(o)->isVisible();
}

bool refuser(QObject* o, QEvent* e)
{
    if (estDemande(e) && !fenetreCachee(o)) ui().beep();
    if (e->type() == QEvent::Close) e->ignore();
    return true;
}

// Held input acts only on a control that was in use when it was made and
// still is.
bool refuserRetenue(QObject* o, QEvent* e, std::optional<unsigned long> temps)
{
    if (!temps) return false;
    const unsigned long t = *temps;
    oublierRetenuesAvant(t);
    if (!estRetenue(t)) return false;
    // A window hidden meanwhile (the link loss closed it) gets none of it.
    if (fenetreCachee(o)) {
        e->ignore();
        return true;
    }
    const QWidget* cible = nullptr;
    if (o->isWindowType()) {
        // The pointer's input is judged where it reaches the window, before
        // Qt gives the focus to the control under the pointer.
        if (!estPointeur(e)) return false;
        QWidget* fenetre = widgetDe(static_cast<QWindow*>(o));
        if (!fenetre) return false;
        cible = fenetre->childAt(static_cast<QSinglePointEvent*>(e)->position().toPoint());
        if (!cible) cible = fenetre;
    } else {
        if (estPointeur(e)) return false;
        cible = static_cast<QWidget*>(o);
    }
    if (cible->isEnabled() && cible->isVisible() && !renduPendant(cible, t)) return false;
    return refuser(o, e);
}

void finConnue(std::uint64_t numero, unsigned long temps)
{
    if (Retenue* r = retenue(numero)) r->fin = temps;
    limiterRetenues();
}

class PorteEntrees : public QObject {
public:
    PorteEntrees() : QObject(qApp), marqueur_(MarqueurX11::creer(finConnue)) { qApp->installEventFilter(this); }

    // Held input reaches this gate before any other filter.
    void passerDevant() { qApp->installEventFilter(this); }
    // Asks the window system's time at an exchange's end: false when it
    // cannot be known.
    bool marquer(std::uint64_t numero) { return marqueur_ && marqueur_->marquer(numero); }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        const QEvent::Type type = e->type();
        // The delayed click of a Qt dialog button's mnemonic comes with the
        // button's timer, which fires again once the wait is over.
        if (type == QEvent::Timer && qobject_cast<QAbstractButton*>(o)) return regleCourante().has_value();
        if (type == QEvent::EnabledChange || type == QEvent::Show) {
            if (enSuivi && !retenues.empty() && o->isWidgetType() && !e->spontaneous()) {
                const auto* w = static_cast<const QWidget*>(o);
                if (type == QEvent::Show || w->isEnabled()) retenues.back().rendus.insert(w);
            }
            return false;
        }
        if (type == QEvent::ShortcutOverride) tempsRaccourci = tempsDe(e);
        if (!estEntree(o, e)) return false;
        const std::optional<unsigned long> temps = tempsDe(e);
        if (regleCourante() || niveauRefuse()) return refuser(o, e);
        // Input delivered once no exchange is open: its handlers are not the
        // exchange's (a box inside a wait takes its input, the wait goes on).
        if (portees.empty()) enSuivi = false;
        return refuserRetenue(o, e, temps);
    }

private:
    std::unique_ptr<MarqueurX11> marqueur_;
};

QPointer<PorteEntrees> porte;

void installerPorte()
{
    if (!porte && qApp) porte = new PorteEntrees;
}

void commencerSuivi()
{
    if (!enSuivi || retenues.empty() || retenues.back().finie) {
        retenues.emplace_back();
        retenues.back().numero = ++derniereRetenue;
    }
    enSuivi = true;
}

void finirSuivi()
{
    if (retenues.empty() || retenues.back().finie) return;
    Retenue& r = retenues.back();
    r.finie = true;
    const std::uint64_t numero = r.numero;
    if (horlogeEntrees) r.fin = horlogeEntrees();
    else if (porte) porte->marquer(numero);
    limiterRetenues();
    if (!porte) return;
    porte->passerDevant();
    // What the rest of this handler enables counts as the exchange's.
    ++cloturesEnAttente;
    QMetaObject::invokeMethod(
        porte.data(),
        [numero] {
            if (Retenue* r = retenue(numero)) r->depuisRetour.start();
            if (--cloturesEnAttente == 0 && (retenues.empty() || retenues.back().finie)) enSuivi = false;
        },
        Qt::QueuedConnection);
}

} // namespace

EchangeEnCours::EchangeEnCours(entrees::Regle regle)
{
    installerPorte();
    if (regle == entrees::Regle::differer && !regleCourante()) commencerSuivi();
    portees.push_back({regle, niveauBoucle()});
}

EchangeEnCours::~EchangeEnCours()
{
    const entrees::Regle regle = portees.back().regle;
    portees.pop_back();
    if (regleCourante()) return;
    if (regle == entrees::Regle::differer) finirSuivi();
    // Input left queued is delivered by the next round of the loop, which
    // must not sleep first.
    if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance()) d->wakeUp();
}

bool echangeEnCours()
{
    return regleCourante().has_value();
}

EntreesRefusees::EntreesRefusees() : niveau_(niveauBoucle())
{
    installerPorte();
    niveauxRefuses.push_back(niveau_);
}

EntreesRefusees::~EntreesRefusees()
{
    const auto i = std::find(niveauxRefuses.rbegin(), niveauxRefuses.rend(), niveau_);
    if (i != niveauxRefuses.rend()) niveauxRefuses.erase(std::next(i).base());
}

bool EntreesRefusees::auNiveauCourant() const
{
    return niveau_ == niveauBoucle();
}

void definirHorlogeEntrees(std::function<std::optional<unsigned long>()> horloge)
{
    horlogeEntrees = std::move(horloge);
}

void traiterEvenementsQt()
{
    if (!QCoreApplication::instance()) return;
    const bool differer = regleCourante() == entrees::Regle::differer;
    QCoreApplication::processEvents(differer ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents);
}

void traiterEvenementsRoute()
{
    EchangeEnCours route;
    horloge().traiterEvenements();
}
