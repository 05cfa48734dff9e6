// The core's view of a window by control names, the shared button and the
// busy close refusal.
#include "model/etat.h"
#include "model/vues.h"
#include "sim/bancessai.h"
#include "widgets/controlesnommes.h"
#include "widgets/fenetres.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class VueEssai : public FenetreVue<IVue> {
public:
    VueEssai() : FenetreVue(99)
    {
        setObjectName(QStringLiteral("vueEssai"));
        auto* centre = new QWidget(this);
        setCentralWidget(centre);
        nommer(new QLineEdit(centre), "editTxt");
        nommer(new QLabel(centre), "Label(3)");
        nommer(new QRadioButton(centre), "opt(1)");
        auto* cadre = nommer(new QGroupBox(centre), "Frame1");
        nommer(new QPushButton(cadre), "okBtn");
        nommer(new QWidget(centre), "fond");
    }
    void selectionnerOption(const QString&, int) override {}
    bool optionSelectionnee(const QString&, int) const override { return false; }

private:
    template <class W>
    W* nommer(W* w, const char* nom)
    {
        w->setObjectName(QLatin1String(nom));
        return w;
    }
};

TEST(ControlesNommes, texteEtatEtStatutParNom)
{
    VueEssai v;
    IVue& vue = v;
    for (const char* nom : {"editTxt", "Label(3)", "opt(1)", "Frame1", "okBtn"}) {
        SCOPED_TRACE(nom);
        vue.setTexte(QLatin1String(nom), QStringLiteral("12,50"));
        EXPECT_EQ(vue.texte(QLatin1String(nom)), QStringLiteral("12,50"));
        vue.setEnabled(QLatin1String(nom), false);
        EXPECT_FALSE(v.findChild<QWidget*>(QLatin1String(nom))->isEnabled());
        vue.setVisible(QLatin1String(nom), false);
        EXPECT_TRUE(v.findChild<QWidget*>(QLatin1String(nom))->isHidden());
    }
    EXPECT_EQ(v.findChild<QGroupBox*>(QStringLiteral("Frame1"))->title(), QStringLiteral("12,50"));
    vue.setTexteStatut(QStringLiteral("1 ... 64"));
    EXPECT_EQ(v.panneau1()->text(), QStringLiteral("1 ... 64"));
    // The window itself answers to its own name.
    vue.setEnabled(QStringLiteral("vueEssai"), false);
    EXPECT_FALSE(v.isEnabled());
}

TEST(ControlesNommesDeathTest, nomInconnuOuControleSansTexteArrete)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            VueEssai v;
            v.setTexte(QStringLiteral("editTxt(1)"), QString());
        },
        "no control named editTxt\\(1\\)");
    EXPECT_DEATH(
        {
            VueEssai v;
            v.texte(QStringLiteral("fond"));
        },
        "fond holds no text");
}

TEST(ControlesNommes, boutonNommeEtFermetureRefuseeEnTravail)
{
    BancEssai banc;
    QWidget parent;
    int clics = 0;
    QPushButton* b = creerBouton(&parent, QStringLiteral("okBtn"), [&] { ++clics; });
    EXPECT_EQ(b->objectName(), QStringLiteral("okBtn"));
    EXPECT_FALSE(b->autoDefault());
    EXPECT_FALSE(b->isDefault());
    b->click();
    EXPECT_EQ(clics, 1);

    for (bool occupe : {false, true}) {
        travailEnCours = occupe;
        bool cancel = false;
        EXPECT_EQ(refuserSiOccupe(cancel), occupe);
        EXPECT_EQ(cancel, occupe);
    }
    EXPECT_EQ(banc.ui.beeps, 1);
    travailEnCours = false;
}

}
