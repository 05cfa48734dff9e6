#include "files/fichierdonnees.h"

#include "model/etat.h"
#include "model/menubgen.h"
#include "model/menuc.h"
#include "model/partitions.h"
#include "model/tables.h"
#include "model/vues.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "sim/bancessai.h"
#include "sim/disqueplein.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

// Readable values in failure messages.
void PrintTo(const Variant& v, std::ostream* os)
{
    *os << (v.estNombre() ? "number " : v.estTexte() ? "text " : "empty ") << v.texteFil().toStdString();
}

namespace {

// A window that records the texts the core puts into it.
template <class Base>
class VueFactice : public Base {
public:
    bool estVisible() const override { return false; }
    void setTexte(const QString& c, const QString& t) override { textes[c] = t; }
    QString texte(const QString& c) const override { auto i = textes.find(c); return i == textes.end() ? QString() : i->second; }
    void setEnabled(const QString&, bool) override {}
    void setVisible(const QString&, bool) override {}
    void selectionnerOption(const QString&, int) override {}
    bool optionSelectionnee(const QString&, int) const override { return false; }
    void setTexteStatut(const QString&) override {}
    std::map<QString, QString> textes;
};

class VueMenuAFactice : public VueFactice<IVueMenuA> {
public:
    void setTabStop(const QString&, bool) override {}
    void setTabIndex(const QString&, int) override {}
};

QByteArray lireOctets(const QString& chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void ecrireOctets(const QString& chemin, const QByteArray& octets)
{
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(octets);
}

// Line texts without quotes; the file must end with CR LF.
QStringList lignesDe(const QByteArray& octets)
{
    QStringList lignes = QString::fromLatin1(octets).split(QStringLiteral("\r\n"));
    EXPECT_TRUE(lignes.last().isEmpty());
    lignes.removeLast();
    for (QString& l : lignes) l = l.mid(1, l.size() - 2);
    return lignes;
}

QByteArray octetsDe(const QStringList& lignes)
{
    QByteArray o;
    for (const QString& l : lignes) o += '"' + l.toLatin1() + "\"\r\n";
    return o;
}

// Line numbers in a file where every partition has one point.
constexpr int ligneBloc(int p) { return 29 + 41 * (p - 1); }
constexpr int ligneMenuC = 29 + 64 * 41;

class FichierDonnees : public ::testing::Test {
protected:
    void SetUp() override
    {
        banc.principale.enLigne = false;
        initPointsNema(64);
        initPartitionCode();
        initTablesMenuC();
        initTableMenuBGen();
        initDefParamsPartition();
        ASSERT_TRUE(dossier.isValid());
    }
    void TearDown() override
    {
        vues().menuBP = nullptr;
        vues().menuA = nullptr;
    }

    QString chemin(const char* nom) const { return dossier.filePath(QString::fromLatin1(nom)); }

    // The default file, as lines.
    QStringList lignesDefaut()
    {
        const QString c = chemin("defaut.mnc");
        EXPECT_TRUE(sauverFichierDonnees(c));
        return lignesDe(lireOctets(c));
    }

    bool ouvrir(const QStringList& lignes, LectureFichier* lecture = nullptr)
    {
        const QString c = chemin("lu.mnc");
        ecrireOctets(c, octetsDe(lignes));
        return ouvrirFichierDonnees(c, lecture);
    }

    void attendreIllisible()
    {
        ASSERT_EQ(banc.ui.messages.size(), 1u);
        EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::fichierIllisible));
        EXPECT_EQ(banc.ui.messages[0].icone(), msg::critique);
        EXPECT_TRUE(banc.ui.messages[0].titre.isEmpty());
    }

    BancEssai banc;
    QTemporaryDir dossier;
};

