#include "sauvegarde.h"

#include "fichierdonnees.h"
#include "model/tables.h"
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
    // Going off line resets the general part to its minima; the file written
    // after a link loss keeps what the PC held before.
    const auto general = tableMenuBGen;
    bool liaisonPerdue = false;
    if (sauverFichierDonnees(chemin, &liaisonPerdue)) return true;
    if (!liaisonPerdue) return erreurEcriture();
    // The link loss took the program off line; the tables still hold every
    // edit that was not sent (the upload skips partitions marked modified).
    if (ui().msgBox(texteChaine(ids::liaisonPerdueRienSauve), msg::exclamation | msg::ouiNon,
                    texteChaine(ids::messageTitre))
        != msg::oui)
        return false;
    const auto apresPerte = tableMenuBGen;
    tableMenuBGen = general;
    const bool ecrit = sauverFichierDonnees(chemin);
    tableMenuBGen = apresPerte;
    return ecrit || erreurEcriture();
}
