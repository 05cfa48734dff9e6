#include "fichierpsw.h"

#include "ecrituresure.h"
#include "fichierini.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

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
    return texteFichierPsw(texte);
}

QString texteFichierPsw(const QByteArray& octets)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString texte = utf8(octets);
    if (!utf8.hasError()) return texte;
    // Windows-1252: Latin-1 but for 0x80-0x9F (0 where the code page has no character).
    static constexpr char16_t de80a9F[32] = {
        0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
        0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    QString r;
    r.reserve(octets.size());
    for (const char c : octets) {
        const auto o = static_cast<unsigned char>(c);
        const char16_t u = (o >= 0x80 && o <= 0x9F) ? de80a9F[o - 0x80] : char16_t(o);
        r += QChar(u ? u : char16_t(o));
    }
    return r;
}

bool ecrirePassword(const QString& nouveau)
{
    // Through a temporary file: a failed write leaves the old password.
    return ecrireFichierSur(cheminPsw(), '"' + nouveau.toUtf8() + "\"\r\n");
}