TEST_F(FichierDonnees, DefaultFileHasItsLinesInPlace)
{
    tableRelais[8][0] = 3;   // alarm output
    tableRelais[9][0] = 4;   // comparator output
    const QString c = chemin("defaut.mnc");
    ASSERT_TRUE(sauverFichierDonnees(c));
    const QByteArray octets = lireOctets(c);
    EXPECT_EQ(octets.count("\r\n"), 5308);
    EXPECT_EQ(octets.count('\r'), 5308);
    EXPECT_EQ(octets.count('\n'), 5308);
    EXPECT_TRUE(octets.startsWith("\"\"\r\n\"\"\r\n"));
    EXPECT_TRUE(octets.endsWith("\"$nm1\"\r\n\"$nm50\"\r\n"));

    const QStringList l = lignesDe(octets);
    ASSERT_EQ(l.size(), 5308);
    const std::pair<int, const char*> attendues[] = {
        {0, ""}, {5, ""}, {6, "$cs0"}, {7, "$uf0"}, {11, "$cP0"}, {12, "$ur400"}, {13, "$pg0"},
        {15, "$dd0"}, {17, "$vm0"}, {18, "$dm0"}, {19, "$dm0"}, {28, "$dm0"},
        {ligneBloc(1), "$ng1"}, {ligneBloc(1) + 1, "$pp2"}, {ligneBloc(1) + 2, "$pm0.1"},
        {ligneBloc(1) + 12, "$dF0"}, {ligneBloc(1) + 31, "$df0"}, {ligneBloc(1) + 37, "$du1"},
        {ligneBloc(1) + 38, "@1"}, {ligneBloc(1) + 39, "$nm1"}, {ligneBloc(1) + 40, "$nm50"},
        {ligneBloc(2), "$ng2"}, {ligneBloc(64), "$ng64"},
        {ligneMenuC, "$fA0"}, {ligneMenuC + 7, "$gl0"}, {ligneMenuC + 8, "$VC3"},
        {ligneMenuC + 9, "$al4"}, {ligneMenuC + 16, "$re0"}, {ligneMenuC + 17, "$sa1"},
        {ligneMenuC + 18, "$sn1"}, {ligneMenuC + 19, "$vc0"}, {ligneMenuC + 20, "$dc0"},
        {ligneMenuC + 21, "$dm0"}, {ligneMenuC + 30, "$dm0"}, {ligneMenuC + 31, "$ng1"},
        {ligneMenuC + 31 + 38, "@1"}, {5307, "$nm50"},
    };
    for (const auto& [n, texte] : attendues)
        EXPECT_EQ(l[n], QString::fromLatin1(texte)) << "line " << n;
    // Sections 8 and 9 repeat sections 3 and 4.
    EXPECT_EQ(l.mid(ligneMenuC + 21), l.mid(19, 10 + 64 * 41));
    EXPECT_TRUE(banc.ui.messages.empty());
}

TEST_F(FichierDonnees, PointLinesFollowTheCount)
{
    pointsNema[7][64] = 3;
    const int pts[6] = {10, 5, 100, 25, 230, 50};
    for (int k = 0; k < 6; ++k) pointsNema[7][k] = pts[k];
    const QStringList l = lignesDefaut();
    EXPECT_EQ(l.size(), 5308 + 2 * 2 * 2);   // two more points, twice
    const int b = ligneBloc(7);
    EXPECT_EQ(l.mid(b + 38, 8), QStringList({"@3", "$nm10", "$nm5", "$nm100", "$nm25", "$nm230", "$nm50", "$ng8"}));
}

TEST_F(FichierDonnees, CountOutsideTheStoreStillGivesAReadableFile)
{
    // A count the store cannot hold goes out as the points the link would send.
    pointsNema[3][64] = 0;
    pointsNema[4][64] = 40;
    for (int k = 0; k < 64; ++k) pointsNema[4][k] = k + 1;
    const QStringList l = lignesDefaut();
    EXPECT_EQ(l.mid(ligneBloc(3) + 38, 4), QStringList({"@1", "$nm1", "$nm50", "$ng4"}));
    EXPECT_EQ(l[ligneBloc(4) + 38], "@32");
    EXPECT_EQ(l[ligneBloc(4) + 38 + 64], "$nm64");
    EXPECT_EQ(l[ligneBloc(4) + 38 + 65], "$ng5");
    ASSERT_TRUE(ouvrir(l));
    EXPECT_EQ(pointsNema[3][64], Variant(1));
    EXPECT_EQ(pointsNema[4][64], Variant(32));
    EXPECT_TRUE(banc.ui.messages.empty());
}

