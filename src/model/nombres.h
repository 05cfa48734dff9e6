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
// the mask gives, the decimals it gives, the system decimal separator, no
// group separator. The value's shortest decimal text is rounded, half away
// from zero: 2.675 gives "2.68", 123456789.125 "123456789.13".
QString formatNombre(double valeur, const QString& masque);

// The same text of a value that lies within min and max, kept within them:
// where rounding would cross a limit, the value is rounded toward the inside
// instead (2.506 with max 2.506 gives "2.50"), if that stays within both.
QString formatDansLimites(double valeur, const QString& masque, double min, double max);

// A factor times a value as the decimal number it names: 0.2 x 12.53 is
// 2.506, not 2.5060000000000002.
double produitDecimal(double facteur, double valeur);

// A text read with the system's number settings (whole text, blanks around
// allowed, an optional sign, the system separator as the only decimal sign:
// "." is refused on a "," system); false when not a number.
bool lireNombreSysteme(const QString& texte, double& valeur);

// A field's number read with the system separator; its leading number (the
// system separator read as ".") when the text is no whole number.
double nombreChamp(const QString& texte);
