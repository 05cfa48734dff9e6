// The printout of menu B general's Print button: the print choice, the
// printer dialog, the pages on a recording printer and on a PDF file, and
// the converter-data upload on the simulated converter.
#include "menus/impression.h"
#include "menus/printw.h"
#include "model/commun.h"
#include "model/tables.h"
#include "platform/imprimanteqt.h"
#include "platform/plateforme.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "sim/imprimanteenregistreuse.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
enum class Fin { ok, exit, caseFermeture };

// Pages of a PDF file; -1 when it cannot be read.
int pagesPdf(const QString& chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    return QString::fromLatin1(f.readAll()).count(QRegularExpression("/Type\\s*/Page(?![s\\w])"));
}

// Menu B general on the bench, a recording printer, English texts.
struct BancImpression : BancModele {
    BancImpression()
    {
        vues().menuBGen = &bgen;
        plateforme().imprimante = &imp;
        langueIndex = 1;
    }
    ~BancImpression() { plateforme().imprimante = nullptr; }

    // Answers the print choice once it shows: option, then OK, Exit or
    // the close box. Notes whether the converter option was enabled.
    void choisir(int option, Fin fin)
    {
        QTimer::singleShot(0, [this, option, fin] {
            auto* w = dynamic_cast<printW*>(registre().fenetre(numeroFenetre::printW));
            ASSERT_TRUE(w && w->isVisible());
            optionZeltoActive = w->printChk[1]->isEnabled();
            optionPcChoisie = w->printChk[0]->isChecked();
            w->printChk[option]->click();
            if (fin == Fin::ok) w->okBtn->click();
            else if (fin == Fin::exit) w->ExitBtn->click();
            else w->close();
        });
    }
    void imprimer(int option = 0, Fin fin = Fin::ok)
    {
        choisir(option, fin);
        imprimerMenuBGen();
    }
    // The window got its controls back and nothing is left busy.
    void attendreRetabli() const
    {
        EXPECT_FALSE(travailEnCours);
        EXPECT_EQ(ui.pointeurCourant, 0);
        EXPECT_TRUE(!bgen.actifs.count("printBtn") || bgen.actifs.at("printBtn"));
        EXPECT_TRUE(!bgen.actifs.count("openBtn") || bgen.actifs.at("openBtn"));
        ASSERT_FALSE(bgen.statuts.isEmpty());
        EXPECT_EQ(bgen.statuts.last(), "");
    }

    VueFactice<IVueMenuBGen> bgen;
    ImprimanteEnregistreuse imp;
    bool optionZeltoActive = true;
    bool optionPcChoisie = false;
};

constexpr int ordre[37] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 35, 36, 10, 11, 12, 13, 14, 15, 16,
                           17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34};

QString ligneGammes(int p)
{
    QString r = "c10:RANGE:|c60:=";
    for (int j = 0; j < 8; ++j) r += QString("|c%1:%2").arg(64 + 12 * j).arg(p + j);
    return r;
}
}