TEST_F(FichierDonnees, CommaIsWrittenAsPointAndReadBack)
{
    champsLES[0] = "12,5";
    champsLES[3] = "ZT,20";
    parametresPartitions[8][5] = Variant("12,50");   // typed in a window
    parametresPartitions[1][2] = Variant("0,1");
    parametresPartitions[24][3] = 2.5;
    tableComparateur[0][0] = Variant("9,5");
    const QStringList l = lignesDefaut();
    EXPECT_EQ(l[0], "12.5");
    EXPECT_EQ(l[3], "ZT.20");
    EXPECT_EQ(l[ligneBloc(5) + 9], "$ta12.50");
    EXPECT_EQ(l[ligneBloc(2) + 2], "$pm0.1");
    EXPECT_EQ(l[ligneBloc(3) + 25], "$sl2.5");
    EXPECT_EQ(l[ligneMenuC + 19], "$vc9.5");

    parametresPartitions[8][5] = 1;
    parametresPartitions[1][2] = 1;
    tableComparateur[0][0] = 0;
    ASSERT_TRUE(ouvrir(l));
    EXPECT_EQ(parametresPartitions[8][5], Variant(12.5));
    EXPECT_EQ(parametresPartitions[1][2], Variant(0.1));
    EXPECT_EQ(parametresPartitions[24][3], Variant(2.5));
    EXPECT_EQ(tableComparateur[0][0], Variant(9.5));
    EXPECT_EQ(champsLES[0], "12.5");
    EXPECT_EQ(champsLES[3], "ZT.20");
}

TEST_F(FichierDonnees, SaveOpenSaveGivesTheSameBytes)
{
    champsLES = {"30", "18A", "12.03.04", "ZT2030", "1250", "310"};
    for (int r = 0; r <= 12; ++r) tableMenuBGen[r].valeur = r % 2;
    tableMenuBGen[4].valeur = 7;
    tableMenuBGen[6].valeur = 415;
    tableMenuBGen[9].valeur = 3;
    for (int p = 1; p <= 64; ++p) {
        for (int k = 0; k <= 36; ++k) {
            const int min = defParamsPartition[k].min.entier();
            const int plage = defParamsPartition[k].max.entier() - min + 1;
            parametresPartitions[k][p] = min + (k * 7 + p) % plage;
        }
        parametresPartitions[1][p] = p / 10.0;
        const int n = p % 5 + 1;
        pointsNema[p][64] = n;
        for (int j = 1; j <= n; ++j) {
            pointsNema[p][2 * j - 2] = 40 * j + p;
            pointsNema[p][2 * j - 1] = 10 * j;
        }
    }
    for (int r = 0; r < 17; ++r) tableRelais[r][0] = r % 6;
    tableSortiesAnalogiques[0][0] = 6;
    tableSortiesAnalogiques[1][0] = 0;
    tableComparateur[0][0] = 7.25;
    tableComparateur[1][0] = 3;
    parametresPartitions[37][1] = 1234;   // not held in the file

    const QString a = chemin("a.mnc");
    ASSERT_TRUE(sauverFichierDonnees(a));
    const QByteArray octetsA = lireOctets(a);

    // Back to the start values, then read.
    reinitialiserEtatModule();
    banc.principale.enLigne = false;
    initPointsNema(64);
    initPartitionCode();
    initTablesMenuC();
    initTableMenuBGen();
    initDefParamsPartition();
    parametresPartitions[37][1] = 1234;
    VueMenuAFactice menuA;
    VueFactice<IVueMenuBP> menuBP;
    vues().menuA = &menuA;
    vues().menuBP = &menuBP;
    valeursCourantes[0].valeur = 9;
    LectureFichier lecture;
    ASSERT_TRUE(ouvrirFichierDonnees(a, &lecture));
    EXPECT_TRUE(banc.ui.messages.empty());
    EXPECT_TRUE(lecture.valide);
    EXPECT_FALSE(lecture.ancienFichier);
    EXPECT_TRUE(lecture.menuCLu);
    EXPECT_EQ(lecture.nbPartitionsLues, 64);

    EXPECT_EQ(tableMenuBGen[6].valeur, Variant(415));
    EXPECT_EQ(parametresPartitions[37][1], Variant(1234));
    EXPECT_EQ(pointsNema[9][64], Variant(5));
    EXPECT_EQ(tableComparateur[0][0], Variant(7.25));
    EXPECT_EQ(menuA.textes["editTxt(2)"], "12.03.04");
    EXPECT_EQ(menuBP.textes["editTxtGamme"], "1");
    EXPECT_EQ(valeursCourantes[0].valeur.entier(), 1);
    EXPECT_EQ(nbPointsGamme, Variant(2));
    EXPECT_EQ(freqMaxGamme, Variant(20));
    EXPECT_EQ(tensionMaxGamme, Variant(81));
    EXPECT_EQ(nbPointsNema, Variant(1));
    // A good read marks everything held and modified.
    for (int i = 0; i < 64; ++i) {
        EXPECT_TRUE(partParamsCharges[i] && partNemaCharges[i] && partParamsModifies[i] && partNemaModifies[i]);
    }
    EXPECT_TRUE(menuCCharge);

    const QString b = chemin("b.mnc");
    ASSERT_TRUE(sauverFichierDonnees(b));
    EXPECT_EQ(lireOctets(b), octetsA);
}

