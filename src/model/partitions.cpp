#include "partitions.h"

#include "etat.h"
#include "nombres.h"
#include "tables.h"
#include "vues.h"

#include <algorithm>
#include <cmath>

namespace {
struct LigneParam {
    const char* code;
    const char* cle;
    double min;
    double max;
    int nbChiffres;
    const char* suffixe;
};

// Codes and keys are case-sensitive ("$dF" row 11, "$df" row 30).
constexpr LigneParam lignesPartition[38] = {
    {"NP", "$pp", 2, 24, 2, ""},          // number of poles
    {"PM", "$pm", 0.1, 255.255, 3, ".00"}, // motor power [kW]
    {"RT", "$rt", 0, 1, 1, ""},           // Iref source
    {"IN", "$in", 1, 300, 3, ".00"},      // motor nominal current [A]
    {"IC", "$ia", 1, 300, 3, ".00"},      // acceleration current [A]
    {"IR", "$ir", 1, 300, 3, ".00"},      // Iref current [A]
    {"CB", "$ci", 0, 2, 1, ""},           // action when Im > Iref
    {"RI", "$cr", 0, 38, 2, ""},          // RI compensation
    {"TAC", "$ta", 1, 250, 3, ".00"},     // acceleration time [s]
    {"TDC", "$td", 1, 250, 3, ".00"},     // deceleration time [s]
    {"PC", "$pc", 0, 1, 1, ""},           // setpoint source
    {"fdf", "$dF", 0, 4000, 4, ".00"},    // default frequency [Hz]
    {"fmn", "$fm", 0, 4000, 4, ".00"},    // minimum frequency [Hz]
    {"FX1", "$fx", 0, 4000, 4, ".00"},    // preset frequencies [Hz]
    {"FX2", "$fy", 0, 4000, 4, ".00"},
    {"FX3", "$fz", 0, 4000, 4, ".00"},
    {"FI1", "$xi", 0, 4000, 4, ""},       // prohibited bands: centre, width [Hz]
    {"BI1", "$qi", 0, 2000, 4, ""},
    {"FI2", "$xy", 0, 4000, 4, ""},
    {"BI2", "$qy", 0, 2000, 4, ""},
    {"FI3", "$xz", 0, 4000, 4, ""},
    {"BI3", "$qz", 0, 2000, 4, ""},
    {"MV", "$mv", 0, 1, 1, ""},           // speed measurement
    {"Np", "$np", 1, 255, 3, ""},         // pulses per revolution
    {"sp", "$sl", 0, 10, 2, ".00"},       // slip [%]
    {"cm", "$MC", 0, 3, 1, ""},           // kind of MCM
    {"IM1", "$mx", 0, 300, 3, ".00"},     // MCM currents [A]
    {"IM2", "$my", 0, 300, 3, ".00"},
    {"IM3", "$mz", 0, 300, 3, ".00"},
    {"IM4", "$mq", 0, 300, 3, ".00"},
    {"TC", "$df", 0, 60, 2, ""},          // DC braking duration [s]
    {"Ic", "$cf", 0, 254, 3, ".00"},      // FCC current [A]
    {"Ip", "$cp", 0, 254, 3, ".00"},      // permanent braking current [A]
    {"SF", "$sf", 0, 250, 3, ""},         // low-frequency smoothing
    {"CG", "$cg", 0, 254, 3, ""},         // slip compensation
    {"TAU", "$tu", 1, 250, 3, ".00"},     // user acceleration time [s]
    {"TDU", "$du", 1, 250, 3, ".00"},     // user deceleration time [s]
    {"TM", "$tm", 0, 5000, 4, ""},        // DTO delay [ms]
};

Variant limite(double v)
{
    // Whole limits stay integers; row 1's are doubles.
    if (v == static_cast<int>(v)) return Variant(static_cast<int>(v));
    return Variant(v);
}

bool pointHorsLimites(const Variant& u, const Variant& f)
{
    if (u.estVide() || f.estVide()) return true;
    return !pointDansLimites(u.nombre(), f.nombre());
}
}

