#include "decodeurs.h"

#include "transaction.h"

#include <QStringList>

namespace {
constexpr int longueurMax = 200;

struct PositionRelais {
    const char* cle;
    int position;   // 1 to 17 in the "RL" reply
};

constexpr PositionRelais positionsRelais[] = {
    {"$fA", 1},  {"$vA", 2},  {"$fZ", 3},  {"$vZ", 4},  {"$sS", 5},  {"$su", 6},
    {"$mc", 7},  {"$gl", 8},  {"$al", 9},  {"$VC", 10}, {"$an", 11}, {"$ve", 12},
    {"$aF", 13}, {"$aA", 14}, {"$pt", 15}, {"$nt", 16}, {"$re", 17},
};
} // namespace

QString extraireEtatRelais(const QString& cle)
{
    if (reponse.size() > longueurMax) return QString();
    QString garde;
    for (const QChar c : reponse)
        if ((c >= u'0' && c <= u'9') || c == u'.' || c == u',') garde += c;

    for (const auto& p : positionsRelais)
        if (cle == QLatin1String(p.cle)) return garde.mid(p.position - 1, 1);
    if (cle == QLatin1String("$sa") || cle == QLatin1String("$sn") || cle == QLatin1String("$vc")
        || cle == QLatin1String("$dc"))
        return garde;
    return QString();
}

namespace {
QString garderChamps(const QString& texte, bool separateurs)
{
    QString garde;
    for (const QChar c : texte) {
        if ((c >= u'0' && c <= u'9') || c == u'.' || c == u':' || (separateurs && c == u';')) garde += c;
        else if (c == u'-') garde += u'.';
    }
    return garde;
}
} // namespace

QString filtrerChampDonnees(const QString& texte) { return garderChamps(texte, false); }

QString extraireChampReponse(const QString& cle)
{
    if (reponse.size() > longueurMax) return QString();
    const QString garde = garderChamps(reponse, true);

    int champ = -1;
    if (cle == QLatin1String("$CRT")) champ = 0;
    else if (cle == QLatin1String("$NUM")) champ = 3;
    else if (cle == QLatin1String("$DAT")) champ = 2;
    if (champ < 0) return QString();
    const QStringList champs = garde.split(u';');
    return champ < champs.size() ? champs.at(champ) : QString();
}