TEST_F(FichierDonnees, OldFileWith32Partitions)
{
    QStringList l = lignesDefaut();
    l[ligneBloc(5) + 1] = "$pp8";
    l[ligneMenuC] = "$fA2";
    l[ligneMenuC + 16] = "$re5";
    // 32 blocks followed directly by menu C.
    const QStringList ancien = l.mid(0, ligneBloc(33)) + l.mid(ligneMenuC, 21);
    parametresPartitions[0][40] = 12;
    pointsNema[40][1] = 60;
    LectureFichier lecture;
    ASSERT_TRUE(ouvrir(ancien, &lecture));
    EXPECT_TRUE(banc.ui.messages.empty());
    EXPECT_TRUE(lecture.ancienFichier);
    EXPECT_EQ(lecture.nbPartitionsLues, 32);
    EXPECT_TRUE(lecture.partitionsLues[32]);
    EXPECT_FALSE(lecture.partitionsLues[33]);
    EXPECT_EQ(parametresPartitions[0][5], Variant(8));
    EXPECT_EQ(parametresPartitions[0][40], Variant(12));
    EXPECT_EQ(pointsNema[40][1], Variant(60));
    EXPECT_EQ(tableRelais[0][0], Variant(2));
    EXPECT_EQ(tableRelais[16][0], Variant(5));
    EXPECT_TRUE(menuCCharge);
}

TEST_F(FichierDonnees, TruncatedFileChangesNothing)
{
    QStringList l = lignesDefaut();
    l[ligneBloc(9) + 1] = "$pp6";
    l[ligneBloc(10) + 1] = "$pp4";
    l[ligneBloc(10) + 5] = "$ia9";
    parametresPartitions[5][10] = 77;   // after the end of the file
    parametresPartitions[0][12] = 14;
    tableRelais[3][0] = 5;
    valeursCourantes[0].valeur = 7;
    for (int cut : {ligneBloc(10) + 5, ligneBloc(10) + 1}) {
        SCOPED_TRACE(cut);
        banc.ui.messages.clear();
        QByteArray o = octetsDe(l.mid(0, cut + 1));
        o += "\"$ir";   // a line the file ends in
        ecrireOctets(chemin("court.mnc"), o);
        LectureFichier lecture;
        EXPECT_FALSE(ouvrirFichierDonnees(chemin("court.mnc"), &lecture));
        attendreIllisible();
        EXPECT_FALSE(lecture.valide);
        EXPECT_EQ(parametresPartitions[0][9], Variant(2));
        EXPECT_EQ(parametresPartitions[0][10], Variant(2));
        EXPECT_EQ(parametresPartitions[5][10], Variant(77));
        EXPECT_EQ(parametresPartitions[0][12], Variant(14));
        EXPECT_EQ(tableRelais[3][0], Variant(5));
        EXPECT_EQ(valeursCourantes[0].valeur.entier(), 7);
        EXPECT_FALSE(partParamsCharges[0]);
        EXPECT_FALSE(menuCCharge);
    }
}

TEST_F(FichierDonnees, LinesAreReadByKeyAsWellAsByPosition)
{
    QStringList l = lignesDefaut();
    // Partition 3: line 3 holds "$ta" and line 8 holds "$in".
    const int b = ligneBloc(3) + 1;
    l[b + 3] = "$ta77";
    l[b + 8] = "$in55";
    // Partition 4: "$df" (row 30) in the place of "$dF" (row 11).
    l[b + 41 + 11] = "$df7";
    // General part after "$cs": any order, foreign keys ignored with or
    // without a digit.
    l[7] = "$ur410";
    l[12] = "$uf1";
    l.insert(8, "$xx");
    l.insert(9, "$zz7");
    ASSERT_TRUE(ouvrir(l));
    EXPECT_EQ(tableMenuBGen[6].valeur, Variant(410));
    EXPECT_EQ(tableMenuBGen[1].valeur, Variant(1));
    EXPECT_EQ(parametresPartitions[3][3], Variant(55));
    EXPECT_EQ(parametresPartitions[8][3], Variant(55));
    // Keys are case-sensitive: the later "$df0" line does not reach row 11.
    EXPECT_EQ(parametresPartitions[11][4], Variant(7));
    EXPECT_EQ(parametresPartitions[30][4], Variant(0));
    EXPECT_EQ(parametresPartitions[11][3], Variant(0));
}

