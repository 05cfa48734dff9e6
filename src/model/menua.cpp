#include "menua.h"

#include "etat.h"
#include "link/fenetreprincipale.h"
#include "link/transaction.h"
#include "menuc.h"
#include "platform/plateforme.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "session.h"
#include "transfertspartitions.h"
#include "vues.h"

#include <algorithm>

namespace {
QString champ(int i) { return element(QStringLiteral("editTxt"), i); }

// Status panel of menu B general when it is visible, else of the main window.
void statutVisible(const QString& texte)
{
    if (IVueMenuBGen* bgen = vues().menuBGen; bgen && bgen->estVisible()) {
        bgen->setTexteStatut(texte);
        return;
    }
    if (IFenetrePrincipale* f = plateforme().principale; f && f->estVisible()) f->setTexteStatut(texte);
}

void statutMenuBGen(const QString& texte)
{
    if (IVueMenuBGen* bgen = vues().menuBGen) bgen->setTexteStatut(texte);
}

// One partition of the full upload; what is modified and unsent stays.
void chargerPartitionTout(int p)
{
    const bool params = !partParamsModifies[p - 1];
    const bool points = !partNemaModifies[p - 1];
    if (params && points) {
        transfertPartitions(p, p);
        return;
    }
    partitionCourante = p;
    if (!params && !points) return;
    sensLecture = false;
    transfertNumPartition();
    sensLecture = true;
    if (params) transfertPartition(true);
    sensLecture = true;
    if (points) transfertPointsNema();
}
}

void chargerMenuA()
{
    IVueMenuA* vue = vues().menuA;
    if (!enLigne()) {
        if (vue) {
            for (int i = 1; i <= 5; ++i) {
                vue->setTabStop(champ(i), false);
                vue->setTexte(champ(i), texteChaine(ids::nonDisponible));
                vue->setEnabled(champ(i), false);
            }
            vue->setTexte(champ(0), menuAModifie ? champsLES[0] : QStringLiteral("0"));
        }
        return;
    }

    if (vue) {
        for (int i = 1; i <= 5; ++i) vue->setTabStop(champ(i), false);
        for (int i : {1, 4, 5}) vue->setEnabled(champ(i), false);
        if (reponseXxX) {
            for (int i = 0; i <= 5; ++i) {
                vue->setEnabled(champ(i), false);
                vue->setTabStop(champ(i), false);
            }
        } else {
            for (int i : {2, 3}) {
                vue->setEnabled(champ(i), true);
                vue->setTabStop(champ(i), true);
                vue->setTabIndex(champ(i), i - 1);
            }
        }
    }

    cmdCode = QStringLiteral("LES");
    cmdMode = QStringLiteral("L");
    cmdParam1.clear();
    cmdParam2.clear();
    envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
    if (!enLigne()) return;

    QString texte = reponse.left(200);
    texte.remove(QLatin1Char(' '));
    texte.replace(QLatin1Char('-'), QLatin1Char('.'));
    QString courant;
    int k = 0;
    for (const QChar c : texte) {
        if (c != QLatin1Char(';')) {
            courant += c;
            continue;
        }
        if (k <= 5) {
            champsLES[k] = courant;
            if (IVueMenuA* v = vues().menuA) v->setTexte(champ(k), courant);
        }
        ++k;
        courant.clear();
    }
    reponse.clear();
}

bool chargerTout()
{
    bool complet = enLigne();
    statutMenuBGen(texteChaine(ids::chargementMenuA));
    chargerMenuA();
    if (!menuCCharge) {
        statutVisible(texteChaine(ids::chargementMenuC));
        if (enLigne()) {
            sensLecture = true;
            transfertMenuC(sensLecture);
            if (enLigne()) menuCCharge = true;
        } else {
            libellesMenuC();
        }
    }
    pointeurSourisPartout(11);
    for (int p = 1; p <= std::min(nbPartitions, 64); ++p) {
        if (!enLigne()) break;
        statutVisible(texteChaine(ids::chargementPartition) + QLatin1Char(' ') + QString::number(p)
                      + QStringLiteral(" ..."));
        chargerPartitionTout(p);
        pointeurSourisPartout(11);
    }
    statutMenuBGen(QString());
    return complet && enLigne();
}
