// Menu B general: reading and showing the general part, options and
// fields, downloads, the closing question, the watchdog.

#include "fixture_menubgen.h"

#include "resources/chaines.h"
#include "resources/idschaines.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QRegularExpression>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <array>
#include <optional>

struct CasLecture {
    const char* version;
    int nbCodes;
};

class LectureGenerale : public MenuBGen, public ::testing::WithParamInterface<CasLecture> {};

TEST_P(LectureGenerale, LuALaPremiereOuvertureSeulement)
{
    brancher(GetParam().version);
    QString statutPendant;
    banc.sim.script = [&](const QString& l) -> std::optional<QByteArray> {
        if (l == "CS") statutPendant = m()->panneau1()->text();
        return std::nullopt;
    };
    marquer();
    ouvrir();
    const QStringList codes = {"CS", "UF", "IV", "ps", "FC", "CP", "Ur", "pg", "AS", "DD", "RV", "VM", "DM"};
    EXPECT_EQ(lignes(), codes.mid(0, GetParam().nbCodes));
    EXPECT_EQ(statutPendant, texteChaine(ids::patientez));
    // The wait text gone, the first option's hint (it has the focus).
    EXPECT_EQ(m()->panneau1()->text(), texteChaine(ids::infoMarcheArret));
    EXPECT_TRUE(menuBGenCharge);
    EXPECT_FALSE(travailEnCours);
    EXPECT_FALSE(f->isEnabled());

    m()->ExitBtn_Click();
    EXPECT_FALSE(m()->isVisible());
    EXPECT_TRUE(f->isEnabled());
    marquer();
    ouvrir();
    EXPECT_TRUE(m()->isVisible());
    EXPECT_TRUE(lignes().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Versions, LectureGenerale,
                         ::testing::Values(CasLecture{"18A", 13}, CasLecture{"14A", 11}, CasLecture{"15", 12}),
                         [](const auto& i) { return std::string("v") + i.param.version; });

TEST_F(MenuBGen, HorsLigneOptionsEtCadreDto)
{
    demarrer();
    ouvrir();
    ASSERT_TRUE(m()->isVisible());
    EXPECT_TRUE(banc.sim.journal.isEmpty());
    EXPECT_FALSE(menuBGenCharge);
    EXPECT_EQ(m()->editTxtFiltre->text(), "1");
    EXPECT_EQ(m()->editTxtUres->text(), "400");
    EXPECT_EQ(m()->editTxtTempo->text(), "0");
    for (GroupeOptions* g : {m()->startStopChk, m()->uniteChk, m()->autorIsrChk, m()->origIsrChk, m()->genreConsChk,
                             m()->origPartChk, m()->arretChk, m()->reprVolChk, m()->verrClefChk, m()->tempoDtoChk})
        EXPECT_EQ(g->selection(), 0);
    EXPECT_FALSE(m()->downBtn->isEnabled());
    EXPECT_FALSE(m()->downAsIsBtn->isEnabled());
    EXPECT_TRUE(m()->saveBtn->isEnabled());

    // The selected option again: no change.
    m()->startStopChk->option(0)->click();
    m()->verrClefChk->option(0)->click();
    EXPECT_FALSE(menuBGenModifie);

    auto* cadreIsr = m()->findChild<QGroupBox*>("origIsrFr");
    const auto sourceIsr = [&] {
        return m()->origIsrChk->option(0)->isEnabled() && m()->origIsrChk->option(1)->isEnabled()
               && cadreIsr->isEnabled();
    };
    EXPECT_FALSE(sourceIsr());
    m()->autorIsrChk->option(1)->click();
    EXPECT_TRUE(sourceIsr());
    EXPECT_TRUE(menuBGenModifie);
    EXPECT_EQ(tableMenuBGen[2].valeur, Variant(1));
    m()->autorIsrChk->option(0)->click();
    EXPECT_FALSE(m()->origIsrChk->option(0)->isEnabled());
    EXPECT_FALSE(m()->origIsrChk->option(1)->isEnabled());
    EXPECT_FALSE(cadreIsr->isEnabled());

    m()->origPartChk->option(1)->click();
    EXPECT_TRUE(origPartExterne);
    EXPECT_EQ(tableMenuBGen[7].valeur, Variant(1));
    m()->origPartChk->option(0)->click();
    EXPECT_FALSE(origPartExterne);

    auto* cadreDto = m()->findChild<QGroupBox*>("tempoDtoFr");
    for (const auto& [version, id] : {std::pair{0, ids::cadreTempoDto5s}, std::pair{17, ids::cadreTempoDto5s},
                                      std::pair{18, ids::cadreTempoDto}}) {
        versionLogiciel = version;
        m()->traduireMenuBGen();
        EXPECT_EQ(cadreDto->title(), texteChaine(id)) << version;
    }

    // Busy: the close is refused with a beep.
    travailEnCours = true;
    EXPECT_FALSE(m()->close());
    EXPECT_TRUE(m()->isVisible());
    EXPECT_EQ(banc.ui.beeps, 1);
    travailEnCours = false;
}

TEST_F(MenuBGen, ChampsBornesEtMarque)
{
    demarrer();
    ouvrir();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m()));
    struct Cas {
        QLineEdit* champ;
        const char* texte;   // nullptr: left as it was
        bool accepte;
        int rangee;
        double valeur;
        bool modifie;
    };
    const Cas cas[] = {
        {m()->editTxtFiltre, nullptr, true, 4, 1, false},
        {m()->editTxtFiltre, "0", false, 4, 1, false},
        {m()->editTxtFiltre, "11", false, 4, 1, false},
        {m()->editTxtUres, "250", true, 6, 250, true},
        {m()->editTxtFiltre, "7", true, 4, 7, true},
    };
    for (const Cas& c : cas) {
        menuBGenModifie = false;
        banc.ui.messages.clear();
        tableMenuBGen[c.rangee].valeur = Variant(QStringLiteral("1"));
        c.champ->setFocus(Qt::TabFocusReason);
        traiter();
        if (c.texte) c.champ->setText(QString::fromLatin1(c.texte));
        QTest::keyClick(c.champ, Qt::Key_Tab);
        traiter();
        const QString nom = c.champ->objectName() + " " + (c.texte ? c.texte : "");
        EXPECT_EQ(c.champ->hasFocus(), !c.accepte) << nom.toStdString();
        EXPECT_EQ(banc.ui.messages.size(), c.accepte ? 0u : 1u) << nom.toStdString();
        if (!c.accepte) {
            EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::horsLimites));
            c.champ->setText(QStringLiteral("1"));
            continue;
        }
        EXPECT_EQ(menuBGenModifie, c.modifie) << nom.toStdString();
        // Stored as a number, not as the text.
        EXPECT_TRUE(tableMenuBGen[c.rangee].valeur.estNombre()) << nom.toStdString();
        EXPECT_EQ(tableMenuBGen[c.rangee].valeur.nombre(), c.valeur) << nom.toStdString();
    }
}

