#include "fenetremenuc.h"

#include "link/fenetreprincipale.h"
#include "link/transaction.h"
#include "model/etat.h"
#include "model/menuc.h"
#include "model/nombres.h"
#include "model/session.h"
#include "model/tables.h"
#include "platform/plateforme.h"
#include "platform/registrefenetres.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "widgets/ctextbxn.h"
#include "widgets/fenetres.h"
#include "widgets/focuschamp.h"
#include "widgets/groupeoptions.h"
#include "widgets/statut.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {
const char* const capteursSan[6] = {"Fs", "Im", "N", "Pw", "Iw", "Us"};
const QString enteteColonnes = QStringLiteral("  --    1   2   3   4   5     ");
// Rows of each half of the grid.
constexpr int moitieGauche[] = {0, 1, 2, 3, 4, 5, 6, 7, 9};
constexpr int moitieDroite[] = {8, 10, 11, 12, 13, 14, 15, 16};

// Grid options: yellow with the focus.
void couleursFocusGrille(QRadioButton* option)
{
    couleursFocusOption(option, QColor(255, 255, 0));
}

// Hint of a comparator field: its range and unit.
QString indicationPlage(int max, const char* unite)
{
    return texteChaine(ids::valeurEntre) + QStringLiteral(" 0 ... ") + QString::number(max) + QLatin1Char(' ')
        + QLatin1String(unite);
}

double valeurTexte(const QString& texte)
{
    double v = 0.0;
    return lireNombreSysteme(texte, v) ? v : nombreEnTete(texte);
}
}

menuRelNew::menuRelNew() : FenetreVue(numeroFenetre::menuRelNew)
{
    setObjectName(QStringLiteral("menuRelNew"));
    construire();
}

menuRelNew::~menuRelNew()
{
    // Validators first: they watch fields that are about to go.
    delete TXT_valComp;
    delete TXT_ret;
    if (vues().menuRelNew == this) vues().menuRelNew = nullptr;
}

