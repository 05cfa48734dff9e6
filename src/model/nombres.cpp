#include "nombres.h"

#include <QLocale>

#include <cfenv>
#include <cmath>
#include <optional>

namespace {
std::optional<QChar>& separateurForce()
{
    static std::optional<QChar> s;
    return s;
}
}

QChar separateurDecimal()
{
    if (separateurForce()) return *separateurForce();
    const QString p = QLocale::system().decimalPoint();
    return p.isEmpty() ? QChar('.') : p.at(0);
}

void definirSeparateurDecimal(QChar c) { separateurForce() = c; }
void retablirSeparateurDecimal() { separateurForce().reset(); }

double nombreEnTete(const QString& texte)
{
    int i = 0;
    const int n = texte.size();
    auto sauterBlancs = [&] {
        while (i < n && (texte[i] == ' ' || texte[i] == '\t')) ++i;
    };
    sauterBlancs();
    double signe = 1.0;
    if (i < n && (texte[i] == '-' || texte[i] == '+')) {
        if (texte[i] == '-') signe = -1.0;
        ++i;
        sauterBlancs();
    }
    double valeur = 0.0;
    bool chiffres = false;
    while (i < n && texte[i].isDigit() && texte[i].unicode() < 128) {
        valeur = valeur * 10.0 + (texte[i].unicode() - '0');
        chiffres = true;
        ++i;
    }
    if (i < n && texte[i] == '.') {
        ++i;
        double poids = 0.1;
        while (i < n && texte[i].unicode() >= '0' && texte[i].unicode() <= '9') {
            valeur += poids * (texte[i].unicode() - '0');
            poids /= 10.0;
            chiffres = true;
            ++i;
        }
    }
    if (!chiffres) return 0.0;
    // Re-read the digits exactly to avoid accumulated error.
    QString propre;
    for (int j = 0; j < i; ++j)
        if (texte[j] != ' ' && texte[j] != '\t' && texte[j] != '+') propre += texte[j];
    bool ok = false;
    const double exact = propre.toDouble(&ok);
    return ok ? exact : signe * valeur;
}

int versEntier(double valeur)
{
    if (std::isnan(valeur)) return 0;
    if (valeur > 2147483647.0) return 2147483647;
    if (valeur < -2147483648.0) return -2147483647 - 1;
    const int ancien = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(valeur);
    std::fesetround(ancien);
    return static_cast<int>(r);
}

QString texteCourt(double valeur)
{
    if (valeur == 0.0) return QStringLiteral("0");
    for (int precision = 1; precision <= 17; ++precision) {
        const QString t = QString::number(valeur, 'g', precision);
        if (t.toDouble() == valeur) {
            if (!t.contains('e')) return t;
            break;
        }
    }
    QString t = QString::number(valeur, 'f', 15);
    if (t.contains('.')) {
        while (t.endsWith('0')) t.chop(1);
        if (t.endsWith('.')) t.chop(1);
    }
    return t;
}

QString texteSysteme(double valeur)
{
    QString t = texteCourt(valeur);
    t.replace('.', separateurDecimal());
    return t;
}

QString formatNombre(double valeur, const QString& masque)
{
    const int point = masque.indexOf('.');
    const QString entiere = point < 0 ? masque : masque.left(point);
    const QString decimales = point < 0 ? QString() : masque.mid(point + 1);
    int minEntiers = 0;
    for (QChar c : entiere)
        if (c == '0') ++minEntiers;
    const int nbDecimales = static_cast<int>(decimales.count('0'));

    const double echelle = std::pow(10.0, nbDecimales);
    // Round half away from zero on the decimal text to avoid binary error.
    double arrondi = std::round(std::abs(valeur) * echelle + 1e-9 * std::max(1.0, std::abs(valeur) * echelle)) / echelle;
    QString t = QString::number(arrondi, 'f', nbDecimales);
    QString partieEntiere = nbDecimales > 0 ? t.left(t.indexOf('.')) : t;
    QString partieDecimale = nbDecimales > 0 ? t.mid(t.indexOf('.') + 1) : QString();
    if (partieEntiere == "0" && minEntiers == 0) partieEntiere.clear();
    while (partieEntiere.size() < minEntiers) partieEntiere.prepend('0');
    QString resultat = partieEntiere;
    if (point >= 0) resultat += separateurDecimal();
    resultat += partieDecimale;
    if (valeur < 0 && arrondi != 0.0) resultat.prepend('-');
    return resultat;
}

bool lireNombreSysteme(const QString& texte, double& valeur)
{
    QString t = texte.trimmed();
    if (t.isEmpty()) return false;
    const QChar sep = separateurDecimal();
    if (sep != '.') {
        if (t.contains('.')) return false;
        t.replace(sep, '.');
    }
    // Digits with at most one point, an optional leading sign.
    int points = 0;
    int chiffres = 0;
    for (int i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == '.') ++points;
        else if (c.unicode() >= '0' && c.unicode() <= '9') ++chiffres;
        else if (!(i == 0 && (c == '-' || c == '+'))) return false;
    }
    if (points > 1 || chiffres == 0) return false;
    bool ok = false;
    valeur = t.toDouble(&ok);
    return ok && std::isfinite(valeur);
}
