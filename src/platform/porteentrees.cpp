#include "porteentrees.h"

#include "horloge.h"
#include "plateforme.h"
#include "servicesui.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>
#include <qpa/qwindowsysteminterface_p.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

using SystemeFenetres = QWindowSystemInterfacePrivate;

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

// X: the server's time, the clock of its input events; elsewhere Qt's own
// clock of the events it timestamps.
unsigned long horlogeSysteme()
{
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        QPlatformNativeInterface* natif = QGuiApplication::platformNativeInterface();
        QScreen* ecran = QGuiApplication::primaryScreen();
        if (!natif || !ecran) return 0;
        return static_cast<unsigned long>(
            reinterpret_cast<quintptr>(natif->nativeResourceForScreen(QByteArrayLiteral("gettimestamp"), ecran)));
    }
    return static_cast<unsigned long>(SystemeFenetres::eventTime.elapsed());
}

std::function<unsigned long()> horlogeEntrees = horlogeSysteme;

// Input times wrap at 32 bits.
bool pasApres(unsigned long t, unsigned long fin)
{
    return static_cast<qint32>(static_cast<quint32>(t) - static_cast<quint32>(fin)) <= 0;
}

// A deferring exchange: what it enabled or showed, and the window system's
// time at its end (0: unknown, nothing is judged).
struct Retenue {
    unsigned long fin = 0;
    bool finie = false;
    QSet<const QWidget*> rendus;
};
std::vector<Retenue> retenues;
// Enables and shows are noted from a deferring exchange's start until the
// handler that ran it has returned.
bool enSuivi = false;
int cloturesEnAttente = 0;
// The window-system events in delivery, innermost last: their time, when
// they have one, and the loop level they are delivered at (a box opened by
// one runs a loop of its own).
struct Livraison {
    std::optional<unsigned long> temps;
    int niveau;
};
std::vector<Livraison> livraisons;

// Wraps Qt's delivery of window-system events: what a delivery hands on (the
// window's event, the control's, a mnemonic) was made at the event's time.
class Livreur : public QWindowSystemEventHandler {
public:
    bool sendEvent(SystemeFenetres::WindowSystemEvent* e) override
    {
        std::optional<unsigned long> t;
        switch (e->type) {
        case SystemeFenetres::Mouse:
        case SystemeFenetres::Wheel:
        case SystemeFenetres::Key:
        case SystemeFenetres::Touch:
        case SystemeFenetres::Tablet:
            t = static_cast<SystemeFenetres::UserEvent*>(e)->timestamp;
            break;
        default:
            break;
        }
        livraisons.push_back({t, niveauBoucle()});
        const bool accepte = QWindowSystemEventHandler::sendEvent(e);
        livraisons.pop_back();
        return accepte;
    }
};

// Old exchanges hold nothing any more: a bound on what is kept.
void limiterRetenues()
{
    constexpr unsigned long garde = 60000;
    constexpr std::size_t maximum = 64;
    const unsigned long derniere = retenues.back().fin;
    if (derniere != 0)
        std::erase_if(retenues, [&](const Retenue& r) { return r.finie && !pasApres(derniere - garde, r.fin); });
    if (retenues.size() > maximum) retenues.erase(retenues.begin(), retenues.end() - maximum);
}

// Input made after an exchange's end was not held by it. The exchange whose
// handler is still running keeps its record.
void oublierRetenuesAvant(unsigned long t)
{
    const std::size_t gardees = enSuivi ? 1 : 0;
    auto fin = retenues.end() - std::min(gardees, retenues.size());
    retenues.erase(std::remove_if(retenues.begin(), fin, [t](const Retenue& r) { return r.finie && !pasApres(t, r.fin); }),
                   fin);
}

// The exchange held input made at t.
bool retient(const Retenue& r, unsigned long t)
{
    return r.finie && r.fin != 0 && pasApres(t, r.fin);
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
bool refuserRetenue(QObject* o, QEvent* e)
{
    if (livraisons.empty() || !livraisons.back().temps || livraisons.back().niveau != niveauBoucle()) return false;
    const unsigned long t = *livraisons.back().temps;
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

class PorteEntrees : public QObject {
public:
    PorteEntrees() : QObject(qApp)
    {
        qApp->installEventFilter(this);
        SystemeFenetres::installWindowSystemEventHandler(&livreur_);
    }
    ~PorteEntrees() override { SystemeFenetres::removeWindowSystemEventhandler(&livreur_); }

    // Held input reaches this gate before any other filter.
    void passerDevant() { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        const QEvent::Type type = e->type();
        // The delayed click of a Qt dialog button's mnemonic comes with the
        // button's timer, which fires again once the wait is over.
        if (type == QEvent::Timer && qobject_cast<QAbstractButton*>(o)) return regleCourante().has_value();
        if (type == QEvent::EnabledChange || type == QEvent::Show) {
            if (enSuivi && !retenues.empty() && o->isWidgetType()) {
                const auto* w = static_cast<const QWidget*>(o);
                if (type == QEvent::Show || w->isEnabled()) retenues.back().rendus.insert(w);
            }
            return false;
        }
        if (!estEntree(o, e)) return false;
        if (regleCourante() || niveauRefuse()) return refuser(o, e);
        return refuserRetenue(o, e);
    }

private:
    Livreur livreur_;
};

QPointer<PorteEntrees> porte;

void installerPorte()
{
    if (!porte && qApp) porte = new PorteEntrees;
}

void commencerSuivi()
{
    if (!enSuivi || retenues.empty() || retenues.back().finie) retenues.emplace_back();
    enSuivi = true;
}

void finirSuivi()
{
    if (retenues.empty() || retenues.back().finie) return;
    Retenue& r = retenues.back();
    r.fin = horlogeEntrees ? horlogeEntrees() : 0;
    r.finie = true;
    limiterRetenues();
    if (!porte) return;
    porte->passerDevant();
    // What the rest of this handler enables counts as the exchange's.
    ++cloturesEnAttente;
    QMetaObject::invokeMethod(
        porte.data(),
        [] {
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

void definirHorlogeEntrees(std::function<unsigned long()> horloge)
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
