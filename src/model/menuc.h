#pragma once
// Menu C: relay functions, analog outputs, comparator.

void initTablesMenuC();
// true reads menu C from the converter; false writes it and sets sens to true.
void transfertMenuC(bool& sens);
void libellesMenuC();
// Shows the menu C tables in the menu C window (when it is loaded).
void afficherMenuC();
// Writes menu C to the converter from the tables (busy meanwhile).
void telechargerMenuC();