void initDefParamsPartition()
{
    for (int k = 0; k < 38; ++k) {
        defParametre& d = defParamsPartition[k];
        d.code = QString::fromLatin1(lignesPartition[k].code);
        d.cle = QString::fromLatin1(lignesPartition[k].cle);
        d.min = limite(lignesPartition[k].min);
        d.max = limite(lignesPartition[k].max);
        d.nbChiffres = lignesPartition[k].nbChiffres;
        d.suffixeFormat = QString::fromLatin1(lignesPartition[k].suffixe);
    }
    for (int p = 1; p <= 64; ++p) {
        for (int k = 0; k < 38; ++k) {
            Variant& v = parametresPartitions[k][p];
            const double n = v.nombre();
            if (v.estVide() || n < lignesPartition[k].min || n > lignesPartition[k].max)
                v = defParamsPartition[k].min;
        }
    }
}

void initPartitionCode()
{
    defParametre& s = valeursCourantes[0];
    s.code = QStringLiteral("NG");
    s.cle = QStringLiteral("$ng");
    s.min = 1;
    s.max = nbPartitions;
    if (s.valeur.estVide() || s.valeur.nombre() < 1) s.valeur = 1;
}

void initPointsNema(int nbPartitionsAVerifier)
{
    if (nbPointsNema.estVide() || nbPointsNema.nombre() == 0) nbPointsNema = 1;
    codeNema = QStringLiteral("NM");
    cleNema = QStringLiteral("$nm");

    const int n = std::min(nbPartitionsAVerifier, 64);
    for (int p = 1; p <= n; ++p) {
        auto& points = pointsNema[p];
        const Variant& compte = points[64];
        // The store holds 32 points: a larger count is a bad table.
        bool mauvais = compte.estVide() || compte.nombre() < 1 || compte.nombre() > 32;
        const int c = mauvais ? 1 : versEntier(compte.nombre());
        for (int j = 1; j <= c && !mauvais; ++j)
            mauvais = pointHorsLimites(points[2 * j - 2], points[2 * j - 1]);
        if (!mauvais) continue;
        points[0] = 1;
        points[1] = 50;
        nbPointsNema = 1;
        points[64] = 1;
        for (int k = 2; k <= 63; ++k) points[k] = 0;
    }
}

int nbPointsIndex(int p)
{
    if (!partitionValide(p)) return 1;
    return std::clamp(versEntier(pointsNema[p][64].nombre()), 1, 32);
}

void fixerFinGamme(int p)
{
    if (!partitionValide(p)) return;
    nbPointsGamme = pointsNema[p][64];
    const int n = nbPointsIndex(p);
    freqMaxGamme = pointsNema[p][2 * n - 1];
    tensionMaxGamme = pointsNema[p][2 * n - 2];
}

void choisirPartition(const Variant& partition)
{
    const Variant valeur = partition;   // the argument may be the selector itself
    valeursCourantes[0].valeur = valeur;
    const int p = valeur.entier();
    partitionCourante = p;
    fixerFinGamme(p);
    if (IVueMenuBP* vue = vues().menuBP) vue->setTexte(QStringLiteral("editTxtGamme"), QString::number(p));
    nbPointsNema = 1;
}

void terminerPointsNema(int partition)
{
    if (!partitionValide(partition)) return;
    auto& points = pointsNema[partition];
    int compte = 1;
    for (int j = 2; j <= 31; ++j)
        if (points[2 * j - 2].nombre() != 0 && points[2 * j - 1].nombre() != 0) ++compte;
    points[64] = compte;
    for (int k = 2 * compte; k <= 63; ++k) points[k] = 0;
    tensionMaxGamme = points[2 * compte - 2];
    freqMaxGamme = points[2 * compte - 1];
}

bool partitionsModifiees()
{
    for (int i = 0; i < 64; ++i)
        if (partParamsModifies[i] || partNemaModifies[i]) return true;
    return false;
}

int compterPartitionsChargees()
{
    int n = 0;
    for (int i = 0; i < 64; ++i) n += (partParamsCharges[i] ? 1 : 0) + (partNemaCharges[i] ? 1 : 0);
    return n;
}

int partitionDuSelecteur()
{
    const Variant& v = valeursCourantes[0].valeur;
    if (v.estVide()) return 1;
    const double n = v.nombre();
    if (n != std::floor(n) || n < 1 || n > std::min(nbPartitions, 64)) return 1;
    return static_cast<int>(n);
}
