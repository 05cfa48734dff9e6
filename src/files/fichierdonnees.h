#pragma once
// Data file (".mnc"): the whole set-up of one converter (device data,
// menu B general, 64 partitions with their U/F points, menu C).

#include <QString>

#include <array>

// What a read actually took from the file.
struct LectureFichier {
    bool valide = false;
    // Entry p: the block of partition p (1 to 64) was read whole.
    std::array<bool, 65> partitionsLues{};
    int nbPartitionsLues = 0;
    bool ancienFichier = false;    // 32-partition file
    bool menuCLu = false;
};

// Writes the file (on line, uploads everything first). False when nothing
// was written: the upload lost the link (*liaisonPerdue set), or the file
// could not be written; the file that was there is then left as it was.
// No state flag changes.
bool sauverFichierDonnees(const QString& chemin, bool* liaisonPerdue = nullptr);

// Reads the whole file, then puts it into the tables; a good read marks held
// and modified the partitions it read, and menu C held. False, after the
// illegible-file message, when the file cannot be read whole or holds a value
// outside its row's limits; the tables, the windows and the marks are then
// left as they were.
bool ouvrirFichierDonnees(const QString& chemin, LectureFichier* lecture = nullptr);
