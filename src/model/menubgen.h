#pragma once
// Menu B general: table set-up, transfer, display and enabling.

void initTableMenuBGen();
void transfertMenuBGen();
void afficherMenuBGen();
void majBoutonsMenuBGen(bool actif);
// Last row exchanged with the converter for its software version.
int derniereLigneEchangee();
