#include "printw.h"

#include "link/fenetreprincipale.h"
#include "model/etat.h"
#include "model/vues.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "widgets/fenetres.h"
#include "widgets/groupeoptions.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

printW::printW(QWidget* parent) : FenetreZelto(numeroFenetre::printW, parent)
{
    setObjectName(QStringLiteral("printW"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
    auto* centre = new QWidget(this);
    setCentralWidget(centre);
    auto* l = new QVBoxLayout(centre);

    Frame1 = new QGroupBox(centre);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* lOptions = new QVBoxLayout(Frame1);
    options_ = new GroupeOptions(this, false);   // no focus colours here
    for (int i = 0; i < 2; ++i) {
        printChk[i] = new QRadioButton(Frame1);
        printChk[i]->setObjectName(element(QStringLiteral("printChk"), i));
        lOptions->addWidget(printChk[i]);
        options_->ajouter(printChk[i], i);
    }
    l->addWidget(Frame1);

    auto* lBoutons = new QHBoxLayout;
    okBtn = creerBouton(centre, QStringLiteral("okBtn"), [this] { okBtn_Click(); });
    ExitBtn = creerBouton(centre, QStringLiteral("ExitBtn"), [this] { ExitBtn_Click(); });
    lBoutons->addWidget(okBtn);
    lBoutons->addWidget(ExitBtn);
    l->addLayout(lBoutons);
    setMinimumWidth(twipsVersPixels(3600));
}

void printW::Form_Load()
{
    choixImpression = 0;
    confirme_ = false;
    setWindowTitle(texteChaine(ids::titreImpression));
    printChk[0]->setText(texteChaine(ids::impressionDonneesPc));
    printChk[1]->setText(texteChaine(ids::impressionDonneesZelto));
    okBtn->setText(texteChaine(ids::ok));
    ExitBtn->setText(texteChaine(ids::quitter));
    printChk[1]->setEnabled(enLigne());
    options_->selectionner(0);
    placerFenetre(numeroFenetre::printW, this);
}

bool printW::donneesPc() const
{
    return options_->selection() != 1;
}

void printW::okBtn_Click()
{
    choixImpression = 0;
    confirme_ = true;
    hide();
}

void printW::ExitBtn_Click()
{
    choixImpression = 10;
    hide();
}

void printW::Form_QueryUnload(bool& Cancel, int UnloadMode)
{
    // The close box cancels the print; the opener unloads the window.
    if (UnloadMode == modeFermeture::vbFormControlMenu) {
        Cancel = true;
        ExitBtn_Click();
    }
}

void printW::Form_Unload(bool&)
{
    memoriserPosition(numeroFenetre::printW, this);
}
