#pragma once
// Password file zelto.psw beside the program: the password as one quoted
// line ended by CR LF.

#include <QByteArray>
#include <QString>

inline const QString motDePasseDefaut = QStringLiteral("pirudo");

QString cheminPsw();

// The stored password; an empty or missing file is first written with the
// default password. CR and LF are skipped and double quotes dropped.
QString lirePassword();

// Replaces the file with the password as one quoted line; false, with the
// file left as it was, when it could not be written.
bool ecrirePassword(const QString& nouveau);

// The text of the file's bytes: UTF-8, or Windows-1252 (the original
// platform's code page) when they are not valid UTF-8.
QString texteFichierPsw(const QByteArray& octets);
