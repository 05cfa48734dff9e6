#include "affichagepartition.h"

#include "nombres.h"
#include "partitions.h"
#include "tables.h"
#include "vues.h"

namespace {
QString format2(int k, int p) { return formatNombre(parametresPartitions[k][p].nombre(), QStringLiteral("#0.00")); }
QString brut(int k, int p) { return parametresPartitions[k][p].texteAffiche(); }

// Option of index = value; a value outside the row's limits selects nothing.
void selectionner(IVue* vue, const char* groupe, int k, int p)
{
    const int index = parametresPartitions[k][p].entier();
    const defParametre& d = defParamsPartition[k];
    if (index < d.min.nombre() || index > d.max.nombre()) return;
    vue->selectionnerOption(QLatin1String(groupe), index);
}

void texte(IVue* vue, const char* controle, const QString& t) { vue->setTexte(QLatin1String(controle), t); }

const QString label(int i) { return element(QStringLiteral("Label"), i); }
}

void afficherPartition(int partition)
{
    const int p = partition;
    if (!partitionValide(p)) return;
    fixerFinGamme(p);
    IVueMenuBP* vue = vues().menuBP;
    if (!vue) return;

    texte(vue, "editTxtNbPoles", brut(0, p));
    selectionner(vue, "irefChk", 2, p);
    majChampsIref(!vue->optionSelectionnee(QStringLiteral("irefChk"), 1));

    texte(vue, "editTxtPuissMax", format2(1, p));
    texte(vue, "editTxtCrtMot", format2(3, p));
    texte(vue, "editTxtCrtAcc", format2(4, p));
    texte(vue, "editTxtCrtIref", format2(5, p));
    texte(vue, "editTxtTacc", format2(8, p));
    texte(vue, "editTxtTdec", format2(9, p));
    texte(vue, "editTxtConsDef", format2(11, p));
    texte(vue, "editTxtFreqMin", format2(12, p));
    texte(vue, "editTxtFx1", format2(13, p));
    texte(vue, "editTxtFx2", format2(14, p));
    texte(vue, "editTxtFx3", format2(15, p));

    selectionner(vue, "imIrefChk", 6, p);
    texte(vue, "editTxtCompRi", brut(7, p));
    selectionner(vue, "origConsChk", 10, p);
    texte(vue, "editTxtFi1", brut(16, p));
    texte(vue, "editTxtBi1", brut(17, p));
    texte(vue, "editTxtFi2", brut(18, p));
    texte(vue, "editTxtBi2", brut(19, p));
    texte(vue, "editTxtFi3", brut(20, p));
    texte(vue, "editTxtBi3", brut(21, p));

    selectionner(vue, "mesVitChk", 22, p);
    const bool mesure = parametresPartitions[22][p].nombre() != 0;
    vue->setEnabled(QStringLiteral("editTxtNbPulses"), mesure);
    vue->setEnabled(QStringLiteral("editTxtGliss"), mesure);
    vue->setEnabled(label(41), mesure);
    vue->setEnabled(label(42), mesure);
    texte(vue, "editTxtNbPulses", brut(23, p));
    texte(vue, "editTxtGliss", brut(24, p));

    selectionner(vue, "genreMcmChk", 25, p);
    afficherChampsMcm(parametresPartitions[25][p].entier());
    formatValeursMcm(1);

    texte(vue, "editTxtDelDto", brut(37, p));
    texte(vue, "editTxtDurFcc", brut(30, p));
    texte(vue, "editTxtCrtFcc", format2(31, p));
    texte(vue, "editTxtCrtFccPerm", format2(32, p));
    texte(vue, "editTxtSBF", brut(33, p));
    texte(vue, "editTxtCDG", brut(34, p));
}

void formatValeursMcm(int cible)
{
    IVue* vue = nullptr;
    int p = 0;
    QString groupe;
    if (cible == 1) {
        vue = vues().menuBP;
        if (!vue) return;
        const double n = nombreEnTete(vue->texte(QStringLiteral("editTxtGamme")));
        // Whatever the field holds, only a stored partition is read.
        if (n < 1 || n > 64) return;
        p = versEntier(n);
        groupe = QStringLiteral("genreMcmChk");
    } else {
        vue = vues().menuD;
        if (!vue) return;
        p = valeursCourantes[0].valeur.entier();
        groupe = QStringLiteral("mcmChk");
    }
    if (!partitionValide(p)) return;
    const bool entier = vue->optionSelectionnee(groupe, 2) || vue->optionSelectionnee(groupe, 3);
    const QString masque = entier ? QStringLiteral("#0") : QStringLiteral("#0.00");
    for (int i = 0; i < 4; ++i)
        vue->setTexte(QStringLiteral("editTxtMcm") + QString::number(i + 1),
                      formatNombre(parametresPartitions[26 + i][p].nombre(), masque));
}

void afficherChampsMcm(int genreMcm)
{
    IVueMenuBP* vue = vues().menuBP;
    if (!vue) return;
    const bool champs = genreMcm != 3;
    for (int i = 1; i <= 4; ++i) vue->setVisible(QStringLiteral("editTxtMcm") + QString::number(i), champs);
    for (int i = 43; i <= 46; ++i) vue->setVisible(label(i), champs);
    const bool unites = genreMcm == 0 || genreMcm == 1;
    for (int i : {19, 20, 21, 53}) vue->setVisible(label(i), unites);
}

void majChampsIref(bool actif)
{
    IVueMenuBP* vue = vues().menuBP;
    if (!vue) return;
    for (const char* c : {"editTxtCrtMot", "editTxtCrtAcc", "editTxtCrtIref", "editTxtCrtFcc", "editTxtCrtFccPerm"}) {
        vue->setVisible(QLatin1String(c), actif);
        vue->setEnabled(QLatin1String(c), actif);
    }
    for (int i : {24, 25, 26, 48, 49, 126, 127, 133, 134, 135}) vue->setEnabled(label(i), actif);
}
