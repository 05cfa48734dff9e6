// The new-setpoint dialog and menu D, opened from the working display.

#include "fixture_start.h"

#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "sim/entreessysteme.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

TEST_F(Start, ConsigneEnRpmSansDecimales)
{
    banc.sim.fixer("UF", "1");
    ouvrir();
    ms()->newConsBtn->click();
    QString indication, texte, unite;
    int beeps = 0;
    pendantDialogue([&] {
        newFreqW* d = nf();
        unite = d->Label[1]->text();
        const int avant = banc.ui.beeps;
        saisir(d->editTxt, "1.5");
        beeps = banc.ui.beeps - avant;
        texte = d->editTxt->text();
        indication = d->panneau1()->text();
        valider(d->editTxt);
    });
    banc.horloge.avancer(2.0);
    EXPECT_EQ(unite, "[" + texteChaine(ids::rpm) + "]");
    EXPECT_EQ(indication, texteChaine(ids::limites) + " 0...1500 t/min");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(texte, QStringLiteral("15"));
    EXPECT_EQ(banc.sim.commandes, QStringList{"$F15"});
}

TEST_F(Start, ConsigneVersion15ArrondieEtCaseDeFermeture)
{
    banc.sim.version = "15A";
    banc.sim.fixer("FT", "49.5");
    ouvrir();
    ms()->newConsBtn->click();
    QString initial;
    int longueur = 0, beeps = 0;
    pendantDialogue([&] {
        newFreqW* d = nf();
        initial = d->editTxt->text();
        const int avant = banc.ui.beeps;
        saisir(d->editTxt, "75.");
        beeps = banc.ui.beeps - avant;
        longueur = d->editTxt->maxLength();
        d->close();
    });
    banc.horloge.avancer(2.0);
    EXPECT_EQ(initial, QStringLiteral("50"));
    EXPECT_EQ(longueur, 6);
    EXPECT_EQ(beeps, 1);
    // Closed without its field being left: the present setpoint goes again.
    EXPECT_EQ(banc.sim.commandes, QStringList{"$F49.5"});
    EXPECT_TRUE(banc.ui.messages.empty());
    EXPECT_TRUE(ms()->TimerStart->enabled());
}

// Each showing of the dialog, by the button or its mnemonic, starts in the
// field with its whole text selected: what is typed goes out.
class ConsigneRouverte : public Start, public ::testing::WithParamInterface<bool> {};

TEST_P(ConsigneRouverte, ChaqueSaisieEnvoyee)
{
    banc.sim.fixer("FT", "50");
    ouvrir();
    const QString texte = ms()->newConsBtn->text();
    const auto lettre = Qt::Key(texte.at(texte.indexOf(u'&') + 1).toUpper().unicode());
    for (const char* valeur : {"45", "30"}) {
        for (int i = 0; i < 50 && !ms()->newConsBtn->isEnabled(); ++i) banc.horloge.avancer(0.1);
        if (GetParam()) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(ms()));
            QTest::keyClick(ms(), lettre, Qt::AltModifier);
            // The mnemonic clicks once the button's press has shown.
            QTest::qWait(150);
        } else {
            ms()->newConsBtn->click();
        }
        pendantDialogue([&, valeur] {
            for (int i = 0; i < 50 && QApplication::activeWindow() != nf(); ++i) evenements();
            // Typed as a user types, into whatever has the focus.
            if (QWidget* focus = QApplication::focusWidget()) {
                QTest::keyClicks(focus, valeur);
                QTest::keyClick(focus, Qt::Key_Return);
                evenements();
            }
            if (nf()->isVisible()) nf()->close();
        });
        banc.horloge.avancer(2.0);
    }
    EXPECT_EQ(banc.sim.commandes, QStringList({"$F45", "$F30"}));
    EXPECT_TRUE(banc.ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Start, ConsigneRouverte, ::testing::Bool(),
                         [](const auto& i) { return i.param ? "mnemonique" : "clic"; });

