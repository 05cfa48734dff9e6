// The real windows together on the simulated converter: menu B general,
// menu B partitions, the U/F window, the copy dialog and the print choice,
// opened from the main window. Wire sequences across windows, which window
// is enabled after each step, and the closing roads of a lost link.
#include "app/fixture.h"

#include "menus/fenetremenua.h"
#include "menus/fenetremenubgen.h"
#include "menus/fenetremenuc.h"
#include "menus/menubp.h"
#include "menus/printw.h"
#include "model/etat.h"
#include "model/tables.h"
#include "model/vues.h"
#include "platform/registrefenetres.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "sim/imprimanteenregistreuse.h"
#include "start/menud.h"
#include "start/menustart.h"
#include "uf/copynema.h"
#include "uf/prognema.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

template <class T>
T* fenetre(int n)
{
    return dynamic_cast<T*>(registre().fenetre(n));
}
menuBGen* bgen() { return fenetre<menuBGen>(numeroFenetre::menuBGen); }
menuBP* bp() { return fenetre<menuBP>(numeroFenetre::menuBP); }
progNema* uf() { return fenetre<progNema>(numeroFenetre::progNema); }
copyNema* cp() { return fenetre<copyNema>(numeroFenetre::copyNema); }
printW* pw() { return fenetre<printW>(numeroFenetre::printW); }
menuStart* ms() { return fenetre<menuStart>(numeroFenetre::menuStart); }
menuD* md() { return fenetre<menuD>(numeroFenetre::menuD); }

void traiter()
{
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// From menu B general: its partitions window, then the U/F window.
void ouvrirBP()
{
    bgen()->progGammeBtn->click();
    traiter();
}
void ouvrirUF()
{
    ouvrirBP();
    bp()->progGammeBtn->click();
    traiter();
}

// The read of one partition's parameters, and its write ("$pp4", "NP" ...).
QStringList lecturePartition()
{
    QStringList l;
    for (int k = 0; k < 38; ++k) l << defParamsPartition[k].code;
    return l << "TAU" << "TDU";
}

// Runs of a partition read become "<lecture>", of a partition write
// "<ecriture>" (37 keys with their read-back).
QStringList resume(QStringList l)
{
    const QStringList lecture = lecturePartition();
    for (int i = 0; i + lecture.size() <= l.size(); ++i)
        if (l.mid(i, lecture.size()) == lecture) {
            l[i] = "<lecture>";
            l.remove(i + 1, lecture.size() - 1);
        }
    for (int i = 0; i + 74 <= l.size(); ++i)
        if (l[i].startsWith("$pp") && l[i + 1] == "NP" && l[i + 72].startsWith("$du") && l[i + 73] == "TDU") {
            l[i] = "<ecriture>";
            l.remove(i + 1, 73);
        }
    return l;
}

// Shown and enabled state of main, menu B general, menu B partitions, U/F
// window, copy dialog: "-" hidden, "E" enabled, "d" shown but disabled.
QString etats(QWidget* principale)
{
    QString s;
    for (QWidget* w : {principale, static_cast<QWidget*>(bgen()), static_cast<QWidget*>(bp()),
                       static_cast<QWidget*>(uf()), static_cast<QWidget*>(cp())})
        s += !w->isVisible() ? u'-' : w->isEnabled() ? u'E' : u'd';
    return s;
}

class Chemins : public Appli {
protected:
    // On line with the partition source on the terminal block, menu B general open.
    void ouvrirMenuB()
    {
        banc.sim.fixer("pg", "1");
        demarrer();
        allerEnLigne();
        passwordOk = true;
        f->mnBBtn->click();
        traiter();
        marquer();
    }
    void marquer() { debut_ = banc.sim.journal.size(); }
    // Lines since marquer(), the watchdog's bare line feeds left out.
    QStringList lignes()
    {
        QStringList l = banc.sim.journal.mid(debut_);
        l.removeAll(QString());
        marquer();
        return resume(l);
    }
    int debut_ = 0;
};

} // namespace

