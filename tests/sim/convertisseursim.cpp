#include "convertisseursim.h"

#include <algorithm>

namespace {

struct Ligne {
    const char* code;
    const char* cle;
    const char* defaut;
};

// Menu B general.
constexpr Ligne lignesGeneral[] = {
    {"CS", "$cs", "0"}, {"UF", "$uf", "0"}, {"IV", "$iv", "0"}, {"ps", "$ps", "0"},
    {"FC", "$fc", "1"}, {"CP", "$cP", "0"}, {"Ur", "$ur", "400"}, {"pg", "$pg", "0"},
    {"AS", "$as", "0"}, {"DD", "$dd", "0"}, {"RV", "$rv", "0"}, {"VM", "$vm", "0"},
    {"DM", "$dm", "0"},
};

// Partition parameters, a plausible 4-pole motor.
constexpr Ligne lignesPartition[] = {
    {"NP", "$pp", "4"},    {"PM", "$pm", "7.5"},  {"RT", "$rt", "0"},    {"IN", "$in", "15"},
    {"IC", "$ia", "18"},   {"IR", "$ir", "16"},   {"CB", "$ci", "1"},    {"RI", "$cr", "10"},
    {"TAC", "$ta", "5"},   {"TDC", "$td", "5"},   {"PC", "$pc", "0"},    {"fdf", "$dF", "50"},
    {"fmn", "$fm", "0"},   {"FX1", "$fx", "10"},  {"FX2", "$fy", "20"},  {"FX3", "$fz", "30"},
    {"FI1", "$xi", "0"},   {"BI1", "$qi", "0"},   {"FI2", "$xy", "0"},   {"BI2", "$qy", "0"},
    {"FI3", "$xz", "0"},   {"BI3", "$qz", "0"},   {"MV", "$mv", "0"},    {"Np", "$np", "60"},
    {"sp", "$sl", "2"},    {"cm", "$MC", "3"},    {"IM1", "$mx", "0"},   {"IM2", "$my", "0"},
    {"IM3", "$mz", "0"},   {"IM4", "$mq", "0"},   {"TC", "$df", "0"},    {"Ic", "$cf", "0"},
    {"Ip", "$cp", "0"},    {"SF", "$sf", "0"},    {"CG", "$cg", "0"},    {"TAU", "$tu", "5"},
    {"TDU", "$du", "5"},   {"TM", "$tm", "0"},
};

// Menu C analog outputs and comparator.
constexpr Ligne lignesMenuC[] = {
    {"Sn", "$sa", "1"}, {"SN", "$sn", "2"}, {"VC", "$vc", "5"}, {"DC", "$dc", "0"},
};

// Measurements of the working display (IR IC IN PM NG are partition values).
constexpr Ligne lignesMesures[] = {
    {"FT", "", "0"}, {"FQ", "", "0"}, {"IS", "", "0"}, {"US", "", "0"},
    {"UR", "", "400"}, {"IW", "", "0"}, {"PW", "", "0"}, {"UD", "", "565"},
};

template <size_t N>
const Ligne* parCle(const Ligne (&t)[N], const QString& cle)
{
    for (const Ligne& l : t)
        if (*l.cle && cle == QLatin1String(l.cle)) return &l;
    return nullptr;
}

template <size_t N>
const Ligne* parCode(const Ligne (&t)[N], const QString& code)
{
    for (const Ligne& l : t)
        if (code == QLatin1String(l.code)) return &l;
    return nullptr;
}

int positionRelais(const QString& cle)
{
    for (size_t i = 0; i < ConvertisseurSim::clesRelais.size(); ++i)
        if (cle == QLatin1String(ConvertisseurSim::clesRelais[i])) return int(i);
    return -1;
}

// The read code of a key, or the text itself when it is no key.
QString versCode(const QString& codeOuCle)
{
    if (!codeOuCle.startsWith(u'$')) return codeOuCle;
    if (codeOuCle == QLatin1String("$ng")) return QStringLiteral("NG");
    if (const Ligne* l = parCle(lignesGeneral, codeOuCle)) return QLatin1String(l->code);
    if (const Ligne* l = parCle(lignesPartition, codeOuCle)) return QLatin1String(l->code);
    if (const Ligne* l = parCle(lignesMenuC, codeOuCle)) return QLatin1String(l->code);
    return codeOuCle;
}

bool tousChiffres(const QString& t)
{
    return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString drapeaux(const int* v, int n)
{
    QString r;
    for (int i = 0; i < n; ++i) r += QString::number(v[i]) + u';';
    return r;
}

// A wrong value: every digit moved on by one, or a digit added.
QString fausser(const QString& t)
{
    QString r = t;
    bool chiffre = false;
    for (QChar& c : r)
        if (c >= u'0' && c <= u'9') {
            c = QChar(u'0' + (c.unicode() - u'0' + 1) % 10);
            chiffre = true;
        }
    return chiffre ? r : r + u'9';
}

}  // namespace

const std::array<const char*, 17> ConvertisseurSim::clesRelais = {
    "$fA", "$vA", "$fZ", "$vZ", "$sS", "$su", "$mc", "$gl", "$al",
    "$VC", "$an", "$ve", "$aF", "$aA", "$pt", "$nt", "$re",
};

ConvertisseurSim::ConvertisseurSim()
{
    for (const Ligne& l : lignesGeneral) general_[QLatin1String(l.code)] = QLatin1String(l.defaut);
    for (int p = 1; p <= 64; ++p) {
        for (const Ligne& l : lignesPartition) params_[p][QLatin1String(l.code)] = QLatin1String(l.defaut);
        points[p] = {PointUF{400, 50}};
    }
    for (const Ligne& l : lignesMenuC) menuC_[QLatin1String(l.code)] = QLatin1String(l.defaut);
    for (const Ligne& l : lignesMesures) mesures_[QLatin1String(l.code)] = QLatin1String(l.defaut);
}

int ConvertisseurSim::nbPartitions() const
{
    const QString nombre = version.startsWith(u'V') ? version.mid(1, 2) : version.left(2);
    int n = 0;
    for (QChar c : nombre) {
        if (c < u'0' || c > u'9') break;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n > 12 ? 64 : 32;
}

QString ConvertisseurSim::valeur(const QString& codeOuCle, int p) const
{
    const QString code = versCode(codeOuCle);
    const int part = (p >= 1 && p <= 64) ? p : partition;
    if (code == QLatin1String("NG")) return QString::number(partition);
    if (auto it = params_[part].find(code); it != params_[part].end()) return it->second;
    if (auto it = general_.find(code); it != general_.end()) return it->second;
    if (auto it = menuC_.find(code); it != menuC_.end()) return it->second;
    if (auto it = mesures_.find(code); it != mesures_.end()) return it->second;
    if (const int r = positionRelais(code); r >= 0) return QString::number(relais[r]);
    if (code == QLatin1String("$CRT")) return courantMax;
    if (code == QLatin1String("$NUM")) return numeroSerie;
    if (code == QLatin1String("$DAT")) return dateLivraison;
    return QString();
}

void ConvertisseurSim::fixer(const QString& codeOuCle, const QString& v, int p)
{
    const QString code = versCode(codeOuCle);
    const int part = (p >= 1 && p <= 64) ? p : partition;
    if (code == QLatin1String("NG")) {
        partition = std::clamp(v.toInt(), 1, 64);
    } else if (params_[part].count(code)) {
        params_[part][code] = v;
    } else if (general_.count(code)) {
        general_[code] = v;
    } else if (menuC_.count(code)) {
        menuC_[code] = v;
    } else if (mesures_.count(code)) {
        mesures_[code] = v;
    } else if (const int r = positionRelais(code); r >= 0) {
        relais[r] = v.toInt();
    } else if (code == QLatin1String("$CRT")) {
        courantMax = v;
    } else if (code == QLatin1String("$NUM")) {
        numeroSerie = v;
    } else if (code == QLatin1String("$DAT")) {
        dateLivraison = v;
    }
}

QByteArray ConvertisseurSim::cadrer(const QString& texte)
{
    return QByteArray("\n\r") + texte.toLatin1() + '\x1a';
}

QByteArray ConvertisseurSim::traiterLigne(const QByteArray& ligne)
{
    const QString texte = QString::fromLatin1(ligne);
    journal << texte;
    if (silence) return QByteArray();
    if (script)
        if (std::optional<QByteArray> r = script(texte)) return *r;
    if (texte.isEmpty()) return QByteArray("\n\r>");
    bool lecture = false;
    QString t = repondre(texte, lecture);
    if (relectureFausse && lecture) t = fausser(t);
    return encadrer(t);
}

QByteArray ConvertisseurSim::encadrer(const QString& texte) const
{
    QByteArray corps = texte.toLatin1();
    if (charabia) {
        corps.clear();
        for (int i = 0; i < 24; ++i) {
            graine_ = graine_ * 1103515245u + 12345u;
            char c = char((graine_ >> 16) & 0xff);
            if (c == '\x1a' || c == '?') c = '#';
            corps += c;
        }
    }
    if (reponseLongue)
        while (corps.size() < 330) corps += ';';
    QByteArray r = invite ? QByteArray("\n\r<Zelto>\n\r") : QByteArray("\n\r");
    r += corps;
    if (finInterrogation) return r + '?';
    if (sansTerminateur) return r;
    return r + '\x1a';
}

QString ConvertisseurSim::repondre(const QString& ligne, bool& lecture)
{
    // Commands without a key.
    static const QStringList simples = {"r", "s", "t", "I", "YyY", "yYy", "xXx"};
    if (simples.contains(ligne)) {
        commandes << ligne;
        if (ligne == QLatin1String("r")) {
            enMarche = true;
            mesures_["FQ"] = mesures_["FT"];
        } else if (ligne == QLatin1String("s")) {
            enMarche = false;
            mesures_["FQ"] = QStringLiteral("0");
        } else if (ligne == QLatin1String("t")) {
            sensInverse = !sensInverse;
        } else if (ligne == QLatin1String("I")) {
            anomalies.fill(0);
        } else if (ligne == QLatin1String("YyY")) {
            verrouille = true;
        } else if (ligne == QLatin1String("yYy")) {
            verrouille = false;
        } else {
            return QStringLiteral("Bye");
        }
        return QStringLiteral("OK");
    }

    if (ligne.startsWith(u'$')) {
        // Longest key that starts the line.
        static const QStringList autres = {"$ng", "$nm", "$CRT", "$NUM", "$DAT", "$HES", "$HST", "$J", "$F"};
        QString cle;
        auto essayer = [&](const QString& k) {
            if (ligne.startsWith(k) && k.size() > cle.size()) cle = k;
        };
        for (const Ligne& l : lignesGeneral) essayer(QLatin1String(l.cle));
        for (const Ligne& l : lignesPartition) essayer(QLatin1String(l.cle));
        for (const Ligne& l : lignesMenuC) essayer(QLatin1String(l.cle));
        for (const char* k : clesRelais) essayer(QLatin1String(k));
        for (const QString& k : autres) essayer(k);
        if (cle.isEmpty()) return QStringLiteral("?");
        return ecrire(cle, ligne.mid(cle.size()));
    }

    bool connu = false;
    const QString r = lire(ligne, connu);
    if (!connu) return QStringLiteral("?");
    lecture = true;
    return r;
}

QString ConvertisseurSim::ecrire(const QString& cle, const QString& v)
{
    const QString refus = QStringLiteral("?");
    const QString ok = QStringLiteral("OK");

    if (cle == QLatin1String("$J")) {
        commandes << cle + v;
        params_[partition]["fdf"] = mesures_["FT"];
        return ok;
    }
    if (v.isEmpty()) return refus;
    if (cle == QLatin1String("$F")) {
        commandes << cle + v;
        mesures_["FT"] = v;
        if (enMarche) mesures_["FQ"] = v;
        return ok;
    }
    if (cle == QLatin1String("$ng")) {
        bool nombre = false;
        const int p = v.toInt(&nombre);
        if (!nombre || p < 1 || p > nbPartitions()) return refus;
        partition = p;
        return ok;
    }
    if (cle == QLatin1String("$nm")) {
        if (v.size() != 7 || !tousChiffres(v)) return refus;
        if (v == QLatin1String("0000000")) {
            points[partition] = pointsEnCours;
            pointsEnCours.clear();
        } else if (pointsEnCours.size() < 64) {
            pointsEnCours.push_back(PointUF{v.left(3).toInt(), v.mid(3).toInt()});
        }
        return ok;
    }
    if (cle == QLatin1String("$CRT") || cle == QLatin1String("$NUM") || cle == QLatin1String("$DAT")
        || cle == QLatin1String("$HES") || cle == QLatin1String("$HST")) {
        if (cle.startsWith(QLatin1String("$H"))) commandes << cle + v;
        if (verrouille) return refus;
        if (cle == QLatin1String("$CRT")) courantMax = v;
        else if (cle == QLatin1String("$NUM")) numeroSerie = v;
        else if (cle == QLatin1String("$DAT")) dateLivraison = v;
        else if (cle == QLatin1String("$HES")) heures = v;
        else allumages = v;
        return ok;
    }
    if (const int r = positionRelais(cle); r >= 0) {
        if (v.size() != 1 || v[0] < u'0' || v[0] > u'5') return refus;
        relais[r] = v[0].unicode() - u'0';
        return ok;
    }
    if (const Ligne* l = parCle(lignesGeneral, cle)) {
        general_[QLatin1String(l->code)] = v;
        return ok;
    }
    if (const Ligne* l = parCle(lignesPartition, cle)) {
        params_[partition][QLatin1String(l->code)] = v;
        return ok;
    }
    if (const Ligne* l = parCle(lignesMenuC, cle)) {
        menuC_[QLatin1String(l->code)] = v;
        return ok;
    }
    return refus;
}

QString ConvertisseurSim::lire(const QString& code, bool& connu) const
{
    connu = true;
    if (code == QLatin1String("NG")) return QString::number(partition);
    if (code == QLatin1String("NM")) return reponseNM();
    if (code == QLatin1String("RL")) return reponseRL();
    if (code == QLatin1String("LES")) return reponseLES();
    if (code == QLatin1String("XxX")) return QStringLiteral("XxX") + (verrouille ? u'1' : u'0');
    if (code == QLatin1String("AN")) return drapeaux(anomalies.data(), 8);
    if (code == QLatin1String("ST")) return drapeaux(etatRelais.data(), 5);
    if (auto it = params_[partition].find(code); it != params_[partition].end()) return it->second;
    if (auto it = general_.find(code); it != general_.end()) return it->second;
    if (auto it = menuC_.find(code); it != menuC_.end()) return it->second;
    if (auto it = mesures_.find(code); it != mesures_.end()) return it->second;
    connu = false;
    return QString();
}

QString ConvertisseurSim::reponseNM() const
{
    QString r;
    for (const PointUF& pt : points[partition]) r += QString::number(pt.f) + u';' + QString::number(pt.u) + u';';
    return r + QStringLiteral("0;0;");
}

QString ConvertisseurSim::reponseRL() const
{
    QString r;
    for (int d : relais) r += QString::number(d) + u';';
    return r;
}

QString ConvertisseurSim::reponseLES() const
{
    return courantMax + u';' + version + u';' + dateLivraison + u';' + numeroSerie + u';' + heures + u';'
        + allumages + u';';
}
