#pragma once
// A stored value: empty, a number, or a numeric text as a window typed it
// ("12,50"). Numbers and texts go on the wire and into files differently.

#include <QString>

class Variant {
public:
    enum class Genre { Vide, Nombre, Texte };

    Variant() = default;
    Variant(double v) : genre_(Genre::Nombre), nombre_(v) {}
    Variant(int v) : genre_(Genre::Nombre), nombre_(v) {}
    Variant(const QString& t) : genre_(Genre::Texte), texte_(t) {}
    Variant(const char* t) : genre_(Genre::Texte), texte_(QString::fromUtf8(t)) {}

    Genre genre() const { return genre_; }
    bool estNombre() const { return genre_ == Genre::Nombre; }
    bool estTexte() const { return genre_ == Genre::Texte; }
    // Empty value or empty text.
    bool estVide() const { return genre_ == Genre::Vide || (genre_ == Genre::Texte && texte_.isEmpty()); }

    // The value as a number: a number as held; a text read with the system's
    // number settings when it is a whole number text, else its leading number.
    double nombre() const;
    // Integer value, half to even.
    int entier() const;

    // Text on the wire and in the data file: a number as its shortest text
    // with "."; a text as held with "," turned into ".".
    QString texteFil() const;
    // Text shown in a field without a format: a number with the system
    // decimal separator; a text as held.
    QString texteAffiche() const;
    // The text as held (empty for an empty value).
    QString texte() const { return genre_ == Genre::Texte ? texte_ : (genre_ == Genre::Nombre ? texteAffiche() : QString()); }

    bool operator==(const Variant& autre) const;
    bool operator!=(const Variant& autre) const { return !(*this == autre); }

private:
    Genre genre_ = Genre::Vide;
    double nombre_ = 0.0;
    QString texte_;
};