// Every opening, copy, download and exit of the menu B chain in one walk.
TEST_F(Chemins, MenuBPartitionsUFEtCopieDeBoutEnBout)
{
    ouvrirMenuB();
    ASSERT_TRUE(origPartExterne);
    EXPECT_EQ(etats(f.get()), "dE---");

    struct Pas {
        const char* quoi;
        std::function<void()> action;
        QStringList fil;
        const char* etats;
    };
    const Pas pas[] = {
        {"Part. prog.", [] { bgen()->progGammeBtn->click(); },
         {"NG", "$pg0", "pg", "$ng1", "NG", "<lecture>"}, "ddE--"},
        // A disabled opener refuses its close box.
        {"close box of menu B general", [] { bgen()->close(); }, {}, "ddE--"},
        {"U/F", [] { bp()->progGammeBtn->click(); }, {"$pg0", "pg", "$ng1", "NG", "NM"}, "dddE-"},
        {"close box of menu B partitions", [] { bp()->close(); }, {}, "dddE-"},
        {"Copy NEMA", [] { uf()->copieBtn->click(); }, {}, "ddddE"},
        {"copy 1 -> 2",
         [] {
             cp()->txtDestCopy->setText("2");
             cp()->okBtn->click();
         },
         {}, "dddE-"},
        // The U/F window shows 2 without reading it: the copy holds it.
        {"Download 2 -> 2", [] { uf()->downBtn->click(); }, {}, "ddddE"},
        {"download OK", [] { cp()->okBtn->click(); },
         {"$pg0", "pg", "$ng2", "NG", "$nm4000050", "$nm0000000", "NM", "$pg0", "pg", "$ng2", "NG", "<lecture>",
          "$pg1", "pg"},
         "dddE-"},
        {"U/F Exit", [] { uf()->ExitBtn->click(); }, {}, "ddE--"},
        {"copy partition", [] { bp()->copyBtn->click(); }, {"$pg0", "pg", "$ng2", "NG"}, "ddd-E"},
        {"copy 2 -> 3",
         [] {
             cp()->txtDestCopy->setText("3");
             cp()->okBtn->click();
         },
         {}, "ddE--"},
        {"partitions Exit", [] { bp()->ExitBtn->click(); }, {"$pg1", "pg"}, "dE---"},
        {"Download", [] { bgen()->downBtn->click(); },
         {"$cs0", "CS", "$uf0", "UF", "$iv0", "IV", "$ps0", "ps", "$fc1", "FC", "$cP0", "CP", "$ur400", "Ur", "$pg0",
          "pg", "$as0", "AS", "$dd0", "DD", "$rv0", "RV", "$vm0", "VM", "$dm0", "DM"},
         "dd--E"},
        // Closed without a download: the terminal block gets the selection back.
        {"copy dialog Exit", [] { cp()->ExitBtn->click(); }, {"$pg1", "pg"}, "dE---"},
        {"general Exit, question answered No", [] { bgen()->ExitBtn->click(); }, {}, "E----"},
    };
    banc.ui.reponseParDefaut = msg::non;
    for (const Pas& p : pas) {
        SCOPED_TRACE(p.quoi);
        p.action();
        traiter();
        banc.horloge.avancer(0.1);
        EXPECT_EQ(lignes(), p.fil);
        const QString e = etats(f.get());
        EXPECT_EQ(e, QString::fromLatin1(p.etats).leftJustified(5, u'-'));
        EXPECT_FALSE(travailEnCours);
    }
    // The copy to 2 held its points; the partition copy reached the partition window.
    EXPECT_EQ(modeCopie, 0);
    EXPECT_EQ(vues().menuBGen, nullptr);
    EXPECT_EQ(vues().menuBP, nullptr);
    EXPECT_EQ(banc.ui.messages.size(), 2u);   // parameters of 2 not held; the closing question
    EXPECT_EQ(banc.sim.valeur("pg"), "1");
    EXPECT_TRUE(f->mnBBtn->isEnabled());
}

