#pragma once
// Partitions and U/F points between the converter and the PC stores. The
// direction is sensLecture (true = read); each write leaves it true.

void transfertNumPartition();
void transfertPartition(bool afficher);
void transfertPointsNema();
// Reads partitions premiere to derniere; false when the link was lost.
bool transfertPartitions(int premiere, int derniere);
void chargerPartition();
void telechargerPartitionsModifiees();
