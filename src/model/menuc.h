#pragma once
// Menu C: relay functions, analog outputs, comparator.

// Limits of the menu C values.
constexpr int relaisMax = 5;                  // 0: not allocated
constexpr int sortieAnalogiqueMax = 6;        // 0: no option
constexpr double niveauComparateurMax = 10;   // [V], from 0
constexpr double retardRelaisMax = 5;         // [s], from 0

void initTablesMenuC();
// true reads menu C from the converter; false writes it and sets sens to true.
void transfertMenuC(bool& sens);
void libellesMenuC();
// Shows the menu C tables in the menu C window (when it is loaded).
void afficherMenuC();
// Writes menu C to the converter from the tables (busy meanwhile).
void telechargerMenuC();
