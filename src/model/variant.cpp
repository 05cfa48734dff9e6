#include "variant.h"

#include "nombres.h"

double Variant::nombre() const
{
    switch (genre_) {
    case Genre::Vide: return 0.0;
    case Genre::Nombre: return nombre_;
    case Genre::Texte: {
        double v = 0.0;
        if (lireNombreSysteme(texte_, v)) return v;
        return nombreEnTete(texte_);
    }
    }
    return 0.0;
}

int Variant::entier() const { return versEntier(nombre()); }

QString Variant::texteFil() const
{
    switch (genre_) {
    case Genre::Vide: return QString();
    case Genre::Nombre: return texteCourt(nombre_);
    case Genre::Texte: {
        QString t = texte_;
        t.replace(',', '.');
        return t;
    }
    }
    return QString();
}

QString Variant::texteAffiche() const
{
    switch (genre_) {
    case Genre::Vide: return QString();
    case Genre::Nombre: return texteSysteme(nombre_);
    case Genre::Texte: return texte_;
    }
    return QString();
}

bool Variant::operator==(const Variant& autre) const
{
    if (genre_ != autre.genre_) return false;
    switch (genre_) {
    case Genre::Vide: return true;
    case Genre::Nombre: return nombre_ == autre.nombre_;
    case Genre::Texte: return texte_ == autre.texte_;
    }
    return false;
}
