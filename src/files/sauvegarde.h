#pragma once
// The user's save of a data file, with its messages.

#include <QString>

// Saves the data file. A write failure shows "Error in saving to disk!...";
// a link lost during the upload before the save says that nothing was saved
// and offers to write what the PC holds (Yes writes it, off line). True when
// a file was written.
bool sauverDonneesAvecRepli(const QString& chemin);