void menuRelNew::construire()
{
    auto* centre = new QWidget(this);
    setCentralWidget(centre);
    QLabel* panneau = panneau1();
    statusBar()->setSizeGripEnabled(false);
    auto* haut = new QVBoxLayout(centre);

    const QString lab = QStringLiteral("Label");
    for (int i = 0; i < 29; ++i) {
        Label[i] = new QLabel(centre);
        Label[i]->setObjectName(element(lab, i));
    }
    Label[25]->setText(QStringLiteral("[V]"));
    Label[26]->setText(QStringLiteral("[s]"));
    Label[27]->setText(enteteColonnes);
    Label[28]->setText(enteteColonnes);

    // The grid: one frame of six options per function row, in two halves.
    auto* moities = new QHBoxLayout;
    haut->addLayout(moities);
    auto moitie = [&](const int* rangs, int n, int fonction, int numero, int colonnes) {
        auto* g = new QGridLayout;
        g->addWidget(Label[fonction], 0, 0);
        g->addWidget(Label[numero], 0, 1);
        g->addWidget(Label[colonnes], 1, 1);
        for (int k = 0; k < n; ++k) {
            const int r = rangs[k];
            Fr[r] = new QFrame(centre);
            Fr[r]->setObjectName(element(QStringLiteral("Fr"), r));
            auto* l = new QHBoxLayout(Fr[r]);
            l->setContentsMargins(2, 0, 2, 0);
            lignes_[r] = new GroupeOptions(this, false);   // grid colours of their own
            for (int c = 0; c < 6; ++c) {
                const int i = 6 * r + c;
                f[i] = new QRadioButton(Fr[r]);
                f[i]->setObjectName(element(QStringLiteral("f"), i));
                couleursFocusGrille(f[i]);
                lignes_[r]->ajouter(f[i], i);
                ajouterIndication(f[i], panneau, [] { return texteChaine(ids::infoAffectationRelais); });
                l->addWidget(f[i]);
            }
            connect(lignes_[r], &GroupeOptions::Click, this, [this](int Index) { f_Click(Index); });
            g->addWidget(Label[r], k + 2, 0);
            g->addWidget(Fr[r], k + 2, 1);
        }
        g->setRowStretch(n + 2, 1);
        moities->addLayout(g);
    };
    moitie(moitieGauche, 9, 19, 20, 27);
    moitie(moitieDroite, 8, 21, 22, 28);

    // Analog outputs.
    QRadioButton** options[2] = {san1Chk, san2Chk};
    const char* noms[2] = {"san1Chk", "san2Chk"};
    for (int s = 0; s < 2; ++s) {
        FrSan[s] = new QFrame(centre);
        FrSan[s]->setObjectName(element(QStringLiteral("FrSan"), s));
        auto* l = new QHBoxLayout(FrSan[s]);
        l->addWidget(Label[17 + s]);
        sorties_[s] = new GroupeOptions(this);
        for (int i = 1; i <= 6; ++i) {
            options[s][i] = new QRadioButton(QString::fromLatin1(capteursSan[i - 1]), FrSan[s]);
            options[s][i]->setObjectName(element(QString::fromLatin1(noms[s]), i));
            sorties_[s]->ajouter(options[s][i], i);
            ajouterIndication(options[s][i], panneau, [] { return texteChaine(ids::infoAffectationSan); });
            l->addWidget(options[s][i]);
        }
        l->addStretch(1);
        haut->addWidget(FrSan[s]);
    }
    connect(sorties_[0], &GroupeOptions::Click, this, [this](int Index) { san1Chk_Click(Index); });
    connect(sorties_[1], &GroupeOptions::Click, this, [this](int Index) { san2Chk_Click(Index); });

    // Comparator.
    auto* comparateur = new QGridLayout;
    haut->addLayout(comparateur);
    editTxtValComp = new QLineEdit(centre);
    editTxtValComp->setObjectName(QStringLiteral("editTxtValComp"));
    editTxtRet = new QLineEdit(centre);
    editTxtRet->setObjectName(QStringLiteral("editTxtRet"));
    controlesNommes::limiterSaisie(editTxtValComp, 5);
    controlesNommes::limiterSaisie(editTxtRet, 1);
    comparateur->addWidget(Label[23], 0, 0);
    comparateur->addWidget(editTxtValComp, 0, 1);
    comparateur->addWidget(Label[25], 0, 2);
    comparateur->addWidget(Label[24], 1, 0);
    comparateur->addWidget(editTxtRet, 1, 1);
    comparateur->addWidget(Label[26], 1, 2);
    comparateur->setColumnStretch(3, 1);
    // Hidden comparator fields keep their place: the grid does not move.
    for (QWidget* w : {static_cast<QWidget*>(editTxtValComp), static_cast<QWidget*>(editTxtRet),
                       static_cast<QWidget*>(Label[23]), static_cast<QWidget*>(Label[24]),
                       static_cast<QWidget*>(Label[25]), static_cast<QWidget*>(Label[26])}) {
        QSizePolicy p = w->sizePolicy();
        p.setRetainSizeWhenHidden(true);
        w->setSizePolicy(p);
    }
    surFocus(editTxtValComp, [this] { editTxtValComp_GotFocus(); }, [this] { editTxtValComp_LostFocus(); });
    surFocus(editTxtRet, [this] { editTxtRet_GotFocus(); }, [this] { editTxtRet_LostFocus(); });
    ajouterIndication(editTxtValComp, panneau, [] { return indicationPlage(10, "V"); });
    ajouterIndication(editTxtRet, panneau, [] { return indicationPlage(5, "s"); });

    auto* boutons = new QHBoxLayout;
    haut->addLayout(boutons);
    downBtn = creerBouton(centre, QStringLiteral("downBtn"), [this] { downBtn_Click(); });
    ExitBtn = creerBouton(centre, QStringLiteral("ExitBtn"), [this] { ExitBtn_Click(); });
    boutons->addWidget(downBtn);
    boutons->addWidget(ExitBtn);

    // The buttons and the window's background clear the hint.
    for (QWidget* w : {static_cast<QWidget*>(downBtn), static_cast<QWidget*>(ExitBtn), centre})
        ajouterIndication(w, panneau, QString());
}

// ---- View ----

GroupeOptions* menuRelNew::groupe(const QString& nom, int index) const
{
    // An option that does not exist stops the program.
    controle(element(nom, index));
    if (nom == QLatin1String("f")) return lignes_[index / 6];
    if (nom == QLatin1String("san1Chk")) return sorties_[0];
    if (nom == QLatin1String("san2Chk")) return sorties_[1];
    qFatal("menuRelNew has no option group %s", qPrintable(nom));
    return nullptr;
}

void menuRelNew::selectionnerOption(const QString& nom, int index)
{
    groupe(nom, index)->selectionner(index);
}

bool menuRelNew::optionSelectionnee(const QString& nom, int index) const
{
    return groupe(nom, index)->selection() == index;
}

void menuRelNew::setInfoBulle(const QString& nom, const QString& t)
{
    controle(nom)->setToolTip(t);
}

void menuRelNew::setTitre(const QString& titre)
{
    setWindowTitle(titre);
}

// ---- Load, activation, close ----

void menuRelNew::Form_Load()
{
    vues().menuRelNew = this;
    downBtn->setEnabled(true);
    ExitBtn->setEnabled(true);
    arreterScrutation();
    pointeurSourisPartout(pointeur::sablier);
    libellesMenuC();
    TXT_valComp = new CTextBxN(this);
    TXT_valComp->Init(editTxtValComp, 2, 0, 10);
    TXT_ret = new CTextBxN(this);
    TXT_ret->Init(editTxtRet, 2, 0, 5);
    for (CTextBxN* v : {TXT_valComp, TXT_ret})
        connect(v, &CTextBxN::ValidateError, this, [](bool& Cancel) { Cancel = afficheHorsLimites(); });
    premiereActivation_ = true;
    placerFenetre(numeroFenetre::menuRelNew, this);
}

