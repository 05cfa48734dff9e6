#include "identite.h"

#include "fenetreprincipale.h"
#include "transaction.h"
#include "model/etat.h"
#include "model/nombres.h"
#include "model/tables.h"
#include "platform/plateforme.h"

namespace {
constexpr int ligneOrigPart = 7;   // tableMenuBGen row of "pg" / "$pg"

void envoyerOrigPart(const QString& chiffre)
{
    attentePrecise(0.01f);
    const defParametre& ligne = tableMenuBGen[ligneOrigPart];
    cmdCode = ligne.cle + chiffre;
    cmdParam2 = ligne.code;
    cmdParam1 = ligne.cle;
    cmdMode = QStringLiteral("B");
    if (enLigne()) envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
}
} // namespace

void lireVersionConvertisseur()
{
    cmdCode = QStringLiteral("LES");
    cmdMode = QStringLiteral("L");
    cmdParam1.clear();
    cmdParam2.clear();
    if (enLigne()) envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);

    // Fields ended by ";": blanks dropped, "-" read as "."; six at most.
    const QString texte = reponse.left(200);
    QString champ;
    int nbChamps = 0;
    for (const QChar c : texte) {
        if (c == u' ') continue;
        if (c == u';') {
            if (nbChamps < 6) champsLES[nbChamps++] = champ;
            champ.clear();
        } else {
            champ += (c == u'-') ? QChar(u'.') : c;
        }
    }
    reponse.clear();

    // Version field: "V" and two digits (letter "Z"), or two digits and a letter.
    const QString& version = champsLES[1];
    QString nombre;
    if (version.startsWith(u'V')) {
        nombre = version.mid(1, 2);
        versionLettre = QStringLiteral("Z");
    } else {
        nombre = version.left(2);
        versionLettre = version.mid(2, 1);
    }
    // A sign is no version number.
    const double valeur = nombre.startsWith(u'+') ? 0.0 : nombreEnTete(nombre);
    nbPartitions = valeur > 12 ? 64 : 32;
    versionLogiciel = versEntier(valeur);
}

void envoyerXxX()
{
    cmdCode = QStringLiteral("XxX");
    cmdMode = QStringLiteral("A");
    cmdParam1.clear();
    cmdParam2.clear();
    envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
    if (reponse.size() >= 4 && reponse.at(3) == u'1') reponseXxX = true;
}

void envoyerOrigPart0() { envoyerOrigPart(QStringLiteral("0")); }

void envoyerOrigPart1() { envoyerOrigPart(QStringLiteral("1")); }

void envoyerCommandeSimple(const QString& commande)
{
    cmdCode = commande;
    sensLecture = false;
    cmdParam1.clear();
    cmdParam2.clear();
    if (enLigne()) envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
    cmdMode.clear();
}
