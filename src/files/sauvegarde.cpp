#include "sauvegarde.h"

#include "fichierdonnees.h"
#include "platform/plateforme.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"

namespace {
bool erreurEcriture()
{
    ui().msgBox(texteChaine(ids::erreurSauvegarde), msg::critique | msg::okSeul, QString());
    return false;
}
}

bool sauverDonneesAvecRepli(const QString& chemin)
{
    bool liaisonPerdue = false;
    if (sauverFichierDonnees(chemin, &liaisonPerdue)) return true;
    if (!liaisonPerdue) return erreurEcriture();
    // The link loss took the program off line; the tables still hold every
    // edit that was not sent (the upload skips partitions marked modified).
    if (ui().msgBox(texteChaine(ids::liaisonPerdueRienSauve), msg::exclamation | msg::ouiNon,
                    texteChaine(ids::messageTitre))
        != msg::oui)
        return false;
    if (sauverFichierDonnees(chemin)) return true;
    return erreurEcriture();
}
