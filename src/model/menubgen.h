#pragma once
// Menu B general: table set-up, transfer, display and enabling.

void initTableMenuBGen();
void transfertMenuBGen();
void afficherMenuBGen();
void majBoutonsMenuBGen(bool actif);
// Last row exchanged with the converter for its software version.
int derniereLigneEchangee();
// The mains-voltage field takes 200 V and up while the table's own minimum is
// 400 V: a typed value below 400 is stored and sent as typed.
constexpr int rangeeTensionReseau = 6;
constexpr double tensionReseauSaisieMin = 200;
