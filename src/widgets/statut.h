#pragma once
// Panel 1 of a window's status bar: a permanent label (status tips and
// temporary messages never clear it), and the hints that controls write
// into it when they get the focus or the mouse moves over them.

#include <QString>

#include <functional>

class QLabel;
class QStatusBar;
class QWidget;

// Adds panel 1 to the status bar.
QLabel* creerPanneau1(QStatusBar* barre);

// The hint of a control: written on getting the focus and on every mouse
// move over it (mouse tracking is switched on); an empty text clears the
// panel; the move is not passed on to the control's parent. With effacerEnSortie the panel is cleared when the focus leaves.
void ajouterIndication(QWidget* controle, QLabel* panneau, std::function<QString()> texte,
                       bool effacerEnSortie = false);
void ajouterIndication(QWidget* controle, QLabel* panneau, const QString& texte, bool effacerEnSortie = false);