// A U/F correction that ends below the partition's frequencies clears them in
// menu B partitions; the closing question sends them with the points.
TEST_F(Chemins, CorrectionUFPuisQuestionDeFermeture)
{
    ouvrirMenuB();
    ouvrirUF();
    uf()->corrBtn->click();
    for (QLineEdit* e : uf()->editTxt) e->clear();
    uf()->editTxt[0]->setText("200");
    uf()->editTxt[1]->setText("25");
    uf()->terminerBtn->click();
    ASSERT_EQ(banc.ui.messages.size(), 1u);   // frequencies above 25 Hz cleared
    EXPECT_EQ(bp()->texte("editTxtFx3"), "0.00");
    EXPECT_EQ(bp()->texte("editTxtFx1"), "10.00");
    uf()->ExitBtn->click();
    traiter();
    bp()->ExitBtn->click();
    traiter();
    marquer();
    const int avant = banc.sim.journal.size();
    banc.ui.reponseParDefaut = msg::oui;
    bgen()->ExitBtn->click();
    traiter();
    EXPECT_EQ(lignes(), QStringList({"$pg0", "pg", "$ng1", "NG", "<ecriture>", "$ng1", "NG", "$nm2000025",
                                     "$nm0000000", "NM"}));
    const QStringList fil = banc.sim.journal.mid(avant);
    EXPECT_TRUE(fil.contains("$dF0") && fil.contains("$fz0") && fil.contains("$fx10"));
    EXPECT_EQ(etats(f.get()), "E----");
}

// A silent converter closes every window of the chain, whatever is open.
TEST_F(Chemins, SilenceFermeToutLaChaine)
{
    // The watchdog runs (as after a download) and the converter falls silent.
    const auto couper = [this] {
        marquer();
        f->setTimer1Enabled(true);
        banc.sim.silence = true;
    };
    struct Cas {
        const char* quoi;
        std::function<void()> ouvrir;
    };
    const Cas cas[] = {
        {"U/F graph shown",
         [&] {
             ouvrirUF();
             QTest::mousePress(uf()->grapheBtn, Qt::LeftButton);
             QTest::mouseRelease(uf()->grapheBtn, Qt::LeftButton);
             couper();
         }},
        {"copy dialog (copy NEMA)",
         [&] {
             ouvrirUF();
             uf()->copieBtn->click();
             couper();
         }},
        {"copy dialog (download)",
         [&] {
             ouvrirUF();
             uf()->downBtn->click();
             couper();
         }},
        {"print choice (modal)",
         [&] {
             QTimer::singleShot(0, [&] {
                 couper();
                 banc.horloge.avancer(6.0);
             });
             bgen()->printBtn->click();
         }},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        f.reset();
        reinitialiserEtatModule();
        banc.sim.silence = false;
        banc.ui.messages.clear();
        ouvrirMenuB();
        c.ouvrir();
        traiter();
        banc.horloge.avancer(6.0);
        traiter();
        EXPECT_FALSE(f->onLineChk());
        EXPECT_EQ(etats(f.get()), "E----");
        EXPECT_FALSE(pw()->isVisible());
        EXPECT_EQ(vues().menuBGen, nullptr);
        EXPECT_EQ(vues().menuBP, nullptr);
        EXPECT_TRUE(banc.ui.messages.empty());
        EXPECT_TRUE(banc.ui.dialoguesImprimante.empty());
        EXPECT_EQ(lignes(), QStringList());
        EXPECT_FALSE(travailEnCours);
    }
}

