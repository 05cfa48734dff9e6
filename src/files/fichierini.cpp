#include "fichierini.h"

#include "ecrituresure.h"

#include "model/etat.h"
#include "model/nombres.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cmath>

namespace {

QString dossier_;

constexpr int premiereValeurDefaut = 16;   // French, COM1

bool langueValide(int v) { return v / 10 >= 1 && v / 10 <= 6; }
bool portValide(int v) { return v % 10 >= 6 && v % 10 <= 9; }

// The first value as the writers find it: CR and LF skipped, ended by the
// first comma or the end of the file. Missing or out of range digits are
// taken from memory.
int premiereValeurFichier()
{
    QString texte;
    QFile f(cheminIni());
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray octets = f.readAll();
        for (char c : octets) {
            if (c == '\r' || c == '\n') continue;
            if (c == ',') break;
            texte += QLatin1Char(c);
        }
    }
    bool ok = false;
    const double d = texte.trimmed().toDouble(&ok);
    const int v = (ok && std::abs(d) < 1e6) ? versEntier(d) : -1;
    const int dizaines = (v >= 0 && langueValide(v)) ? v / 10 : langueIndex + 1;
    const int unites = (v >= 0 && portValide(v)) ? v % 10 : codePortIni;
    return dizaines * 10 + unites;
}

// Written through a temporary file: a file that cannot be written whole is
// left as it was.
void ecrire(const QByteArray& contenu)
{
    ecrireFichierSur(cheminIni(), contenu);
}

}

QString dossierProgramme()
{
    if (dossier_.isEmpty() && QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return dossier_;
}

void definirDossierProgramme(const QString& dossier)
{
    dossier_ = dossier;
}

QString cheminIni()
{
    return QDir(dossierProgramme()).filePath(QStringLiteral("zelto.ini"));
}

QByteArray contenuIni(int premiereValeur)
{
    QByteArray c = QByteArray::number(premiereValeur) + ',';
    for (int k = 1; k <= 13; ++k) {
        c += QByteArray::number(positionsFenetres[k].Left) + ',';
        c += QByteArray::number(positionsFenetres[k].Top) + ',';
    }
    return c;
}

void lireFichierIni()
{
    QFile f(cheminIni());
    // Opening for appending creates an empty file when there is none.
    if (f.open(QIODevice::Append)) f.close();

    QByteArray octets;
    if (f.open(QIODevice::ReadOnly)) {
        octets = f.readAll();
        f.close();
    }

    int premiere = premiereValeurDefaut;
    if (octets.size() < 5) {
        QByteArray defaut = QByteArray::number(premiereValeurDefaut) + ',';
        for (int i = 0; i < 26; ++i) defaut += "0,";
        ecrire(defaut);
    } else {
        QString texte;
        bool premiereLue = false;
        int record = 1;
        bool gauche = true;
        for (char c : octets) {
            if (c != ',') {
                texte += QLatin1Char(c);
                continue;
            }
            bool ok = false;
            const double d = texte.trimmed().toDouble(&ok);
            texte.clear();
            if (!premiereLue) {
                premiereLue = true;
                premiere = (ok && std::abs(d) < 1e6) ? versEntier(d) : -1;
                continue;
            }
            if (record > 13) continue;
            if (ok) {
                const std::int16_t v = twips16(static_cast<double>(versEntier(std::clamp(d, -1e9, 1e9))));
                if (gauche) positionsFenetres[record].Left = v;
                else positionsFenetres[record].Top = v;
            }
            if (!gauche) ++record;
            gauche = !gauche;
        }
        if (!premiereLue) {
            bool ok = false;
            const double d = texte.trimmed().toDouble(&ok);
            premiere = (ok && std::abs(d) < 1e6) ? versEntier(d) : -1;
        }
    }

    langueIndex = (premiere >= 0 && langueValide(premiere)) ? premiere / 10 - 1 : 0;
    codePortIni = (premiere >= 0 && portValide(premiere)) ? premiere % 10 : 6;
}

void sauverPortIni(int code)
{
    const int v = premiereValeurFichier();
    ecrire(contenuIni(v / 10 * 10 + code));
    if (code >= 6 && code <= 9) codePortIni = code;
}

void sauverLangueIni()
{
    const int v = premiereValeurFichier();
    ecrire(contenuIni((langueIndex + 1) * 10 + v % 10));
}

void sauverPositionsIni()
{
    ecrire(contenuIni(premiereValeurFichier()));
}
