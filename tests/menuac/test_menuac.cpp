// Menu A and menu C opened by the main window's buttons, on the simulated
// converter and the virtual clock.

#include "app/fixture.h"

#include "link/transaction.h"
#include "menus/fenetremenua.h"
#include "menus/fenetremenuc.h"
#include "model/menuc.h"
#include "model/tables.h"
#include "platform/registrefenetres.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "widgets/suiviactivation.h"

#include <QApplication>
#include <QEvent>
#include <QStatusBar>
#include <QTest>

#include <set>

// Readable QString in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {
QStringList repeter(const QStringList& l, int fois)
{
    QStringList r;
    for (int i = 0; i < fois; ++i) r << l;
    return r;
}
}

class MenusAC : public Appli {
protected:
    // The converter of the menu A cases: 64 partitions, unlocked.
    void SetUp() override
    {
        Appli::SetUp();
        banc.sim.courantMax = "23";
        banc.sim.numeroSerie = "7015X";
        banc.sim.dateLivraison = "12-03-04";
    }
    void enLigne()
    {
        demarrer();
        allerEnLigne();
    }
    menuA* A() const { return dynamic_cast<menuA*>(registre().fenetre(numeroFenetre::menuA)); }
    menuRelNew* C() const { return dynamic_cast<menuRelNew*>(registre().fenetre(numeroFenetre::menuRelNew)); }
    // Opens a menu window by its button (password already given); returns
    // the number of wire lines before.
    int ouvrir(QPushButton* bouton, QWidget* fenetre)
    {
        passwordOk = true;
        const int n = banc.sim.journal.size();
        bouton->click();
        banc.horloge.avancer(0.05);
        EXPECT_TRUE(QTest::qWaitForWindowActive(fenetre));
        return n;
    }
    // Types a text into a field and leaves it with Tab.
    void saisir(QLineEdit* champ, const QString& texte)
    {
        champ->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(champ->hasFocus());
        champ->setText(texte);
        QTest::keyClick(champ, Qt::Key_Tab);
    }
    QStringList textesA() const
    {
        QStringList t;
        for (QLineEdit* e : A()->editTxt) t << e->text();
        return t;
    }
    // A new run for the next case of a table.
    void recommencer()
    {
        f.reset();
        reinitialiserEtatModule();
        banc.ui.messages.clear();
        banc.ui.reponses.clear();
        banc.ui.beeps = 0;
        banc.sim.journal.clear();
        banc.sim.verrouille = false;
    }
    bool rouge(QLineEdit* e) const { return e->palette().color(QPalette::Text) == QColor(255, 0, 0); }
};

TEST(Transaction, ditSiElleAEteConfirmee)
{
    BancEssai b;
    cmdCode = "$CRT20";
    EXPECT_TRUE(envoyerCommande(cmdCode, "A", "$CRT", "LES"));
    cmdCode = "LES";
    EXPECT_TRUE(envoyerCommande(cmdCode, "L", "", ""));
    b.sim.relectureFausse = true;
    cmdCode = "$CRT30";
    EXPECT_FALSE(envoyerCommande(cmdCode, "A", "$CRT", "LES"));
    EXPECT_EQ(b.sim.journal.size(), 3 + 8);
    b.sim.silence = true;
    cmdCode = "LES";
    EXPECT_FALSE(envoyerCommande(cmdCode, "L", "", ""));
    EXPECT_FALSE(envoyerCommande(cmdCode, "L", "", ""));   // now off line: nothing sent
}

// ---- Menu A ----

