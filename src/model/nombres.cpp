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
    // The characters of the number, blanks left out wherever they stand.
    QString nombre;
    bool chiffres = false;
    bool point = false;
    for (const QChar c : texte) {
        if (c == u' ' || c == u'\t' || c == u'\n') continue;
        if (nombre.isEmpty() && (c == u'-' || c == u'+')) {
            nombre += c;
        } else if (c >= u'0' && c <= u'9') {
            nombre += c;
            chiffres = true;
        } else if (c == u'.' && !point) {
            nombre += c;
            point = true;
        } else {
            break;
        }
    }
    if (!chiffres) return 0.0;
    bool ok = false;
    const double v = nombre.toDouble(&ok);
    return ok ? v : 0.0;
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
    if (valeur == 0.0 || !std::isfinite(valeur)) return QStringLiteral("0");
    // At most 15 significant digits: 0.1 + 0.2 gives "0.3".
    QString t;
    for (int precision = 1; precision <= 15; ++precision) {
        t = QString::number(valeur, 'g', precision);
        if (t.toDouble() == valeur) break;
    }
    if (t.contains(u'e')) {
        const int decimales = std::max(0, 14 - static_cast<int>(std::floor(std::log10(std::abs(valeur)))));
        t = QString::number(valeur, 'f', std::min(decimales, 30));
        if (t.contains(u'.')) {
            while (t.endsWith(u'0')) t.chop(1);
            if (t.endsWith(u'.')) t.chop(1);
        }
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

double nombreChamp(const QString& texte)
{
    double v = 0.0;
    if (lireNombreSysteme(texte, v)) return v;
    QString t = texte;
    t.replace(separateurDecimal(), u'.');
    return nombreEnTete(t);
}