TEST(Impression, donneesPcHorsLigne)
{
    for (const int nb : {64, 32}) {
        SCOPED_TRACE(nb);
        BancImpression b;
        b.principale.enLigne = false;
        nbPartitions = nb;
        champsLES = {"30", "18A", "12.03.04", "ZT2030", "1250", "310"};
        for (int r = 0; r <= 12; ++r) tableMenuBGen[r].valeur = 100 + r;
        tableMenuBGen[4].valeur = Variant("2,5");   // a text as typed
        tableRelais[0][0] = 0;
        tableRelais[1][0] = Variant();
        tableRelais[2][0] = 5;
        for (int r = 0; r <= 37; ++r)
            for (int p = 1; p <= 64; ++p) parametresPartitions[r][p] = 1000 * r + p;
        parametresPartitions[8][2] = 12.5;
        // Partition 1: points (1, 50), (0, 20), (230, 50) and a stale point past the count.
        pointsNema[1][0] = 1, pointsNema[1][1] = 50;
        pointsNema[1][2] = 0, pointsNema[1][3] = 20;
        pointsNema[1][4] = 230, pointsNema[1][5] = 50;
        pointsNema[1][6] = 300, pointsNema[1][7] = 60;
        pointsNema[1][64] = 3;

        b.imprimer();
        EXPECT_FALSE(b.optionZeltoActive);
        EXPECT_TRUE(b.optionPcChoisie);
        EXPECT_EQ(b.ui.dialoguesImprimante, std::vector<QString>({"Printing datas..."}));
        EXPECT_TRUE(b.sim.journal.isEmpty());
        EXPECT_EQ(b.imp.police, "Arial");
        EXPECT_TRUE(b.imp.italique);
        EXPECT_EQ(b.imp.nbFinDocument, 1);
        EXPECT_EQ(b.imp.nbAbandons, 0);
        EXPECT_EQ(b.imp.pagesImprimees(), 1 + nb / 8);
        EXPECT_GT(b.imp.pointsParPage, 600);
        EXPECT_TRUE(b.bgen.statuts.contains("Please wait !..."));
        EXPECT_EQ(b.bgen.actifs["openBtn"], true);
        b.attendreRetabli();

        const QStringList p1 = b.imp.lignes(1);
        QStringList attendu = {"c-1:1", "c10:Frequency converter parameters", "c10:Zelto", "c10:MENU A:",
                               "c10:Maximum Current|c40: = 30"};
        for (int i = 1; i <= 5; ++i)
            attendu << "c10:" + texteChaine(ids::libCourantMax + 10 * i) + "|c40: = " + champsLES[i];
        attendu << "c10:MENU B: General part" << "c10:Start/Stop 0=keypad 1=T.block|c60: = 100";
        for (int r = 1; r <= 11; ++r)
            attendu << "c10:" + texteChaine(ids::impMarcheArret + 10 * r) + "|c60: = "
                           + (r == 4 ? QString("2,5") : QString::number(100 + r));
        attendu << "c10:5s. DTO delay 0=no, 1=yes|c60: = 112" << "c10:MENU C:" << "c10:RELAYS OUTPUT:"
                << "c10: Reached frequency|c40: = 0" << "c10: Reached speed|c60: = Not allocated"
                << "c10: Zero frequency|c40: = 5";
        ASSERT_GE(p1.size(), attendu.size());
        EXPECT_EQ(p1.mid(0, attendu.size()), attendu);
        EXPECT_TRUE(p1.contains("c10:ANALOG OUTPUTS:"));
        EXPECT_EQ(p1.last().left(22), "c10:Delay on relay act");
        const auto debut = b.imp.page(1).front();
        EXPECT_EQ(debut.taille, 12);
        EXPECT_TRUE(debut.gras);

        for (int page = 2; page <= 1 + nb / 8; ++page) {
            const int p = 1 + 8 * (page - 2);
            const QStringList l = b.imp.lignes(page);
            ASSERT_EQ(l.size(), 3 + 37 + 1 + 32);
            EXPECT_EQ(l[0], QString("c-1:%1").arg(page));
            EXPECT_EQ(l[1], "c10:MENU B: Range datas");
            EXPECT_EQ(l[2], ligneGammes(p));
            for (int k = 0; k < 37; ++k)
                EXPECT_TRUE(l[3 + k].startsWith("c10:" + texteChaine(ids::impNbPoles + 10 * ordre[k]) + "|c60:=|c64:"
                                                + QString::number(1000 * ordre[k] + p) + "|"))
                    << l[3 + k].toStdString();
            EXPECT_EQ(l[40], "c10:Nema:Us/Fs(V/Hz)");
        }
        const QStringList p2 = b.imp.lignes(2);
        EXPECT_TRUE(p2[3 + 8].contains("|c76:12.5|"));
        EXPECT_EQ(p2[41].section('|', 0, 0), "c64:1/50");
        EXPECT_EQ(p2[42].section('|', 0, 0), "c64:");
        EXPECT_EQ(p2[43].section('|', 0, 0), "c64:230/50");
        EXPECT_EQ(p2[44].section('|', 0, 0), "c64:");
        EXPECT_EQ(partitionCourante, nb + 1);
    }
}

