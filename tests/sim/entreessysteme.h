#pragma once
// The user's input as the window system delivers it: queued to the window
// and handed to the program by the next round of event processing that
// takes user input, through Qt's own checks (modality, enabled and visible
// state, shortcut context, the pointer's moves).

#include <Qt>
#include <QString>

#include <optional>

class QPoint;
class QWidget;

namespace systeme {

// Pointer over the widget's centre, press and release there.
void cliquer(QWidget* w);
void presser(QWidget* w);
void relacher(QWidget* w);
// Pointer moves to a point of the window (local pixels).
void deplacer(QWidget* fenetre, const QPoint& point);
// A key pressed and released in the window that holds the keyboard.
void touche(QWidget* fenetre, int cle, Qt::KeyboardModifiers modificateurs = Qt::NoModifier,
            const QString& texte = QString());
void taper(QWidget* fenetre, const QString& texte);
// The window's close box (or Alt+F4 of the window manager).
void fermer(QWidget* fenetre);
// The window minimized, or restored, by the window manager.
void minimiser(QWidget* fenetre, bool minimisee);

// The time of the input queued last: the clock of this input's timestamps.
std::optional<unsigned long> maintenant();

// Delivers the queued input at once, before any posted event.
void livrer();

// Input still in the window system's queue.
int enAttente();

} // namespace systeme
