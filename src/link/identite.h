#pragma once
// Converter identity and the small commands around the real work.

#include <QString>

void lireVersionConvertisseur();   // "LES": champsLES, version, partition count
void envoyerXxX();                 // lock probe
void envoyerOrigPart0();           // "$pg0": partition selection from the PC
void envoyerOrigPart1();           // "$pg1": back to the terminal block
void envoyerCommandeSimple(const QString& commande);