TEST_F(MenusAC, MenuAOuvertureLitLesDonneesEtLesVerrouille)
{
    for (const bool verrouille : {false, true}) {
        SCOPED_TRACE(verrouille);
        banc.sim.verrouille = verrouille;
        enLigne();
        const int n = ouvrir(f->mnABtn, A());
        EXPECT_EQ(journalDepuis(n), QStringList({"LES"}));
        EXPECT_EQ(textesA(), QStringList({"23", "18A", "12.03.04", "7015X", "1250", "310"}));
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(A()->editTxt[i]->isEnabled(), !verrouille && (i == 0 || i == 2 || i == 3)) << i;
        EXPECT_EQ(A()->downBtn->isEnabled(), !verrouille);
        EXPECT_FALSE(f->isEnabled());
        EXPECT_FALSE(travailEnCours);
        if (!verrouille) {
            // The window starts on its first field, with its hint.
            EXPECT_TRUE(A()->editTxt[0]->hasFocus());
            EXPECT_EQ(A()->panneau1()->text(), texteChaine(ids::infoCourantMax));
            QTest::keyClick(A()->editTxt[0], Qt::Key_Tab);
            EXPECT_TRUE(A()->editTxt[2]->hasFocus());
            QTest::keyClick(A()->editTxt[2], Qt::Key_Tab);
            EXPECT_TRUE(A()->editTxt[3]->hasFocus());
        }
        A()->ExitBtn->click();
        EXPECT_FALSE(A()->isVisible());
        EXPECT_TRUE(f->isEnabled());
        EXPECT_TRUE(f->mnABtn->isEnabled());
        recommencer();
    }
}

TEST_F(MenusAC, MenuACourantEtNumeroDeSerie)
{
    struct Cas {
        const char* nom;
        const char* version;   // 18A: 64 partitions, 12A: 32
        const char* courant;   // converter's current
        const char* serie;     // converter's serial
        int champ;             // field left
        const char* saisie;
        const char* courantApres;
        const char* serieApres;
        int beeps;             // the window starts on the current field
        bool refuse;
        bool message;          // "Converter current has changed !..."
        bool modifie;
    };
    const Cas cas[] = {
        {"courant24refuse64", "18A", "23", "7015X", 0, "24", "23", "7015X", 1, true, false, false},
        {"courant24accepte32", "12A", "23", "7015X", 0, "24", "24", "7015X", 0, false, false, true},
        {"courant135change7060", "18A", "90", "7060ABC", 0, "135", "135", "7090ABC", 0, false, false, true},
        {"courantCoherentGardeLeNumero", "18A", "90", "7060ABC", 0, "90", "90", "7060ABC", 0, false, false, false},
        {"numeroCorrigeLeCourant64", "18A", "24", "7015X", 3, "7015X", "23", "7015X", 1, false, true, false},
        {"numeroGardeLeCourant32", "12A", "24", "7015X", 3, "7015X", "24", "7015X", 0, false, false, false},
        {"taille25refusee", "18A", "23", "7015X", 3, "7025X", "23", "7015X", 1, true, false, false},
        {"numeroCourtRefuse", "18A", "23", "7015X", 3, "701", "23", "7015X", 1, true, false, false},
        {"numeroChangeMarque", "18A", "23", "7015X", 3, "7015Y", "23", "7015Y", 0, false, false, true},
        {"dateSeuleNeMarqueRien", "18A", "23", "7015X", 2, "01.02.05", "23", "7015X", 0, false, false, false},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        banc.sim.version = c.version;
        banc.sim.courantMax = c.courant;
        banc.sim.numeroSerie = c.serie;
        enLigne();
        ouvrir(f->mnABtn, A());
        saisir(A()->editTxt[c.champ], c.saisie);
        EXPECT_EQ(A()->editTxt[0]->text(), c.courantApres);
        EXPECT_EQ(A()->editTxt[3]->text(), c.serieApres);
        EXPECT_EQ(banc.ui.beeps, c.beeps);
        EXPECT_EQ(rouge(A()->editTxt[c.champ]), c.refuse);
        EXPECT_EQ(menuAModifie, c.modifie);
        ASSERT_EQ(banc.ui.messages.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::courantConvertisseurChange));
            EXPECT_EQ(banc.ui.messages[0].icone(), msg::exclamation);
            EXPECT_TRUE(banc.ui.messages[0].titre.isEmpty());
        }
        // Only a marked change asks at close.
        const int n = banc.sim.journal.size();
        banc.ui.reponses = {msg::non};
        A()->ExitBtn->click();
        EXPECT_EQ(banc.ui.messages.size(), (c.message ? 1u : 0u) + (c.modifie ? 1u : 0u));
        EXPECT_EQ(banc.sim.journal.size(), n);
        recommencer();
    }
}

