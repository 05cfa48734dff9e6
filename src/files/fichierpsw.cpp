#include "fichierpsw.h"

#include "fichierini.h"

#include <QDir>
#include <QFile>

QString cheminPsw()
{
    return QDir(dossierProgramme()).filePath(QStringLiteral("zelto.psw"));
}

QString lirePassword()
{
    QFile f(cheminPsw());
    // Opening for appending creates an empty file when there is none.
    if (f.open(QIODevice::Append)) f.close();

    QByteArray octets;
    if (f.open(QIODevice::ReadOnly)) {
        octets = f.readAll();
        f.close();
    }
    if (octets.isEmpty()) {
        ecrirePassword(motDePasseDefaut);
        return motDePasseDefaut;
    }
    QByteArray texte;
    for (char c : octets)
        if (c != '\r' && c != '\n' && c != '"') texte += c;
    return QString::fromUtf8(texte);
}

void ecrirePassword(const QString& nouveau)
{
    QFile f(cheminPsw());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    f.write('"' + nouveau.toUtf8() + "\"\r\n");
}
