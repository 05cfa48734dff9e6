#include "dialoguedonnees.h"

#include "fichierini.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"

#include <QDir>

DialogueFichier dialogueFichierDonnees(bool sauver)
{
    DialogueFichier d;
    d.dossierInitial = QDir(dossierProgramme()).filePath(QStringLiteral("data"));
    d.titre = texteChaine(sauver ? ids::titreSauverDonnees : ids::titreOuvrirDonnees);
    d.filtre = QStringLiteral("Text Files(*.mnc)|*.mnc");
    d.confirmerEcrasement = sauver;
    return d;
}