TEST_F(MenusAC, MenuATelechargement)
{
    const QStringList ecritures = {"$CRT23", "LES", "$NUM7015X", "LES", "$DAT12.03.04", "LES"};

    // Yes: confirmed writes, counters cleared, lock, probe; a close meanwhile
    // is refused with a beep.
    enLigne();
    ouvrir(f->mnABtn, A());
    menuAModifie = true;
    // The date field had the focus and was left.
    A()->editTxt[2]->setFocus(Qt::TabFocusReason);
    A()->ExitBtn->setFocus(Qt::TabFocusReason);
    int n = banc.sim.journal.size();
    bool fermeture = false, activee = false;
    banc.horloge.surEvenements = [&] {
        if (!activee && liaisonOccupee()) {
            // Back from the main window during an exchange.
            activee = true;
            SuiviActivation::oublier();
            QEvent activation(QEvent::WindowActivate);
            QApplication::sendEvent(A(), &activation);
        }
        if (!fermeture && banc.sim.journal.contains("$NUM7015X")) {
            fermeture = true;
            A()->close();
        }
    };
    banc.ui.reponses = {msg::oui};
    A()->downBtn->click();
    banc.horloge.surEvenements = nullptr;
    EXPECT_EQ(journalDepuis(n), ecritures + QStringList({"$HES0", "$HST0", "YyY", "XxX"}));
    EXPECT_TRUE(fermeture && activee);
    EXPECT_EQ(banc.ui.beeps, 1);
    EXPECT_TRUE(A()->isVisible());
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::confirmerDonneesMenuA));
    EXPECT_EQ(banc.ui.messages[0].style, msg::exclamation | msg::ouiNon | 256);
    EXPECT_TRUE(banc.ui.messages[0].titre.isEmpty());
    EXPECT_FALSE(menuAModifie);
    EXPECT_TRUE(reponseXxX);
    for (QLineEdit* e : A()->editTxt) EXPECT_FALSE(e->isEnabled());
    // Locked fields are drawn as disabled, like field 1.
    for (int i : {0, 2, 3})
        EXPECT_EQ(A()->editTxt[i]->palette().color(QPalette::Disabled, QPalette::Base),
                  A()->editTxt[1]->palette().color(QPalette::Disabled, QPalette::Base)) << i;
    EXPECT_FALSE(A()->downBtn->isEnabled());
    EXPECT_FALSE(travailEnCours);
    // The activation raised during the download reads once the link is free.
    n = banc.sim.journal.size();
    banc.horloge.avancer(0.2);
    EXPECT_EQ(journalDepuis(n), QStringList({"LES"}));
    EXPECT_FALSE(travailEnCours);
    recommencer();

    // No: not one byte.
    enLigne();
    ouvrir(f->mnABtn, A());
    menuAModifie = true;
    n = banc.sim.journal.size();
    banc.ui.reponses = {msg::non};
    A()->downBtn->click();
    EXPECT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_TRUE(journalDepuis(n).isEmpty());
    EXPECT_TRUE(menuAModifie);
    recommencer();

    // "$CRT" never confirmed: nothing else written, nothing locked.
    enLigne();
    ouvrir(f->mnABtn, A());
    menuAModifie = true;
    n = banc.sim.journal.size();
    banc.sim.script = [](const QString& l) -> std::optional<QByteArray> {
        if (l == "LES") return ConvertisseurSim::cadrer("99;18A;12-03-04;7015X;1250;310;");
        return std::nullopt;
    };
    // An activation raised during "$CRT" waits for the end of the download,
    // its message included: the typed serial stays meanwhile.
    A()->editTxt[3]->setText("7015Y");
    activee = false;
    QString numeroPendantMessage;
    banc.horloge.surEvenements = [&] {
        if (activee || !liaisonOccupee()) return;
        activee = true;
        SuiviActivation::oublier();
        QEvent activation(QEvent::WindowActivate);
        QApplication::sendEvent(A(), &activation);
    };
    banc.ui.pendantMessage = [&](const MessageVu&) {
        banc.horloge.avancer(0.2);
        numeroPendantMessage = A()->editTxt[3]->text();
    };
    banc.ui.reponses = {msg::oui};
    A()->downBtn->click();
    banc.horloge.surEvenements = nullptr;
    banc.ui.pendantMessage = nullptr;
    EXPECT_TRUE(activee);
    EXPECT_EQ(numeroPendantMessage, "7015Y");
    EXPECT_EQ(journalDepuis(n), repeter({"$CRT23", "LES"}, 4) + QStringList({"XxX"}));
    ASSERT_EQ(banc.ui.messages.size(), 2u);
    EXPECT_EQ(banc.ui.messages[1].texte, texteChaine(ids::donneesAppareilNonConfirmees));
    EXPECT_EQ(banc.ui.messages[1].icone(), msg::exclamation);
    EXPECT_TRUE(banc.ui.messages[1].titre.isEmpty());
    EXPECT_TRUE(menuAModifie);
    EXPECT_FALSE(banc.sim.verrouille);
    EXPECT_TRUE(A()->downBtn->isEnabled());
}

