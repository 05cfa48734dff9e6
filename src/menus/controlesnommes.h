#pragma once
// The controls of a window found by their own names ("editTxt(3)", "downBtn"),
// for the windows that the core writes into. A name that no control of the
// window has is a programming error: it stops the program.

#include <QString>

class QLineEdit;
class QWidget;

namespace controlesNommes {
QWidget* trouver(const QWidget* fenetre, const QString& nom);
// Text of a field, caption of a label, button or frame.
void ecrireTexte(QWidget* controle, const QString& texte);
QString lireTexte(const QWidget* controle);
// At most that many characters can be typed into the field; a longer text
// set by the program stays whole and can still be shortened.
void limiterSaisie(QLineEdit* champ, int longueurMax);
}
