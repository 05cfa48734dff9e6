// Menu B partitions on the simulated converter: wire sequences of the
// activation, the partition field and the buttons; limits tied to other
// fields; stores and marks; option groups; texts.
#include "app/fixture.h"
#include "link/transaction.h"
#include "menus/menubp.h"
#include "model/affichagepartition.h"
#include "model/commun.h"
#include "model/tables.h"
#include "model/transfertspartitions.h"
#include "widgets/ctextbxn.h"
#include "widgets/groupeoptions.h"
#include "widgets/suiviactivation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

namespace {

void attendre()
{
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// A stand-in for the copy dialog or the U/F window.
class FenetreFactice : public FenetreZelto {
public:
    using FenetreZelto::FenetreZelto;
};

struct BancBP : BancModele {
    FenetreFactice ouvreur{numeroFenetre::menuBGen};
    menuBP f;

    BancBP()
    {
        definirSeparateurDecimal(u'.');
        langueIndex = 1;
        ouvreur.afficher();
        attendre();
    }
    ~BancBP() { retablirSeparateurDecimal(); }

    void ouvrir()
    {
        f.afficherDepuis(&ouvreur);
        attendre();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        attendre();
    }
    QLineEdit* champ(const char* nom) { return f.champ(QLatin1String(nom)); }
    // The user clicks into the field (focus steps run).
    void entrer(const char* nom)
    {
        champ(nom)->setFocus(Qt::MouseFocusReason);
        attendre();
    }
    // Types a text in the field and tabs out of it.
    void saisir(const char* nom, const QString& texte)
    {
        entrer(nom);
        champ(nom)->selectAll();
        QTest::keyClicks(champ(nom), texte);
        QTest::keyClick(champ(nom), Qt::Key_Tab);
        attendre();
    }
    void cliquer(const char* groupe, int i) { f.groupe(QLatin1String(groupe))->option(i)->click(); }
    QString statut() { return f.panneau1()->text(); }
    Variant& ligne(int k, int p = 1) { return parametresPartitions[k][p]; }
    bool visible(const QString& n) { return f.controle(n)->isVisibleTo(&f); }
    bool actif(const QString& n) { return f.controle(n)->isEnabled(); }
    QStringList journal() const { return sim.journal; }
};

QString label(int i) { return element(QStringLiteral("Label"), i); }

QStringList codesLecture()
{
    QStringList l;
    for (int k = 0; k < 38; ++k) l << defParamsPartition[k].code;
    return l << "TAU" << "TDU";
}

} // namespace

TEST(MenuBP, horsLigneTextesEtDechargement)
{
    BancBP b;
    b.principale.enLigne = false;
    nbPartitions = 32;
    valeursCourantes[0].valeur = 3;
    b.ouvrir();
    EXPECT_TRUE(b.journal().isEmpty());
    EXPECT_EQ(b.champ("editTxtGamme")->text(), "3");
    EXPECT_TRUE(partParamsCharges[2]);
    // The window starts on Exit: no field got the focus.
    EXPECT_EQ(QApplication::focusWidget(), b.f.ExitBtn);
    EXPECT_TRUE(b.f.texteAvantEdition.isEmpty());
    EXPECT_EQ(b.f.windowTitle(), "Menu \"B\" Part dedicated to partition...");
    EXPECT_EQ(b.f.texte("mesVitChk(0)"), "No");

    b.entrer("editTxtGamme");
    EXPECT_EQ(b.statut(), "The value has to be between:  1...32");

    // Off line a partition change shows it and takes its end frequency.
    pointsNema[2][1] = 80;
    b.saisir("editTxtGamme", "2");
    EXPECT_TRUE(partParamsCharges[1]);
    EXPECT_EQ(freqMaxGamme.nombre(), 80);

    b.f.move(100, 60);
    b.f.ExitBtn->click();
    attendre();
    EXPECT_FALSE(b.f.isVisible());
    EXPECT_EQ(positionsFenetres[6].Left, 1500);
    EXPECT_EQ(positionsFenetres[6].Top, 900);
    EXPECT_TRUE(b.ouvreur.isEnabled());
    EXPECT_EQ(vues().menuBP, nullptr);
}

TEST(MenuBP, enLigneSequencesDuFil)
{
    BancBP b;
    origPartExterne = true;
    valeursCourantes[0].valeur = 5;
    // A held partition: the first activation sends nothing.
    partParamsCharges[4] = true;
    b.ouvrir();
    EXPECT_TRUE(b.journal().isEmpty());
    EXPECT_TRUE(b.f.close());
    partParamsCharges[4] = false;
    b.ouvrir();
    EXPECT_EQ(b.journal(), QStringList({"$pg0", "pg", "$ng5", "NG"}) + codesLecture());
    EXPECT_TRUE(partParamsCharges[4]);
    EXPECT_FALSE(travailEnCours);

    // Leaving the partition field unchanged sends nothing; another held
    // partition is selected.
    b.sim.journal.clear();
    b.entrer("editTxtGamme");
    QTest::keyClick(b.champ("editTxtGamme"), Qt::Key_Tab);
    attendre();
    EXPECT_EQ(b.journal(), QStringList());
    partParamsCharges[5] = true;
    b.saisir("editTxtGamme", "6");
    EXPECT_EQ(b.journal(), QStringList({"$pg0", "pg", "$ng6", "NG"}));

    b.sim.journal.clear();
    b.f.ExitBtn->click();
    attendre();
    EXPECT_EQ(b.journal(), QStringList({"$pg1", "pg"}));
    EXPECT_FALSE(b.f.isVisible());
}

TEST(MenuBP, fermetureRefuseePendantUnEchange)
{
    BancBP b;
    b.ouvrir();
    b.entrer("editTxtGamme");
    b.champ("editTxtGamme")->setText("7");
    // The user switches windows, then a close request and Exit arrive, while
    // partition 7 is being read.
    QTimer::singleShot(0, [&] {
        SuiviActivation::oublier();
        QEvent activation(QEvent::WindowActivate);
        QApplication::sendEvent(&b.f, &activation);
        b.f.close();
        b.f.ExitBtn->click();
    });
    b.sim.journal.clear();
    QTest::keyClick(b.champ("editTxtGamme"), Qt::Key_Tab);
    attendre();
    EXPECT_EQ(b.ui.beeps, 2);
    EXPECT_TRUE(b.f.isVisible());
    EXPECT_EQ(b.journal().size(), 42);
    EXPECT_TRUE(partParamsCharges[6]);
    EXPECT_FALSE(travailEnCours);
}

TEST(MenuBP, champCacheParLAffichageNePrendPasLeFocus)
{
    BancBP b;
    b.principale.enLigne = false;
    b.ligne(2, 2) = 1;
    b.ouvrir();
    b.entrer("editTxtGamme");
    b.champ("editTxtGamme")->setText("2");
    // The user clicks into the motor current, which partition 2 hides.
    b.champ("editTxtCrtMot")->setFocus(Qt::MouseFocusReason);
    attendre();
    EXPECT_FALSE(b.visible("editTxtCrtMot"));
    EXPECT_EQ(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(b.f.texteAvantEdition, "1");
}

TEST(MenuBP, liaisonPerdueEnLecture)
{
    BancBP b;
    b.silenceA("IN");
    b.ouvrir();
    EXPECT_FALSE(b.principale.enLigne);
    EXPECT_FALSE(travailEnCours);
    EXPECT_TRUE(b.f.isEnabled());
    b.f.ExitBtn->click();
    EXPECT_FALSE(b.f.isVisible());
    EXPECT_TRUE(b.ouvreur.isEnabled());
}

TEST(MenuBP, numeroDePartitionRefuse)
{
    struct Cas {
        int nb;
        const char* texte;
    };
    for (const Cas c : {Cas{64, "0"}, Cas{64, "65"}, Cas{64, ""}, Cas{32, "33"}}) {
        BancBP b;
        b.principale.enLigne = false;
        nbPartitions = c.nb;
        b.ouvrir();
        b.entrer("editTxtGamme");
        b.champ("editTxtGamme")->setText(QLatin1String(c.texte));
        QTest::keyClick(b.champ("editTxtGamme"), Qt::Key_Tab);
        attendre();
        ASSERT_EQ(b.ui.messages.size(), 1u) << c.texte;
        EXPECT_EQ(b.ui.messages[0].texte, "Data out of limits!...");
        EXPECT_EQ(QApplication::focusWidget(), b.champ("editTxtGamme")) << c.texte;
    }
}

TEST(MenuBP, partitionCouranteHorsPlage)
{
    for (const Variant& v : {Variant(), Variant(0), Variant(40), Variant("x")}) {
        BancBP b;
        b.principale.enLigne = false;
        nbPartitions = 32;
        valeursCourantes[0].valeur = v;
        b.ouvrir();
        EXPECT_EQ(partitionCourante, 1);
        EXPECT_EQ(b.champ("editTxtGamme")->text(), "1");
        EXPECT_TRUE(partParamsCharges[0]);
    }
}

TEST(MenuBP, bandesInterdites)
{
    BancBP b;
    b.principale.enLigne = false;
    pointsNema[1][1] = 60;
    for (auto [k, v] : {std::pair{11, "50.00"}, {12, "5.00"}, {13, "10.00"}, {14, "20.00"}, {15, "30.00"}})
        b.ligne(k) = v;
    b.ligne(16) = 40;
    b.ouvrir();

    b.entrer("editTxtBi1");
    EXPECT_EQ(b.f.validateur("TXT_Bi1")->max.nombre(), 20);
    EXPECT_EQ(b.statut(), "Limits 0...20 Hz Or programm \"U/F\" first to change limits !");
    b.champ("editTxtBi1")->setText("21");
    QTest::keyClick(b.champ("editTxtBi1"), Qt::Key_Tab);
    EXPECT_EQ(b.ui.messages.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), b.champ("editTxtBi1"));

    // A width of 0 left clears the centre without a mark.
    b.champ("editTxtBi1")->setText("0");
    QTest::keyClick(b.champ("editTxtBi1"), Qt::Key_Tab);
    attendre();
    EXPECT_EQ(b.champ("editTxtFi1")->text(), "0");
    EXPECT_EQ(b.ligne(16).nombre(), 0);
    EXPECT_FALSE(partParamsModifies[0]);

    // Lower bound of centre 2 from band 1 in the store.
    for (auto [c, l] : {std::pair{100, 110}, {101, 112}}) {
        b.f.ExitBtn->setFocus();
        b.ligne(16) = c;
        b.ligne(17) = 20;
        b.entrer("editTxtFi2");
        EXPECT_EQ(b.f.validateur("TXT_Fi2")->min.nombre(), l);
        EXPECT_EQ(b.statut(), QString("Limits %1...60 Hz Or programm \"U/F\" first to change limits !").arg(l));
    }

    // A new centre clears the width.
    b.ligne(18) = 130;
    b.ligne(19) = 10;
    b.champ("editTxtFi2")->setText("130");
    b.champ("editTxtBi2")->setText("10");
    b.saisir("editTxtFi2", "140");
    EXPECT_EQ(b.champ("editTxtBi2")->text(), "0");
    EXPECT_EQ(b.ligne(18).nombre(), 140);
    EXPECT_EQ(b.ligne(19).nombre(), 0);
    EXPECT_TRUE(partParamsModifies[0]);
}

TEST(MenuBP, frequenceFormateeEtSeparateurVirgule)
{
    for (const QChar sep : {QChar(u'.'), QChar(u',')}) {
        BancBP b;
        definirSeparateurDecimal(sep);
        b.ouvrir();
        partParamsModifies.fill(false);
        b.saisir("editTxtConsDef", sep == u'.' ? "12.5" : "12,5");
        const QString attendu = sep == u'.' ? "12.50" : "12,50";
        EXPECT_EQ(b.champ("editTxtConsDef")->text(), attendu);
        EXPECT_EQ(b.ligne(11).texte(), attendu);
        EXPECT_TRUE(partParamsModifies[0]);

        partParamsModifies.fill(false);
        b.entrer("editTxtConsDef");
        QTest::keyClick(b.champ("editTxtConsDef"), Qt::Key_Tab);
        attendre();
        EXPECT_FALSE(partParamsModifies[0]);

        b.sim.journal.clear();
        sensLecture = false;
        transfertPartition(false);
        EXPECT_TRUE(b.journal().contains("$dF12.50"));
    }
}

TEST(MenuBP, courantMoteurEtCourantsBornes)
{
    BancBP b;
    b.principale.enLigne = false;
    b.ligne(3) = 20;
    b.ligne(4) = 35;
    b.ligne(5) = 25;
    b.ligne(31) = 12;
    b.ligne(32) = 3;
    b.ouvrir();

    // Before its first focus the acceleration current shows its load limit.
    QMouseEvent survol(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(b.champ("editTxtCrtAcc"), &survol);
    EXPECT_TRUE(b.statut().endsWith("0...300 A"));

    b.saisir("editTxtCrtMot", "10");
    EXPECT_TRUE(partParamsModifies[0]);
    EXPECT_EQ(b.champ("editTxtCrtMot")->text(), "10.00");
    const char* champs[] = {"editTxtCrtAcc", "editTxtCrtIref", "editTxtCrtFcc", "editTxtCrtFccPerm"};
    const char* attendus[] = {"20.00", "15.00", "10.00", "2.00"};
    const int lignes[] = {4, 5, 31, 32};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(b.ligne(lignes[i]).texte(), attendus[i]);
        EXPECT_EQ(b.champ(champs[i])->text(), attendus[i]);
    }

    // A current equal to its bound is left alone.
    b.ligne(4) = "10.00";
    b.champ("editTxtCrtAcc")->setText("10.00");
    b.saisir("editTxtCrtMot", "5");
    EXPECT_EQ(b.ligne(4).texte(), "10.00");

    b.saisir("editTxtCrtMot", "12.34");
    b.entrer("editTxtCrtIref");
    EXPECT_EQ(b.statut(), "The value has to be between: 0...18.51 A");
    b.entrer("editTxtCrtAcc");
    EXPECT_EQ(b.f.validateur("TXT_CrtAcc")->max.nombre(), 24.68);

    // 0.2 x 5.60 is 1.12, not a hair below.
    b.saisir("editTxtCrtMot", "5.6");
    b.saisir("editTxtCrtFccPerm", "1.12");
    EXPECT_TRUE(b.ui.messages.empty());
    EXPECT_EQ(b.ligne(32).texte(), "1.12");

    // Lowered to 12.53, the permanent current is clamped within 0.2 x 12.53
    // = 2.506, and 2.506 typed is kept within it.
    b.saisir("editTxtCrtMot", "20");
    b.saisir("editTxtCrtFccPerm", "4");
    b.saisir("editTxtCrtMot", "12.53");
    EXPECT_EQ(b.ligne(32).texte(), "2.50");
    b.saisir("editTxtCrtFccPerm", "1");
    b.saisir("editTxtCrtFccPerm", "2.506");
    EXPECT_TRUE(b.ui.messages.empty());
    EXPECT_EQ(b.ligne(32).texte(), "2.50");
    EXPECT_EQ(b.champ("editTxtCrtFccPerm")->text(), "2.50");

    // No usable motor current: the load limit holds.
    b.champ("editTxtCrtMot")->setText("0");
    b.entrer("editTxtCrtAcc");
    EXPECT_EQ(b.f.validateur("TXT_CrtAcc")->max.nombre(), 300);
}

TEST(MenuBP, champsNombreEtTemps)
{
    BancBP b;
    b.principale.enLigne = false;
    b.ligne(22) = 1;
    b.ligne(8) = 10;
    b.ligne(35) = 5;
    b.ouvrir();
    struct Cas {
        const char* texte;
        bool accepte;
    };
    for (const Cas c : {Cas{"1", true}, Cas{"255", true}, Cas{"0", false}, Cas{"256", false}}) {
        b.ui.messages.clear();
        b.saisir("editTxtNbPulses", QLatin1String(c.texte));
        EXPECT_EQ(b.ui.messages.empty(), c.accepte) << c.texte;
        if (c.accepte) {
            EXPECT_EQ(b.ligne(23), Variant(QString(c.texte).toDouble()));
        }
        b.champ("editTxtNbPulses")->setText("1");
        b.f.ExitBtn->setFocus();
    }
    // The user time follows the acceleration time, without a mark.
    partParamsModifies.fill(false);
    b.entrer("editTxtTacc");
    QTest::keyClick(b.champ("editTxtTacc"), Qt::Key_Tab);
    attendre();
    EXPECT_EQ(b.ligne(35).nombre(), 10);
    EXPECT_FALSE(partParamsModifies[0]);
}

TEST(MenuBP, groupesOptions)
{
    BancBP b;
    b.principale.enLigne = false;
    b.ligne(25) = 0;
    b.ligne(26) = 12.6;
    b.ligne(22) = 1;
    b.ouvrir();
    partParamsModifies.fill(false);

    b.cliquer("genreMcmChk", 0);
    EXPECT_FALSE(partParamsModifies[0]);

    b.cliquer("genreMcmChk", 3);
    EXPECT_TRUE(partParamsModifies[0]);
    EXPECT_EQ(b.ligne(25).nombre(), 3);
    for (const QString& n : {QString("editTxtMcm1"), label(43), label(19), label(53)}) EXPECT_FALSE(b.visible(n)) << n.toStdString();
    b.cliquer("genreMcmChk", 2);
    for (const QString& n : {QString("editTxtMcm1"), label(43)}) EXPECT_TRUE(b.visible(n)) << n.toStdString();
    EXPECT_FALSE(b.visible(label(19)));
    EXPECT_EQ(b.champ("editTxtMcm1")->text(), "13");
    EXPECT_EQ(b.ligne(26).nombre(), 12.6);
    // The length limit holds for typing only: a value shown by the program
    // stays whole.
    b.entrer("editTxtMcm1");
    QTest::keyClicks(b.champ("editTxtMcm1"), "2345");
    EXPECT_EQ(b.champ("editTxtMcm1")->text(), "234");
    b.champ("editTxtMcm1")->setText("13");
    b.f.ExitBtn->setFocus();
    b.cliquer("genreMcmChk", 0);
    EXPECT_EQ(b.champ("editTxtMcm1")->text(), "12.60");
    b.ligne(26) = 150.25;
    formatValeursMcm(1);
    EXPECT_EQ(b.champ("editTxtMcm1")->text(), "150.25");

    b.cliquer("irefChk", 1);
    for (const char* n : {"editTxtCrtMot", "editTxtCrtAcc", "editTxtCrtIref", "editTxtCrtFcc", "editTxtCrtFccPerm"}) {
        EXPECT_FALSE(b.visible(n)) << n;
        EXPECT_FALSE(b.actif(n)) << n;
    }
    EXPECT_FALSE(b.actif(label(24)));

    b.cliquer("mesVitChk", 0);
    for (const QString& n : {QString("editTxtNbPulses"), QString("editTxtGliss"), label(41), label(42)})
        EXPECT_FALSE(b.actif(n)) << n.toStdString();
    EXPECT_EQ(b.ligne(22), Variant(0.0));

    b.cliquer("origConsChk", 1);
    for (const QString& n : {QString("editTxtConsDef"), label(30), label(130)}) EXPECT_FALSE(b.actif(n)) << n.toStdString();

    // Hint on focus.
    b.f.groupe("imIrefChk")->option(1)->setFocus(Qt::TabFocusReason);
    attendre();
    EXPECT_EQ(b.statut(), "Selection of actions if Im > Iref");
}

TEST(MenuBP, delaiDto)
{
    struct Cas {
        bool enLigne;
        int version;
        int genre;
        int reglage;
        bool visible;
    };
    for (const Cas c : {Cas{true, 17, 2, 1, false}, Cas{false, 0, 2, 1, true}, Cas{false, 0, 2, 0, false},
                        Cas{false, 0, 1, 1, false}, Cas{true, 18, 2, 1, true}}) {
        BancBP b;
        b.principale.enLigne = c.enLigne;
        versionLogiciel = c.version;
        partParamsCharges[0] = true;
        b.ligne(25) = c.genre;
        tableMenuBGen[12].valeur = c.reglage;
        b.ouvrir();
        for (const QString& n : {QString("editTxtDelDto"), label(0), label(1)})
            EXPECT_EQ(b.visible(n), c.visible) << c.enLigne << c.version << c.genre << c.reglage;
    }
}

TEST(MenuBP, boutonsCopieEtUf)
{
    BancBP b;
    origPartExterne = false;
    b.ouvrir();

    // No U/F window yet: the window stays as it is.
    b.f.progGammeBtn->click();
    attendre();
    EXPECT_TRUE(b.f.isEnabled());

    FenetreFactice uf(numeroFenetre::progNema);
    b.f.progGammeBtn->click();
    attendre();
    EXPECT_TRUE(uf.isVisible());
    EXPECT_FALSE(b.f.isEnabled());
    uf.decharger();
    attendre();
    EXPECT_TRUE(b.f.isEnabled());

    FenetreFactice copie(numeroFenetre::copyNema);
    b.sim.journal.clear();
    b.f.copyBtn->click();
    attendre();
    EXPECT_EQ(modeCopie, 4);
    EXPECT_TRUE(copie.isVisible());
    EXPECT_EQ(b.journal(), QStringList({"$ng1", "NG"}));
}

TEST_F(Appli, menuBPCreeAuDemarrage)
{
    charger();
    auto* w = dynamic_cast<menuBP*>(registre().fenetre(numeroFenetre::menuBP));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parent(), nullptr);
    EXPECT_FALSE(w->isVisible());
}

