#include "fichierdonnees.h"

#include "ecrituresure.h"

#include "model/etat.h"
#include "model/menua.h"
#include "model/menubgen.h"
#include "model/nombres.h"
#include "model/partitions.h"
#include "model/session.h"
#include "model/tables.h"
#include "model/vues.h"
#include "platform/horloge.h"
#include "platform/plateforme.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
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

// A value line always holds a number: a text without a digit goes as its number.
QString valeurFichier(const Variant& v)
{
    const QString t = v.texteFil();
    for (const QChar c : t)
        if (c.unicode() >= '0' && c.unicode() <= '9') return t;
    return texteCourt(v.nombre());
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
            ajouterLigne(s, QStringLiteral("$nm") + valeurFichier(pointsNema[p][2 * j - 2]));
            ajouterLigne(s, QStringLiteral("$nm") + valeurFichier(pointsNema[p][2 * j - 1]));
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
        ajouterLigne(s, sortie[2].texteFil() + valeurFichier(sortie[0]));
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

// Relay number of a menu C line: 0 to 5, anything else counts as 0.
int relaisValide(double v) { return (v >= 0.0 && v <= 5.0) ? static_cast<int>(v) : 0; }

void montrerGamme(int p)
{
    if (IVueMenuBP* vue = vues().menuBP) vue->setTexte(QStringLiteral("editTxtGamme"), QString::number(p));
}

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
    // Next line that must hold a number: its leading number (digits only, or
    // with points when decimal) goes into n. Null at the end of the file or
    // on a line without a digit; the read has then failed.
    const QString* suivanteNombre(bool decimal, double& n)
    {
        const QString* ligne = suivante();
        if (!ligne) return nullptr;
        const QString c = decimal ? chiffresEtPoints(*ligne) : chiffres(*ligne);
        if (!aChiffre(c)) {
            echec = true;
            return nullptr;
        }
        n = nombreEnTete(c);
        return ligne;
    }
    const std::vector<QString>& lignes() const { return lignes_; }
    bool echec = false;

private:
    std::vector<QString> lignes_;
    std::size_t pos_ = 0;
};

// Scan: device-data line count nA (lines before "$cs") and general line
// count nB (lines with a digit from "$cs" to the first "$ng" header).
bool balayer(const std::vector<QString>& lignes, int& nA, int& nB)
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
            nB = compte;
            return true;
        }
        if (aChiffre(lignes[i])) ++compte;
    }
    return false;
}

void lireDonneesAppareil(Lecteur& l, int nA)
{
    for (int i = 0; i < nA; ++i) {
        const QString* ligne = l.suivante();
        if (!ligne) return;
        if (i <= 5) {
            champsLES[i] = sansGuillemets(*ligne);
            if (IVueMenuA* vue = vues().menuA) vue->setTexte(element(QStringLiteral("editTxt"), i), champsLES[i]);
        }
    }
}

void lireMenuBGen(Lecteur& l, int nB)
{
    // Files without these lines read them as 0.
    tableMenuBGen[11].valeur = 0;
    tableMenuBGen[12].valeur = 0;
    int compte = 0;
    while (compte < nB) {
        const QString* ligne = l.suivante();
        if (!ligne) return;
        const QString c = chiffres(*ligne);
        if (c.isEmpty()) continue;
        ++compte;
        const int r = rangeeMenuBGen(cle(*ligne));
        if (r >= 0) tableMenuBGen[r].valeur = nombreEnTete(c);
    }
}

// One partition block; false when the block could not be read whole.
bool lireBloc(Lecteur& l, int p, const QString& entete)
{
    if (cle(entete) == QLatin1String("$ng")) {
        const double numero = nombreEnTete(chiffres(entete));
        if (numero >= 1.0 && numero <= nbPartitionsFichier) {
            valeursCourantes[0].valeur = numero;
            montrerGamme(static_cast<int>(numero));
        }
    }
    for (int k = 0; k < nbParametresFichier; ++k) {
        double n = 0;
        const QString* ligne = l.suivanteNombre(true, n);
        if (!ligne) return false;
        const Variant v = n;
        parametresPartitions[k][p] = v;
        const int r = rangeeParametre(cle(*ligne));
        if (r >= 0) parametresPartitions[r][p] = v;
        if (k == 1) horloge().traiterEvenements();
    }
    const QString* ligne = l.suivante();
    if (!ligne) return false;
    if (ligne->size() > 1 && ligne->at(1) == '@') {
        const QString c = chiffres(*ligne);
        const double n = nombreEnTete(c);
        if (c.isEmpty() || n < 1.0 || n > maxPointsFichier) {
            l.echec = true;
            return false;
        }
        pointsNema[p][64] = n;
    }
    const int n = pointsNema[p][64].entier();
    if (n < 1 || n > maxPointsFichier) {
        l.echec = true;
        return false;
    }
    for (int k = 0; k < 2 * n; ++k) {
        double valeur = 0;
        if (!l.suivanteNombre(false, valeur)) return false;
        pointsNema[p][k] = valeur;
    }
    // No point of a longer table held before stays behind.
    for (int k = 2 * n; k <= 63; ++k) pointsNema[p][k] = 0;
    return true;
}

void lirePartitions(Lecteur& l, LectureFichier& lecture)
{
    for (int p = 1; p <= nbPartitionsFichier; ++p) {
        const QString* entete = l.suivante();
        if (!entete) return;
        const QString texte = sansGuillemets(*entete);
        if (p == 33 && texte.startsWith(QLatin1String("$fA"))) {
            // Old 32-partition file: this is relay line 0.
            lecture.ancienFichier = true;
            if (texte.size() > 3 && estChiffre(texte[3]))
                tableRelais[0][0] = relaisValide(texte[3].unicode() - '0');
            return;
        }
        if (!lireBloc(l, p, *entete)) return;
        lecture.partitionsLues[p] = true;
        ++lecture.nbPartitionsLues;
    }
}

void finirPartitions()
{
    valeursCourantes[0].valeur = 1;
    montrerGamme(1);
    fixerFinGamme(1);
    nbPointsNema = 1;
}

void lireMenuC(Lecteur& l, bool depuisLigne1)
{
    double n = 0;
    for (int r = depuisLigne1 ? 1 : 0; r < static_cast<int>(tableRelais.size()); ++r) {
        if (!l.suivanteNombre(false, n)) return;
        tableRelais[r][0] = relaisValide(n);
    }
    for (auto& sortie : tableSortiesAnalogiques) {
        if (!l.suivanteNombre(false, n)) return;
        if (n <= 6.0) sortie[0] = n;
    }
    for (auto& comparateur : tableComparateur) {
        if (!l.suivanteNombre(true, n)) return;
        comparateur[0] = n;
    }
}

bool lireContenu(const QByteArray& octets, LectureFichier& lecture)
{
    Lecteur l(decouperLignes(octets));
    int nA = 0;
    int nB = 0;
    if (!balayer(l.lignes(), nA, nB)) return false;

    lireDonneesAppareil(l, nA);
    lireMenuBGen(l, nB);
    afficherMenuBGen();
    if (l.echec) return false;

    lirePartitions(l, lecture);
    finirPartitions();
    if (l.echec) return false;

    lireMenuC(l, lecture.ancienFichier);
    if (l.echec) return false;
    lecture.menuCLu = true;
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