TEST_F(MenuBGen, TelechargementGeneralPuisDialogueDeCopie)
{
    banc.sim.fixer("FC", "3");
    banc.sim.fixer("Ur", "415");
    banc.sim.fixer("pg", "1");
    brancher();
    ouvrir();
    ASSERT_TRUE(origPartExterne);
    FenetreFactice copie(numeroFenetre::copyNema);

    partParamsCharges[0] = true;
    menuBGenModifie = true;
    marquer();
    m()->downBtn_Click();
    traiter();
    EXPECT_EQ(lignes(), QStringList({"$cs0", "CS", "$uf0", "UF", "$iv0", "IV", "$ps0", "ps", "$fc3", "FC", "$cP0",
                                     "CP", "$ur415", "Ur", "$pg0", "pg", "$as0", "AS", "$dd0", "DD", "$rv0", "RV",
                                     "$vm0", "VM", "$dm0", "DM"}));
    EXPECT_TRUE(banc.ui.messages.empty());
    EXPECT_EQ(copie.modeALAffichage, 3);
    EXPECT_TRUE(copie.isVisible());
    EXPECT_FALSE(menuBGenModifie);
    EXPECT_FALSE(travailEnCours);
    EXPECT_EQ(banc.ui.beeps, 0);
    copie.decharger();

    // Current partition not held (an empty selector reads as 1): caution,
    // general part, beep.
    partParamsCharges[0] = false;
    valeursCourantes[0].valeur = Variant();
    marquer();
    m()->downBtn_Click();
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::seulementPartieGenerale));
    EXPECT_EQ(banc.ui.messages[0].icone(), msg::exclamation);
    EXPECT_TRUE(banc.ui.messages[0].titre.isEmpty());
    // No partition follows: the partition source goes back to the terminal block.
    EXPECT_EQ(lignes().size(), 28);
    EXPECT_EQ(lignes().mid(26), QStringList({"$pg1", "pg"}));
    EXPECT_EQ(banc.ui.beeps, 1);
    EXPECT_FALSE(copie.isVisible());

    // General part not held: nothing sent.
    menuBGenCharge = false;
    marquer();
    m()->downBtn_Click();
    EXPECT_TRUE(lignes().isEmpty());
    EXPECT_FALSE(travailEnCours);
    EXPECT_TRUE(m()->downBtn->isEnabled());
}