TEST_F(FichierDonnees, MissingLockingKeyAndDtoLinesReadAsZero)
{
    QStringList l = lignesDefaut();
    tableMenuBGen[11].valeur = 1;
    tableMenuBGen[12].valeur = 1;
    l.erase(l.begin() + 17, l.begin() + 29);   // "$vm", "$dm" and the reserve lines
    ASSERT_TRUE(ouvrir(l));
    EXPECT_EQ(tableMenuBGen[11].valeur, Variant(0));
    EXPECT_EQ(tableMenuBGen[12].valeur, Variant(0));
}

TEST_F(FichierDonnees, CountLineWithoutAtKeepsTheCount)
{
    QStringList l = lignesDefaut();
    l[ligneBloc(4) + 38] = "#2";
    pointsNema[4][64] = 1;
    ASSERT_TRUE(ouvrir(l));
    EXPECT_EQ(pointsNema[4][64], Variant(1));
}

struct CasLisible {
    const char* nom;
    int ligne;
    const char* texte;
    std::function<void()> verifier;
};

TEST_F(FichierDonnees, KeyOnlyDigitlessAndBoundaryLinesAreRead)
{
    const CasLisible cas[] = {
        {"relay key alone: no relay", ligneMenuC, "$fA", [] { EXPECT_TRUE(tableRelais[0][0].estVide()); }},
        {"alarm relay key alone", ligneMenuC + 8, "$VC", [] { EXPECT_TRUE(tableRelais[8][0].estVide()); }},
        {"relay line without digit", ligneMenuC + 2, "$fZ-", [] { EXPECT_EQ(tableRelais[2][0], Variant(0)); }},
        {"relay 5", ligneMenuC + 3, "$vZ5", [] { EXPECT_EQ(tableRelais[3][0], Variant(5)); }},
        {"parameter key alone", ligneBloc(3) + 3, "$rt", [] { EXPECT_EQ(parametresPartitions[2][3], Variant(0)); }},
        {"parameter without digit", ligneBloc(3) + 7, "$ci?", [] { EXPECT_EQ(parametresPartitions[6][3], Variant(0)); }},
        {"general key alone", 14, "$as", [] { EXPECT_EQ(tableMenuBGen[8].valeur, Variant(0)); }},
        {"comparator key alone", ligneMenuC + 19, "$vc", [] { EXPECT_EQ(tableComparateur[0][0], Variant(0)); }},
        {"analog output 0", ligneMenuC + 18, "$sn0", [] { EXPECT_EQ(tableSortiesAnalogiques[1][0], Variant(0)); }},
        {"analog output 6", ligneMenuC + 17, "$sa6", [] { EXPECT_EQ(tableSortiesAnalogiques[0][0], Variant(6)); }},
        {"mains voltage 480", 12, "$ur480", [] { EXPECT_EQ(tableMenuBGen[6].valeur, Variant(480)); }},
        {"mains voltage typed 200", 12, "$ur200", [] { EXPECT_EQ(tableMenuBGen[6].valeur, Variant(200)); }},
        {"motor power 255.255", ligneBloc(4) + 2, "$pm255.255", [] { EXPECT_EQ(parametresPartitions[1][4], Variant(255.255)); }},
        {"point 460 V", ligneBloc(5) + 39, "$nm460", [] { EXPECT_EQ(pointsNema[5][0], Variant(460)); }},
        {"point 4000 Hz", ligneBloc(5) + 40, "$nm4000", [] { EXPECT_EQ(pointsNema[5][1], Variant(4000)); }},
        {"comparator 10 V", ligneMenuC + 19, "$vc10", [] { EXPECT_EQ(tableComparateur[0][0], Variant(10)); }},
        {"relay delay 5 s", ligneMenuC + 20, "$dc5", [] { EXPECT_EQ(tableComparateur[1][0], Variant(5)); }},
    };
    const QStringList defaut = lignesDefaut();
    for (const CasLisible& c : cas) {
        SCOPED_TRACE(c.nom);
        reinitialiserEtatModule();
        SetUp();
        banc.ui.messages.clear();
        tableRelais[0][0] = tableRelais[2][0] = tableRelais[8][0] = 3;
        parametresPartitions[2][3] = parametresPartitions[6][3] = 1;
        tableMenuBGen[8].valeur = 1;
        tableComparateur[0][0] = 4;
        tableSortiesAnalogiques[1][0] = 2;
        QStringList l = defaut;
        l[c.ligne] = QString::fromLatin1(c.texte);
        EXPECT_TRUE(ouvrir(l));
        EXPECT_TRUE(banc.ui.messages.empty());
        c.verifier();
    }
}