TEST_F(MenusAC, MenuAFermetureAvecModifications)
{
    // On line: the question, whose Yes leads to the warning.
    enLigne();
    ouvrir(f->mnABtn, A());
    menuAModifie = true;
    const int n = banc.sim.journal.size();
    banc.ui.reponses = {msg::oui, msg::non};
    A()->ExitBtn->click();
    ASSERT_EQ(banc.ui.messages.size(), 2u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::sauverDansZelto));
    EXPECT_EQ(banc.ui.messages[0].titre, texteChaine(ids::messageTitre));
    EXPECT_EQ(banc.ui.messages[0].icone(), msg::question);
    EXPECT_EQ(banc.ui.messages[1].texte, texteChaine(ids::confirmerDonneesMenuA));
    EXPECT_TRUE(journalDepuis(n).isEmpty());
    EXPECT_FALSE(A()->isVisible());
    recommencer();

    // Closed by a link loss (off line first, then the windows): no question.
    enLigne();
    ouvrir(f->mnABtn, A());
    menuAModifie = true;
    f->selectionnerHorsLigne();
    fermerFenetres();
    EXPECT_FALSE(A()->isVisible());
    EXPECT_TRUE(banc.ui.messages.empty());
}

// ---- Menu C ----

namespace {
const int relaisLus[17] = {1, 0, 2, 0, 0, 0, 0, 0, 3, 4, 0, 0, 0, 0, 0, 0, 5};
}

class MenuC : public MenusAC {
protected:
    void SetUp() override
    {
        MenusAC::SetUp();
        for (int i = 0; i < 17; ++i) banc.sim.relais[i] = relaisLus[i];
        banc.sim.fixer("Sn", "1");
        banc.sim.fixer("SN", "6");
        banc.sim.fixer("VC", "5");
        banc.sim.fixer("DC", "0");
    }
    // The level and delay fields and labels 23 to 26 show or hide together.
    bool comparateurVisible() const
    {
        int visibles = !C()->editTxtValComp->isHidden() + !C()->editTxtRet->isHidden();
        for (int i = 23; i <= 26; ++i) visibles += !C()->Label[i]->isHidden();
        EXPECT_TRUE(visibles == 0 || visibles == 6);
        return visibles == 6;
    }
};