// Every road that prints nothing leaves the window as it was.
TEST(Impression, annulationsEtEchecs)
{
    struct Cas {
        const char* nom;
        Fin fin;
        bool dialogue;
        int echecAuMorceau;
        bool echecFin;
        int dialogues;
    } cas[] = {
        {"Exit", Fin::exit, true, 0, false, 0},
        {"close box", Fin::caseFermeture, true, 0, false, 0},
        {"printer dialog cancelled", Fin::ok, false, 0, false, 1},
        {"printer failure", Fin::ok, true, 120, false, 1},
        {"end of document refused", Fin::ok, true, 0, true, 1},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        BancImpression b;
        nbPartitions = 32;
        b.ui.reponsesImprimante = {c.dialogue};
        b.imp.echecAuMorceau = c.echecAuMorceau;
        b.imp.echecFinDocument = c.echecFin;
        b.imprimer(1, c.fin);
        EXPECT_TRUE(b.optionZeltoActive);
        EXPECT_EQ(b.ui.dialoguesImprimante.size(), std::size_t(c.dialogues));
        if (c.dialogues == 0 || !c.dialogue) {
            EXPECT_TRUE(b.sim.journal.isEmpty());
            EXPECT_TRUE(b.imp.morceaux.empty());
            EXPECT_EQ(b.imp.nbFinDocument, 0);
            EXPECT_TRUE(b.bgen.actifs.empty());
            EXPECT_EQ(choixImpression, c.dialogues ? 0 : 10);
        } else {
            EXPECT_EQ(b.imp.nbAbandons, 1);
        }
        EXPECT_TRUE(b.ui.messages.empty());
        EXPECT_FALSE(registre().estAffichee(numeroFenetre::printW));
        b.attendreRetabli();
    }
}

// Converter data: "$pg0", the full upload, no "$pg1"; silence in the middle
// prints nothing.
TEST(Impression, donneesConvertisseur)
{
    for (const bool silence : {false, true}) {
        SCOPED_TRACE(silence);
        BancImpression b;
        b.sim.version = "12A";
        nbPartitions = 32;
        origPartExterne = true;
        if (silence) b.silenceA("$ng5");
        b.imprimer(1);

        const QStringList& j = b.sim.journal;
        ASSERT_GE(j.size(), 8);
        EXPECT_EQ(j.mid(0, 7), QStringList({"$pg0", "pg", "LES", "RL", "Sn", "SN", "VC"}));
        EXPECT_FALSE(j.contains("$pg1"));
        QStringList selections;
        for (const QString& l : j)
            if (l.startsWith("$ng")) selections << l;
        if (silence) {
            EXPECT_EQ(selections.last(), "$ng5");
            EXPECT_FALSE(b.principale.enLigne);
            EXPECT_EQ(b.imp.nbFinDocument, 0);
            EXPECT_EQ(b.imp.nbAbandons, 1);
            EXPECT_TRUE(b.imp.morceaux.empty());
            EXPECT_EQ(b.bgen.actifs["printBtn"], true);
            EXPECT_EQ(b.bgen.actifs["downBtn"], false);
        } else {
            ASSERT_EQ(selections.size(), 32);
            for (int p = 1; p <= 32; ++p) EXPECT_EQ(selections[p - 1], "$ng" + QString::number(p));
            EXPECT_EQ(j.count("NM"), 32);
            EXPECT_EQ(b.imp.nbFinDocument, 1);
            EXPECT_EQ(b.imp.pagesImprimees(), 5);
            EXPECT_TRUE(b.imp.lignes(1).contains("c10:Softwareversion|c40: = 12A"));
        }
        b.attendreRetabli();
    }
}

