// Password form through the main window's menu buttons, and zelto.psw.

#include "fixture.h"

#include "files/fichierpsw.h"
#include "menus/fenetremenubgen.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QApplication>
#include <QTest>

namespace {
void perdreFocus(QWidget* champ)
{
    QFocusEvent e(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(champ, &e);
}
}

TEST_F(Appli, PremierUsageMotDePasseParDefaut)
{
    demarrer();
    pendantModal([&] {
        passform* p = f->formulaireMotDePasse();
        p->editTxt[0]->setText(QStringLiteral("pirudo"));
        p->enterBtn_Click();
    });
    f->mnBBtn->click();
    EXPECT_TRUE(passwordOk);
    EXPECT_EQ(lireOctets(chemin("zelto.psw")), QByteArray("\"pirudo\"\r\n"));
    EXPECT_TRUE(banc.ui.messages.empty());
    // Menu B general opens over the disabled main window, which comes back on its exit.
    EXPECT_TRUE(f->fenetreMenuBGen()->isVisible());
    EXPECT_FALSE(f->isEnabled());
    f->fenetreMenuBGen()->ExitBtn_Click();
    EXPECT_TRUE(f->isEnabled());
    EXPECT_TRUE(f->mnBBtn->isEnabled());
    // Never asked again in this run.
    f->mnCBtn->click();
    EXPECT_FALSE(f->formulaireMotDePasse()->isVisible());
}

TEST_F(Appli, MotDePasseFauxPuisMaitre)
{
    demarrer();
    pendantModal([&] {
        passform* p = f->formulaireMotDePasse();
        p->editTxt[0]->setText(QStringLiteral("PIRUDO"));
        p->enterBtn_Click();
        EXPECT_TRUE(p->editTxt[0]->text().isEmpty());
        EXPECT_TRUE(p->isVisible());
        EXPECT_FALSE(passwordOk);
        p->editTxt[0]->setText(QStringLiteral("@ui@"));
        perdreFocus(p->editTxt[0]);   // Enter in the field: the check runs on the focus change
    });
    f->mnABtn->setEnabled(true);
    f->mnABtn->click();
    EXPECT_TRUE(passwordOk);
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::motDePasseErrone));
    EXPECT_EQ(banc.ui.messages[0].titre, QStringLiteral("Message"));
    EXPECT_EQ(banc.ui.messages[0].icone(), msg::exclamation);
}

TEST_F(Appli, AnnulerLaisseLeMotDePasseRefuse)
{
    demarrer();
    pendantModal([&] { f->formulaireMotDePasse()->cancelBtn_Click(); });
    f->mnCBtn->click();
    EXPECT_FALSE(passwordOk);
    EXPECT_TRUE(f->isEnabled());
}

TEST_F(Appli, ChangementDeMotDePasse)
{
    demarrer();
    int hauteurAvant = 0;
    int hauteurApres = 0;
    pendantModal([&] {
        passform* p = f->formulaireMotDePasse();
        hauteurAvant = p->hauteurTwips();
        p->newBtn_Click();
        EXPECT_FALSE(p->newBtn->isEnabled());
        EXPECT_FALSE(p->editTxt[1]->isHidden());
        p->editTxt[0]->setText(QStringLiteral("pirudo"));
        p->editTxt[1]->setText(QStringLiteral("abc12"));
        perdreFocus(p->editTxt[1]);   // the confirm step
        hauteurApres = p->hauteurTwips();
        EXPECT_FALSE(p->editTxt[2]->isHidden());
        EXPECT_EQ(p->topBoutonsTwips(), 1605);
        p->editTxt[2]->setText(QStringLiteral("abc13"));
        p->enterBtn_Click();
        EXPECT_TRUE(p->isVisible());
        EXPECT_TRUE(p->editTxt[2]->text().isEmpty());
        p->editTxt[2]->setText(QStringLiteral("abc12"));
        p->enterBtn_Click();
    });
    f->mnBBtn->click();
    EXPECT_EQ(hauteurAvant, passform::hauteurNormale);
    EXPECT_EQ(hauteurApres, passform::hauteurConfirmation);
    EXPECT_TRUE(passwordOk);
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::confirmerNouveauMotDePasse));
    EXPECT_EQ(banc.ui.messages[0].icone(), msg::information);
    EXPECT_EQ(banc.ui.messages[0].titre, QStringLiteral("Message"));
    EXPECT_EQ(lireOctets(chemin("zelto.psw")), QByteArray("\"abc12\"\r\n"));
}

TEST_F(Appli, ChangementAvecAncienMotDePasseFaux)
{
    ecrireOctets(chemin("zelto.psw"), "\"secret\"\r\n");
    demarrer();
    pendantModal([&] {
        passform* p = f->formulaireMotDePasse();
        p->newBtn_Click();
        p->editTxt[0]->setText(QStringLiteral("pirudo"));
        p->editTxt[1]->setText(QStringLiteral("neuf"));
        p->editTxt[2]->setText(QStringLiteral("neuf"));
        p->enterBtn_Click();
        EXPECT_TRUE(p->editTxt[0]->text().isEmpty());
        EXPECT_TRUE(p->editTxt[1]->text().isEmpty());
        p->cancelBtn_Click();
    });
    f->mnBBtn->click();
    EXPECT_FALSE(passwordOk);
    EXPECT_EQ(lireOctets(chemin("zelto.psw")), QByteArray("\"secret\"\r\n"));
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::motDePasseErrone));
}

TEST_F(Appli, EntreeDansLeChampLanceLaVerification)
{
    demarrer();
    bool focusDansLeChamp = false;
    pendantModal([&] {
        passform* p = f->formulaireMotDePasse();
        QApplication::setActiveWindow(p);
        p->editTxt[0]->setFocus(Qt::OtherFocusReason);
        focusDansLeChamp = p->editTxt[0]->hasFocus();
        QTest::keyClicks(p->editTxt[0], QStringLiteral("@ui@"));
        // Enter moves the focus on; leaving the field runs the check.
        QTest::keyClick(p->editTxt[0], Qt::Key_Return);
        if (p->isVisible()) p->cancelBtn_Click();
    });
    f->mnBBtn->click();
    ASSERT_TRUE(focusDansLeChamp);
    EXPECT_TRUE(passwordOk);
    EXPECT_TRUE(banc.ui.messages.empty());
}

// Each field takes six characters at most and shows "*" for each.
TEST_F(Appli, ChampsMasquesParEtoilesSixCaracteres)
{
    demarrer();
    QStringList affiches;
    QStringList textes;
    pendantModal([&] {
        passform* p = f->formulaireMotDePasse();
        p->newBtn_Click();
        for (QLineEdit* e : p->editTxt) {
            e->setText(QStringLiteral("abcdefgh"));
            affiches << e->displayText();
            textes << e->text();
        }
        p->cancelBtn_Click();
    });
    f->mnBBtn->click();
    EXPECT_EQ(affiches, QStringList({"******", "******", "******"}));
    EXPECT_EQ(textes, QStringList({"abcdef", "abcdef", "abcdef"}));
}

TEST_F(Appli, RetourDuMotDePasseActiveLaFenetrePrincipale)
{
    demarrer();
    // A later activation disables the menu A button off line.
    f->mnABtn->setEnabled(true);
    pendantModal([&] { f->formulaireMotDePasse()->cancelBtn_Click(); });
    f->mnBBtn->click();
    banc.horloge.avancer(0.1);
    EXPECT_FALSE(passwordOk);
    EXPECT_FALSE(f->mnABtn->isEnabled());
}