// The link lost in the middle of a download from the U/F window: once the
// download returns, the busy windows close back to the main window with
// nothing more sent.
TEST_F(Chemins, LiaisonPerdueEnTelechargement)
{
    ouvrirMenuB();
    ouvrirUF();
    uf()->downBtn->click();
    traiter();
    banc.sim.script = [this](const QString& l) -> std::optional<QByteArray> {
        if (l.startsWith("$nm")) banc.sim.silence = true;
        return std::nullopt;
    };
    cp()->okBtn->click();
    marquer();
    traiter();
    banc.horloge.avancer(5.0);
    EXPECT_FALSE(f->onLineChk());
    EXPECT_EQ(etats(f.get()), "E----");
    EXPECT_EQ(lignes(), QStringList());
    EXPECT_FALSE(travailEnCours);
    EXPECT_TRUE(f->mnBBtn->isEnabled());
    EXPECT_FALSE(f->mnABtn->isEnabled());
}

// Print from menu B general: cancelled in the choice, nothing is sent and
// the window is not read again; the converter's data printed, the window
// stays busy to the end and is given back.
TEST_F(Chemins, ImpressionDepuisLeMenuBGeneral)
{
    ouvrirMenuB();
    QTimer::singleShot(0, [] { pw()->ExitBtn->click(); });
    bgen()->printBtn->click();
    traiter();
    EXPECT_EQ(lignes(), QStringList());
    EXPECT_TRUE(banc.ui.dialoguesImprimante.empty());
    EXPECT_EQ(etats(f.get()), "dE---");

    ImprimanteEnregistreuse imp;
    plateforme().imprimante = &imp;
    bool occupe = true;
    banc.sim.script = [&occupe](const QString&) -> std::optional<QByteArray> {
        occupe = occupe && travailEnCours && !bgen()->saveBtn->isEnabled();
        return std::nullopt;
    };
    QTimer::singleShot(0, [] {
        pw()->printChk[1]->click();
        pw()->okBtn->click();
    });
    bgen()->printBtn->click();
    traiter();
    plateforme().imprimante = nullptr;
    EXPECT_EQ(banc.ui.dialoguesImprimante.size(), 1u);
    const QStringList l = lignes();
    ASSERT_GE(l.size(), 3);
    EXPECT_EQ(l.mid(0, 3), QStringList({"$pg0", "pg", "LES"}));
    EXPECT_EQ(l.count("NM"), 64);
    EXPECT_FALSE(l.contains("CS"));   // the general part is not read again
    EXPECT_TRUE(occupe);
    EXPECT_FALSE(pw()->isVisible());
    EXPECT_EQ(etats(f.get()), "dE---");
    EXPECT_TRUE(bgen()->saveBtn->isEnabled());
}

// ---- The converter falls silent during a window's download ----

namespace {
menuA* mA() { return fenetre<menuA>(numeroFenetre::menuA); }
menuRelNew* mC() { return fenetre<menuRelNew>(numeroFenetre::menuRelNew); }
}

class DownloadLiaisonPerdue : public Chemins {
protected:
    // From menu B partitions: one U/F point corrected to 380 V / 60 Hz and
    // downloaded; returns the copy dialog's OK.
    std::function<void()> telechargerUF()
    {
        bp()->progGammeBtn->click();
        traiter();
        uf()->corrBtn->click();
        for (QLineEdit* e : uf()->editTxt) e->clear();
        uf()->editTxt[0]->setText("380");
        uf()->editTxt[1]->setText("60");
        uf()->terminerBtn->click();
        uf()->downBtn->click();
        traiter();
        return [] { cp()->okBtn->click(); };
    }
    // From menu B general: the print of the converter's data.
    std::function<void()> imprimerConvertisseur()
    {
        plateforme().imprimante = &imprimante;
        return [] {
            QTimer::singleShot(0, [] {
                pw()->printChk[1]->click();   // the converter's data
                pw()->okBtn->click();
            });
            bgen()->printBtn->click();
        };
    }
    // Opens the road's window on line and does what the user typed; returns the download.
    std::function<void()> preparer(int route)
    {
        if (route == 0) {
            demarrer();
            allerEnLigne();
            passwordOk = true;
            f->mnABtn->click();
            traiter();
            banc.horloge.avancer(0.05);
            banc.ui.reponses = {msg::oui};
            return [] { mA()->downBtn->click(); };
        }
        if (route == 1) {
            demarrer();
            allerEnLigne();
            passwordOk = true;
            f->mnCBtn->click();
            traiter();
            banc.horloge.avancer(0.05);
            mC()->f[3]->click();   // reached frequency on relay 3
            return [] { mC()->downBtn->click(); };
        }
        ouvrirMenuB();
        ouvrirBP();
        if (route == 2) return telechargerUF();
        if (route == 4) {
            bp()->ExitBtn->click();
            traiter();
            return imprimerConvertisseur();
        }
        parametresPartitions[4][1] = 12.5;
        partParamsModifies[0] = true;
        bp()->ExitBtn->click();
        traiter();
        bgen()->downBtn->click();
        traiter();
        return [] { cp()->okBtn->click(); };
    }
    void TearDown() override
    {
        plateforme().imprimante = nullptr;
        Chemins::TearDown();
    }
    ImprimanteEnregistreuse imprimante;
};