// The Qt printer to a PDF file: one page per partition group on A4 and Letter.
TEST(Impression, fichierPdf)
{
    QTemporaryDir dossier;
    for (const auto taille : {QPageSize::A4, QPageSize::Letter}) {
        BancImpression b;
        b.principale.enLigne = false;
        nbPartitions = 32;
        for (int p = 1; p <= 64; ++p) {
            for (int r = 0; r <= 37; ++r) parametresPartitions[r][p] = 1234.5;
            for (int k = 0; k < 64; k += 2) pointsNema[p][k] = 400, pointsNema[p][k + 1] = 100;
            pointsNema[p][64] = 32;
        }
        ImprimanteQt qt;
        const QString chemin = dossier.filePath(QString("sortie%1.pdf").arg(int(taille)));
        qt.printer().setOutputFormat(QPrinter::PdfFormat);
        qt.printer().setOutputFileName(chemin);
        qt.printer().setPageSize(QPageSize(taille));
        plateforme().imprimante = &qt;
        b.imprimer();
        EXPECT_FALSE(qt.enErreur());
        EXPECT_EQ(pagesPdf(chemin), 5);
        b.attendreRetabli();
    }
}

// Converter data to a PDF file: a link lost during the upload writes
// nothing and says so; a complete upload writes the whole file.
TEST(Impression, donneesConvertisseurSurPdf)
{
    for (const bool silence : {true, false}) {
        for (const bool fichierAvant : {false, true}) {
            SCOPED_TRACE(QString("silence %1, file before %2").arg(silence).arg(fichierAvant).toStdString());
            QTemporaryDir dossier;
            const QString chemin = dossier.filePath("zelto.pdf");
            const QByteArray ancien = "an older file\n";
            if (fichierAvant) {
                QFile f(chemin);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write(ancien);
            }
            BancImpression b;
            nbPartitions = 32;
            if (silence) b.silenceA("$ng5");
            ImprimanteQt qt;
            qt.printer().setOutputFormat(QPrinter::PdfFormat);
            qt.printer().setOutputFileName(chemin);
            plateforme().imprimante = &qt;
            b.imprimer(1);

            EXPECT_EQ(qt.printer().outputFileName(), chemin);
            EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files), fichierAvant || !silence ? QStringList{"zelto.pdf"} : QStringList{});
            QFile f(chemin);
            if (silence) {
                EXPECT_FALSE(b.principale.enLigne);
                ASSERT_EQ(b.ui.messages.size(), 1u);
                EXPECT_EQ(b.ui.messages[0].texte, "The Zelto stopped answering: nothing was printed!...");
                EXPECT_EQ(b.ui.messages[0].icone(), msg::exclamation);
                EXPECT_EQ(b.ui.messages[0].titre, "Message...");
                if (fichierAvant) {
                    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
                    EXPECT_EQ(f.readAll(), ancien);
                }
            } else {
                EXPECT_TRUE(b.ui.messages.empty());
                EXPECT_EQ(pagesPdf(chemin), 5);
            }
            b.attendreRetabli();
        }
    }
}

// A job dropped after its first page leaves no file behind, and a file the
// dialog named that was already there stays as it was.
TEST(ImprimanteQt, abandonSansTrace)
{
    for (const bool pageCommencee : {false, true}) {
        for (const bool fichierAvant : {false, true}) {
            SCOPED_TRACE(QString("page %1, file before %2").arg(pageCommencee).arg(fichierAvant).toStdString());
            QTemporaryDir dossier;
            const QString chemin = dossier.filePath("sortie.pdf");
            const QByteArray ancien = "an older file\n";
            if (fichierAvant) {
                QFile f(chemin);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write(ancien);
            }
            {
                ImprimanteQt qt;
                qt.printer().setOutputFormat(QPrinter::PdfFormat);
                qt.printer().setOutputFileName(chemin);
                if (pageCommencee) {
                    qt.texte("MENU A:");
                    qt.finLigne();
                }
                qt.abandonner();
                EXPECT_EQ(qt.printer().outputFileName(), chemin);
            }
            EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files), fichierAvant ? QStringList{"sortie.pdf"} : QStringList{});
            if (fichierAvant) {
                QFile f(chemin);
                ASSERT_TRUE(f.open(QIODevice::ReadOnly));
                EXPECT_EQ(f.readAll(), ancien);
            }
        }
    }
}
