// Settings file zelto.ini and password file zelto.psw, byte for byte.

#include "fixture.h"

#include "menus/fenetremenubgen.h"

#include "files/fichierini.h"
#include "files/fichierpsw.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "sim/disqueplein.h"

TEST_F(Appli, DemarrageSansFichierCreeLeFichierParDefaut)
{
    charger();
    EXPECT_EQ(lireOctets(chemin("zelto.ini")), iniDefaut());
    EXPECT_EQ(langueIndex, 0);
    EXPECT_EQ(codePortIni, 6);
    EXPECT_TRUE(f->langueChk[1]->isChecked());
    EXPECT_TRUE(f->offLineChk_->isChecked());
    EXPECT_FALSE(f->onLineChk());
    EXPECT_FALSE(f->startBtn->isEnabled());
    EXPECT_FALSE(f->mnABtn->isEnabled());
    EXPECT_TRUE(f->mnBBtn->isEnabled());
    EXPECT_TRUE(premierDemarrage);
}

TEST_F(Appli, FichierCourtRemplaceParLeDefaut)
{
    ecrireOctets(chemin("zelto.ini"), "26,1");   // 4 bytes
    charger();
    EXPECT_EQ(lireOctets(chemin("zelto.ini")), iniDefaut());
    EXPECT_EQ(langueIndex, 0);
}

struct CasIni {
    const char* contenu;
    int langue;
    int codePort;
    int fenetre;
    int left;
    int top;
};

class LectureIni : public ::testing::TestWithParam<CasIni> {};

TEST_P(LectureIni, Valeurs)
{
    const CasIni c = GetParam();
    BancEssai banc;
    QTemporaryDir dossier;
    definirDossierProgramme(dossier.path());
    ecrireOctets(cheminIni(), c.contenu);
    lireFichierIni();
    EXPECT_EQ(langueIndex, c.langue);
    EXPECT_EQ(codePortIni, c.codePort);
    EXPECT_EQ(positionsFenetres[c.fenetre].Left, c.left);
    EXPECT_EQ(positionsFenetres[c.fenetre].Top, c.top);
}

INSTANTIATE_TEST_SUITE_P(
    Ini, LectureIni,
    ::testing::Values(
        // English, COM1, menu A at (-120, 300).
        CasIni{"26,0,0,0,0,0,0,-120,300,0,0,", 1, 6, 4, -120, 300},
        // Five bytes are read; missing records stay at zero.
        CasIni{"48,9,", 3, 8, 1, 9, 0},
        // A line end after the last comma changes nothing.
        CasIni{"39,15,30,\r\n", 2, 9, 1, 15, 30},
        // First value out of range: French and COM1.
        CasIni{"75,1,2,", 0, 6, 1, 1, 2},
        CasIni{"15,1,2,", 0, 6, 1, 1, 2},
        CasIni{"xx,1,2,", 0, 6, 1, 1, 2},
        // A value that is not a number leaves its field; 16 bits clamp.
        CasIni{"16,abc,40000,", 0, 6, 1, 0, 32767},
        CasIni{"16,-99999,2.5,", 0, 6, 1, -32768, 2}),
    [](const auto& i) { return "cas" + std::to_string(i.index); });

TEST_F(Appli, ChoixDePortEtDeLangueReecriventLePremierNombre)
{
    demarrer();
    f->commChk[3]->click();
    QByteArray attendu = lireOctets(chemin("zelto.ini"));
    EXPECT_TRUE(attendu.startsWith("18,"));
    EXPECT_EQ(codePortIni, 8);
    f->langueChk[3]->click();
    EXPECT_TRUE(lireOctets(chemin("zelto.ini")).startsWith("38,"));
    EXPECT_EQ(langueIndex, 2);
    // Back on the main window the user's port stays selected.
    f->Form_Activate();
    EXPECT_TRUE(f->commChk[3]->isChecked());
    EXPECT_TRUE(lireOctets(chemin("zelto.ini")).startsWith("38,"));
    EXPECT_EQ(lireOctets(chemin("zelto.ini")).count(','), 27);
}

