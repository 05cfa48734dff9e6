// The U/F window: reads on activation, the correction and its end, the
// normalisation, the partition check, the point fields and the chart.
#include "banc_uf.h"

#include "resources/idschaines.h"

#include <QTest>
#include <QTimer>

namespace {
using Points = std::vector<std::pair<int, int>>;

// Blue line ends of the chart, in drawing order.
std::vector<QPoint> sommetsBleus(const SurfaceGraphe& s)
{
    std::vector<QPoint> r;
    for (const TraceGraphe& t : s.traces())
        if (!t.estTexte && t.couleur == QColor(0, 0, 255)) r.push_back(t.b);
    return r;
}
QStringList textes(const SurfaceGraphe& s)
{
    QStringList r;
    for (const TraceGraphe& t : s.traces())
        if (t.estTexte) r << t.texte;
    return r;
}
}

TEST_F(BancUF, activationLitLesPointsUneSeuleFois)
{
    origPartExterne = true;
    banc.sim.points[5] = {{100, 10}, {50, 5}, {90, 40}, {110, 30}};
    // The user switches windows and closes this one during the read.
    banc.sim.script = [this](const QString& ligne) -> std::optional<QByteArray> {
        if (ligne == "NM")
            QTimer::singleShot(0, [this] {
                SuiviActivation::oublier();
                QEvent activation(QEvent::WindowActivate);
                QApplication::sendEvent(uf.get(), &activation);
                uf->close();
            });
        return std::nullopt;
    };
    progNema& w = ouvrirUF(5);
    banc.sim.script = nullptr;
    EXPECT_EQ(banc.sim.journal, QStringList({"$pg0", "pg", "$ng5", "NG", "NM"}));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(banc.ui.beeps, 1);
    // Normalised on reading: one point left, nothing marked changed.
    EXPECT_EQ(points(5), Points({{100, 10}}));
    EXPECT_TRUE(partNemaCharges[4]);
    EXPECT_FALSE(partNemaModifies[4]);
    EXPECT_FALSE(travailEnCours);
    EXPECT_EQ(w.editTxtNumGamme->text(), "5");
    EXPECT_TRUE(w.downBtn->isEnabled());

    SuiviActivation::oublier();
    w.activer();
    traiter();
    EXPECT_EQ(banc.sim.journal.size(), 5);
}

TEST_F(BancUF, horsLigneRienNEstEnvoyeEtUneCorrectionEstTenue)
{
    banc.principale.enLigne = false;
    fixerPoints(4, {{100, 20}});
    progNema& w = ouvrirUF(4);
    EXPECT_FALSE(w.downBtn->isEnabled());
    EXPECT_EQ(w.editTxt[0]->text(), "100");
    w.corrBtn_Click();
    w.editTxt[0]->setText("120");
    w.terminerBtn_Click();
    EXPECT_FALSE(w.downBtn->isEnabled());
    EXPECT_TRUE(partNemaModifies[3]);
    // Back on line the corrected points are not read over.
    banc.principale.enLigne = true;
    SuiviActivation::oublier();
    w.activer();
    traiter();
    EXPECT_TRUE(banc.sim.journal.isEmpty());
}

TEST_F(BancUF, finDeCorrectionNormaliseEtControleLaPartition)
{
    struct Cas {
        Points saisis;
        Points attendus;
        int messages;
    };
    const Cas cas[] = {
        {{{100, 10}, {200, 40}, {150, 30}, {300, 50}}, {{100, 10}, {200, 40}, {300, 50}}, 0},
        {{{100, 10}, {200, 20}, {150, 25}, {200, 20}}, {{100, 10}, {200, 20}, {200, 20}}, 1},
        {{{100, 10}, {200, 40}, {200, 40}, {300, 60}}, {{100, 10}, {200, 40}, {300, 60}}, 0},
        {{{100, 10}, {50, 5}, {90, 40}, {110, 30}}, {{100, 10}}, 1},
        {{}, {{0, 0}}, 1},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.saisis.size());
        partNemaCharges[1] = true;
        for (int r = 11; r <= 21; ++r) parametresPartitions[r][2] = 0;
        parametresPartitions[11][2] = QStringLiteral("50.00");   // equal to the end: stays
        parametresPartitions[13][2] = 12;
        progNema& w = ouvrirUF(2);
        w.corrBtn_Click();
        for (QLineEdit* e : w.editTxt) e->clear();
        for (std::size_t j = 0; j < c.saisis.size(); ++j) {
            w.editTxt[2 * j]->setText(QString::number(c.saisis[j].first));
            w.editTxt[2 * j + 1]->setText(QString::number(c.saisis[j].second));
        }
        banc.ui.messages.clear();
        w.terminerBtn_Click();
        EXPECT_EQ(points(2), c.attendus);
        EXPECT_EQ(pointsNema[2][2 * int(c.attendus.size())].entier(), 0);
        EXPECT_TRUE(partNemaModifies[1]);
        EXPECT_EQ(int(banc.ui.messages.size()), c.messages);
        const double fin = c.attendus.back().second;
        EXPECT_EQ(parametresPartitions[11][2].nombre(), fin >= 50 ? 50 : 0);
        EXPECT_EQ(parametresPartitions[13][2].nombre(), fin >= 12 ? 12 : 0);
        EXPECT_FALSE(w.editTxt[0]->isEnabled());
        EXPECT_TRUE(w.grapheBtn->isEnabled());
        EXPECT_FALSE(travailEnCours);
        EXPECT_TRUE(w.decharger());
    }
    ASSERT_FALSE(banc.ui.messages.empty());
    EXPECT_EQ(banc.ui.messages[0].texte, texteChaine(ids::parametresModifies));
}

