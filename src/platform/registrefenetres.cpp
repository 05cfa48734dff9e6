#include "registrefenetres.h"

#include <algorithm>

void RegistreFenetres::inscrire(int numero, IFenetre* fenetre)
{
    if (numero >= 1 && numero <= 13) fenetres_[numero] = fenetre;
}

void RegistreFenetres::retirer(int numero)
{
    if (numero >= 1 && numero <= 13) fenetres_[numero] = nullptr;
    noterDechargement(numero);
}

IFenetre* RegistreFenetres::fenetre(int numero) const
{
    return (numero >= 1 && numero <= 13) ? fenetres_[numero] : nullptr;
}

bool RegistreFenetres::estAffichee(int numero) const
{
    const IFenetre* f = fenetre(numero);
    return f && f->estAffichee();
}

void RegistreFenetres::noterChargement(int numero)
{
    noterDechargement(numero);
    chargees_.push_back(numero);
}

void RegistreFenetres::noterDechargement(int numero)
{
    chargees_.erase(std::remove(chargees_.begin(), chargees_.end(), numero), chargees_.end());
}

void RegistreFenetres::vider()
{
    std::fill(std::begin(fenetres_), std::end(fenetres_), nullptr);
    chargees_.clear();
}
