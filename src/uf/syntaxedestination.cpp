#include "syntaxedestination.h"

namespace {
constexpr int plafond = 1000000;   // a longer run of digits reads as this

int valeurChiffres(const QString& chiffres)
{
    int v = 0;
    for (const QChar c : chiffres) {
        v = v * 10 + (c.unicode() - u'0');
        if (v > plafond) return plafond;
    }
    return v;
}

bool estChiffre(QChar c) { return c >= u'0' && c <= u'9'; }

// 0 is partition 1, above the count the last one.
int borner(int n, int nbPartitions)
{
    if (n == 0) return 1;
    return n > nbPartitions ? nbPartitions : n;
}
}

std::vector<int> destinationsCopie(const QString& texte, int source, int nbPartitions)
{
    std::vector<int> destinations;
    auto ajouter = [&](int d) {
        if (d != source) destinations.push_back(d);
    };

    bool chiffreVu = false;
    bool liste = false;
    QString tousChiffres;
    for (const QChar c : texte) {
        if (estChiffre(c)) {
            chiffreVu = true;
            tousChiffres += c;
        } else if (chiffreVu && (c == u' ' || c == u',')) {
            liste = true;
        }
    }
    if (!liste) {
        ajouter(borner(valeurChiffres(tousChiffres), nbPartitions));
        return destinations;
    }

    QString n;
    int debut = 0;   // range start; 0 = none
    auto finirElement = [&] {
        // An item without digits ("3, 5", a double blank) gives nothing.
        if (n.isEmpty()) return;
        const int e = borner(valeurChiffres(n), nbPartitions);
        if (debut == 0) {
            ajouter(e);
            return;
        }
        const int r = debut > nbPartitions ? nbPartitions : debut;
        const int pas = e > r ? -1 : 1;
        for (int d = e;; d += pas) {
            ajouter(d);
            if (d == r) break;
        }
    };
    for (const QChar c : texte) {
        if (estChiffre(c)) {
            n += c;
        } else if (c == u',') {
            debut = valeurChiffres(n);
            n.clear();
        } else if (c == u' ') {
            finirElement();
            n.clear();
            debut = 0;
        }
    }
    finirElement();
    return destinations;
}
