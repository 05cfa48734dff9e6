#include "fichierdonnees.h"

#include "ecrituresure.h"

#include "model/etat.h"
#include "model/menua.h"
#include "model/menubgen.h"
#include "model/menuc.h"
#include "model/nombres.h"
#include "model/partitions.h"
#include "model/session.h"
#include "model/tables.h"
#include "model/vues.h"
#include "platform/plateforme.h"
#include "platform/porteentrees.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int nbPartitionsFichier = 64;
constexpr int nbParametresFichier = 37;   // rows 0 to 36; "$tm" is not held
constexpr int nbLignesReserve = 10;
constexpr int maxPointsFichier = 32;

// ---- Writer ----

void ajouterLigne(QByteArray& sortie, const QString& texte)
{
    QString t = virguleEnPoint(texte);
    t.remove(QLatin1Char('\r'));   // a line end inside a text would split the line
    t.remove(QLatin1Char('\n'));
    sortie += '"';
    sortie += t.toLatin1();
    sortie += "\"\r\n";
}

// A line that must hold a digit (a point, an analog output): a text without
// one, or no value, goes as its number.
QString nombreFichier(const Variant& v)
{
    const QString t = v.texteFil();
    for (const QChar c : t)
        if (c.unicode() >= '0' && c.unicode() <= '9') return t;
    return texteCourt(v.nombre());
}

// Any other value line: no value gives the key alone.
QString valeurFichier(const Variant& v)
{
    return v.estVide() ? QString() : nombreFichier(v);
}

void ecrireReserve(QByteArray& s)
{
    for (int i = 0; i < nbLignesReserve; ++i)
        ajouterLigne(s, QStringLiteral("$dm") + valeurFichier(tableMenuBGen[12].valeur));
}

void ecrirePartitions(QByteArray& s)
{
    for (int p = 1; p <= nbPartitionsFichier; ++p) {
        ajouterLigne(s, QStringLiteral("$ng") + QString::number(p));
        for (int k = 0; k < nbParametresFichier; ++k)
            ajouterLigne(s, defParamsPartition[k].cle + valeurFichier(parametresPartitions[k][p]));
        // The count is a whole number, 1 to 32 as the link sends it, so the
        // file can always be read back.
        const int n = nbPointsIndex(p);
        s += "\"@" + QByteArray::number(n) + "\"\r\n";
        for (int j = 1; j <= n; ++j) {
            ajouterLigne(s, QStringLiteral("$nm") + nombreFichier(pointsNema[p][2 * j - 2]));
            ajouterLigne(s, QStringLiteral("$nm") + nombreFichier(pointsNema[p][2 * j - 1]));
        }
    }
}

QByteArray contenuFichier()
{
    QByteArray s;
    s.reserve(96 * 1024);
    for (int i = 0; i <= 5; ++i)
        ajouterLigne(s, champsLES[i]);
    for (int r = 0; r <= 12; ++r)
        ajouterLigne(s, tableMenuBGen[r].cle + valeurFichier(tableMenuBGen[r].valeur));
    ecrireReserve(s);
    ecrirePartitions(s);
    for (const auto& relais : tableRelais)
        ajouterLigne(s, relais[2].texteFil() + valeurFichier(relais[0]));
    for (const auto& sortie : tableSortiesAnalogiques)
        ajouterLigne(s, sortie[2].texteFil() + nombreFichier(sortie[0]));
    for (const auto& comparateur : tableComparateur)
        ajouterLigne(s, comparateur[2].texteFil() + valeurFichier(comparateur[0]));
    ecrireReserve(s);
    ecrirePartitions(s);
    return s;
}

bool ecrireFichier(const QString& chemin, const QByteArray& contenu)
{
    // Written beside the target and renamed: a failure leaves the old file.
    return ecrireFichierSur(chemin, contenu);
}

// ---- Reader ----

// Lines as written (quotes included). A line ends at CR or LF and the
// character after it is dropped; text after the last line end is not a line.
std::vector<QString> decouperLignes(const QByteArray& octets)
{
    std::vector<QString> lignes;
    QByteArray courante;
    for (qsizetype i = 0; i < octets.size(); ++i) {
        const char c = octets[i];
        if (c == '\r' || c == '\n') {
            lignes.push_back(QString::fromLatin1(courante));
            courante.clear();
            ++i;
        } else {
            courante += c;
        }
    }
    return lignes;
}

