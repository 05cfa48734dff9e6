#include "transfertspartitions.h"

#include "affichagepartition.h"
#include "etat.h"
#include "resources/idschaines.h"
#include "link/fenetreprincipale.h"
#include "link/identite.h"
#include "link/transaction.h"
#include "nombres.h"
#include "partitions.h"
#include "platform/plateforme.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "tables.h"
#include "vues.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

namespace {
void lire(const QString& code)
{
    cmdCode = code;
    cmdParam1.clear();
    cmdParam2.clear();
    envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
}

void ecrireParametre(int k, const Variant& valeur)
{
    const defParametre& d = defParamsPartition[k];
    cmdMode = QStringLiteral("B");
    cmdCode = d.cle + valeur.texteFil();
    cmdParam1 = d.cle;
    cmdParam2 = d.code;
    envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
}

Variant dansLimites(int k, double v)
{
    const defParametre& d = defParamsPartition[k];
    if (v < d.min.nombre() || v > d.max.nombre()) return d.min;
    return v;
}

// Leading number of a field when it starts with one (blanks skipped).
bool nombreDuChamp(const QString& champ, double& valeur)
{
    const QString t = champ.trimmed();
    if (t.isEmpty()) return false;
    const QChar c = t.at(0);
    const bool signe = (c == QLatin1Char('-') || c == QLatin1Char('+')) && t.size() > 1;
    const QChar premier = signe ? t.at(1) : c;
    if (!premier.isDigit() && premier != QLatin1Char('.')) return false;
    valeur = nombreEnTete(t);
    return true;
}

// "F" padded to 4 digits, "U" to 3, as the converter reads a point.
QString completer(const QString& texte, double valeur, int chiffres)
{
    QString zeros;
    if (valeur < 10) zeros = QString(chiffres - 1, QLatin1Char('0'));
    else if (valeur < 100) zeros = QString(chiffres - 2, QLatin1Char('0'));
    else if (chiffres == 4 && valeur < 1000) zeros = QStringLiteral("0");
    return zeros + texte;
}

void lirePointsNema(int p)
{
    cmdMode = QStringLiteral("L");
    lire(codeNema.isEmpty() ? QStringLiteral("NM") : codeNema);
    if (!enLigne()) return;

    // Only the pairs closed by their ";" count; a 0 or a field that is no
    // number ends the table.
    const QStringList champs = reponse.left(300).split(QLatin1Char(';'));
    const int nbComplets = static_cast<int>(champs.size()) - 1;
    auto& points = pointsNema[p];
    int compte = 0;
    for (int k = 0; k + 1 < nbComplets && compte < 32; k += 2) {
        double f = 0, u = 0;
        if (!nombreDuChamp(champs[k], f) || f == 0) break;
        if (!nombreDuChamp(champs[k + 1], u)) break;
        points[k] = u;
        points[k + 1] = f;
        ++compte;
    }
    // A table read whole leaves no point of the one it replaces.
    if (compte > 0)
        for (int k = 2 * compte; k < 64; ++k) points[k] = 0;
    points[64] = std::max(compte, 1);
}

void ecrirePointsNema(int p)
{
    const QString cle = cleNema.isEmpty() ? QStringLiteral("$nm") : cleNema;
    const QString code = codeNema.isEmpty() ? QStringLiteral("NM") : codeNema;
    for (int tour = 1; tour <= 4 && enLigne(); ++tour) {
        nbPointsNema = pointsNema[p][64];
        const int n = nbPointsIndex(p);
        QString attendu;
        for (int j = 1; j <= n && enLigne(); ++j) {
            const Variant& vu = pointsNema[p][2 * j - 2];
            const Variant& vf = pointsNema[p][2 * j - 1];
            attendu += vf.texteFil() + QLatin1Char(';') + vu.texteFil() + QLatin1Char(';');
            double f = vf.nombre();
            double u = vu.nombre();
            QString tf = vf.texteFil();
            QString tu = vu.texteFil();
            if (f < 0 || f > 4000) { f = 50; tf = QStringLiteral("50"); }
            if (u < 0 || u > 460) { u = 1; tu = QStringLiteral("1"); }
            cmdCode = cle + completer(tu, u, 3) + completer(tf, f, 4);
            cmdMode = QStringLiteral("U");
            cmdParam1.clear();
            cmdParam2.clear();
            envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
            attentePrecise(0.03f);
        }
        reponseAttendue = attendu;
        cmdCode = cle + QStringLiteral("0000000");
        cmdMode = QStringLiteral("U");
        cmdParam1 = cle;
        cmdParam2 = code;
        if (enLigne()) envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
        attentePrecise(0.03f);
        if (reponseAttendue == QLatin1String("ok")) break;
    }
}

void statutPrincipal(const QString& texte)
{
    if (IFenetrePrincipale* f = plateforme().principale) f->setTexteStatut(texte);
}
}