TEST_F(Start, ConsigneParBornierRefusee)
{
    ouvrir([] {});
    ms()->origCons = 1;
    ms()->newConsBtn_Click();
    banc.horloge.avancer(1.0);
    ASSERT_EQ(banc.ui.messages.size(), 1u);
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::consigneParBornier));
    EXPECT_EQ(banc.ui.messages[0].icone(), msg::information);
    EXPECT_TRUE(banc.sim.commandes.isEmpty());
    EXPECT_FALSE(nf()->isVisible());
    EXPECT_TRUE(ms()->TimerStart->enabled());
}

// Menu D: each accepted change is stored and sent at once, nothing else.
TEST_F(Start, MenuDEnvoisLimitesEtReprise)
{
    banc.sim.fixer("IN", "20");
    ouvrir();
    ms()->menuDBtn->click();
    QStringList envoyes;
    QString indicationTacc, indicationRefus, indicationPerm, indicationPermExacte;
    std::vector<QString> refus;
    bool vueDuranteOuverture = false;
    pendantMenuD([&] {
        menuD* d = md();
        vueDuranteOuverture = vues().menuD == d;
        EXPECT_FALSE(ms()->TimerStart->enabled());
        const int n = banc.sim.journal.size();
        auto champ = [&](const char* nom) { return d->champNomme(QLatin1String(nom)); };

        saisir(champ("editTxtCrtFcc"), "12.5");
        valider(champ("editTxtCrtFcc"));
        EXPECT_EQ(parametresPartitions[31][1].texte(), QStringLiteral("12.50"));
        EXPECT_EQ(champ("editTxtCrtFcc")->text(), QStringLiteral("12.50"));

        saisir(champ("editTxtFiltre"), "0");
        valider(champ("editTxtFiltre"));

        // Unchanged, and 5 where 5.00 shows: nothing.
        saisir(champ("editTxtSBF"), champ("editTxtSBF")->text());
        valider(champ("editTxtSBF"));
        saisir(champ("editTxtTdec"), "5");
        valider(champ("editTxtTdec"));
        EXPECT_EQ(champ("editTxtTdec")->text(), QStringLiteral("5.00"));

        // Acceleration time 5: 4.99 refused by a click into the DC braking
        // time, whose hint the pointer showed on its way.
        saisir(champ("editTxtTacc"), "4.99");
        indicationTacc = d->panneau1()->text();
        systeme::cliquer(champ("editTxtDurFcc"));
        evenements();
        indicationRefus = d->panneau1()->text();
        EXPECT_EQ(QApplication::focusWidget(), champ("editTxtTacc"));
        saisir(champ("editTxtTacc"), "5");
        valider(champ("editTxtTacc"));
        // Acceleration time 1.005, shown 1.01: 1 refused.
        parametresPartitions[8][1] = 1.005;
        saisir(champ("editTxtTacc"), "1");
        valider(champ("editTxtTacc"));
        saisir(champ("editTxtTacc"), "1.01");
        valider(champ("editTxtTacc"));

        // Motor current 12.5: at most 2.5.
        parametresPartitions[3][1] = 12.5;
        saisir(champ("editTxtCrtFccPerm"), "2.51");
        valider(champ("editTxtCrtFccPerm"));
        saisir(champ("editTxtCrtFccPerm"), "2.5");
        indicationPerm = d->panneau1()->text();
        valider(champ("editTxtCrtFccPerm"));

        // Motor current 12.53: at most 2.506 exactly, and 2.506 goes out
        // within it.
        parametresPartitions[3][1] = 12.53;
        saisir(champ("editTxtCrtFccPerm"), "2.51");
        indicationPermExacte = d->panneau1()->text();
        valider(champ("editTxtCrtFccPerm"));
        saisir(champ("editTxtCrtFccPerm"), "1");
        valider(champ("editTxtCrtFccPerm"));
        saisir(champ("editTxtCrtFccPerm"), "2.506");
        valider(champ("editTxtCrtFccPerm"));

        d->mcmChk[2]->click();
        EXPECT_TRUE(champ("editTxtMcm1")->isVisible());
        EXPECT_FALSE(d->Label[12]->isVisible());
        d->mcmChk[2]->click();
        d->mcmChk[3]->click();
        EXPECT_FALSE(champ("editTxtMcm1")->isVisible());
        for (const MessageVu& m : banc.ui.messages) refus.push_back(m.texte);
        envoyes = banc.sim.journal.mid(n);

        // Exit clicked while a value goes out: a beep, menu D stays.
        bool essaye = false;
        banc.horloge.surEvenements = [&] {
            if (essaye || !liaisonOccupee()) return;
            essaye = true;
            d->ExitBtn->click();
        };
        d->mcmChk[2]->click();
        banc.horloge.surEvenements = {};
        EXPECT_TRUE(essaye);
        EXPECT_EQ(banc.ui.beeps, 1);
        EXPECT_TRUE(d->isVisible());
        d->ExitBtn->click();
    });
    banc.horloge.avancer(0.6);
    EXPECT_TRUE(vueDuranteOuverture);
    EXPECT_EQ(envoyes, QStringList({"$cf12.50", "$fc0", "$tu1.01", "$cp2.50", "$cp1.00", "$cp2.50", "$MC2", "$MC3"}));
    EXPECT_EQ(banc.sim.valeur("Ic"), QStringLiteral("12.50"));
    EXPECT_EQ(indicationTacc, texteChaine(ids::valeurEntre) + "5.00...250 s");
    EXPECT_EQ(indicationRefus, indicationTacc);
    EXPECT_EQ(indicationPerm, texteChaine(ids::valeurEntre) + " 0...2.5 A");
    EXPECT_EQ(indicationPermExacte, texteChaine(ids::valeurEntre) + " 0...2.506 A");
    EXPECT_EQ(refus, std::vector<QString>(4, texteChaine(ids::horsLimites)));
    EXPECT_EQ(vues().menuD, nullptr);
    EXPECT_FALSE(md()->isVisible());
    // Nothing marked modified; the poll resumes.
    EXPECT_FALSE(partParamsModifies[0]);
    EXPECT_FALSE(menuBGenModifie);
    EXPECT_TRUE(ms()->TimerStart->enabled());
    const QStringList suite = pendant(1.5);
    EXPECT_TRUE(suite.contains("FT"));
    EXPECT_TRUE(suite.contains("AN"));
}