bool estChiffre(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

QString garder(const QString& ligne, bool points)
{
    QString t;
    for (QChar c : ligne)
        if (estChiffre(c) || (points && (c == '.' || c == ','))) t += c;
    return t;
}

QString chiffres(const QString& ligne) { return garder(ligne, false); }
QString chiffresEtPoints(const QString& ligne) { return garder(ligne, true); }

QString sansGuillemets(const QString& ligne)
{
    QString t = ligne;
    t.remove('"');
    return t;
}

bool aChiffre(const QString& ligne) { return std::any_of(ligne.begin(), ligne.end(), estChiffre); }

// The three characters after the opening quote.
QString cle(const QString& ligne) { return ligne.mid(1, 3); }

// Leading number of the kept characters, 0 when none; a number too large
// for a double is infinite, so that no limit holds it.
double nombreGarde(const QString& garde)
{
    qsizetype fin = 0;
    bool point = false;
    for (; fin < garde.size(); ++fin) {
        const QChar c = garde[fin];
        if (c == '.' && !point) point = true;
        else if (!estChiffre(c)) break;
    }
    bool ok = false;
    const double n = garde.left(fin).toDouble(&ok);
    if (!ok && std::isinf(n)) return n;
    return nombreEnTete(garde);
}

bool dansLimites(double v, const Variant& min, const Variant& max)
{
    return v >= min.nombre() && v <= max.nombre();
}

int rangeeMenuBGen(const QString& c)
{
    for (int r = 0; r <= 12; ++r)
        if (tableMenuBGen[r].cle == c) return r;
    return -1;
}

int rangeeParametre(const QString& c)
{
    for (int k = 0; k < nbParametresFichier; ++k)
        if (defParamsPartition[k].cle == c) return k;
    return -1;
}

void montrerGamme(int p)
{
    if (IVueMenuBP* vue = vues().menuBP) vue->setTexte(QStringLiteral("editTxtGamme"), QString::number(p));
}

// What a file gives, read whole before any table takes it. It starts as a
// copy of the tables, since a read leaves what the file does not hold.
struct Contenu {
    Contenu()
    {
        std::copy_n(champsLES.begin(), champs.size(), champs.begin());
        for (int r = 0; r <= 12; ++r) general[r] = tableMenuBGen[r].valeur;
        parametres = parametresPartitions;
        points = pointsNema;
        for (int r = 0; r < 17; ++r) relais[r] = tableRelais[r][0];
        for (int i = 0; i < 2; ++i) {
            sorties[i] = tableSortiesAnalogiques[i][0];
            comparateur[i] = tableComparateur[i][0];
        }
    }

    // Into the tables and the open windows.
    void appliquer(const LectureFichier& lecture) const
    {
        for (int i = 0; i < nbChamps; ++i) {
            champsLES[i] = champs[i];
            if (IVueMenuA* vue = vues().menuA) vue->setTexte(element(QStringLiteral("editTxt"), i), champs[i]);
        }
        for (int r = 0; r <= 12; ++r) tableMenuBGen[r].valeur = general[r];
        afficherMenuBGen();
        for (int p = 1; p <= nbPartitionsFichier; ++p) {
            if (!lecture.partitionsLues[p]) continue;
            for (int k = 0; k < nbParametresFichier; ++k) parametresPartitions[k][p] = parametres[k][p];
            pointsNema[p] = points[p];
        }
        valeursCourantes[0].valeur = 1;
        montrerGamme(1);
        fixerFinGamme(1);
        nbPointsNema = 1;
        for (int r = 0; r < 17; ++r) tableRelais[r][0] = relais[r];
        for (int i = 0; i < 2; ++i) {
            tableSortiesAnalogiques[i][0] = sorties[i];
            tableComparateur[i][0] = comparateur[i];
        }
    }

    std::array<QString, 6> champs;
    int nbChamps = 0;
    std::array<Variant, 13> general;
    std::array<std::array<Variant, 65>, 39> parametres;
    std::array<std::array<Variant, 65>, 65> points;
    std::array<Variant, 17> relais;
    std::array<Variant, 2> sorties;
    std::array<Variant, 2> comparateur;
};

class Lecteur {
public:
    explicit Lecteur(std::vector<QString> lignes) : lignes_(std::move(lignes)) {}

    // Next line, or null at the end of the file (the read has then failed).
    const QString* suivante()
    {
        if (pos_ >= lignes_.size()) {
            echec = true;
            return nullptr;
        }
        return &lignes_[pos_++];
    }
    // Next value line: its leading number (digits only, or with points when
    // decimal), 0 without a digit, goes into n when min <= n <= max. Null at
    // the end of the file or on a value out of limits; the read has failed.
    const QString* suivanteValeur(bool decimal, const Variant& min, const Variant& max, double& n)
    {
        const QString* ligne = suivante();
        if (!ligne) return nullptr;
        n = nombreGarde(decimal ? chiffresEtPoints(*ligne) : chiffres(*ligne));
        return dansLimites(n, min, max) ? ligne : refuser();
    }
    // The same for a line that must hold a digit.
    const QString* suivanteNombre(const Variant& min, const Variant& max, double& n)
    {
        const QString* ligne = suivanteValeur(false, min, max, n);
        return ligne && aChiffre(*ligne) ? ligne : refuser();
    }
    const QString* refuser()
    {
        echec = true;
        return nullptr;
    }
    std::size_t position() const { return pos_; }
    const std::vector<QString>& lignes() const { return lignes_; }
    bool echec = false;

private:
    std::vector<QString> lignes_;
    std::size_t pos_ = 0;
};

// Scan: device-data line count nA (lines before "$cs") and the line of the
// first "$ng" header, at most 101 lines with a digit after "$cs".
bool balayer(const std::vector<QString>& lignes, int& nA, int& premierBloc)
{
    constexpr int maxLignes = 101;
    const int total = static_cast<int>(lignes.size());
    nA = -1;
    for (int i = 0; i < total && i < maxLignes; ++i) {
        if (sansGuillemets(lignes[i]).startsWith(QLatin1String("$cs"))) {
            nA = i;
            break;
        }
    }
    if (nA < 0) return false;
    int compte = 0;
    for (int i = nA; i < total && compte <= maxLignes; ++i) {
        if (cle(lignes[i]) == QLatin1String("$ng")) {
            premierBloc = i;
            return true;
        }
        if (aChiffre(lignes[i])) ++compte;
    }
    return false;
}

void lireDonneesAppareil(Lecteur& l, int nA, Contenu& c)
{
    for (int i = 0; i < nA; ++i) {
        const QString* ligne = l.suivante();
        if (!ligne) return;
        if (i <= 5) {
            c.champs[i] = sansGuillemets(*ligne);
            c.nbChamps = i + 1;
        }
    }
}

// The lines before the first header; each line with a general key gives its
// row the number of its digits (0 without one), other lines are passed over.
void lireMenuBGen(Lecteur& l, int premierBloc, Contenu& c)
{
    // Files without these lines read them as 0.
    c.general[11] = 0;
    c.general[12] = 0;
    while (l.position() < static_cast<std::size_t>(premierBloc)) {
        const QString* ligne = l.suivante();
        const int r = rangeeMenuBGen(cle(*ligne));
        if (r < 0) continue;
        const double n = nombreGarde(chiffres(*ligne));
        // A file holds what the window let the user store.
        const Variant min = r == rangeeTensionReseau ? Variant(tensionReseauSaisieMin)
                                                     : tableMenuBGen[r].min;
        if (!dansLimites(n, min, tableMenuBGen[r].max)) {
            l.refuser();
            return;
        }
        c.general[r] = n;
    }
}

bool refuser(Lecteur& l)
{
    l.refuser();
    return false;
}

// One partition block; false when the block could not be read whole.
bool lireBloc(Lecteur& l, int p, Contenu& c)
{
    for (int k = 0; k < nbParametresFichier; ++k) {
        double n = 0;
        const QString* ligne = l.suivanteValeur(true, defParamsPartition[k].min, defParamsPartition[k].max, n);
        if (!ligne) return false;
        c.parametres[k][p] = n;
        // The row the key names takes it as well, within its own limits.
        const int r = rangeeParametre(cle(*ligne));
        if (r >= 0) {
            if (!dansLimites(n, defParamsPartition[r].min, defParamsPartition[r].max)) return refuser(l);
            c.parametres[r][p] = n;
        }
        if (k == 1) traiterEvenementsRoute();
    }
    const QString* ligne = l.suivante();
    if (!ligne) return false;
    if (ligne->size() > 1 && ligne->at(1) == '@') {
        const double n = nombreGarde(chiffres(*ligne));
        if (!aChiffre(*ligne) || n < 1.0 || n > maxPointsFichier) return refuser(l);
        c.points[p][64] = n;
    }
    const int n = c.points[p][64].entier();
    if (n < 1 || n > maxPointsFichier) return refuser(l);
    for (int k = 0; k < 2 * n; ++k) {
        const double max = k % 2 == 0 ? tensionPointMax : frequencePointMax;
        double valeur = 0;
        if (!l.suivanteNombre(0, max, valeur)) return false;
        c.points[p][k] = valeur;
    }
    // No point of a longer table held before stays behind.
    for (int k = 2 * n; k <= 63; ++k) c.points[p][k] = 0;
    return true;
}

// A relay line: the key alone is an entry without a relay; otherwise the
// number of its digits (0 without one), 0 to 5. False when out of limits.
bool lireRelais(const QString& texte, Variant& relais)
{
    if (texte.size() == 3 && !aChiffre(texte)) {
        relais = Variant();
        return true;
    }
    const double n = nombreGarde(chiffres(texte));
    if (n < 0 || n > relaisMax) return false;
    relais = n;
    return true;
}

void lirePartitions(Lecteur& l, LectureFichier& lecture, Contenu& c)
{
    for (int p = 1; p <= nbPartitionsFichier; ++p) {
        const QString* entete = l.suivante();
        if (!entete) return;
        const QString texte = sansGuillemets(*entete);
        if (p == 33 && texte.startsWith(QLatin1String("$fA"))) {
            // Old 32-partition file: this is relay line 0.
            lecture.ancienFichier = true;
            if (!lireRelais(texte, c.relais[0])) l.refuser();
            return;
        }
        if (!lireBloc(l, p, c)) return;
        lecture.partitionsLues[p] = true;
        ++lecture.nbPartitionsLues;
    }
}

void lireMenuC(Lecteur& l, bool depuisLigne1, Contenu& c)
{
    for (int r = depuisLigne1 ? 1 : 0; r < 17; ++r) {
        const QString* ligne = l.suivante();
        if (!ligne) return;
        if (!lireRelais(sansGuillemets(*ligne), c.relais[r])) {
            l.refuser();
            return;
        }
    }
    double n = 0;
    for (Variant& sortie : c.sorties) {
        if (!l.suivanteNombre(0, sortieAnalogiqueMax, n)) return;
        sortie = n;
    }
    const double max[2] = {niveauComparateurMax, retardRelaisMax};
    for (int i = 0; i < 2; ++i) {
        if (!l.suivanteValeur(true, 0, max[i], n)) return;
        c.comparateur[i] = n;
    }
}

bool lireContenu(const QByteArray& octets, LectureFichier& lecture)
{
    Lecteur l(decouperLignes(octets));
    int nA = 0;
    int premierBloc = 0;
    if (!balayer(l.lignes(), nA, premierBloc)) return false;

    const auto contenu = std::make_unique<Contenu>();
    lireDonneesAppareil(l, nA, *contenu);
    lireMenuBGen(l, premierBloc, *contenu);
    if (!l.echec) lirePartitions(l, lecture, *contenu);
    if (!l.echec) lireMenuC(l, lecture.ancienFichier, *contenu);
    if (l.echec) return false;
    lecture.menuCLu = true;
    contenu->appliquer(lecture);
    return true;
}

}  // namespace

