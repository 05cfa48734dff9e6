// The exit road: questions, sends, save dialog, "xXx", settings file.

#include "fixture.h"

#include "link/transaction.h"
#include "model/tables.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "sim/entreessysteme.h"

#include <QDialog>
#include <QGroupBox>
#include <QPushButton>

namespace {
int nbLignes(const QStringList& journal, const QString& ligne)
{
    return static_cast<int>(journal.count(ligne));
}
}

TEST_F(Appli, SortieHorsLigneSansModification)
{
    demarrer();
    f->ExitBtn->click();
    EXPECT_TRUE(banc.ui.messages.empty());
    EXPECT_EQ(banc.ui.nbTerminer, 1);
    EXPECT_TRUE(banc.sim.journal.isEmpty());
    const QByteArray ini = lireOctets(chemin("zelto.ini"));
    EXPECT_TRUE(ini.startsWith("16,"));
    EXPECT_EQ(ini.count(','), 27);
}

TEST_F(Appli, SortieHorsLigneAvecModificationsSansFichier)
{
    demarrer();
    menuAModifie = true;
    banc.ui.reponses = {msg::non};
    f->ExitBtn->click();
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::sauverDansFichier));
    EXPECT_EQ(banc.ui.messages[0].titre, texteChaine(ids::messageTitre));
    EXPECT_EQ(banc.ui.messages[0].boutons(), msg::ouiNon);
    EXPECT_TRUE(banc.ui.dialoguesSauver.empty());
    EXPECT_EQ(banc.ui.nbTerminer, 1);
}

TEST_F(Appli, SortieDialogueAnnule)
{
    demarrer();
    partParamsModifies[7] = true;
    banc.ui.reponses = {msg::oui};
    f->ExitBtn->click();
    ASSERT_EQ(banc.ui.dialoguesSauver.size(), 1u);
    const DialogueFichier& d = banc.ui.dialoguesSauver[0];
    EXPECT_EQ(d.dossierInitial, chemin("data"));
    EXPECT_EQ(d.titre, texteChaine(ids::titreSauverDonnees));
    EXPECT_EQ(d.filtre, QStringLiteral("Text Files(*.mnc)|*.mnc"));
    EXPECT_TRUE(d.confirmerEcrasement);
    EXPECT_FALSE(travailEnCours);
    EXPECT_EQ(banc.ui.nbTerminer, 1);
}

TEST_F(Appli, SortieEchecDeSauvegardeRevientALaFenetrePrincipale)
{
    demarrer();
    menuBGenModifie = true;
    banc.ui.reponses = {msg::oui};
    banc.ui.fichiers = {chemin("absent/sous/dossier/essai.mnc")};
    f->ExitBtn->click();
    ASSERT_EQ(banc.ui.messages.size(), 2u);
    EXPECT_EQ(banc.ui.messages[1].texte, texteChaine(ids::erreurSauvegarde));
    EXPECT_EQ(banc.ui.messages[1].icone(), msg::critique);
    EXPECT_TRUE(banc.ui.messages[1].titre.isEmpty());
    EXPECT_EQ(banc.ui.nbTerminer, 0);
    EXPECT_FALSE(travailEnCours);
    EXPECT_TRUE(f->ExitBtn->isEnabled());
    EXPECT_TRUE(menuBGenModifie);
    // A second try saves and ends.
    banc.ui.reponses = {msg::oui};
    banc.ui.fichiers = {chemin("essai.mnc")};
    f->ExitBtn->click();
    EXPECT_TRUE(QFile::exists(chemin("essai.mnc")));
    EXPECT_EQ(banc.ui.nbTerminer, 1);
}