// Silence from the first, a middle or the last command of each download:
// once the download returns, every menu window is closed, the program is
// off line, the main window is given back as off line, nothing more is
// shown or heard and what the user typed is still in the PC's tables.
TEST_F(DownloadLiaisonPerdue, FermeLesFenetres)
{
    struct Cas {
        int route;   // 0 menu A, 1 menu C, 2 U/F window, 3 copy dialog of menu B general, 4 print
        const char* silenceA;
        int messages;   // boxes after the silence
    };
    const Cas cas[] = {
        {0, "$CRT30", 1}, {0, "$DAT12.03.04", 1}, {0, "XxX", 0},   // data not confirmed
        {1, "$fA3", 0},   {1, "$al0", 0},         {1, "$dc0", 0},
        {2, "$pg0", 0},   {2, "$nm3800060", 0},   {2, "$pg1", 0},
        {3, "$pg0", 0},   {3, "$ta5", 0},         {3, "$pg1", 0},
        {4, "$pg0", 1},   {4, "$ng5", 1},         {4, "NM", 1},   // nothing printed
    };
    const char* routes[] = {"menu A", "menu C", "U/F window", "copy dialog", "print"};
    for (const Cas& c : cas) {
        SCOPED_TRACE(std::string(routes[c.route]) + ", silent from " + c.silenceA);
        f.reset();
        reinitialiserEtatModule();
        banc.sim.silence = false;
        banc.ui.messages.clear();
        banc.ui.reponses.clear();
        const std::function<void()> telecharger = preparer(c.route);
        std::size_t boites = 0;
        int beeps = 0;
        banc.sim.script = [&](const QString& l) -> std::optional<QByteArray> {
            if (l == QLatin1String(c.silenceA) && !banc.sim.silence) {
                banc.sim.silence = true;
                boites = banc.ui.messages.size();
                beeps = banc.ui.beeps;
                return QByteArray();
            }
            return std::nullopt;
        };
        telecharger();
        traiter();
        banc.horloge.avancer(0.1);
        banc.sim.script = nullptr;

        ASSERT_TRUE(banc.sim.silence);
        EXPECT_FALSE(f->onLineChk());
        for (QWidget* w : {static_cast<QWidget*>(mA()), static_cast<QWidget*>(mC()), static_cast<QWidget*>(bgen()),
                           static_cast<QWidget*>(bp()), static_cast<QWidget*>(uf()), static_cast<QWidget*>(cp()),
                           static_cast<QWidget*>(pw())})
            EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
        EXPECT_TRUE(f->isEnabled());
        for (QWidget* w : {f->mnBBtn, f->mnCBtn, f->ExitBtn, f->aboutBtn})
            EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_FALSE(f->mnABtn->isEnabled());
        EXPECT_FALSE(f->startBtn->isEnabled());
        EXPECT_FALSE(travailEnCours);
        EXPECT_EQ(banc.ui.pointeurCourant, pointeur::normal);
        EXPECT_EQ(banc.ui.messages.size() - boites, std::size_t(c.messages));
        EXPECT_EQ(banc.ui.beeps, beeps);   // no refused close, no download that sounds done
        if (c.route == 1) {
            EXPECT_EQ(tableRelais[0][0].nombre(), 3);
        } else if (c.route == 2) {
            EXPECT_EQ(pointsNema[1][0].nombre(), 380);
            EXPECT_EQ(pointsNema[1][1].nombre(), 60);
        } else if (c.route == 3) {
            EXPECT_EQ(parametresPartitions[4][1].nombre(), 12.5);
        }
    }
}

