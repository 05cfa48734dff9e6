#pragma once
// Partition definitions, stores and selector.

#include "variant.h"

void initDefParamsPartition();
void initPartitionCode();
void initPointsNema(int nbPartitionsAVerifier);
void choisirPartition(const Variant& partition);
void terminerPointsNema(int partition);
bool partitionsModifiees();
int compterPartitionsChargees();

// The converter partition the selector names: 1 when it is empty, not a
// whole number, or outside 1 to nbPartitions.
int partitionDuSelecteur();
// True for a partition number the stores hold (1 to 64).
inline bool partitionValide(int p) { return p >= 1 && p <= 64; }
// Point count of partition p as an index, 1 to 32.
int nbPointsIndex(int p);
// nbPointsGamme, freqMaxGamme and tensionMaxGamme from partition p.
void fixerFinGamme(int p);

// Limits of a U/F point: voltage [V] and frequency [Hz].
constexpr double tensionPointMax = 460;
constexpr double frequencePointMax = 4000;
inline bool pointDansLimites(double u, double f)
{
    return u >= 0 && u <= tensionPointMax && f >= 0 && f <= frequencePointMax;
}