TEST_F(Appli, SortieEnLigneBoutonsCoupesPendantLaSauvegarde)
{
    demarrer();
    allerEnLigne();
    menuAModifie = true;
    // No to the converter, Yes to the file: the upload before the save
    // processes events, and no second exit or menu may start meanwhile.
    banc.ui.reponses = {msg::non, msg::oui};
    banc.ui.fichiers = {chemin("essai.mnc")};
    bool vu = false;
    bool exitActif = true;
    bool menuActif = true;
    banc.horloge.surEvenements = [&] {
        if (!travailEnCours || vu) return;
        vu = true;
        exitActif = f->ExitBtn->isEnabled();
        menuActif = f->mnBBtn->isEnabled() || f->onlineFr->isEnabled();
    };
    f->ExitBtn->click();
    banc.horloge.surEvenements = nullptr;
    EXPECT_TRUE(vu);
    EXPECT_FALSE(exitActif);
    EXPECT_FALSE(menuActif);
    EXPECT_TRUE(QFile::exists(chemin("essai.mnc")));
    EXPECT_EQ(banc.ui.nbTerminer, 1);
}

struct CasGeneral {
    const char* version;
    int paires;
};

class SortieGeneral : public Appli, public ::testing::WithParamInterface<CasGeneral> {};

// On line with only the general part changed: Yes sends it, No to the file.
TEST_P(SortieGeneral, PairesEcritureRelecture)
{
    banc.sim.version = QString::fromLatin1(GetParam().version);
    demarrer();
    allerEnLigne();
    const int avant = banc.sim.journal.size();
    menuBGenModifie = true;
    banc.ui.reponses = {msg::oui, msg::non};
    f->ExitBtn->click();
    ASSERT_EQ(banc.ui.messages.size(), 2u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::sauverDansZelto));
    EXPECT_EQ(banc.ui.messages[0].icone(), msg::question);
    EXPECT_EQ(banc.ui.messages[1].texte, texteChaine(ids::sauverDansFichier));
    const QStringList envoi = journalDepuis(avant);
    ASSERT_FALSE(envoi.isEmpty());
    EXPECT_EQ(envoi.last(), QStringLiteral("xXx"));
    const QStringList paires = envoi.mid(0, envoi.size() - 1);
    ASSERT_EQ(paires.size(), 2 * GetParam().paires) << paires.join(u'|').toStdString();
    for (int i = 0; i < GetParam().paires; ++i) {
        const int r = i;
        EXPECT_EQ(paires[2 * i], tableMenuBGen[r].cle + tableMenuBGen[r].valeur.texteFil()) << i;
        EXPECT_EQ(paires[2 * i + 1], tableMenuBGen[r].code) << i;
    }
    EXPECT_EQ(nbLignes(banc.sim.journal, QStringLiteral("xXx")), 1);
    EXPECT_EQ(banc.ui.nbTerminer, 1);
}

INSTANTIATE_TEST_SUITE_P(Versions, SortieGeneral,
                         ::testing::Values(CasGeneral{"18A", 13}, CasGeneral{"15A", 12}, CasGeneral{"14A", 11}),
                         [](const auto& i) { return std::string("v") + i.param.version; });

TEST_F(Appli, SortieEnLigneMenuASeulementNEnvoieRien)
{
    demarrer();
    allerEnLigne();
    const int avant = banc.sim.journal.size();
    menuAModifie = true;
    banc.ui.reponses = {msg::oui, msg::non};
    f->ExitBtn->click();
    EXPECT_EQ(banc.ui.messages.size(), 2u);
    EXPECT_EQ(journalDepuis(avant), QStringList({"xXx"}));
}

TEST_F(Appli, FermetureRefuseeQuandOccupe)
{
    demarrer();
    allerEnLigne();
    travailEnCours = true;
    systeme::fermer(f.get());
    banc.horloge.avancer(0.01);
    EXPECT_EQ(banc.ui.beeps, 1);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(banc.ui.nbTerminer, 0);
    EXPECT_EQ(nbLignes(banc.sim.journal, QStringLiteral("xXx")), 0);
    travailEnCours = false;
    systeme::fermer(f.get());
    banc.horloge.avancer(0.01);
    EXPECT_EQ(banc.ui.nbTerminer, 1);
    EXPECT_EQ(nbLignes(banc.sim.journal, QStringLiteral("xXx")), 1);
    // Nothing more once the program ends.
    systeme::fermer(f.get());
    banc.horloge.avancer(0.01);
    f->decharger();
    EXPECT_EQ(nbLignes(banc.sim.journal, QStringLiteral("xXx")), 1);
}

