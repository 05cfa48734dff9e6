#include "fenetreprincipale.h"

#include "platform/plateforme.h"

bool enLigne()
{
    const IFenetrePrincipale* p = plateforme().principale;
    return p && p->onLineChk();
}