// ---- A reply comes too late ----

class ReponseTardive : public DownloadLiaisonPerdue {
protected:
    enum Route { lectureMenuA, telechargementComplet, ecranTravail, telechargementUF, impression };

    // A partition value typed in menu B partitions, then the road's window;
    // returns what makes the road send.
    std::function<void()> preparerRoute(Route route)
    {
        ouvrirMenuB();
        ouvrirBP();
        QLineEdit* e = bp()->champ("editTxtConsDef");
        EXPECT_TRUE(QTest::qWaitForWindowActive(bp()));
        e->setFocus(Qt::MouseFocusReason);
        traiter();
        e->selectAll();
        QTest::keyClicks(e, "12.5");
        QTest::keyClick(e, Qt::Key_Tab);
        traiter();
        EXPECT_TRUE(partParamsModifies[0]);
        if (route == telechargementUF) return telechargerUF();
        bp()->ExitBtn->click();
        traiter();
        if (route == telechargementComplet) {
            partParamsCharges.fill(true);
            partNemaCharges.fill(true);
            return [] { bgen()->downAsIsBtn->click(); };
        }
        if (route == impression) return imprimerConvertisseur();
        bgen()->ExitBtn->click();   // the closing question answered No
        traiter();
        if (route == lectureMenuA) return [this] { f->mnABtn->click(); };
        f->startBtn->click();
        banc.horloge.avancer(0.01);
        return [this] { banc.horloge.avancer(1.0); };   // the poll goes on
    }
};