TEST_F(BancUF, bandeAuDelaDeLaFinRemiseAZeroDansLeMenuBP)
{
    MenuBPFactice& bp = ouvrirMenuBP(7);
    fixerPoints(7, {{100, 10}, {380, 50}});
    partNemaCharges[6] = true;
    parametresPartitions[20][7] = 45;
    parametresPartitions[21][7] = 20;
    parametresPartitions[18][7] = 45;
    parametresPartitions[19][7] = 10;   // 45 + 5 = 50: stays
    progNema& w = ouvrirUF(7);
    w.corrBtn_Click();
    w.terminerBtn_Click();
    EXPECT_EQ(parametresPartitions[20][7].nombre(), 0);
    EXPECT_EQ(parametresPartitions[21][7].nombre(), 0);
    EXPECT_EQ(parametresPartitions[18][7].nombre(), 45);
    EXPECT_EQ(bp.texte("editTxtFi3"), "0.00");
    EXPECT_EQ(bp.texte("editTxtBi3"), "0.00");
    EXPECT_EQ(bp.texte("editTxtFi2"), "");
    EXPECT_EQ(banc.ui.messages.size(), 1u);
}

TEST_F(BancUF, champsDePointsEffacerEtSortieDuDernierChamp)
{
    banc.principale.enLigne = false;
    fixerPoints(3, {{100, 10}, {110, 15}, {120, 20}, {300, 50}});
    progNema& w = ouvrirUF(3);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.corrBtn_Click();
    EXPECT_FALSE(w.ExitBtn->isEnabled());
    w.editTxt[6]->setFocus(Qt::TabFocusReason);
    traiter();
    EXPECT_EQ(w.panneau1()->text(), "The value must be greater or equal to : 120 V");
    QTest::keyClicks(w.editTxt[6], "1234");
    EXPECT_EQ(w.editTxt[6]->text(), "123");
    for (const auto& [texte, accepte] : {std::pair{"119", false}, {"461", false}, {"120", true}}) {
        banc.ui.messages.clear();
        w.editTxt[6]->setText(QString::fromLatin1(texte));
        EXPECT_EQ(w.TXT[6]->valider(), accepte) << texte;
        EXPECT_EQ(banc.ui.messages.size(), accepte ? 0u : 1u);
    }

    w.AnnulBtn_Click();
    for (int k = 0; k < 62; ++k) EXPECT_EQ(w.editTxt[k]->text(), "0");
    EXPECT_EQ(pointsNema[3][64].entier(), 4);
    EXPECT_FALSE(w.grapheBtn->isEnabled());

    // Leaving the last frequency field ends the correction, off line too.
    w.editTxt[61]->setFocus(Qt::TabFocusReason);
    traiter();
    QTest::keyClick(w.editTxt[61], Qt::Key_Tab);
    traiter();
    EXPECT_FALSE(w.nemaCorrigee);
    EXPECT_FALSE(w.editTxt[61]->isEnabled());
    EXPECT_TRUE(w.downBtn->isEnabled());
    EXPECT_TRUE(w.AnnulBtn->isEnabled());
    EXPECT_FALSE(w.terminerBtn->isEnabled());
    EXPECT_TRUE(partNemaModifies[2]);
    // Clear, still enabled, wipes nothing once the correction has ended.
    fixerPoints(3, {{100, 10}});
    w.afficherPointsNema();
    w.AnnulBtn_Click();
    EXPECT_EQ(points(3), Points({{100, 10}}));
    EXPECT_EQ(w.editTxt[0]->text(), "100");
}

