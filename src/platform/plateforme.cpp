#include "plateforme.h"

#include "registrefenetres.h"

#include <cassert>

Plateforme& plateforme()
{
    static Plateforme p;
    return p;
}

IHorloge& horloge()
{
    assert(plateforme().horloge);
    return *plateforme().horloge;
}

IServicesUi& ui()
{
    assert(plateforme().ui);
    return *plateforme().ui;
}

RegistreFenetres& registre()
{
    static RegistreFenetres r;
    return r;
}