// One reply 2.5 s late on each road: the message once, nothing sent while it
// is up, then off line with the watchdog off and every window closed once the
// road has returned; the program goes on and an off-line save still writes
// the typed partition value.
TEST_F(ReponseTardive, HorsLigneSansFinDuProgramme)
{
    struct Cas {
        Route route;
        const char* tardive;   // the line answered late
        QStringList messages;  // boxes from the late reply on
    };
    const QString tard = texteChaine(ids::reponseTropTardive);
    const Cas cas[] = {
        {lectureMenuA, "LES", {tard}},
        {telechargementComplet, "$ng5", {tard}},
        {ecranTravail, "IS", {tard}},
        {telechargementUF, "$nm3800060", {tard}},
        {impression, "$ng5", {tard, texteChaine(ids::liaisonPerdueRienImprime)}},
    };
    const char* routes[] = {"menu A read", "full download", "working display", "U/F download", "print"};
    for (const Cas& c : cas) {
        SCOPED_TRACE(routes[c.route]);
        f.reset();
        reinitialiserEtatModule();
        banc.sim = ConvertisseurSim();   // the full download rewrote it
        banc.ui.messages.clear();
        banc.ui.reponses.clear();
        banc.ui.reponseParDefaut = msg::non;
        const std::function<void()> lancer = preparerRoute(c.route);
        ASSERT_EQ(parametresPartitions[11][1].texte(), "12.50");

        bool arme = true;
        std::size_t avant = 0;
        banc.sim.script = [&](const QString& l) -> std::optional<QByteArray> {
            if (arme && l == QLatin1String(c.tardive)) {
                arme = false;
                avant = banc.ui.messages.size();
                banc.sim.delaiReponse = 2.5;
            }
            return std::nullopt;
        };
        int envoyesPendantBoite = -1;
        banc.ui.pendantMessage = [&](const MessageVu& m) {
            if (m.texte != tard) return;
            const QByteArray ecrits = banc.port.octetsEcrits;
            banc.horloge.avancer(3.0);
            envoyesPendantBoite = int(banc.port.octetsEcrits.size() - ecrits.size());
        };
        lancer();
        traiter();
        banc.horloge.avancer(0.5);
        traiter();
        banc.sim.script = nullptr;
        banc.ui.pendantMessage = nullptr;

        ASSERT_FALSE(arme);
        QStringList vus;
        for (std::size_t i = avant; i < banc.ui.messages.size(); ++i) vus << banc.ui.messages[i].texte;
        EXPECT_EQ(vus, c.messages);
        EXPECT_EQ(envoyesPendantBoite, 0);
        EXPECT_EQ(banc.ui.nbTerminer, 0);
        EXPECT_FALSE(programmeTermine);
        EXPECT_FALSE(f->onLineChk());
        EXPECT_FALSE(f->timer1Enabled());
        for (QWidget* w : {static_cast<QWidget*>(mA()), static_cast<QWidget*>(bgen()), static_cast<QWidget*>(bp()),
                           static_cast<QWidget*>(uf()), static_cast<QWidget*>(cp()), static_cast<QWidget*>(pw()),
                           static_cast<QWidget*>(ms())})
            EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
        EXPECT_TRUE(f->isEnabled());
        EXPECT_FALSE(travailEnCours);

        // Off line, menu B general saves the PC's tables.
        const int lignesAvant = banc.sim.journal.size();
        const QString fichier = chemin("apres.mnc");
        QFile::remove(fichier);
        banc.ui.fichiers = {fichier};
        f->mnBBtn->click();
        traiter();
        ASSERT_TRUE(bgen()->isVisible());
        bgen()->saveBtn->click();
        traiter();
        EXPECT_TRUE(lireOctets(fichier).contains("\"$dF12.50\"\r\n"));
        EXPECT_EQ(banc.sim.journal.size(), lignesAvant);
        bgen()->ExitBtn->click();
        traiter();
    }
}

