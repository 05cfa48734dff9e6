// Menu B general Save and Open: file bytes, marks, the "$pg" bracket,
// failure roads.

#include "fixture_menubgen.h"

#include "model/partitions.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"

#include <QPushButton>

namespace {
// Line of the default file: blocks of 41 lines (one point) after 29 lines.
constexpr int bloc(int p) { return 29 + (p - 1) * 41; }
constexpr int debutMenuC = bloc(65);

bool aucuneMarque()
{
    for (int i = 0; i <= 64; ++i)
        if (partParamsCharges[i] || partNemaCharges[i] || partParamsModifies[i] || partNemaModifies[i]) return false;
    return true;
}
}

TEST_F(MenuBGen, SauvegardeHorsLigne)
{
    demarrer();
    ouvrir();
    // A value without a number is written as a number, never as a bare key.
    parametresPartitions[0][2] = Variant(QStringLiteral("-"));
    banc.ui.fichiers = {chemin("a.mnc")};
    m()->saveBtn_Click();
    ASSERT_EQ(banc.ui.dialoguesSauver.size(), 1u);
    const DialogueFichier& d = banc.ui.dialoguesSauver[0];
    EXPECT_EQ(d.dossierInitial, chemin("data"));
    EXPECT_EQ(d.titre, texteChaine(ids::titreSauverDonnees));
    EXPECT_EQ(d.filtre, "Text Files(*.mnc)|*.mnc");
    EXPECT_TRUE(d.confirmerEcrasement);
    const QByteArray octets = lireOctets(chemin("a.mnc"));
    EXPECT_EQ(octets.count("\r\n"), 5308);
    EXPECT_TRUE(octets.endsWith("\"$nm50\"\r\n"));
    EXPECT_EQ(octets.count("\"$pp0\""), 2);
    EXPECT_TRUE(banc.ui.messages.empty());
    EXPECT_TRUE(aucuneMarque());
    EXPECT_FALSE(menuBGenCharge);
    EXPECT_FALSE(travailEnCours);
    EXPECT_TRUE(m()->openBtn->isEnabled());
    EXPECT_TRUE(m()->isVisible());
}

TEST_F(MenuBGen, SauvegardeEnLigneEntreDeuxPg)
{
    banc.sim.fixer("pg", "1");
    brancher("12A");
    ouvrir();
    ASSERT_TRUE(origPartExterne);
    menuBGenModifie = true;
    banc.ui.fichiers = {chemin("a.mnc")};
    marquer();
    m()->saveBtn_Click();
    const QStringList l = lignes();
    ASSERT_GT(l.size(), 4);
    EXPECT_EQ(l.mid(0, 2), QStringList({"$pg0", "pg"}));
    EXPECT_EQ(l.mid(l.size() - 2), QStringList({"$pg1", "pg"}));
    EXPECT_TRUE(banc.ui.messages.empty());
    for (int i = 0; i <= 64; ++i) EXPECT_TRUE(partParamsCharges[i] && partNemaCharges[i]) << i;
    EXPECT_TRUE(menuBGenCharge && menuCCharge);
    // Nothing was sent: the edits are still to offer.
    EXPECT_TRUE(menuBGenModifie);
    EXPECT_TRUE(f->timer1Enabled());
    EXPECT_FALSE(travailEnCours);

    // A file that cannot be made: message, "$pg1" all the same, no mark.
    partParamsCharges.fill(false);
    partNemaCharges.fill(false);
    banc.ui.fichiers = {chemin("absent/x.mnc")};
    marquer();
    m()->saveBtn_Click();
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::erreurSauvegarde));
    EXPECT_EQ(banc.ui.messages[0].icone(), msg::critique);
    EXPECT_TRUE(banc.ui.messages[0].titre.isEmpty());
    EXPECT_EQ(lignes().last(), "pg");
    EXPECT_EQ(lignes().mid(lignes().size() - 2, 1), QStringList({"$pg1"}));
    EXPECT_TRUE(aucuneMarque());
    EXPECT_TRUE(f->timer1Enabled());
    EXPECT_FALSE(travailEnCours);
}

