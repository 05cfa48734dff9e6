#include "nombres.h"

#include <QLocale>

#include <algorithm>
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

    // The value's own decimal text (the shortest that reads back as the
    // same double), rounded half away from zero digit by digit.
    if (!std::isfinite(valeur)) valeur = 0.0;
    const QString texte = QString::number(std::abs(valeur), 'f', QLocale::FloatingPointShortest);
    const int virgule = texte.indexOf(u'.');
    // The integer digits, then the decimals the mask keeps.
    QString chiffres = virgule < 0 ? texte : texte.left(virgule);
    const QString suite = virgule < 0 ? QString() : texte.mid(virgule + 1);
    chiffres += suite.left(nbDecimales).leftJustified(nbDecimales, u'0');
    if (suite.size() > nbDecimales && suite.at(nbDecimales) >= u'5') {
        int i = static_cast<int>(chiffres.size()) - 1;
        for (; i >= 0 && chiffres.at(i) == u'9'; --i) chiffres[i] = u'0';
        if (i >= 0) chiffres[i] = QChar(chiffres.at(i).unicode() + 1);
        else chiffres.prepend(u'1');
    }
    const int entiers = static_cast<int>(chiffres.size()) - nbDecimales;
    QString partieEntiere = chiffres.left(entiers);
    const QString partieDecimale = chiffres.mid(entiers);
    while (partieEntiere.size() > 1 && partieEntiere.startsWith(u'0')) partieEntiere.remove(0, 1);
    const bool nul = std::all_of(chiffres.begin(), chiffres.end(), [](QChar c) { return c == u'0'; });
    if (partieEntiere == u"0" && minEntiers == 0) partieEntiere.clear();
    while (partieEntiere.size() < minEntiers) partieEntiere.prepend('0');
    QString resultat = partieEntiere;
    if (point >= 0) resultat += separateurDecimal();
    resultat += partieDecimale;
    if (valeur < 0 && !nul) resultat.prepend('-');
    return resultat;
}

QString formatDansLimites(double valeur, const QString& masque, double min, double max)
{
    const QString t = formatNombre(valeur, masque);
    if (!(valeur >= min && valeur <= max)) return t;
    const double arrondi = nombreChamp(t);
    if (arrondi >= min && arrondi <= max) return t;
    // One step of the last kept digit toward the value.
    const int point = masque.indexOf('.');
    const int nbDecimales = point < 0 ? 0 : static_cast<int>(masque.mid(point + 1).count('0'));
    const double pas = std::pow(10.0, -nbDecimales);
    const double dedans = nombreEnTete(texteCourt(arrondi > max ? arrondi - pas : arrondi + pas));
    if (dedans < min || dedans > max) return t;
    return formatNombre(dedans, masque);
}

double produitDecimal(double facteur, double valeur)
{
    // At most 15 significant digits: the binary error falls away.
    return nombreEnTete(texteCourt(facteur * valeur));
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