TEST_F(MenuC, PremiereOuvertureLitUneFois)
{
    enLigne();
    int n = ouvrir(f->mnCBtn, C());
    EXPECT_EQ(journalDepuis(n), QStringList({"RL", "Sn", "SN", "VC", "DC"}));
    for (int i = 0; i < 102; ++i) EXPECT_EQ(C()->f[i]->isChecked(), i % 6 == relaisLus[i / 6]) << i;
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(C()->san1Chk[i]->isChecked(), i == 1) << i;
        EXPECT_EQ(C()->san2Chk[i]->isChecked(), i == 6) << i;
    }
    EXPECT_EQ(C()->editTxtValComp->text(), "5.00");
    EXPECT_EQ(C()->editTxtRet->text(), "0");
    EXPECT_TRUE(comparateurVisible());
    EXPECT_EQ(C()->panneau1()->text(), texteChaine(ids::infoAffectationRelais));
    EXPECT_TRUE(menuCCharge);
    EXPECT_FALSE(menuCModifie);
    EXPECT_FALSE(travailEnCours);
    EXPECT_TRUE(C()->downBtn->isEnabled());

    C()->ExitBtn->click();
    EXPECT_TRUE(banc.ui.messages.empty());
    // Values that select nothing (a file, say) leave no stale option shown.
    tableSortiesAnalogiques[1][0] = 0;
    tableRelais[9][0] = 7;
    n = ouvrir(f->mnCBtn, C());
    EXPECT_TRUE(journalDepuis(n).isEmpty());
    for (int i = 1; i <= 6; ++i) EXPECT_FALSE(C()->san2Chk[i]->isChecked()) << i;
    for (int i = 54; i < 60; ++i) EXPECT_FALSE(C()->f[i]->isChecked()) << i;
    EXPECT_TRUE(C()->f[1]->isChecked());
    EXPECT_FALSE(menuCModifie);
}

TEST_F(MenuC, GrilleEtChampsDuComparateur)
{
    enLigne();
    ouvrir(f->mnCBtn, C());
    C()->f[59]->click();
    EXPECT_TRUE(comparateurVisible());
    EXPECT_EQ(tableRelais[9][0].nombre(), 5);
    EXPECT_TRUE(menuCModifie);
    C()->f[54]->click();
    EXPECT_FALSE(comparateurVisible());
    menuCModifie = false;
    C()->f[54]->click();
    EXPECT_FALSE(menuCModifie);
    C()->san1Chk[4]->click();
    EXPECT_EQ(tableSortiesAnalogiques[0][0].nombre(), 4);
    EXPECT_TRUE(menuCModifie);

    C()->f[58]->click();
    menuCModifie = false;
    saisir(C()->editTxtValComp, "5");
    EXPECT_EQ(C()->editTxtValComp->text(), "5.00");
    EXPECT_FALSE(menuCModifie);
    saisir(C()->editTxtValComp, "7");
    EXPECT_EQ(C()->editTxtValComp->text(), "7.00");
    EXPECT_EQ(tableComparateur[0][0].texte(), "7.00");
    EXPECT_TRUE(menuCModifie);

    struct Cas {
        QLineEdit* champ;
        const char* texte;
    };
    for (const Cas& c : {Cas{C()->editTxtValComp, "10.5"}, Cas{C()->editTxtRet, "6"}}) {
        const std::size_t avant = banc.ui.messages.size();
        saisir(c.champ, c.texte);
        ASSERT_EQ(banc.ui.messages.size(), avant + 1) << c.texte;
        EXPECT_EQ(banc.ui.messages.back().texte, texteChaine(ids::horsLimites));
        EXPECT_TRUE(c.champ->hasFocus()) << c.texte;
        c.champ->setText("3");
        QTest::keyClick(c.champ, Qt::Key_Tab);
        EXPECT_FALSE(c.champ->hasFocus());
    }
    EXPECT_EQ(tableComparateur[0][0].texte(), "3.00");
    EXPECT_EQ(tableComparateur[1][0].nombre(), 3);
}

