#include "menuc.h"

#include "etat.h"
#include "link/fenetreprincipale.h"
#include "link/transaction.h"
#include "nombres.h"
#include "session.h"
#include "platform/plateforme.h"
#include "platform/porteentrees.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "tables.h"
#include "vues.h"

namespace {
// Write key held by each function row; rows 8 and 9 hold each other's.
const char* const clesRelais[17] = {
    "$fA", "$vA", "$fZ", "$vZ", "$sS", "$su", "$mc", "$gl", "$VC",
    "$al", "$an", "$ve", "$aF", "$aA", "$pt", "$nt", "$re",
};

void lire(const QString& code)
{
    cmdCode = code;
    cmdMode = QStringLiteral("L");
    cmdParam1.clear();
    cmdParam2.clear();
    envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
}

void ecrire(const QString& cle, const QString& valeur, const QString& codeRelecture)
{
    cmdBuffer2 = cle + valeur;
    cmdParam1 = cle;
    cmdParam2 = codeRelecture;
    envoyerCommande(cmdBuffer2, cmdMode, cmdParam1, cmdParam2);
}

// A relay number 1 to 5, or 0 (not allocated) for anything else.
int relaisValide(const Variant& v)
{
    const double n = v.nombre();
    const int r = versEntier(n);
    return (r >= 0 && r <= 5 && r == n) ? r : 0;
}

void activerBoutons()
{
    if (IVueMenuC* vue = vues().menuRelNew) {
        vue->setEnabled(QStringLiteral("downBtn"), true);
        vue->setEnabled(QStringLiteral("ExitBtn"), true);
    }
}

void lireMenuC()
{
    if (!enLigne()) return;
    lire(QStringLiteral("RL"));
    if (!enLigne()) return;
    QString relais = reponse.left(200);
    relais.remove(QLatin1Char(';'));
    for (int r = 0; r < 17; ++r) {
        int n = 0;
        if (r < relais.size() && relais.at(r).isDigit()) n = relais.at(r).digitValue();
        if (n > 5) n = 0;   // never an option of another row
        tableRelais[r][0] = n;
        if (IVueMenuC* vue = vues().menuRelNew) vue->selectionnerOption(QStringLiteral("f"), 6 * r + n);
        if (r == 0 || r == 6 || r == 13) traiterEvenementsRoute();
    }

    for (int i = 0; i < 2; ++i) {
        if (!enLigne()) return;
        lire(tableSortiesAnalogiques[i][1].texte());
        if (!enLigne()) return;
        tableSortiesAnalogiques[i][0] = nombreEnTete(reponse);
    }
    for (int i = 0; i < 2; ++i) {
        const double n = tableSortiesAnalogiques[i][0].nombre();
        if (n < 1 || n > 6 || n != versEntier(n)) continue;
        if (IVueMenuC* vue = vues().menuRelNew)
            vue->selectionnerOption(i == 0 ? QStringLiteral("san1Chk") : QStringLiteral("san2Chk"), versEntier(n));
    }

    for (int i = 0; i < 2; ++i) {
        if (!enLigne()) return;
        lire(tableComparateur[i][1].texte());
        if (!enLigne()) return;
        tableComparateur[i][0] = nombreEnTete(reponse);
        if (IVueMenuC* vue = vues().menuRelNew)
            vue->setTexte(i == 0 ? QStringLiteral("editTxtValComp") : QStringLiteral("editTxtRet"),
                          tableComparateur[i][0].texteAffiche());
    }
}

void ecrireMenuC()
{
    cmdMode = QStringLiteral("C");
    for (int r = 0; r < 17 && enLigne(); ++r) {
        // "$al" carries the alarm output's relay, "$VC" the comparator's.
        const int source = r == 8 ? 9 : (r == 9 ? 8 : r);
        ecrire(tableRelais[r][2].texte(), QString::number(relaisValide(tableRelais[source][0])),
               QStringLiteral("RL"));
    }
    for (int i = 0; i < 2 && enLigne(); ++i)
        ecrire(tableSortiesAnalogiques[i][2].texte(), tableSortiesAnalogiques[i][0].texteFil(),
               tableSortiesAnalogiques[i][1].texte());
    if (enLigne()) {
        QString niveau = formatNombre(tableComparateur[0][0].nombre(), QStringLiteral("#0.00"));
        niveau.replace(QLatin1Char(','), QLatin1Char('.'));
        ecrire(tableComparateur[0][2].texte(), niveau, tableComparateur[0][1].texte());
    }
    if (enLigne())
        ecrire(tableComparateur[1][2].texte(), tableComparateur[1][0].texteFil(), tableComparateur[1][1].texte());
}
}

