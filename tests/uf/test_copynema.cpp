// The copy dialog: destination syntax, copies in the PC, the partition
// download, openers disabled and given back.
#include "banc_uf.h"

#include "resources/idschaines.h"
#include "uf/syntaxedestination.h"

TEST(SyntaxeDestination, exemples)
{
    struct Cas {
        const char* texte;
        int nbPartitions;
        std::vector<int> attendu;
    };
    const Cas cas[] = {
        {"7", 64, {7}},
        {"0", 64, {1}},
        {"80", 64, {64}},
        {"5", 64, {}},
        {"3 7", 64, {3, 7}},
        {"10 20", 64, {10, 20}},
        {"2,4", 64, {4, 3, 2}},
        {"6,3", 64, {3, 4, 6}},
        {"1 4,8 12", 64, {1, 8, 7, 6, 4, 12}},
        {"1,3,6", 64, {6, 4, 3}},
        {"0,3", 64, {3}},
        {"1a2", 64, {12}},
        {"30,40 50", 32, {32, 31, 30, 32}},
        {"3, 5", 64, {}},   // an item without digits gives nothing
        {" 7  9", 64, {7, 9}},
        {"", 64, {1}},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(destinationsCopie(QString::fromLatin1(c.texte), 5, c.nbPartitions), c.attendu) << c.texte;
}

TEST_F(BancUF, copieDePointsTenusSansRienEnvoyer)
{
    fixerPoints(3, {{100, 10}, {200, 30}, {380, 50}});
    partNemaCharges[2] = true;
    fixerPoints(5, {{1, 50}});
    copyNema& c = ouvrirCopie(1);
    c.txtOrigCopy->setText("3");
    c.txtDestCopy->setText("5");
    c.okBtn_Click();
    EXPECT_EQ(points(5), points(3));
    EXPECT_EQ(pointsNema[5][64].entier(), 3);
    EXPECT_TRUE(partNemaCharges[4]);
    EXPECT_TRUE(partNemaModifies[4]);
    EXPECT_EQ(valeursCourantes[0].valeur.entier(), 5);
    EXPECT_TRUE(banc.sim.journal.isEmpty());
    EXPECT_TRUE(banc.ui.messages.empty());
    EXPECT_FALSE(c.isVisible());
    EXPECT_EQ(modeCopie, 0);
}

TEST_F(BancUF, copieDeParametresNonTenusDemandeConfirmation)
{
    for (const int reponse : {msg::annuler, msg::ok}) {
        for (int r = 0; r <= 37; ++r) parametresPartitions[r][8] = defParamsPartition[r].min;
        parametresPartitions[0][3] = 6;
        parametresPartitions[37][3] = 100;
        parametresPartitions[37][8] = 250;
        partParamsModifies = {};
        banc.ui.messages.clear();
        banc.ui.reponses = {reponse};
        copyNema& c = ouvrirCopie(4);
        c.txtOrigCopy->setText("3");
        c.txtDestCopy->setText("8");
        c.okBtn_Click();
        ASSERT_EQ(banc.ui.messages.size(), 1u);
        EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::parametresOrigineNonCharges));
        EXPECT_EQ(banc.ui.messages[0].style, msg::okAnnuler | 256);
        EXPECT_EQ(banc.ui.messages[0].titre, "");
        EXPECT_EQ(parametresPartitions[0][8].nombre(), reponse == msg::ok ? 6 : 2);
        EXPECT_EQ(parametresPartitions[37][8].nombre(), 250);
        EXPECT_EQ(partParamsModifies[7], reponse == msg::ok);
        EXPECT_EQ(valeursCourantes[0].valeur.entier(), 8);
    }
}