TEST_F(MenuC, Telechargement)
{
    const char* const cles[17] = {"$fA", "$vA", "$fZ", "$vZ", "$sS", "$su", "$mc", "$gl", "$VC",
                                  "$al", "$an", "$ve", "$aF", "$aA", "$pt", "$nt", "$re"};
    QList<QStringList> paires;
    for (int r = 0; r < 17; ++r) {
        const int source = r == 8 ? 9 : (r == 9 ? 8 : r);
        paires << QStringList({QString::fromLatin1(cles[r]) + QString::number(relaisLus[source]), "RL"});
    }
    paires << QStringList({"$sa1", "Sn"}) << QStringList({"$sn6", "SN"}) << QStringList({"$vc5.00", "VC"})
           << QStringList({"$dc0", "DC"});

    enLigne();
    ouvrir(f->mnCBtn, C());
    for (const int tentatives : {1, 4}) {
        SCOPED_TRACE(tentatives);
        banc.sim.relectureFausse = tentatives == 4;
        menuCModifie = true;
        const int n = banc.sim.journal.size();
        std::set<QString> statuts;
        bool boutonsActifs = true, occupe = true;
        banc.horloge.surEvenements = [&] {
            statuts.insert(C()->panneau1()->text());
            boutonsActifs = boutonsActifs && C()->downBtn->isEnabled();
            occupe = occupe && travailEnCours;
            // Back from the main window during the download.
            SuiviActivation::oublier();
            QEvent activation(QEvent::WindowActivate);
            QApplication::sendEvent(C(), &activation);
        };
        C()->downBtn->click();
        banc.horloge.surEvenements = nullptr;
        QStringList attendu;
        for (const QStringList& p : paires) attendu << repeter(p, tentatives);
        EXPECT_EQ(journalDepuis(n), attendu);
        EXPECT_EQ(statuts, std::set<QString>({texteChaine(ids::infoTelechargerMenuC)}));
        EXPECT_FALSE(boutonsActifs);
        EXPECT_TRUE(occupe);
        EXPECT_TRUE(C()->panneau1()->text().isEmpty());
        EXPECT_FALSE(menuCModifie);
        EXPECT_FALSE(travailEnCours);
        EXPECT_TRUE(C()->downBtn->isEnabled());
        EXPECT_TRUE(C()->ExitBtn->isEnabled());
        // The activation raised meanwhile runs once the link is free.
        banc.horloge.avancer(0.2);
        EXPECT_EQ(C()->panneau1()->text(), texteChaine(ids::infoAffectationRelais));
    }
}

TEST_F(MenuC, FermetureAvecModifications)
{
    // On line: the question without a title of its own; No keeps the mark.
    enLigne();
    ouvrir(f->mnCBtn, C());
    C()->f[0]->click();
    int n = banc.sim.journal.size();
    banc.ui.reponses = {msg::non};
    C()->ExitBtn->click();
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::sauverDansZelto));
    EXPECT_EQ(banc.ui.messages[0].icone(), msg::question);
    EXPECT_TRUE(banc.ui.messages[0].titre.isEmpty());
    EXPECT_TRUE(menuCModifie);
    EXPECT_TRUE(journalDepuis(n).isEmpty());
    recommencer();

    // Off line: Download disabled, no question, nothing sent.
    demarrer();
    ouvrir(f->mnCBtn, C());
    EXPECT_FALSE(C()->downBtn->isEnabled());
    C()->f[1]->click();
    EXPECT_TRUE(menuCModifie);
    telechargerMenuC();
    EXPECT_TRUE(menuCModifie);
    EXPECT_FALSE(C()->downBtn->isEnabled());
    C()->ExitBtn->click();
    EXPECT_TRUE(banc.ui.messages.empty());
    EXPECT_TRUE(banc.sim.journal.isEmpty());
    EXPECT_TRUE(menuCModifie);
}

TEST_F(MenuC, ConvertisseurMuetApresRLPuisRelu)
{
    enLigne();
    banc.sim.script = [this](const QString& l) -> std::optional<QByteArray> {
        if (l != "Sn") return std::nullopt;
        banc.sim.silence = true;
        return QByteArray();
    };
    int n = ouvrir(f->mnCBtn, C());
    EXPECT_EQ(journalDepuis(n), QStringList({"RL", "Sn"}));
    EXPECT_FALSE(f->onLineChk());
    EXPECT_FALSE(menuCCharge);
    EXPECT_FALSE(C()->downBtn->isEnabled());
    // The window closes once its read has returned.
    banc.horloge.avancer(0.1);
    EXPECT_FALSE(C()->isVisible());
    EXPECT_TRUE(f->mnCBtn->isEnabled());

    banc.sim.silence = false;
    banc.sim.script = nullptr;
    allerEnLigne();
    n = ouvrir(f->mnCBtn, C());
    EXPECT_EQ(journalDepuis(n), QStringList({"RL", "Sn", "SN", "VC", "DC"}));
    EXPECT_TRUE(menuCCharge);
    EXPECT_TRUE(C()->downBtn->isEnabled());
}
