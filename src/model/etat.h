#pragma once
// Run state shared by every window: flags of the current run, partition
// marks, present ports, window positions, converter identity.

#include <QString>

#include <array>
#include <cstdint>

// Run flags.
inline bool travailEnCours = false;     // busy: foreground work with the converter or a file
inline bool premierDemarrage = false;   // main window started, splash not yet closed
inline bool passwordOk = false;
inline bool startActif = false;         // the working display's poll owns the link
inline bool startInitialise = false;
inline bool menuAModifie = false;
inline bool menuBGenModifie = false;
inline bool menuCModifie = false;
inline bool menuBGenCharge = false;
inline bool menuCCharge = false;
inline bool origPartExterne = false;    // partition selection on the terminal block
inline bool reponseXxX = false;         // device data locked on the converter
inline bool sensLecture = false;        // true: read from the converter
inline int bgenLu = 0;                  // first general read of the run done
inline bool flagExit = false;           // the working display closes at its next tick

// Run numbers.
inline int partitionCourante = 1;
inline int partitionDebut = 1;
inline int partitionFin = 1;
inline int langueIndex = 0;             // 0 French ... 5 Portuguese
inline int codePortIni = 6;             // 6 = COM1 ... 9 = COM4
inline int modeCopie = 0;
inline int choixImpression = 0;

// Converter identity.
inline int versionLogiciel = 0;
inline QString versionLettre;
inline int nbPartitions = 64;
// Device-data fields of the "LES" reply (0 to 5 used).
inline std::array<QString, 8> champsLES;

// Partition marks, entry p - 1 for partition p.
inline std::array<bool, 65> partParamsCharges{};
inline std::array<bool, 65> partNemaCharges{};
inline std::array<bool, 65> partParamsModifies{};
inline std::array<bool, 65> partNemaModifies{};

// Ports 1 to 4 that could be opened at start-up (entry 0 unused).
inline std::array<bool, 5> portPresent{};

// Left and Top of windows 1 to 13 in twips; (0, 0) never placed.
struct PositionFenetre {
    std::int16_t Left = 0;
    std::int16_t Top = 0;
};
inline std::array<PositionFenetre, 14> positionsFenetres{};

// A position in twips clamped to 16 bits.
std::int16_t twips16(double twips);

// Working display: fault flags "0"/"1" of the last "AN" reply (0 to 7) and
// relay states 0/1 of the last "ST" reply (0 to 4).
inline std::array<QString, 11> etatAnomalies;
inline std::array<int, 11> etatRelais{};

// Set while the program ends: nothing more is sent, every wait returns.
inline bool programmeTermine = false;
