#include "porteentrees.h"

#include "horloge.h"
#include "plateforme.h"
#include "servicesui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <deque>
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

// Keys, mouse buttons, mnemonics and close requests of the user.
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
        // As the window system delivers them; a replayed one is not.
        return e->spontaneous() && (o->isWidgetType() || o->isWindowType());
    case QEvent::Shortcut:
        return o->isWidgetType();
    case QEvent::Close:
        // The end of the desktop session closes at once.
        return o->isWidgetType() && static_cast<const QWidget*>(o)->isWindow() && !qApp->isSavingSession();
    default:
        return false;
    }
}

class PorteEntrees : public QObject {
public:
    PorteEntrees() : QObject(qApp) { qApp->installEventFilter(this); }

    int nbRetenues() const { return int(retenues_.size()); }

    // Held input is handled once no exchange holds the link at its level.
    void planifier(int delaiMs = 0)
    {
        if (planifie_ || retenues_.empty()) return;
        planifie_ = true;
        QTimer::singleShot(delaiMs, this, [this] {
            planifie_ = false;
            rejouer();
        });
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e == rejoue_ || (o == fermetureRejouee_ && e->type() == QEvent::Close)) return false;
        // The delayed click of a button's mnemonic comes with the button's timer.
        const bool clicDiffere = e->type() == QEvent::Timer && qobject_cast<QAbstractButton*>(o);
        if (!clicDiffere && !estEntree(o, e)) return false;
        const std::optional<entrees::Regle> regle = regleCourante();
        if (!regle) {
            // What a replayed event brings about (the window passing it on
            // to a control) goes through; input held at this level goes
            // before new input.
            if (enRejeu_ || clicDiffere || retenues_.empty() || retenues_.front().niveau != niveauBoucle())
                return false;
            retenir(o, e);
            planifier();
            return true;
        }
        // Its timer fires again once the wait is over.
        if (clicDiffere) return true;
        if (*regle == entrees::Regle::differer) {
            retenir(o, e);
            return true;
        }
        if (e->type() == QEvent::Close) {
            e->ignore();
            ui().beep();
        }
        return true;
    }

private:
    struct Retenue {
        QPointer<QObject> cible;
        std::unique_ptr<QEvent> evenement;
        int niveau;
    };

    void retenir(QObject* o, QEvent* e)
    {
        retenues_.push_back({o, std::unique_ptr<QEvent>(e->clone()), niveauBoucle()});
        // A close request is not granted now.
        if (e->type() == QEvent::Close) e->ignore();
    }

    void rejouer()
    {
        if (enRejeu_ || retenues_.empty()) return;
        // Input of a box's loop that has ended went to that box.
        while (!retenues_.empty() && retenues_.front().niveau > niveauBoucle()) retenues_.pop_front();
        enRejeu_ = true;
        while (!retenues_.empty() && !regleCourante() && retenues_.front().niveau == niveauBoucle()) {
            Retenue r = std::move(retenues_.front());
            retenues_.pop_front();
            if (!r.cible) continue;
            if (r.evenement->type() == QEvent::Close) {
                auto* w = static_cast<QWidget*>(r.cible.data());
                fermetureRejouee_ = w;
                if (w->isVisible()) w->close();
                fermetureRejouee_ = nullptr;
            } else {
                rejoue_ = r.evenement.get();
                QCoreApplication::sendEvent(r.cible, r.evenement.get());
                rejoue_ = nullptr;
            }
        }
        enRejeu_ = false;
        // Held behind a box opened meanwhile: tried again while it is up.
        // (Behind an exchange, its end asks again.)
        if (!retenues_.empty() && !regleCourante()) planifier(10);
    }

    std::deque<Retenue> retenues_;
    QEvent* rejoue_ = nullptr;
    QObject* fermetureRejouee_ = nullptr;
    bool enRejeu_ = false;
    bool planifie_ = false;
};

QPointer<PorteEntrees> porte;

PorteEntrees* porteInstallee()
{
    if (!porte && qApp) porte = new PorteEntrees;
    return porte;
}

} // namespace

EchangeEnCours::EchangeEnCours(entrees::Regle regle)
{
    porteInstallee();
    // The outermost exchange of a loop level gives the rule: a transaction
    // of the watchdog's probe holds input back as the probe does.
    portees.push_back({regle, niveauBoucle()});
}

EchangeEnCours::~EchangeEnCours()
{
    portees.pop_back();
    if (PorteEntrees* p = porte; p && !regleCourante()) p->planifier();
}

void traiterEvenementsRoute()
{
    EchangeEnCours route;
    horloge().traiterEvenements();
}

int entreesRetenues()
{
    return porte ? porte->nbRetenues() : 0;
}