TEST_F(BancUF, fermetureRefuseeEnCorrectionGrapheCacheAuLieuDeFermer)
{
    MenuBPFactice& bp = ouvrirMenuBP(1);
    bp.QWidget::setEnabled(false);
    partNemaCharges[0] = true;
    progNema& w = ouvrirUF(1);
    w.corrBtn_Click();
    EXPECT_FALSE(w.close());
    EXPECT_EQ(banc.ui.beeps, 1);
    w.terminerBtn_Click();
    w.basculerGrapheNema(1);
    EXPECT_FALSE(w.close());
    EXPECT_FALSE(w.frameGraphe->isVisible());
    EXPECT_TRUE(w.ExitBtn->isVisible());
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(bp.isEnabled());
    EXPECT_NE(positionsFenetres[numeroFenetre::progNema].Left, 0);
}

TEST_F(BancUF, grapheEtLecturesDeLaCourbe)
{
    fixerPoints(1, {{100, 10}, {200, 30}, {380, 50}});
    partNemaCharges[0] = true;
    progNema& w = ouvrirUF(1);
    // Disabled during a correction: a press does nothing.
    w.corrBtn_Click();
    QTest::mousePress(w.grapheBtn, Qt::LeftButton);
    EXPECT_FALSE(w.frameGraphe->isVisible());
    w.terminerBtn_Click();
    QTest::mousePress(w.grapheBtn, Qt::LeftButton);
    ASSERT_TRUE(w.frameGraphe->isVisible());
    EXPECT_FALSE(w.corrBtn->isVisible());
    EXPECT_EQ(w.grapheBtn->text(), "&Exit");
    EXPECT_EQ(sommetsBleus(*w.nemaPicture),
              std::vector<QPoint>({{150, 2100}, {540, 1587}, {1320, 1074}, {2100, 150}}));
    EXPECT_EQ(textes(*w.nemaPicture),
              QStringList({"10", "76", "20", "152", "30", "228", "40", "304", "50", "380"}));

    struct Lecture {
        QLineEdit* saisie;
        const char* valeur;
        QLineEdit* lue;
        const char* attendu;
    };
    for (const Lecture& l : {Lecture{w.editTxtFs, "40", w.editTxtUs, "290"}, {w.editTxtUs, "150", w.editTxtFs, "20"},
                             {w.editTxtFs, "5", w.editTxtUs, "50"}, {w.editTxtFs, "60", w.editTxtUs, "0"}}) {
        l.saisie->setText(QString::fromLatin1(l.valeur));
        if (l.saisie == w.editTxtFs) w.lireTension();
        else w.lireFrequence();
        EXPECT_EQ(l.lue->text(), l.attendu) << l.valeur;
    }
    w.editTxtFs->setText("40");
    w.lireTension();
    w.dessinerMarqueurNema();
    EXPECT_EQ(w.nemaPicture->traces().back().a, QPoint(1710, 572));

    QTest::mousePress(w.grapheBtn, Qt::RightButton);
    EXPECT_FALSE(w.frameGraphe->isVisible());
    EXPECT_TRUE(w.corrBtn->isVisible());

    // Fs 87; a characteristic of zeros reads 0 and shows no marker.
    fixerPoints(1, {{100, 87}});
    w.basculerGrapheNema(1);
    EXPECT_EQ(textes(*w.nemaPicture).mid(0, 10),
              QStringList({"17", "20", "34", "40", "52", "60", "69", "80", "87", "100"}));
    w.basculerGrapheNema(2);
    fixerPoints(1, {});
    w.basculerGrapheNema(1);
    w.editTxtUs->setText("100");
    w.lireFrequence();
    EXPECT_EQ(w.editTxtFs->text(), "0");
    EXPECT_LT(w.xMarqueur, 0);
}

TEST_F(BancUF, apresUneCopieLaCorrectionPorteSurLaDestination)
{
    ouvrirMenuBP(3);
    fixerPoints(3, {{100, 10}, {380, 50}});
    partNemaCharges[2] = true;
    parametresPartitions[11][3] = 45;
    parametresPartitions[11][5] = 45;
    progNema& w = ouvrirUF(3);
    w.copieBtn_Click();
    traiter();
    ASSERT_TRUE(copie->isVisible());
    EXPECT_FALSE(w.isEnabled());
    copie->txtDestCopy->setText("5");
    copie->okBtn_Click();
    traiter();
    ASSERT_TRUE(w.isEnabled());
    EXPECT_EQ(w.editTxtNumGamme->text(), "5");

    w.corrBtn_Click();
    w.editTxt[3]->setText("40");
    w.terminerBtn_Click();
    EXPECT_EQ(points(5), Points({{100, 10}, {380, 40}}));
    EXPECT_EQ(points(3), Points({{100, 10}, {380, 50}}));
    EXPECT_TRUE(partNemaModifies[4]);
    EXPECT_FALSE(partNemaModifies[2]);
    EXPECT_EQ(parametresPartitions[11][5].nombre(), 0);
    EXPECT_EQ(parametresPartitions[11][3].nombre(), 45);
    EXPECT_EQ(menuBP->texte("editTxtConsDef"), "");
}