TEST_F(FichierDonnees, OldFileRelayKeyAloneHoldsNoRelay)
{
    QStringList l = lignesDefaut();
    l[ligneMenuC] = "$fA";
    tableRelais[0][0] = 2;
    LectureFichier lecture;
    ASSERT_TRUE(ouvrir(l.mid(0, ligneBloc(33)) + l.mid(ligneMenuC, 21), &lecture));
    EXPECT_TRUE(lecture.ancienFichier);
    EXPECT_TRUE(tableRelais[0][0].estVide());
}

TEST_F(FichierDonnees, EmptyValuesAreWrittenAsTheKeyAlone)
{
    tableRelais[4][0] = Variant();
    parametresPartitions[2][3] = Variant();
    tableComparateur[1][0] = Variant();
    tableMenuBGen[8].valeur = Variant();
    tableMenuBGen[12].valeur = Variant();   // eleven key-only lines before the first block
    // Lines that must hold a digit keep one.
    pointsNema[5][1] = Variant();
    tableSortiesAnalogiques[0][0] = Variant();
    const QStringList l = lignesDefaut();
    EXPECT_EQ(l[ligneMenuC + 4], "$sS");
    EXPECT_EQ(l[ligneBloc(3) + 3], "$rt");
    EXPECT_EQ(l[ligneMenuC + 20], "$dc");
    EXPECT_EQ(l[14], "$as");
    EXPECT_EQ(l[28], "$dm");
    EXPECT_EQ(l[ligneBloc(5) + 40], "$nm0");
    EXPECT_EQ(l[ligneMenuC + 17], "$sa0");
    EXPECT_EQ(l[ligneMenuC + 31 + 3 + 2 * 41], "$rt");

    tableRelais[4][0] = 1;
    parametresPartitions[2][3] = 1;
    parametresPartitions[0][1] = 9;
    tableMenuBGen[12].valeur = 1;
    ASSERT_TRUE(ouvrir(l));
    EXPECT_EQ(parametresPartitions[0][1], Variant(2));
    EXPECT_EQ(tableMenuBGen[12].valeur, Variant(0));
    EXPECT_TRUE(tableRelais[4][0].estVide());
    EXPECT_EQ(parametresPartitions[2][3], Variant(0));
    EXPECT_EQ(tableComparateur[1][0], Variant(0));
    EXPECT_EQ(tableMenuBGen[8].valeur, Variant(0));
}

// Everything the PC holds that a read may change.
struct EtatPC {
    EtatPC()
        : champs(champsLES), parametres(parametresPartitions), points(pointsNema), relais(tableRelais),
          sorties(tableSortiesAnalogiques), comparateur(tableComparateur), courante(valeursCourantes[0].valeur),
          fin{nbPointsGamme, freqMaxGamme, tensionMaxGamme, nbPointsNema},
          marques{partParamsCharges, partNemaCharges, partParamsModifies, partNemaModifies}, menuC(menuCCharge)
    {
        for (int r = 0; r <= 12; ++r) general[r] = tableMenuBGen[r].valeur;
    }
    bool operator==(const EtatPC&) const = default;

    std::array<QString, 8> champs;
    std::array<Variant, 13> general;
    std::array<std::array<Variant, 65>, 39> parametres;
    std::array<std::array<Variant, 65>, 65> points;
    std::array<std::array<Variant, 4>, 17> relais;
    std::array<std::array<Variant, 3>, 2> sorties;
    std::array<std::array<Variant, 3>, 2> comparateur;
    Variant courante;
    std::array<Variant, 4> fin;
    std::array<std::array<bool, 65>, 4> marques;
    bool menuC;
};