TEST_F(MenuBGen, TelechargementCompletSur32Partitions)
{
    banc.sim.fixer("pg", "1");
    brancher("12A");
    ouvrir();
    ASSERT_TRUE(origPartExterne);
    for (int i = 0; i < 32; ++i) partParamsCharges[i] = partNemaCharges[i] = true;
    partParamsModifies[4] = true;
    menuBGenModifie = true;
    marquer();
    m()->downAsIsBtn_Click();
    EXPECT_TRUE(banc.ui.messages.empty());
    const QStringList l = lignes();
    ASSERT_FALSE(l.isEmpty());
    EXPECT_EQ(l.first(), "$pg0");
    EXPECT_FALSE(l.contains("$ng33"));
    const auto menuC = l.indexOf(QRegularExpression("\\$fA.*"));
    EXPECT_GT(l.indexOf("$pg1"), l.indexOf("$ng32"));
    EXPECT_EQ(l.indexOf("$pg1") + 2, menuC);   // "$pg1", "pg", then menu C
    EXPECT_EQ(banc.ui.beeps, 1);
    EXPECT_TRUE(partParamsModifies[4]);
    EXPECT_TRUE(menuBGenModifie);
    EXPECT_TRUE(partParamsCharges[31] && !partParamsCharges[32]);
    EXPECT_FALSE(travailEnCours);
}

TEST_F(MenuBGen, TelechargementCompletAvecPartitionsNonTenuesAnnule)
{
    brancher();
    ouvrir();
    for (int i = 0; i < 32; ++i) partParamsCharges[i] = partNemaCharges[i] = true;
    banc.ui.reponses = {msg::annuler};
    marquer();
    m()->downAsIsBtn_Click();
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    const MessageVu& v = banc.ui.messages[0];
    EXPECT_EQ(v.texte, texteChaine(ids::partitionsParDefaut));
    EXPECT_EQ(v.style, msg::okAnnuler | 256);   // Cancel is the default, no icon
    EXPECT_TRUE(v.titre.isEmpty());
    EXPECT_TRUE(lignes().isEmpty());
    EXPECT_EQ(banc.ui.beeps, 0);
}

TEST_F(MenuBGen, QuestionALaFermeture)
{
    banc.sim.fixer("pg", "1");
    brancher();
    ouvrir();
    ASSERT_TRUE(origPartExterne);
    parametresPartitions[0][3] = 8;
    parametresPartitions[0][12] = 6;
    pointsNema[3][0] = 100;
    pointsNema[3][1] = 25;
    pointsNema[3][2] = 400;
    pointsNema[3][3] = 50;
    pointsNema[3][64] = 2;
    partParamsModifies[2] = partParamsModifies[11] = partNemaModifies[2] = true;
    banc.ui.reponses = {msg::oui};
    marquer();
    m()->ExitBtn_Click();
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::sauverDansZelto));
    EXPECT_EQ(banc.ui.messages[0].style, msg::ouiNon | msg::question);
    EXPECT_EQ(banc.ui.messages[0].titre, texteChaine(ids::messageTitre));
    const QStringList l = lignes();
    ASSERT_FALSE(l.isEmpty());
    EXPECT_EQ(l.first(), "$pg0");
    EXPECT_TRUE(sousSuite(l, {"$pg0", "$ng3", "NG", "$pp8", "$ng12", "NG", "$pp6", "$ng3", "NG", "$nm1000025",
                              "$nm4000050", "$nm0000000", "NM"}));
    EXPECT_EQ(l.count("$ng3"), 2);
    EXPECT_FALSE(l.contains("$pg1"));
    EXPECT_FALSE(partitionsModifiees());
    EXPECT_FALSE(m()->isVisible());
    EXPECT_FALSE(travailEnCours);
    EXPECT_EQ(banc.ui.pointeurCourant, pointeur::normal);
    EXPECT_TRUE(f->isEnabled());
}

TEST_F(MenuBGen, QuestionNonNEnvoieRien)
{
    brancher();
    for (const bool modifie : {false, true}) {
        ouvrir();
        partParamsModifies[6] = true;
        menuBGenModifie = modifie;
        banc.ui.reponses = {msg::non};
        marquer();
        m()->ExitBtn_Click();
        EXPECT_TRUE(lignes().isEmpty());
        EXPECT_TRUE(partParamsModifies[6]);
        // Unsent general edits keep the general part held.
        EXPECT_EQ(menuBGenCharge, modifie);
        EXPECT_FALSE(m()->isVisible());
        EXPECT_FALSE(travailEnCours);
    }
}

