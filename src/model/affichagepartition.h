#pragma once
// Partition display in menu B partitions (and the MCM fields of menu D).

void afficherPartition(int partition);
// 1: menuBP's MCM fields, from the partition typed in editTxtGamme; other
// values: menuD's, from the current partition.
void formatValeursMcm(int cible);
void afficherChampsMcm(int genreMcm);
void majChampsIref(bool actif);
