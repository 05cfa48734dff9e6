#pragma once
// Code and limit tables and the stores of the converter's menus.

#include "variant.h"

#include <QString>

#include <array>

// Row layout shared by tableMenuBGen, valeursCourantes and defParamsPartition.
struct defParametre {
    QString code;           // read code
    QString cle;            // write key
    Variant min;            // also the default
    Variant max;
    Variant valeur;         // tableMenuBGen, valeursCourantes
    int nbChiffres = 0;     // defParamsPartition
    QString suffixeFormat;  // defParamsPartition: "" or ".00"
};

// Menu B general: rows 0 to 12 used, row 13 empty.
inline std::array<defParametre, 14> tableMenuBGen;

// Partition parameters: rows 0 to 37, row 38 empty.
inline std::array<defParametre, 39> defParamsPartition;
// Value of parameter k for partition p: parametresPartitions[k][p], p = 1 to 64.
inline std::array<std::array<Variant, 65>, 39> parametresPartitions;
// U/F store pointsNema[p][k]: k = 2j-2 voltage and 2j-1 frequency of point j
// (1 to 32), k = 64 the point count; p = 1 to 64.
inline std::array<std::array<Variant, 65>, 65> pointsNema;
// Row 0: partition selector "NG"/"$ng"; valeur = current partition.
inline std::array<defParametre, 2> valeursCourantes;

inline Variant nbPointsGamme;
inline Variant freqMaxGamme;
inline Variant tensionMaxGamme;
inline Variant nbPointsNema;
inline QString cleNema;
inline QString codeNema;

// Menu C: tableRelais[r] = {relay 0-5, "RL", write key, "R"+key}, r = 0 to 16.
inline std::array<std::array<Variant, 4>, 17> tableRelais;
// Analog outputs 1, 2: {option index 1-6 (0 none), read code, write key}.
inline std::array<std::array<Variant, 3>, 2> tableSortiesAnalogiques;
// Comparator: row 0 level [V], row 1 delay [s]: {value, read code, write key}.
inline std::array<std::array<Variant, 3>, 2> tableComparateur;

// Working display measurements: {code, last value}, rows 0 to 12 used.
inline std::array<std::array<Variant, 2>, 14> tableCodesMesures;
