#pragma once
// Procedures over the run state as a whole and the helpers every window uses.

#include <QString>

class QWidget;

void passerHorsLigne();
void razEtatSession();
void fixerDrapeauxPartitions(bool valeur);
void arreterScrutation();
void fermerFenetres();
void terminerApplication();
void activerFenetrePrincipale(bool actif);
void pointeurSourisPartout(int pointeur);
bool afficheHorsLimites();
QString virguleEnPoint(const QString& texte);
int derniereLigneMenuBGen();