// A shown MCM current longer than the typing limit ("150.25", 5 characters
// typed at most) stays whole when its field takes the focus.
TEST_F(Start, MenuDValeurLongueGardeeAuFocus)
{
    ouvrir();
    ms()->menuDBtn->click();
    QString apresFocus;
    pendantMenuD([&] {
        menuD* d = md();
        d->mcmChk[0]->click();
        QLineEdit* mcm = d->champNomme(QStringLiteral("editTxtMcm1"));
        mcm->setText(QStringLiteral("150.25"));
        saisir(mcm, QString());
        apresFocus = mcm->text();
        d->ExitBtn->click();
    });
    banc.horloge.avancer(0.6);
    EXPECT_EQ(apresFocus, QStringLiteral("150.25"));
}

TEST_F(Start, MenuDAvantVersion16SourceFigee)
{
    banc.sim.version = "15A";
    banc.sim.fixer("PC", "1");
    ouvrir();
    ms()->menuDBtn->click();
    bool actif = true, choisi = false;
    pendantMenuD([&] {
        actif = md()->origConsChk[0]->isEnabled() || md()->origConsFr->isEnabled();
        choisi = md()->origConsChk[1]->isChecked();
        md()->close();
    });
    banc.horloge.avancer(1.0);
    EXPECT_FALSE(actif);
    EXPECT_TRUE(choisi);
    EXPECT_TRUE(banc.sim.commandes.isEmpty());
    // Closed without Exit: the activation starts the poll again.
    EXPECT_TRUE(ms()->TimerStart->enabled());
    EXPECT_TRUE(pendant(1.5).contains("FT"));
}