struct CasIllisible {
    const char* nom;
    std::function<QStringList(QStringList)> modifier;
};

QStringList remplacer(QStringList l, int ligne, const char* texte)
{
    l[ligne] = QString::fromLatin1(texte);
    return l;
}

TEST_F(FichierDonnees, IllegibleFileChangesNothing)
{
    const QString quaranteNeuf = QStringLiteral("$ur") + QString(40, u'9');
    const QString neufCents = QStringLiteral("$cs") + QString(400, u'9');
    const CasIllisible cas[] = {
        {"empty file", [](QStringList) { return QStringList(); }},
        {"no general part", [](QStringList l) { return l.mid(0, 6) + l.mid(ligneBloc(1)); }},
        {"no partition blocks", [](QStringList l) { return l.mid(0, ligneBloc(1)); }},
        {"ends inside menu C", [](QStringList l) { return l.mid(0, ligneMenuC + 19); }},
        {"point line without digit", [](QStringList l) { return remplacer(l, ligneBloc(2) + 40, "$nm"); }},
        {"count line without digit", [](QStringList l) { return remplacer(l, ligneBloc(2) + 38, "@"); }},
        {"count 0", [](QStringList l) { return remplacer(l, ligneBloc(2) + 38, "@0"); }},
        {"count 33", [](QStringList l) { return remplacer(l, ligneBloc(2) + 38, "@33"); }},
        {"analog output without digit", [](QStringList l) { return remplacer(l, ligneMenuC + 18, "$sn"); }},
        {"digitless parameter below its minimum", [](QStringList l) { return remplacer(l, ligneBloc(2) + 1, "$pp"); }},
        {"forty-digit mains voltage", [&](QStringList l) { l[12] = quaranteNeuf; return l; }},
        {"number too large for a double", [&](QStringList l) { l[6] = neufCents; return l; }},
        {"mains voltage 199", [](QStringList l) { return remplacer(l, 12, "$ur199"); }},
        {"reserve line 2", [](QStringList l) { return remplacer(l, 25, "$dm2"); }},
        {"parameter over its maximum", [](QStringList l) { return remplacer(l, ligneBloc(64) + 1, "$pp25"); }},
        {"motor power 255.256", [](QStringList l) { return remplacer(l, ligneBloc(2) + 2, "$pm255.256"); }},
        {"value within its place, not its key's row", [](QStringList l) { return remplacer(l, ligneBloc(2) + 4, "$ta280"); }},
        {"point 461 V", [](QStringList l) { return remplacer(l, ligneBloc(2) + 39, "$nm461"); }},
        {"point 4001 Hz", [](QStringList l) { return remplacer(l, ligneBloc(2) + 40, "$nm4001"); }},
        {"relay 6", [](QStringList l) { return remplacer(l, ligneMenuC + 2, "$fZ6"); }},
        {"analog output 7", [](QStringList l) { return remplacer(l, ligneMenuC + 17, "$sa7"); }},
        {"comparator 10.01 V", [](QStringList l) { return remplacer(l, ligneMenuC + 19, "$vc10.01"); }},
        {"relay delay 6 s", [](QStringList l) { return remplacer(l, ligneMenuC + 20, "$dc6"); }},
    };
    for (const CasIllisible& c : cas) {
        SCOPED_TRACE(c.nom);
        reinitialiserEtatModule();
        SetUp();
        banc.ui.messages.clear();
        // The file differs from the PC in every part before the faulty line.
        QStringList l = lignesDefaut();
        l[0] = "ZT";
        l[12] = "$ur460";
        l[ligneBloc(1) + 1] = "$pp4";
        l[ligneBloc(1) + 39] = "$nm2";
        l[ligneMenuC] = "$fA1";
        l = c.modifier(l);
        valeursCourantes[0].valeur = 5;
        partParamsModifies[5] = true;
        VueMenuAFactice menuA;
        VueFactice<IVueMenuBP> menuBP;
        vues().menuA = &menuA;
        vues().menuBP = &menuBP;
        const EtatPC avant;
        LectureFichier lecture;
        EXPECT_FALSE(ouvrir(l, &lecture));
        attendreIllisible();
        EXPECT_FALSE(lecture.valide);
        EXPECT_TRUE(EtatPC() == avant);
        EXPECT_EQ(tableMenuBGen[6].valeur, Variant(400));
        EXPECT_TRUE(menuA.textes.empty());
        EXPECT_TRUE(menuBP.textes.empty());
        vues().menuA = nullptr;
        vues().menuBP = nullptr;
    }
}