TEST_F(MenuBGen, SilenceDuChienDeGardeFermeSansQuestion)
{
    brancher();
    ouvrir();
    partParamsModifies[3] = true;
    f->setTimer1Enabled(true);   // as after a save
    banc.sim.silence = true;
    banc.horloge.avancer(6.0);
    EXPECT_FALSE(m()->isVisible());
    EXPECT_TRUE(banc.ui.messages.empty());
    EXPECT_FALSE(f->onLineChk());
    EXPECT_TRUE(f->isEnabled());
}

TEST_F(MenuBGen, ProgrammationPartitionPendantUneSonde)
{
    brancher();
    ouvrir();
    FenetreFactice partitions(numeroFenetre::menuBP);
    banc.sim.partition = 5;
    f->setTimer1Enabled(true);
    banc.sim.delaiReponse = 0.5;   // the probe waits half a second
    bool clique = false;
    banc.horloge.surEvenements = [&] {
        if (!clique && f->sondeEnCours()) {
            clique = true;
            m()->progGammeBtn_Click();
        }
    };
    marquer();
    banc.horloge.avancer(2.6);
    banc.horloge.surEvenements = nullptr;
    ASSERT_TRUE(clique);
    EXPECT_TRUE(lignes().contains("NG"));
    EXPECT_EQ(partitionCourante, 5);
    EXPECT_TRUE(partitions.isVisible());
    EXPECT_FALSE(m()->isEnabled());
    banc.horloge.avancer(6.0);
    EXPECT_TRUE(f->onLineChk());
    partitions.decharger();
    traiter();
    EXPECT_TRUE(m()->isEnabled());
}

// The converter falls silent during a command: the program goes off line and
// the window, busy then, closes once the command has returned.
class CommandeLiaisonPerdue : public MenuBGen, public ::testing::WithParamInterface<int> {};

TEST_P(CommandeLiaisonPerdue, FermeLaFenetre)
{
    brancher();
    ouvrir();
    for (int i = 0; i < 64; ++i) partParamsCharges[i] = partNemaCharges[i] = true;
    banc.sim.script = [&](const QString& l) -> std::optional<QByteArray> {
        if (l == "Ur" || l == "NG") banc.sim.silence = true;
        return std::nullopt;
    };
    banc.ui.reponses = {msg::non};
    banc.ui.fichiers = {chemin("a.mnc")};
    const std::array<void (menuBGen::*)(), 3> commandes = {&menuBGen::downBtn_Click, &menuBGen::downAsIsBtn_Click,
                                                          &menuBGen::saveBtn_Click};
    const int beeps = banc.ui.beeps;
    (m()->*commandes[GetParam()])();
    banc.sim.script = nullptr;
    // The close follows once the command has returned.
    banc.horloge.avancer(0.1);
    // The save says that nothing was saved (No: nor the PC's data).
    const bool sauvegarde = GetParam() == 2;
    ASSERT_EQ(banc.ui.messages.size(), sauvegarde ? 1u : 0u);
    if (sauvegarde) EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::liaisonPerdueRienSauve));
    EXPECT_FALSE(QFile::exists(chemin("a.mnc")));
    EXPECT_FALSE(f->onLineChk());
    EXPECT_FALSE(m()->isVisible());
    EXPECT_TRUE(f->isEnabled());
    EXPECT_FALSE(travailEnCours);
    EXPECT_EQ(banc.ui.pointeurCourant, pointeur::normal);
    EXPECT_EQ(banc.ui.beeps, beeps);   // the cut download does not sound done

    // Opened again off line: no control keeps the state the command left.
    ouvrir();
    ASSERT_TRUE(m()->isVisible());
    for (const char* n : {"tempoDtoFr", "tempoDtoChk(0)", "tempoDtoChk(1)", "verrClefFr", "verrClefChk(1)", "startStopFr",
                          "editTxtUres", "saveBtn", "openBtn", "printBtn", "progGammeBtn", "ExitBtn"})
        EXPECT_TRUE(m()->controle(QString::fromLatin1(n))->isEnabled()) << n;
}

namespace {
std::string nomCommande(const ::testing::TestParamInfo<int>& i)
{
    const char* noms[] = {"download", "fullDownload", "save"};
    return noms[i.param];
}
}

INSTANTIATE_TEST_SUITE_P(Commandes, CommandeLiaisonPerdue, ::testing::Values(0, 1, 2), nomCommande);