void transfertNumPartition()
{
    defParametre& s = valeursCourantes[0];
    if (sensLecture) {
        cmdMode = QStringLiteral("L");
        if (enLigne()) lire(QStringLiteral("NG"));
        if (!enLigne()) return;
        // Only a whole partition number of this converter becomes current.
        const QString t = reponse.trimmed();
        if (t.isEmpty() || !t.at(0).isDigit()) return;
        const double v = nombreEnTete(t);
        if (v != std::floor(v) || v < 1 || v > std::min(nbPartitions, 64)) return;
        s.valeur = v;
        return;
    }
    cmdMode = QStringLiteral("B");
    s.valeur = partitionCourante;
    cmdCode = s.cle.isEmpty() ? QStringLiteral("$ng") : s.cle;
    cmdCode += QString::number(partitionCourante);
    cmdParam1 = QStringLiteral("$ng");
    cmdParam2 = QStringLiteral("NG");
    if (enLigne()) envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
    sensLecture = true;
}

void transfertPartition(bool afficher)
{
    const int p = partitionCourante;
    if (!partitionValide(p)) {
        sensLecture = true;
        return;
    }
    if (!sensLecture) {
        const bool irefBornier = parametresPartitions[2][p].nombre() == 1;
        for (int k = 0; k <= 34 && enLigne(); ++k) {
            if (irefBornier && k == 3) k = 6;
            if (irefBornier && k == 31) k = 33;
            ecrireParametre(k, parametresPartitions[k][p]);
        }
        // The user times (menu D) get the acceleration and deceleration times.
        if (enLigne()) ecrireParametre(35, parametresPartitions[8][p]);
        if (enLigne()) ecrireParametre(36, parametresPartitions[9][p]);
        sensLecture = true;
        return;
    }

    // Values are kept aside and stored only when the whole partition came.
    std::array<Variant, 38> lu;
    for (int k = 0; k < 38; ++k) {
        if (!enLigne()) return;
        lire(defParamsPartition[k].code);
        if (!enLigne()) return;
        lu[k] = dansLimites(k, nombreEnTete(reponse));
    }
    for (int k = 35; k <= 36; ++k) {
        if (!enLigne()) return;
        lire(defParamsPartition[k].code);
        if (!enLigne()) return;
        lu[k] = dansLimites(k, nombreEnTete(reponse));
    }
    for (int k = 0; k < 38; ++k) parametresPartitions[k][p] = lu[k];
    if (afficher) afficherPartition(p);
}

void transfertPointsNema()
{
    const int p = partitionCourante;
    if (!partitionValide(p)) {
        sensLecture = true;
        return;
    }
    if (sensLecture) {
        if (enLigne()) lirePointsNema(p);
        return;
    }
    ecrirePointsNema(p);
    sensLecture = true;
}

bool transfertPartitions(int premiere, int derniere)
{
    partitionCourante = premiere;
    for (int p = std::max(premiere, 1); p <= std::min(derniere, 64); ++p) {
        if (!enLigne()) return false;
        partitionCourante = p;
        sensLecture = false;
        transfertNumPartition();
        sensLecture = true;
        transfertPartition(true);
        sensLecture = true;
        transfertPointsNema();
    }
    return enLigne();
}

void chargerPartition()
{
    if (origPartExterne) envoyerOrigPart0();
    const int p = std::clamp(valeursCourantes[0].valeur.entier(), 1, 64);
    partitionCourante = p;
    if (!partParamsCharges[p - 1]) {
        if (IVueMenuBP* vue = vues().menuBP) vue->setTexteStatut(texteChaine(ids::patientez));
        sensLecture = false;
        transfertNumPartition();
        sensLecture = true;
        transfertPartition(true);
        // Held only when it really came from the converter.
        if (enLigne()) partParamsCharges[p - 1] = true;
    } else {
        sensLecture = false;
        transfertNumPartition();
    }
    afficherPartition(p);
    choisirPartition(Variant(p));
}

void telechargerPartitionsModifiees()
{
    if (origPartExterne) envoyerOrigPart0();
    for (int p = 1; p <= std::min(nbPartitions, 64) && enLigne(); ++p) {
        const int i = p - 1;
        if (!partParamsModifies[i] && !partNemaModifies[i]) continue;
        partitionCourante = p;
        sensLecture = false;
        transfertNumPartition();
        const QString statut = texteChaine(ids::chargementPartition) + QLatin1Char(' ')
                               + QString::number(p) + QStringLiteral(" ...");
        if (partParamsModifies[i]) {
            statutPrincipal(statut);
            sensLecture = false;
            transfertPartition(false);
            partParamsModifies[i] = false;
        }
        if (partNemaModifies[i]) {
            statutPrincipal(statut);
            sensLecture = false;
            transfertPointsNema();
            partNemaModifies[i] = false;
        }
    }
    ui().beep();
}