TEST_F(MenuBGen, OuvertureAncienFichierEtPointsPerimes)
{
    charger();
    QStringList l = fichierDefaut();
    l[bloc(5) + 1] = "\"$pp8\"";
    const QString ancien = ecrireLignes("ancien.mnc", l.mid(0, bloc(33)) + l.mid(debutMenuC, 21));
    f->show();
    banc.horloge.avancer(0.1);
    ouvrir();
    // Partition 7 held four points; the file gives it one.
    for (int k = 0; k < 8; ++k) pointsNema[7][k] = 10 * (k + 1);
    pointsNema[7][64] = 4;
    partParamsModifies[39] = true;
    banc.ui.fichiers = {ancien};
    m()->openBtn_Click();
    ASSERT_EQ(banc.ui.dialoguesOuvrir.size(), 1u);
    EXPECT_EQ(banc.ui.dialoguesOuvrir[0].titre, texteChaine(ids::titreOuvrirDonnees));
    EXPECT_TRUE(banc.ui.messages.empty());
    EXPECT_EQ(parametresPartitions[0][5], Variant(8));
    for (int p = 1; p <= 64; ++p) {
        const bool lue = p <= 32;
        EXPECT_EQ(partParamsCharges[p - 1] && partNemaCharges[p - 1] && partNemaModifies[p - 1], lue) << p;
        EXPECT_EQ(partParamsModifies[p - 1], lue || p == 40) << p;
    }
    for (int k = 2; k < 8; ++k) EXPECT_EQ(pointsNema[7][k].nombre(), 0) << k;
    terminerPointsNema(7);
    EXPECT_EQ(pointsNema[7][64], Variant(1));
    EXPECT_TRUE(menuBGenCharge && menuCCharge && menuBGenModifie);
    EXPECT_EQ(valeursCourantes[0].valeur.entier(), 1);
    EXPECT_FALSE(travailEnCours);
}

TEST_F(MenuBGen, FichierIllisibleNeMarqueRien)
{
    charger();
    const QStringList defaut = fichierDefaut();
    struct Cas {
        const char* nom;
        int ligne;          // line replaced, or the first line cut when remplacement is null
        const char* remplacement;
    };
    const Cas cas[] = {
        {"tronque", bloc(10) + 5, nullptr},
        {"parametre sans chiffre", bloc(2) + 1, "\"$pp\""},
        {"tension a quarante chiffres", 6 + 6, "\"$ur9999999999999999999999999999999999999999\""},
        {"relais", debutMenuC + 3, "\"$vZ6\""},
        {"comparateur", debutMenuC + 19, "\"$vc11\""},
    };
    f->show();
    banc.horloge.avancer(0.1);
    for (const Cas& c : cas) {
        ouvrir();
        choisirPartition(3);
        // The file's general part differs from the PC's.
        QStringList l = defaut;
        l[6 + 6] = "\"$ur460\"";
        if (c.remplacement) l[c.ligne] = QString::fromLatin1(c.remplacement);
        else l = l.mid(0, c.ligne);
        banc.ui.messages.clear();
        banc.ui.fichiers = {ecrireLignes("x.mnc", l)};
        m()->openBtn_Click();
        ASSERT_EQ(banc.ui.messages.size(), 1u) << c.nom;
        EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::fichierIllisible)) << c.nom;
        EXPECT_EQ(tableMenuBGen[6].valeur, Variant(400)) << c.nom;
        EXPECT_EQ(m()->editTxtUres->text(), "400") << c.nom;
        EXPECT_EQ(valeursCourantes[0].valeur.entier(), 3) << c.nom;
        EXPECT_EQ(partitionCourante, 3) << c.nom;
        EXPECT_TRUE(aucuneMarque()) << c.nom;
        EXPECT_FALSE(menuBGenCharge || menuCCharge || menuBGenModifie) << c.nom;
        EXPECT_FALSE(travailEnCours) << c.nom;
        EXPECT_TRUE(m()->saveBtn->isEnabled()) << c.nom;
        m()->ExitBtn_Click();
    }
}

TEST_F(MenuBGen, FichierOuvertHorsLignePuisTelecharge)
{
    charger();
    QStringList l = fichierDefaut();
    l[6 + 6] = "\"$ur415\"";
    const QString fichier = ecrireLignes("b.mnc", l);
    f->show();
    banc.horloge.avancer(0.1);
    ouvrir();
    banc.ui.fichiers = {fichier};
    m()->openBtn_Click();
    EXPECT_EQ(m()->editTxtUres->text(), "415");
    m()->ExitBtn_Click();
    EXPECT_TRUE(banc.ui.messages.empty());   // off line: no question

    allerEnLigne();
    marquer();
    ouvrir();
    EXPECT_TRUE(lignes().isEmpty());   // the file's general part is not read over
    m()->downBtn_Click();
    EXPECT_TRUE(lignes().contains("$ur415"));
}
