#pragma once
// Password file zelto.psw beside the program: the password as one quoted
// line ended by CR LF.

#include <QString>

inline const QString motDePasseDefaut = QStringLiteral("pirudo");

QString cheminPsw();

// The stored password; an empty or missing file is first written with the
// default password. CR and LF are skipped and double quotes dropped.
QString lirePassword();

// Replaces the file with the password as one quoted line.
void ecrirePassword(const QString& nouveau);