TEST_F(FichierDonnees, MissingFileIsIllegible)
{
    EXPECT_FALSE(ouvrirFichierDonnees(chemin("absent.mnc")));
    attendreIllisible();
}

TEST_F(FichierDonnees, HugeFileIsIllegibleUnread)
{
    const QString c = chemin("grand.mnc");
    ASSERT_TRUE(sauverFichierDonnees(c));
    QByteArray octets = lireOctets(c);
    ASSERT_LT(octets.size(), 1024 * 1024);
    ASSERT_TRUE(ouvrirFichierDonnees(c));
    octets += QByteArray(1024 * 1024 + 1 - octets.size(), ' ');
    ecrireOctets(c, octets);
    EXPECT_FALSE(ouvrirFichierDonnees(c));
    attendreIllisible();
}

TEST_F(FichierDonnees, FailedSaveLeavesTheOldFile)
{
    const QString c = chemin("garde.mnc");
    ecrireOctets(c, "ancien");
    // A folder that does not exist.
    bool perdue = true;
    EXPECT_FALSE(sauverFichierDonnees(chemin("absent/x.mnc"), &perdue));
    EXPECT_FALSE(perdue);
    EXPECT_FALSE(QFile::exists(chemin("absent/x.mnc")));
    EXPECT_EQ(lireOctets(c), "ancien");
    // A full disk.
    {
        DisquePlein plein;
        EXPECT_FALSE(sauverFichierDonnees(c));
    }
    EXPECT_EQ(lireOctets(c), "ancien");
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files), QStringList({"garde.mnc"}));
    EXPECT_EQ(banc.ui.pointeurCourant, pointeur::normal);
}

TEST_F(FichierDonnees, LinkLostDuringOnLineSaveWritesNothing)
{
    // Silent from the first command, or from the selection of partition 5.
    for (const char* ligneMuette : {"", "$ng5"}) {
        SCOPED_TRACE(ligneMuette);
        const QString c = chemin("garde.mnc");
        ecrireOctets(c, "ancien");
        banc.principale.enLigne = true;
        banc.port.open();
        banc.sim.silence = QString::fromLatin1(ligneMuette).isEmpty();
        banc.sim.journal.clear();
        banc.sim.script = [&, ligneMuette](const QString& ligne) -> std::optional<QByteArray> {
            if (ligne == QLatin1String(ligneMuette)) {
                banc.sim.silence = true;
                return QByteArray();
            }
            return std::nullopt;
        };
        bool perdue = false;
        EXPECT_FALSE(sauverFichierDonnees(c, &perdue));
        EXPECT_TRUE(perdue);
        EXPECT_FALSE(banc.principale.enLigne);
        EXPECT_EQ(lireOctets(c), "ancien");
        EXPECT_EQ(banc.ui.pointeurCourant, pointeur::normal);
        // No temporary file left beside it.
        EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files), QStringList({"garde.mnc"}));
        banc.sim.silence = false;
        banc.sim.script = nullptr;
    }
    EXPECT_TRUE(banc.sim.journal.contains("$ng5"));
}

TEST_F(FichierDonnees, OnLineSaveHoldsTheConverterData)
{
    banc.principale.enLigne = true;
    nbPartitions = 32;
    banc.sim.version = "12";
    banc.sim.fixer("IN", "45", 3);
    // Partition 5 edited in the PC and not sent: its values go into the file.
    parametresPartitions[3][5] = 88;
    partParamsModifies[4] = true;
    const QString c = chemin("enligne.mnc");
    ASSERT_TRUE(sauverFichierDonnees(c));
    const QStringList l = lignesDe(lireOctets(c));
    EXPECT_EQ(l[0], "30");
    EXPECT_EQ(l[3], "ZT2030");
    EXPECT_EQ(l[ligneBloc(3) + 4], "$in45");
    EXPECT_EQ(l[ligneBloc(5) + 4], "$in88");
    EXPECT_TRUE(banc.ui.messages.empty());
}

}  // namespace