void initTablesMenuC()
{
    for (int r = 0; r < 17; ++r) {
        const QString cle = QString::fromLatin1(clesRelais[r]);
        tableRelais[r] = {Variant(0), Variant(QStringLiteral("RL")), Variant(cle),
                          Variant(QLatin1Char('R') + cle.mid(1))};
    }
    tableSortiesAnalogiques[0] = {Variant(1), Variant("Sn"), Variant("$sa")};
    tableSortiesAnalogiques[1] = {Variant(1), Variant("SN"), Variant("$sn")};
    tableComparateur[0] = {Variant(0), Variant("VC"), Variant("$vc")};
    tableComparateur[1] = {Variant(0), Variant("DC"), Variant("$dc")};
}

void transfertMenuC(bool& sens)
{
    if (sens) {
        lireMenuC();
    } else {
        ecrireMenuC();
        sens = true;
    }
    activerBoutons();
}

void libellesMenuC()
{
    IVueMenuC* vue = vues().menuRelNew;
    if (!vue) return;
    const QString lab = QStringLiteral("Label");
    for (int r = 0; r < 17; ++r) vue->setTexte(element(lab, r), texteChaine(ids::fonctionFreqAtteinte + 10 * r));
    vue->setTexte(element(lab, 17), texteChaine(ids::sortieAnalogique1));
    vue->setTexte(element(lab, 18), texteChaine(ids::sortieAnalogique2));
    traiterEvenementsRoute();
    vue->setTexte(element(lab, 19), texteChaine(ids::enteteFonctionRelais));
    vue->setTexte(element(lab, 21), texteChaine(ids::enteteFonctionRelais));
    vue->setTexte(element(lab, 20), texteChaine(ids::enteteNumeroRelais));
    vue->setTexte(element(lab, 22), texteChaine(ids::enteteNumeroRelais));
    vue->setTexte(element(lab, 23), texteChaine(ids::niveauComparateur));
    vue->setTexte(element(lab, 24), texteChaine(ids::retardActivationRelais));
    vue->setTitre(texteChaine(ids::titreMenuC));
    vue->setTexte(QStringLiteral("ExitBtn"), texteChaine(ids::quitter));
    vue->setInfoBulle(QStringLiteral("ExitBtn"), texteChaine(ids::infoQuitterMenuC));
    vue->setTexte(QStringLiteral("downBtn"), texteChaine(ids::telecharger));
    vue->setInfoBulle(QStringLiteral("downBtn"), texteChaine(ids::infoTelechargerMenuC));
}

void afficherMenuC()
{
    IVueMenuC* vue = vues().menuRelNew;
    if (!vue) return;
    // A relay outside 0 to 5 selects nothing in its row.
    for (int r = 0; r < 17; ++r) {
        const double n = tableRelais[r][0].nombre();
        if (n >= 0 && n <= 5 && n == versEntier(n)) vue->selectionnerOption(QStringLiteral("f"), 6 * r + versEntier(n));
    }
    // Analog outputs 1 to 6; 0 or anything else selects nothing.
    for (int i = 0; i < 2; ++i) {
        const double n = tableSortiesAnalogiques[i][0].nombre();
        if (n >= 1 && n <= 6 && n == versEntier(n))
            vue->selectionnerOption(i == 0 ? QStringLiteral("san1Chk") : QStringLiteral("san2Chk"), versEntier(n));
    }
    vue->setTexte(QStringLiteral("editTxtValComp"), formatNombre(tableComparateur[0][0].nombre(), QStringLiteral("#0.00")));
    vue->setTexte(QStringLiteral("editTxtRet"), tableComparateur[1][0].texteAffiche());
}

void telechargerMenuC()
{
    // Busy: a close request meanwhile is refused.
    travailEnCours = true;
    pointeurSourisPartout(pointeur::sablier);
    sensLecture = false;
    const QString down = QStringLiteral("downBtn");
    const QString exit = QStringLiteral("ExitBtn");
    if (IVueMenuC* vue = vues().menuRelNew) {
        vue->setTexteStatut(texteChaine(ids::infoTelechargerMenuC));
        vue->setEnabled(down, false);
        vue->setEnabled(exit, false);
    }
    transfertMenuC(sensLecture);
    if (IVueMenuC* vue = vues().menuRelNew) {
        // Off line there is nothing to download to.
        vue->setEnabled(down, enLigne());
        vue->setEnabled(exit, true);
        vue->setTexteStatut(QString());
    }
    // Off line nothing was sent: the changes stay marked.
    if (enLigne()) menuCModifie = false;
    pointeurSourisPartout(pointeur::normal);
    travailEnCours = false;
}
