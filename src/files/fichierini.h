#pragma once
// Settings file zelto.ini beside the program: language, port and the Left
// and Top of windows 1 to 13, as 27 comma-terminated integers.

#include <QByteArray>
#include <QString>

// Folder of the program (zelto.ini, zelto.psw and data/ live there).
// Empty until set: the folder of the executable.
QString dossierProgramme();
void definirDossierProgramme(const QString& dossier);

QString cheminIni();

// Start-up reading: creates the default file when missing or under 5 bytes;
// sets langueIndex, codePortIni and positionsFenetres.
void lireFichierIni();

// The three writers; each replaces the whole file, keeping the first
// value's other digit.
void sauverPortIni(int code);
void sauverLangueIni();
void sauverPositionsIni();

// The file's content for a first value and the records in memory.
QByteArray contenuIni(int premiereValeur);
