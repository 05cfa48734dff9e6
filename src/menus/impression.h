#pragma once
// The printout of menu B general's Print button: the print choice, the
// printer dialog, then menu A, menu B general, menu C and every partition
// with its U/F points, eight partitions side by side per page.

#include <QString>

class IImprimante;

// The whole of the Print button's steps. Reaches menu B general only
// through vues().menuBGen (nothing when it is not loaded) and prints on
// plateforme().imprimante (a Qt printer when none is installed).
void imprimerMenuBGen();

// The partition pages, from a new page on.
void imprimerPartitions(IImprimante& imprimante);

// Cell of U/F point j (1 to 32) of partition p: "230/50", or empty for a
// point past the partition's count or with no voltage.
QString texteUsFs(int point, int partition);