// Tab from the slip lands on the MCM kind's selected option; Exit by its
// mnemonic: opened again, the option reads in the system colours.
TEST(MenuBP, optionFocaliseeEtFermeeReprendSesCouleurs)
{
    BancBP b;
    b.principale.enLigne = false;
    b.ligne(22) = 1;
    b.ligne(25) = 0;
    b.ouvrir();
    b.entrer("editTxtGliss");
    QTest::keyClick(b.champ("editTxtGliss"), Qt::Key_Tab);
    attendre();
    QAbstractButton* abs = b.f.groupe(QStringLiteral("genreMcmChk"))->option(0);
    ASSERT_EQ(QApplication::focusWidget(), abs);
    const QString legende = b.f.ExitBtn->text();
    const QChar lettre = legende.at(legende.indexOf(u'&') + 1);
    QTest::keyClick(abs, Qt::Key(lettre.toUpper().unicode()), Qt::AltModifier);
    QTest::qWait(200);   // the mnemonic's animated click
    attendre();
    ASSERT_FALSE(b.f.isVisible());
    b.ouvrir();
    const QPalette systeme = QApplication::palette(abs);
    for (auto r : {QPalette::Window, QPalette::WindowText, QPalette::ButtonText})
        EXPECT_EQ(abs->palette().color(QPalette::Active, r), systeme.color(QPalette::Active, r)) << r;
    EXPECT_FALSE(abs->autoFillBackground());
}
