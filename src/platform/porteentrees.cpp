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
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <optional>
#include <vector>

namespace {

// Open exchanges, outermost first, with the event-loop level each was
// opened at: a box opened inside a wait runs a loop of its own.
struct Portee {
    entrees::Regle regle;
    int niveau;
};
std::vector<Portee> portees;

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

class PorteEntrees : public QObject {
public:
    PorteEntrees() : QObject(qApp) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        // The delayed click of a Qt dialog button's mnemonic comes with the
        // button's timer, which fires again once the wait is over.
        if (e->type() == QEvent::Timer && qobject_cast<QAbstractButton*>(o)) return regleCourante().has_value();
        if (!estEntree(o, e)) return false;
        // Input queued for a window hidden meanwhile (the link loss closed
        // it) goes nowhere, as the window system would have given it none.
        if (o->isWindowType() && !static_cast<const QWindow*>(o)->isVisible()) {
            e->ignore();
            return true;
        }
        if (!regleCourante()) return false;
        // Refused; during a deferred exchange only input that came around
        // the window system's queue gets here, and it is refused too.
        if (estDemande(e)) ui().beep();
        if (e->type() == QEvent::Close) e->ignore();
        return true;
    }
};

QPointer<PorteEntrees> porte;

void installerPorte()
{
    if (!porte && qApp) porte = new PorteEntrees;
}

} // namespace

EchangeEnCours::EchangeEnCours(entrees::Regle regle)
{
    installerPorte();
    portees.push_back({regle, niveauBoucle()});
}

EchangeEnCours::~EchangeEnCours()
{
    portees.pop_back();
    // Input left queued is delivered by the next round of the loop, which
    // must not sleep first.
    if (!regleCourante())
        if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance()) d->wakeUp();
}

bool echangeEnCours()
{
    return regleCourante().has_value();
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