TEST_F(BancUF, telechargementDUnePartition)
{
    origPartExterne = true;
    menuBGen = std::make_unique<MenuBGenFactice>(numeroFenetre::menuBGen);
    vues().menuBGen = menuBGen.get();
    menuBGen->afficher();
    traiter();
    fixerPoints(6, {{100, 10}, {380, 50}});
    partParamsCharges[5] = partNemaCharges[5] = true;
    partParamsModifies[5] = partNemaModifies[5] = true;
    valeursCourantes[0].valeur = 6;
    copyNema& c = ouvrirCopie(3);
    EXPECT_FALSE(menuBGen->isEnabled());
    EXPECT_EQ(c.windowTitle(), "Downloads into Zelto");
    EXPECT_EQ(c.txtOrigCopy->text(), "6");
    c.okBtn_Click();

    QStringList attendu = {"$pg0", "pg", "$ng6", "NG"};
    for (int k = 0; k <= 36; ++k) {
        const int r = k == 35 ? 8 : k == 36 ? 9 : k;
        attendu << defParamsPartition[k].cle + parametresPartitions[r][6].texteFil() << defParamsPartition[k].code;
    }
    attendu << "$nm1000010" << "$nm3800050" << "$nm0000000" << "NM";
    attendu << "$pg0" << "pg" << "$ng6" << "NG" << "$pg1" << "pg";
    EXPECT_EQ(banc.sim.journal, attendu);
    EXPECT_EQ(banc.ui.beeps, 1);
    EXPECT_TRUE(banc.principale.timer1);
    EXPECT_FALSE(partParamsModifies[5]);
    EXPECT_FALSE(partNemaModifies[5]);
    EXPECT_EQ(menuBGen->statut, "Saving to Zelto - menu B, partition : 6 ...");
    EXPECT_FALSE(c.isVisible());
    traiter();
    EXPECT_TRUE(menuBGen->isEnabled());
    EXPECT_GE(menuBGen->activations, 2);

    // Points not held: warned, the parameters still go; Exit waits for the end.
    banc.sim.journal.clear();
    partNemaCharges[5] = false;
    banc.ui.messages.clear();
    banc.ui.pendantMessage = [&](const MessageVu&) { c.ExitBtn_Click(); };
    ouvrirCopie(3).okBtn_Click();
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::nemaNonCharge));
    EXPECT_EQ(banc.ui.messages[0].icone(), msg::exclamation);
    EXPECT_TRUE(banc.sim.journal.contains("$pp2"));
    EXPECT_FALSE(banc.sim.journal.contains("NM"));
    EXPECT_EQ(banc.sim.journal.last(), "pg");
    EXPECT_EQ(banc.ui.beeps, 3);
}

TEST_F(BancUF, numerosHorsLimitesEtTelechargementHorsLigne)
{
    valeursCourantes[0].valeur = 4;
    copyNema& c = ouvrirCopie(3);
    for (const char* source : {"", "0", "65", "x"}) {
        c.txtOrigCopy->setText(QString::fromLatin1(source));
        c.okBtn_Click();
        EXPECT_TRUE(c.isVisible()) << source;
    }
    nbPartitions = 32;
    c.txtOrigCopy->setText("4");
    c.txtDestCopy->setText("40");
    c.okBtn_Click();
    EXPECT_TRUE(c.isVisible());
    EXPECT_EQ(banc.ui.beeps, 5);
    EXPECT_TRUE(banc.sim.journal.isEmpty());
    // Nothing goes while another exchange holds the link.
    travailEnCours = true;
    c.txtDestCopy->setText("4");
    c.okBtn_Click();
    EXPECT_TRUE(c.isVisible());
    EXPECT_EQ(banc.ui.beeps, 6);
    EXPECT_TRUE(banc.sim.journal.isEmpty());
    travailEnCours = false;

    banc.principale.enLigne = false;
    partParamsModifies[3] = true;
    c.okBtn_Click();
    EXPECT_FALSE(c.isVisible());
    EXPECT_TRUE(partParamsModifies[3]);
    EXPECT_EQ(banc.ui.beeps, 6);
}

TEST_F(BancUF, ouvertDepuisLeMenuBPEnModeCopieDePartition)
{
    nbPartitions = 32;
    MenuBPFactice& bp = ouvrirMenuBP(9);
    const int activations = bp.activations;
    copyNema& c = ouvrirCopie(4);
    EXPECT_EQ(c.windowTitle(), "Partition copy (without NEMA)");
    EXPECT_EQ(c.txtOrigCopy->text(), "9");
    EXPECT_EQ(c.txtDestCopy->text(), "9");
    EXPECT_FALSE(c.LabelCpyNem[2]->isVisible());
    EXPECT_FALSE(bp.isEnabled());

    c.txtOrigCopy->setText("40");
    EXPECT_TRUE(c.txt1->valider());
    c.txtDestCopy->setText("40");
    EXPECT_FALSE(c.txt2->valider());
    EXPECT_EQ(banc.ui.messages.size(), 1u);

    c.ExitBtn_Click();
    EXPECT_FALSE(c.isVisible());
    EXPECT_TRUE(bp.isEnabled());
    EXPECT_EQ(modeCopie, 0);
    traiter();
    EXPECT_GT(bp.activations, activations);
}