TEST_F(Appli, PositionsEcritesALaFin)
{
    ecrireOctets(chemin("zelto.ini"), "27,0,0,0,0,0,0,-120,300,");
    demarrer();
    positionsFenetres[9] = {150, -45};
    f->ExitBtn->click();
    const QList<QByteArray> v = lireOctets(chemin("zelto.ini")).split(',');
    ASSERT_EQ(v.size(), 28);   // 27 values and nothing after the last comma
    EXPECT_EQ(v[0], "27");
    EXPECT_EQ(v[7], "-120");
    EXPECT_EQ(v[8], "300");
    EXPECT_EQ(v[17], "150");
    EXPECT_EQ(v[18], "-45");
    EXPECT_TRUE(v[27].isEmpty());
}

// Exit clicked while a watchdog probe waits; the save fails after the
// on-line upload. Back on the main window the program stays on line with
// its marks: the resumed probe gives no verdict on a wait it did not own.
TEST_F(Appli, SortieDansUneSondeEchecDeSauvegardeResteEnLigne)
{
    demarrer();
    allerEnLigne();
    menuAModifie = true;
    banc.sim.delaiReponse = 0.5;   // the probe waits
    banc.ui.reponses = {msg::oui, msg::oui};
    banc.ui.fichiers = {chemin("absent/sous/dossier/essai.mnc")};
    bool fait = false;
    banc.horloge.surEvenements = [&] {
        if (fait || !f->sondeEnCours()) return;
        fait = true;
        banc.sim.delaiReponse = 0.005;
        f->ExitBtn_Click();
    };
    banc.horloge.avancer(2.5);
    banc.horloge.surEvenements = nullptr;
    ASSERT_TRUE(fait);
    ASSERT_EQ(banc.ui.messages.size(), 3u);
    EXPECT_EQ(banc.ui.messages[2].texte, texteChaine(ids::erreurSauvegarde));
    EXPECT_EQ(banc.ui.nbTerminer, 0);
    EXPECT_TRUE(f->onLineChk());
    EXPECT_TRUE(menuAModifie);
    // The watchdog goes on probing.
    const int n = banc.sim.journal.size();
    banc.horloge.avancer(4.5);
    EXPECT_TRUE(f->onLineChk());
    EXPECT_GE(banc.sim.journal.size(), n + 1);
    EXPECT_EQ(banc.sim.journal.last(), QString());
}

// Partition source on the terminal block, on line: "$pg" 0 before the file
// save, 1 at the end, also with nothing modified; a cancelled dialog sends
// neither; a failed save gives the partition back to the terminals before
// the main window comes back.
struct CasOrigine {
    const char* nom;
    bool modifie;
    const char* fichier;   // nullptr: no file question; "": dialog cancelled
    bool pg0;
    bool pg1;
    bool fin;              // the program ends ("xXx")
};

class SortieOrigine : public Appli, public ::testing::WithParamInterface<CasOrigine> {};