// Every numeric field of the menu windows, given the focus and left with Tab
// without typing, marks nothing and sends nothing, and no closing question
// follows, although the converter's values show otherwise than their
// format ("2.5" left as "2.50").
TEST_F(Chemins, ChampQuitteSansSaisieNeMarqueRien)
{
    banc.sim.fixer("MV", "1");
    banc.sim.fixer("sp", "2.5");
    banc.sim.fixer("cm", "0");
    banc.sim.fixer("IM1", "12.5");
    banc.sim.fixer("VC", "2.5");
    banc.sim.relais[9] = 2;   // the comparator's relay: its fields show
    // 31 points: every point field holds a value its limits accept.
    banc.sim.points[1].clear();
    for (int j = 1; j <= 31; ++j) banc.sim.points[1].push_back(PointUF{10 * j + 10, 2 * j});
    banc.sim.courantMax = "23";
    banc.sim.numeroSerie = "7015X";

    struct Cas {
        const char* quoi;
        std::function<void()> ouvrir;            // from menu B general on line
        std::function<QWidget*()> fenetre;
        std::function<void()> avantChamps;       // a correction, a graph shown
        int nbChamps;
        std::function<void()> fermer;            // back to the main window
    };
    const auto fermerB = [] {
        for (QWidget* w : {static_cast<QWidget*>(uf()), static_cast<QWidget*>(bp()), static_cast<QWidget*>(bgen())}) {
            if (!w->isVisible()) continue;
            if (w == uf()) uf()->ExitBtn->click();
            else if (w == bp()) bp()->ExitBtn->click();
            else bgen()->ExitBtn->click();
            traiter();
        }
    };
    const Cas cas[] = {
        {"menu B general", {}, [] { return static_cast<QWidget*>(bgen()); }, {}, 3, fermerB},
        {"menu B partitions", ouvrirBP, [] { return static_cast<QWidget*>(bp()); }, {}, 31, fermerB},
        {"U/F points", ouvrirUF, [] { return static_cast<QWidget*>(uf()); }, [] { uf()->corrBtn->click(); }, 62,
         fermerB},
        {"U/F curve readings", ouvrirUF, [] { return static_cast<QWidget*>(uf()); },
         [] {
             QTest::mousePress(uf()->grapheBtn, Qt::LeftButton);
             QTest::mouseRelease(uf()->grapheBtn, Qt::LeftButton);
         },
         2,
         [&] {
             QTest::mousePress(uf()->grapheBtn, Qt::LeftButton);
             QTest::mouseRelease(uf()->grapheBtn, Qt::LeftButton);
             fermerB();
         }},
        {"menu C",
         [this] {
             bgen()->ExitBtn->click();
             traiter();
             f->mnCBtn->click();
             traiter();
         },
         [] { return static_cast<QWidget*>(mC()); }, {}, 2, [] { mC()->ExitBtn->click(); }},
        {"menu A",
         [this] {
             bgen()->ExitBtn->click();
             traiter();
             f->mnABtn->click();
             traiter();
         },
         [] { return static_cast<QWidget*>(mA()); }, {}, 3, [] { mA()->ExitBtn->click(); }},
    };
    banc.ui.reponseParDefaut = msg::oui;
    const auto parcourir = [](QWidget* w, int attendus) {
        int vus = 0;
        for (QLineEdit* e : w->findChildren<QLineEdit*>()) {
            if (!e->isVisible() || !e->isEnabled()) continue;
            e->setFocus(Qt::MouseFocusReason);
            traiter();
            if (!e->hasFocus()) continue;
            QTest::keyClick(e, Qt::Key_Tab);
            traiter();
            ++vus;
        }
        EXPECT_EQ(vus, attendus);
    };
    const auto rienMarque = [] {
        for (int p = 0; p < 64; ++p) {
            EXPECT_FALSE(partParamsModifies[p]) << p + 1;
            EXPECT_FALSE(partNemaModifies[p]) << p + 1;
        }
        EXPECT_FALSE(menuBGenModifie);
        EXPECT_FALSE(menuCModifie);
        EXPECT_FALSE(menuAModifie);
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        f.reset();
        reinitialiserEtatModule();
        banc.ui.messages.clear();
        demarrer();
        allerEnLigne();
        passwordOk = true;
        f->mnBBtn->click();
        traiter();
        if (c.ouvrir) c.ouvrir();
        QWidget* w = c.fenetre();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        if (c.avantChamps) c.avantChamps();
        traiter();
        marquer();
        parcourir(w, c.nbChamps);
        EXPECT_EQ(lignes(), QStringList());
        rienMarque();
        c.fermer();
        traiter();
        EXPECT_EQ(lignes(), QStringList());
        for (const MessageVu& m : banc.ui.messages) ADD_FAILURE() << m.texte.toStdString();
        EXPECT_EQ(etats(f.get()), "E----");
    }

    // Menu D sends each change at once: nothing goes out.
    f.reset();
    reinitialiserEtatModule();
    banc.ui.messages.clear();
    demarrer();
    allerEnLigne();
    f->startBtn->click();
    banc.horloge.avancer(0.01);
    ms()->menuDBtn->click();
    QStringList envoye{"?"};
    // Once menu D shows, inside its modal loop.
    std::function<void()> quandVisible = [&] {
        if (!md() || !md()->isVisible()) {
            QTimer::singleShot(0, quandVisible);
            return;
        }
        EXPECT_TRUE(QTest::qWaitForWindowActive(md()));
        marquer();
        parcourir(md(), 12);
        envoye = lignes();
        md()->ExitBtn->click();
    };
    QTimer::singleShot(0, quandVisible);
    banc.horloge.avancer(0.6);
    EXPECT_EQ(envoye, QStringList());
    rienMarque();
    EXPECT_TRUE(banc.ui.messages.empty());
}
