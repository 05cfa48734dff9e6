#include "vues.h"

#include "link/fenetreprincipale.h"
#include "platform/plateforme.h"

Vues& vues()
{
    static Vues v;
    return v;
}

bool enLigne()
{
    IFenetrePrincipale* p = plateforme().principale;
    return p && p->onLineChk();
}