TEST_F(Appli, DossierNonInscriptibleNArretePasLeProgramme)
{
    // A folder under a plain file: nothing can be created there, even by root.
    ecrireOctets(chemin("fichier"), "x");
    f = std::make_unique<fondEcran>(banc.port, chemin("fichier") + QStringLiteral("/programme"));
    f->show();
    banc.horloge.avancer(0.1);
    EXPECT_EQ(langueIndex, 0);
    EXPECT_EQ(codePortIni, 6);
    EXPECT_TRUE(banc.ui.messages.empty());
    pendantModal([&] {
        passform* p = f->formulaireMotDePasse();
        p->editTxt[0]->setText(QStringLiteral("pirudo"));
        p->enterBtn_Click();
    });
    f->mnBBtn->click();
    EXPECT_TRUE(passwordOk);
    f->fenetreMenuBGen()->ExitBtn_Click();
    f->ExitBtn->click();
    EXPECT_EQ(banc.ui.nbTerminer, 1);
}

TEST(FichierPsw, LectureEtEcriture)
{
    BancEssai banc;
    QTemporaryDir dossier;
    definirDossierProgramme(dossier.path());
    // Missing file: created with the default password.
    EXPECT_EQ(lirePassword(), QStringLiteral("pirudo"));
    EXPECT_EQ(lireOctets(cheminPsw()), QByteArray("\"pirudo\"\r\n"));
    // A line end alone gives an empty password.
    ecrireOctets(cheminPsw(), "\r\n");
    EXPECT_EQ(lirePassword(), QString());
    // Quotes dropped, CR/LF skipped.
    ecrireOctets(cheminPsw(), "\"ab\"c\"\r\n");
    EXPECT_EQ(lirePassword(), QStringLiteral("abc"));
    EXPECT_TRUE(ecrirePassword(QStringLiteral("zz9")));
    EXPECT_EQ(lireOctets(cheminPsw()), QByteArray("\"zz9\"\r\n"));
    // Windows-1252 when the bytes are not UTF-8.
    ecrireOctets(cheminPsw(), "\"d\xe9j\x80\"\r\n");
    EXPECT_EQ(lirePassword(), QStringLiteral("d\u00e9j\u20ac"));
    ecrireOctets(cheminPsw(), "\"d\xc3\xa9j\"\r\n");
    EXPECT_EQ(lirePassword(), QStringLiteral("d\u00e9j"));
}

// A write that fails (full disk) leaves both files as they were.
TEST_F(Appli, FichiersDeReglagesIntactsApresUnEchecDEcriture)
{
    demarrer();
    ecrireOctets(chemin("zelto.psw"), "\"secret\"\r\n");
    const QByteArray ini = lireOctets(chemin("zelto.ini"));
    {
        DisquePlein plein;
        f->langueChk[3]->click();
        EXPECT_FALSE(ecrirePassword(QStringLiteral("autre")));
    }
    EXPECT_EQ(lireOctets(chemin("zelto.ini")), ini);
    EXPECT_EQ(lireOctets(chemin("zelto.psw")), QByteArray("\"secret\"\r\n"));
}

// A password change that cannot be written says so; the old password stays.
TEST_F(Appli, ChangementDeMotDePasseNonEcrit)
{
    demarrer();
    pendantModal([&] {
        passform* p = f->formulaireMotDePasse();
        p->newBtn_Click();
        p->editTxt[0]->setText(QStringLiteral("pirudo"));
        p->editTxt[1]->setText(QStringLiteral("abc12"));
        p->editTxt[1]->show();
        p->editTxt[2]->show();
        p->editTxt[2]->setText(QStringLiteral("abc12"));
        DisquePlein plein;
        p->enterBtn_Click();
    });
    f->mnBBtn->click();
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::motDePasseNonEcrit));
    EXPECT_EQ(banc.ui.messages[0].icone(), msg::exclamation);
    EXPECT_EQ(lireOctets(chemin("zelto.psw")), QByteArray("\"pirudo\"\r\n"));
    EXPECT_EQ(lirePassword(), QStringLiteral("pirudo"));
}
