#include "entreessysteme.h"

#include <QCheckBox>
#include <QPoint>
#include <QRadioButton>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

namespace systeme {
namespace {

using Async = QWindowSystemInterface::AsynchronousDelivery;

// Input far apart in time: clicks are never taken for a double click.
ulong dernierHorodatage = 1000000;
ulong horodatage()
{
    return dernierHorodatage += 1000;
}

QWindow* fenetreDe(QWidget* w)
{
    QWidget* f = w->window();
    Q_ASSERT(f->windowHandle());
    return f->windowHandle();
}

// Where a user points at the control: an option's or a box's indicator,
// the middle of anything else.
QPoint cible(QWidget* w)
{
    if (qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w))
        return QPoint(qMin(8, w->width() / 2), w->height() / 2);
    return w->rect().center();
}

void souris(QWidget* w, QEvent::Type type, Qt::MouseButtons etat, Qt::MouseButton bouton)
{
    QWidget* f = w->window();
    const QPoint local = w->mapTo(f, cible(w));
    QWindowSystemInterface::handleMouseEvent<Async>(fenetreDe(w), horodatage(), local, f->mapToGlobal(local), etat,
                                                    bouton, type);
}

} // namespace

void presser(QWidget* w)
{
    souris(w, QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
    souris(w, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
}

void relacher(QWidget* w)
{
    souris(w, QEvent::MouseButtonRelease, Qt::NoButton, Qt::LeftButton);
}

void cliquer(QWidget* w)
{
    presser(w);
    relacher(w);
}

void deplacer(QWidget* fenetre, const QPoint& point)
{
    QWidget* f = fenetre->window();
    QWindowSystemInterface::handleMouseEvent<Async>(fenetreDe(f), horodatage(), point, f->mapToGlobal(point),
                                                    Qt::NoButton, Qt::NoButton, QEvent::MouseMove);
}

void touche(QWidget* fenetre, int cle, Qt::KeyboardModifiers modificateurs, const QString& texte)
{
    QWindow* w = fenetreDe(fenetre);
    QWindowSystemInterface::handleKeyEvent<Async>(w, horodatage(), QEvent::KeyPress, cle, modificateurs, texte);
    QWindowSystemInterface::handleKeyEvent<Async>(w, horodatage(), QEvent::KeyRelease, cle, modificateurs, texte);
}

void taper(QWidget* fenetre, const QString& texte)
{
    // Letters, digits and punctuation: the key code is the upper-case character.
    for (const QChar c : texte) touche(fenetre, c.toUpper().unicode(), Qt::NoModifier, QString(c));
}

void fermer(QWidget* fenetre)
{
    QWindowSystemInterface::handleCloseEvent<Async>(fenetreDe(fenetre));
}

void minimiser(QWidget* fenetre, bool minimisee)
{
    QWindowSystemInterface::handleWindowStateChanged<Async>(fenetreDe(fenetre),
                                                            minimisee ? Qt::WindowMinimized : Qt::WindowNoState);
}

std::optional<unsigned long> maintenant()
{
    return dernierHorodatage;
}

void livrer()
{
    QWindowSystemInterface::flushWindowSystemEvents();
}

int enAttente()
{
    return QWindowSystemInterface::windowSystemEventsQueued();
}

} // namespace systeme
