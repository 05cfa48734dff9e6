#include "menubgen.h"

#include "etat.h"
#include "link/transaction.h"
#include "nombres.h"
#include "session.h"
#include "tables.h"
#include "vues.h"

namespace {
// Control of menuBGen showing each row.
const char* const controlesMenuBGen[13] = {
    "startStopChk", "uniteChk", "autorIsrChk", "origIsrChk", "editTxtFiltre",
    "genreConsChk", "editTxtUres", "origPartChk", "arretChk", "editTxtTempo",
    "reprVolChk", "verrClefChk", "tempoDtoChk",
};

bool estChamp(int r) { return r == 4 || r == 6 || r == 9; }

// Version letters compare by character code.
bool lettreAuMoins(const char* lettre)
{
    return QString::compare(versionLettre, QLatin1String(lettre), Qt::CaseSensitive) >= 0;
}
}

int derniereLigneEchangee()
{
    int derniere = versionLogiciel < 15 ? 10 : 11;
    if ((versionLogiciel == 17 && lettreAuMoins("B")) || versionLogiciel >= 18) derniere = 12;
    return derniere;
}

void transfertMenuBGen()
{
    const int derniere = derniereLigneEchangee();
    if (!sensLecture) {
        cmdMode = QStringLiteral("B");
        for (int r = 0; r <= derniere && enLigne(); ++r) {
            const defParametre& ligne = tableMenuBGen[r];
            if (r == 7 && origPartExterne)
                cmdCode = ligne.cle + QLatin1Char('0');
            else
                cmdCode = ligne.cle + ligne.valeur.texteFil();
            cmdParam1 = ligne.cle;
            cmdParam2 = ligne.code;
            envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
        }
        sensLecture = true;
        return;
    }

    bool complet = true;
    for (int r = 0; r <= derniere; ++r) {
        if (!enLigne()) { complet = false; break; }
        defParametre& ligne = tableMenuBGen[r];
        cmdCode = ligne.code;
        cmdMode = QStringLiteral("L");
        cmdParam1.clear();
        cmdParam2.clear();
        envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
        // A reply lost with the link is not a value.
        if (!enLigne()) { complet = false; break; }
        double v = nombreEnTete(reponse);
        if (v < ligne.min.nombre() || v > ligne.max.nombre()) v = ligne.min.nombre();
        ligne.valeur = v;
    }
    if (complet && bgenLu == 0) {
        bgenLu = 1;
        origPartExterne = tableMenuBGen[7].valeur.nombre() == 1;
    }
}

void afficherMenuBGen()
{
    if (startActif) return;
    IVueMenuBGen* vue = vues().menuBGen;
    if (!vue) return;
    for (int r = 0; r <= derniereLigneMenuBGen(); ++r) {
        const defParametre& ligne = tableMenuBGen[r];
        const QString controle = QLatin1String(controlesMenuBGen[r]);
        if (estChamp(r)) {
            vue->setTexte(controle, ligne.valeur.texteAffiche());
            continue;
        }
        // A value outside the group (a foreign file) selects nothing.
        const int index = ligne.valeur.entier();
        if (index >= ligne.min.nombre() && index <= ligne.max.nombre())
            vue->selectionnerOption(controle, index);
        if (r == 2 && vue->optionSelectionnee(controle, 0)) {
            vue->setEnabled(element(QStringLiteral("origIsrChk"), 0), false);
            vue->setEnabled(element(QStringLiteral("origIsrChk"), 1), false);
        }
    }
}

void majBoutonsMenuBGen(bool actif)
{
    IVueMenuBGen* vue = vues().menuBGen;
    if (!vue) return;
    static const char* const controles[] = {
        "editTxtUres", "editTxtFiltre", "editTxtTempo",
        "origIsrFr", "autorIsrFr", "genreConsFr", "origPartFr", "startStopFr", "uniteAffFr",
        "reprVolFr", "arretFr",
        "progGammeBtn", "saveBtn", "openBtn", "printBtn", "downAsIsBtn", "downBtn",
    };
    for (const char* c : controles) vue->setEnabled(QLatin1String(c), actif);

    const bool ligne = enLigne();
    if (!ligne) {
        vue->setEnabled(QStringLiteral("downAsIsBtn"), false);
        vue->setEnabled(QStringLiteral("downBtn"), false);
    }

    const bool verrVisible = !(ligne && versionLogiciel < 15);
    vue->setVisible(QStringLiteral("verrClefFr"), verrVisible);
    vue->setVisible(element(QStringLiteral("verrClefChk"), 0), verrVisible);
    vue->setVisible(element(QStringLiteral("verrClefChk"), 1), verrVisible);

    const QString dto[3] = {QStringLiteral("tempoDtoFr"), element(QStringLiteral("tempoDtoChk"), 0),
                            element(QStringLiteral("tempoDtoChk"), 1)};
    if (!ligne) {
        for (const QString& c : dto) vue->setVisible(c, true);
        return;
    }
    const bool versionDto = (versionLogiciel == 17 && lettreAuMoins("A")) || versionLogiciel >= 18;
    for (const QString& c : dto) {
        vue->setVisible(c, versionDto);
        if (versionDto) vue->setEnabled(c, actif);
    }
}
