#include "newfreqw.h"

#include "menustart.h"

#include "model/etat.h"
#include "model/nombres.h"
#include "model/partitions.h"
#include "model/session.h"
#include "model/tables.h"
#include "platform/plateforme.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "widgets/ctextbxn.h"
#include "widgets/fenetres.h"
#include "widgets/focuschamp.h"
#include "widgets/statut.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QHBoxLayout>

newFreqW::newFreqW() : FenetreZelto(numeroFenetre::newFreqW)
{
    setObjectName(QStringLiteral("newFreqW"));
    auto* centre = new QWidget(this);
    setCentralWidget(centre);
    auto* haut = new QVBoxLayout(centre);
    Label[0] = new QLabel(centre);
    Label[0]->setObjectName(QStringLiteral("Label(0)"));
    haut->addWidget(Label[0]);
    auto* ligne = new QHBoxLayout;
    editTxt = new QLineEdit(centre);
    editTxt->setObjectName(QStringLiteral("editTxt"));
    Label[1] = new QLabel(centre);
    Label[1]->setObjectName(QStringLiteral("Label(1)"));
    okBtn = new QPushButton(QStringLiteral("&OK"), centre);
    okBtn->setObjectName(QStringLiteral("okBtn"));
    okBtn->setAutoDefault(false);
    okBtn->setDefault(false);
    ligne->addWidget(editTxt);
    ligne->addWidget(Label[1]);
    ligne->addWidget(okBtn);
    haut->addLayout(ligne);
    statusBar()->setSizeGripEnabled(false);

    TXT_Cons = new CTextBxN(this);
    connect(TXT_Cons, &CTextBxN::ValidateError, this, [](bool& Cancel) { Cancel = afficheHorsLimites(); });
    surFocus(editTxt, [this] { editTxt_GotFocus(); }, [this] { editTxt_LostFocus(); });
    ajouterIndication(editTxt, panneau1(), [this] { return indication(); });
    ajouterIndication(okBtn, panneau1(), QString());
    connect(okBtn, &QPushButton::clicked, this, [this] { okBtn_Click(); });
    resize(320, 110);
}

newFreqW::~newFreqW() = default;

void newFreqW::Form_Load()
{
    accepte_.clear();
    // No U/F end held counts as 0: a missing limit never lets any value through.
    TXT_Cons->Init(editTxt, 2, 0, freqMaxGamme.nombre());
    const int p = partitionDuSelecteur();
    unite_ = tableMenuBGen[1].valeur.entier();
    mesVit_ = parametresPartitions[22][p].entier();
    Label[1]->setText(enRpm() ? QLatin1Char('[') + texteChaine(ids::rpm) + QLatin1Char(']') : QStringLiteral("[Hz]"));
    Label[0]->setText(texteChaine(ids::nouvelleConsigne));
    setWindowTitle(texteChaine(ids::nouvelleConsigne) + QStringLiteral("..."));
    panneau1()->clear();
    placerFenetre(numeroFenetre::newFreqW, this);
}

void newFreqW::editTxt_GotFocus()
{
    accepte_.clear();
    TXT_Cons->min = 0;
    if (enRpm()) {
        TXT_Cons->IsDecimal = false;
        TXT_Cons->max = freqMaxGamme.nombre() * 60 / pairesPoles(partitionDuSelecteur());
    } else {
        TXT_Cons->IsDecimal = versionLogiciel >= 16;
        TXT_Cons->max = freqMaxGamme.nombre();
    }
    // A new length limit sets the text again, which drops the selection.
    editTxt->setMaxLength(TXT_Cons->IsDecimal ? 7 : 6);
    editTxt->selectAll();
    panneau1()->setText(indication());
}

QString newFreqW::indication() const
{
    const double max = enRpm() ? TXT_Cons->max.nombre() : freqMaxGamme.nombre();
    return texteChaine(ids::limites) + QStringLiteral(" 0...") + texteSysteme(max)
           + (enRpm() ? QStringLiteral(" t/min") : QStringLiteral(" Hz"));
}

void newFreqW::editTxt_LostFocus()
{
    // Reached only once the validator accepted the text.
    if (!isVisible()) return;
    accepte_ = editTxt->text();
    hide();
}

void newFreqW::okBtn_Click()
{
    if (!editTxt->text().isEmpty()) {
        // A value not yet checked is checked now.
        if (accepte_.isEmpty() && !TXT_Cons->valider()) return;
        if (accepte_.isEmpty()) accepte_ = editTxt->text();
        hide();
        return;
    }
    ui().msgBox(texteChaine(ids::valeurObligatoire), msg::exclamation | msg::okSeul, texteChaine(ids::messageTitre));
    editTxt->setFocus(Qt::OtherFocusReason);
}

void newFreqW::Form_Unload(bool&)
{
    memoriserPosition(numeroFenetre::newFreqW, this);
    TXT_Cons->lier(nullptr);
}