// Raised inside an exchange (a window switch during the download): the
// download keeps its busy flag; the activation runs once the link is free.
bool menuRelNew::activationPossible() const
{
    return !liaisonOccupee();
}

void menuRelNew::Form_Activate()
{
    // A field that loses the focus because it hides here is not left by the
    // user: no leave step.
    enActivation_ = true;
    if (enLigne()) {
        sensLecture = true;
        if (!menuCCharge) {
            transfertMenuC(sensLecture);
            // Held only when the whole read took place.
            if (enLigne()) menuCCharge = true;
        }
    }
    // Also when the link was lost during the read.
    if (!enLigne()) downBtn->setEnabled(false);
    // The window lives for the run: a value that selects nothing must not
    // leave the option shown before.
    for (GroupeOptions* g : lignes_) g->effacerSelection();
    for (GroupeOptions* g : sorties_) g->effacerSelection();
    afficherMenuC();
    showParamComparateur();
    pointeurSourisPartout(pointeur::normal);
    panneau1()->setText(texteChaine(ids::infoAffectationRelais));
    travailEnCours = false;
    enActivation_ = false;
    // After its load the window starts on the first row of the grid.
    if (premiereActivation_) {
        premiereActivation_ = false;
        const int choisi = lignes_[0]->selection();
        f[choisi >= 0 ? choisi : 0]->setFocus(Qt::TabFocusReason);
    }
}

void menuRelNew::Form_QueryUnload(bool& Cancel, int /*UnloadMode*/)
{
    refuserSiOccupe(Cancel);
}

void menuRelNew::Form_Unload(bool& /*Cancel*/)
{
    memoriserPosition(numeroFenetre::menuRelNew, this);
    questionQuoiFaireC();
    delete TXT_valComp;
    TXT_valComp = nullptr;
    delete TXT_ret;
    TXT_ret = nullptr;
    activerFenetrePrincipale(true);
    vues().menuRelNew = nullptr;
}

void menuRelNew::questionQuoiFaireC()
{
    if (!menuCModifie || !enLigne()) return;
    if (ui().msgBox(texteChaine(ids::sauverDansZelto), msg::ouiNon | msg::question, QString()) == msg::oui)
        telechargerMenuC();
}

void menuRelNew::ExitBtn_Click()
{
    decharger();
}

void menuRelNew::downBtn_Click()
{
    telechargerMenuC();
}

// ---- Options ----

void menuRelNew::showParamComparateur()
{
    const bool visible = tableRelais[9][0].nombre() != 0;
    editTxtValComp->setVisible(visible);
    editTxtRet->setVisible(visible);
    for (int i = 23; i <= 26; ++i) Label[i]->setVisible(visible);
}

void menuRelNew::f_Click(int Index)
{
    const int rang = Index / 6;
    const Variant avant = tableRelais[rang][0];
    tableRelais[rang][0] = Index % 6;
    if (avant.nombre() != Index % 6) menuCModifie = true;
    showParamComparateur();
}

void menuRelNew::san1Chk_Click(int Index)
{
    const double avant = tableSortiesAnalogiques[0][0].nombre();
    tableSortiesAnalogiques[0][0] = Index;
    if (avant != Index) menuCModifie = true;
}

void menuRelNew::san2Chk_Click(int Index)
{
    const double avant = tableSortiesAnalogiques[1][0].nombre();
    tableSortiesAnalogiques[1][0] = Index;
    if (avant != Index) menuCModifie = true;
}

// ---- Comparator fields ----

void menuRelNew::editTxtValComp_GotFocus()
{
    if (TXT_valComp) TXT_valComp->IsDecimal = true;
    editTxtValComp->selectAll();
    texteMemorise_ = editTxtValComp->text();
}

void menuRelNew::editTxtValComp_LostFocus()
{
    if (enActivation_) return;
    const QString formate = formaterChamp(editTxtValComp, QStringLiteral("#0.00"));
    if (!valeurInchangee(texteMemorise_, editTxtValComp->text(), formate)) {
        menuCModifie = true;
        tableComparateur[0][0] = formate;
    }
    editTxtValComp->setText(formate);
}

void menuRelNew::editTxtRet_GotFocus()
{
    editTxtRet->selectAll();
    texteMemorise_ = editTxtRet->text();
}

void menuRelNew::editTxtRet_LostFocus()
{
    if (enActivation_) return;
    if (!valeurInchangee(texteMemorise_, editTxtRet->text())) {
        menuCModifie = true;
        tableComparateur[1][0] = valeurTexte(editTxtRet->text());
    }
}
