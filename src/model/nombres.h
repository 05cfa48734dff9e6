#pragma once
// Numbers and their texts, independent of the host locale except where the
// system decimal separator is asked for.

#include <QChar>
#include <QString>

// The system decimal separator ("." or ","); tests may set it.
QChar separateurDecimal();
void definirSeparateurDecimal(QChar c);
void retablirSeparateurDecimal();   // back to the host's

// Leading number of a text: blanks skipped, an optional sign, digits and
// "." as the only decimal point; 0 when no number starts the text.
double nombreEnTete(const QString& texte);

// Conversion to an integer: nearest, a half going to the even integer.
int versEntier(double valeur);

// Shortest text with "." ("0.1", "400", "12.5").
QString texteCourt(double valeur);

// Shortest text with the system decimal separator (a number put into a
// field without a format).
QString texteSysteme(double valeur);

// Number formats "#0.00", "#0", "#0.", "#000": at least the integer digits
// the mask gives, the decimals it gives (half away from zero), the system
// decimal separator, no group separator.
QString formatNombre(double valeur, const QString& masque);

// A text read with the system's number settings (whole text, blanks around
// allowed, an optional sign, the system separator as the only decimal sign:
// "." is refused on a "," system); false when not a number.
bool lireNombreSysteme(const QString& texte, double& valeur);

// A field's number read with the system separator; its leading number (the
// system separator read as ".") when the text is no whole number.
double nombreChamp(const QString& texte);