TEST_P(SortieOrigine, PartitionsAuBornier)
{
    const CasOrigine c = GetParam();
    demarrer();
    allerEnLigne();
    ASSERT_TRUE(f->onLineChk());
    origPartExterne = true;
    menuAModifie = c.modifie;
    banc.ui.reponses = {msg::non, msg::oui};
    if (c.fichier) banc.ui.fichiers = {c.fichier[0] ? chemin(c.fichier) : QString()};
    const int avant = banc.sim.journal.size();
    f->ExitBtn->click();
    const QStringList envoi = journalDepuis(avant);
    ASSERT_FALSE(envoi.isEmpty());
    EXPECT_EQ(nbLignes(envoi, QStringLiteral("xXx")), c.fin ? 1 : 0);
    EXPECT_EQ(envoi.indexOf(QStringLiteral("$pg0")) == 0, c.pg0);
    EXPECT_EQ(nbLignes(envoi, QStringLiteral("$pg0")), c.pg0 ? 1 : 0);
    if (c.pg1) {
        const QStringList fin =
            c.fin ? QStringList({"$pg1", "pg", "xXx"}) : QStringList({"$pg1", "pg"});
        ASSERT_GE(envoi.size(), fin.size());
        EXPECT_EQ(envoi.mid(envoi.size() - fin.size()), fin);
    } else {
        EXPECT_EQ(nbLignes(envoi, QStringLiteral("$pg1")), 0);
        EXPECT_EQ(envoi.last(), QStringLiteral("xXx"));
    }
    if (c.fichier && c.fichier[0]) EXPECT_EQ(QFile::exists(chemin(c.fichier)), c.fin);
    EXPECT_EQ(banc.ui.nbTerminer, c.fin ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Sortie, SortieOrigine,
                         ::testing::Values(CasOrigine{"rien", false, nullptr, false, true, true},
                                           CasOrigine{"fichier", true, "essai.mnc", true, true, true},
                                           CasOrigine{"annule", true, "", false, false, true},
                                           CasOrigine{"echec", true, "absent/essai.mnc", true, true, false}),
                         [](const auto& i) { return std::string(i.param.nom); });

// On line, partition 3 edited, No to the converter, Yes to the file; the
// converter falls silent in the upload before the save. The user is told
// nothing was saved and asked whether to write what the PC holds.
class SortieLiaisonPerdue : public Appli, public ::testing::WithParamInterface<int> {};

TEST_P(SortieLiaisonPerdue, ProposeLesDonneesDuPc)
{
    const int reponse = GetParam();
    demarrer();
    allerEnLigne();
    partParamsModifies[2] = true;
    parametresPartitions[5][3] = Variant(QStringLiteral("777.25"));
    menuBGenCharge = true;
    tableMenuBGen[6].valeur = Variant(437);   // mains voltage, reset by the link loss
    banc.ui.reponses = {msg::non, msg::oui, reponse};
    banc.ui.fichiers = {chemin("essai.mnc")};
    banc.horloge.surEvenements = [&] {
        if (travailEnCours && !banc.ui.dialoguesSauver.empty()) banc.sim.silence = true;
    };
    f->ExitBtn->click();
    banc.horloge.surEvenements = nullptr;
    ASSERT_EQ(banc.ui.messages.size(), 3u);
    const MessageVu& m = banc.ui.messages[2];
    EXPECT_EQ(m.texte, texteChaine(ids::liaisonPerdueRienSauve));
    EXPECT_EQ(m.icone(), msg::exclamation);
    EXPECT_EQ(m.boutons(), msg::ouiNon);
    EXPECT_FALSE(f->onLineChk());
    const QByteArray fichier = lireOctets(chemin("essai.mnc"));
    if (reponse == msg::oui) {
        EXPECT_TRUE(fichier.contains("777.25"));
        EXPECT_TRUE(fichier.contains("437"));
        EXPECT_EQ(banc.ui.nbTerminer, 1);
    } else {
        EXPECT_TRUE(fichier.isEmpty());
        EXPECT_EQ(banc.ui.nbTerminer, 0);
        EXPECT_TRUE(f->ExitBtn->isEnabled());
    }
}

INSTANTIATE_TEST_SUITE_P(Reponses, SortieLiaisonPerdue, ::testing::Values(msg::oui, msg::non));

// The close box (Alt+F4) asks what the exit button asks: with a change not
// yet sent, both questions; with none, no question. Same wire, same end.
TEST_F(Appli, CaseDeFermetureCommeLeBoutonQuitter)
{
    struct Fin {
        QStringList messages;
        QStringList lignes;
        int terminer;
    };
    auto sortir = [this](bool modifie, bool caseFermeture) {
        f.reset();
        reinitialiserEtatModule();
        banc.sim.journal.clear();
        banc.ui.messages.clear();
        banc.ui.nbTerminer = 0;
        demarrer();
        allerEnLigne();
        if (modifie) {
            tableMenuBGen[6].valeur = 450;   // mains voltage typed, menu B general closed
            menuBGenModifie = true;
        }
        banc.ui.reponses = {msg::non, msg::non};
        const int n = banc.sim.journal.size();
        if (caseFermeture) systeme::fermer(f.get());
        else systeme::cliquer(f->ExitBtn);
        banc.horloge.avancer(0.01);
        Fin r{{}, journalDepuis(n), banc.ui.nbTerminer};
        for (const MessageVu& m : banc.ui.messages) r.messages << m.texte;
        return r;
    };
    for (const bool modifie : {false, true}) {
        SCOPED_TRACE(modifie ? "changed" : "unchanged");
        const Fin bouton = sortir(modifie, false);
        const Fin caseF = sortir(modifie, true);
        const QStringList questions =
            modifie ? QStringList{texteChaine(ids::sauverDansZelto), texteChaine(ids::sauverDansFichier)} : QStringList{};
        EXPECT_EQ(bouton.messages, questions);
        EXPECT_EQ(caseF.messages, questions);
        EXPECT_EQ(caseF.lignes, QStringList({"xXx"}));
        EXPECT_EQ(caseF.lignes, bouton.lignes);
        EXPECT_EQ(caseF.terminer, 1);
    }
}

// A second close request during the exit road that the close box started:
// refused with a beep, the main window stays on screen; the save then
// fails and the window stays usable, so that Exit ends the program.
TEST_F(Appli, SecondeFermeturePendantLaSortie)
{
    demarrer();
    allerEnLigne();
    tableMenuBGen[6].valeur = 450;
    menuBGenModifie = true;
    banc.sim.delaiReponse = 0.3;
    banc.ui.reponses = {msg::oui, msg::oui};
    banc.ui.fichiers = {chemin("absent/sous/dossier/essai.mnc")};
    bool seconde = false, disparue = false;
    banc.horloge.surEvenements = [&] {
        if (!f->isVisible()) disparue = true;
        if (seconde || !travailEnCours || !liaisonOccupee()) return;
        seconde = true;
        systeme::fermer(f.get());
    };
    systeme::fermer(f.get());
    banc.horloge.avancer(30.0);
    banc.horloge.surEvenements = nullptr;
    ASSERT_TRUE(seconde);
    EXPECT_FALSE(disparue);
    EXPECT_EQ(banc.ui.beeps, 1);
    ASSERT_EQ(banc.ui.messages.size(), 3u);
    EXPECT_EQ(banc.ui.messages[2].texte, texteChaine(ids::erreurSauvegarde));
    EXPECT_EQ(banc.ui.nbTerminer, 0);
    EXPECT_TRUE(f->isVisible());
    EXPECT_TRUE(f->ExitBtn->isEnabled());

    const int n = banc.sim.journal.size();
    systeme::cliquer(f->ExitBtn);
    banc.horloge.avancer(1.0);
    EXPECT_EQ(banc.ui.nbTerminer, 1);
    EXPECT_EQ(journalDepuis(n).filter(QStringLiteral("xXx")).size(), 1);
}

// A close request accepted, then a window's loop opened by the program
// before the road's turn: the road is dropped with a beep, and the program
// stays usable.
TEST_F(Appli, SortieQuiNePeutPasPartirEstAbandonnee)
{
    demarrer();
    allerEnLigne();
    struct BoiteApresFermeture : QObject {
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Close)
                QTimer::singleShot(0, [] {
                    QDialog boite;
                    QTimer::singleShot(50, &boite, &QDialog::reject);
                    boite.exec();
                });
            return false;
        }
    } boite;
    f->installEventFilter(&boite);
    systeme::fermer(f.get());
    banc.horloge.avancer(0.5);
    f->removeEventFilter(&boite);
    EXPECT_EQ(banc.ui.beeps, 1);
    EXPECT_EQ(banc.ui.nbTerminer, 0);
    EXPECT_FALSE(banc.sim.journal.contains(QStringLiteral("xXx")));

    systeme::cliquer(f->ExitBtn);
    banc.horloge.avancer(0.5);
    EXPECT_EQ(banc.ui.nbTerminer, 1);
}