bool sauverFichierDonnees(const QString& chemin, bool* liaisonPerdue)
{
    if (liaisonPerdue) *liaisonPerdue = false;
    if (enLigne()) {
        // The file holds what the converter holds; a lost link writes nothing.
        if (!chargerTout()) {
            if (liaisonPerdue) *liaisonPerdue = true;
            pointeurSourisPartout(pointeur::normal);
            return false;
        }
    }
    const bool ok = ecrireFichier(chemin, contenuFichier());
    pointeurSourisPartout(pointeur::normal);
    return ok;
}

bool ouvrirFichierDonnees(const QString& chemin, LectureFichier* resultat)
{
    LectureFichier lecture;
    QFile f(chemin);
    bool ok = false;
    if (f.open(QIODevice::ReadOnly)) {
        // Far larger than any file the program writes: illegible, unread.
        constexpr qint64 tailleMax = 1024 * 1024;
        const QByteArray octets = f.read(tailleMax + 1);
        const bool lu = f.error() == QFileDevice::NoError && octets.size() <= tailleMax;
        f.close();
        ok = lu && lireContenu(octets, lecture);
    }
    lecture.valide = ok;
    if (resultat) *resultat = lecture;
    if (ok) {
        // Held and modified: exactly the partitions the file held.
        for (int p = 1; p <= nbPartitionsFichier; ++p) {
            if (!lecture.partitionsLues[p]) continue;
            partParamsCharges[p - 1] = partNemaCharges[p - 1] = true;
            partParamsModifies[p - 1] = partNemaModifies[p - 1] = true;
        }
        menuCCharge = true;
    } else {
        ui().msgBox(texteChaine(ids::fichierIllisible), msg::critique, QString());
    }
    return ok;
}
