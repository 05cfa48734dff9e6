#include "menud.h"

#include "menustart.h"

#include "link/transaction.h"
#include "model/affichagepartition.h"
#include "model/etat.h"
#include "model/nombres.h"
#include "model/partitions.h"
#include "model/session.h"
#include "model/tables.h"
#include "platform/plateforme.h"
#include "platform/porteentrees.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "widgets/ctextbxn.h"
#include "widgets/fenetres.h"
#include "widgets/focuschamp.h"
#include "widgets/groupeoptions.h"
#include "widgets/statut.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSizePolicy>
#include <QStatusBar>
#include <QVBoxLayout>

#include <cmath>
#include <initializer_list>

namespace {
enum Genre { entier, deuxDecimales, courantMcm };
constexpr int ligneFiltre = -1;   // tableMenuBGen row 4

struct DefChamp {
    const char* nom;
    const char* validateur;
    int libelle;       // string id of Label(i)
    Genre genre;
    int ligne;         // partition row, or ligneFiltre
    double min;
    double max;
    int nbCaracteres;
    bool decimal;
    int unite;         // unit label, 0 none
};

constexpr DefChamp champs[menuD::nbChamps] = {
    {"editTxtFiltre", "TXT_filtre", ids::filtreConsigneFreq, entier, ligneFiltre, 0, 10, 2, false, 0},
    {"editTxtTacc", "TXT_tacc", ids::tempsAcceleration, deuxDecimales, 35, 1, 250, 6, true, 18},
    {"editTxtTdec", "TXT_tdec", ids::tempsDeceleration, deuxDecimales, 36, 1, 250, 6, true, 19},
    {"editTxtDurFcc", "TXT_durFcc", ids::dureeFcc, entier, 30, 0, 60, 2, false, 20},
    {"editTxtCrtFcc", "TXT_crtFcc", ids::courantFreinageFcc, deuxDecimales, 31, 0, 254, 6, true, 16},
    {"editTxtCrtFccPerm", "TXT_crtFccPerm", ids::courantFreinagePermanent, deuxDecimales, 32, 0, 254, 6, true, 17},
    {"editTxtMcm1", "TXT_mcm1", ids::imcm1, courantMcm, 26, 0, 300, 5, true, 12},
    {"editTxtMcm2", "TXT_mcm2", ids::imcm2, courantMcm, 27, 0, 300, 5, true, 13},
    {"editTxtMcm3", "TXT_mcm3", ids::imcm3, courantMcm, 28, 0, 300, 5, true, 14},
    {"editTxtMcm4", "TXT_mcm4", ids::imcm4, courantMcm, 29, 0, 300, 5, true, 15},
    {"editTxtSBF", "TXT_sbf", ids::lissageBasseFreq, entier, 33, 0, 250, 3, false, 0},
    {"editTxtCDG", "TXT_cdg", ids::compensationGlissement, entier, 34, 0, 254, 3, false, 0},
};
constexpr int champTacc = 1, champTdec = 2, champCrtFcc = 4, champCrtFccPerm = 5;

Variant& cellule(int ligne)
{
    if (ligne == ligneFiltre) return tableMenuBGen[4].valeur;
    return parametresPartitions[ligne][partitionDuSelecteur()];
}

QString cle(int ligne)
{
    return ligne == ligneFiltre ? tableMenuBGen[4].cle : defParamsPartition[ligne].cle;
}

double courantMoteur() { return parametresPartitions[3][partitionDuSelecteur()].nombre(); }

QString deux(double v) { return formatNombre(v, QStringLiteral("#0.00")); }
}

menuD::menuD() : FenetreVue(numeroFenetre::menuD)
{
    construire();
}

menuD::~menuD()
{
    if (vues().menuD == this) vues().menuD = nullptr;
}

void menuD::construire()
{
    setObjectName(QStringLiteral("menuD"));
    auto* centre = new QWidget(this);
    centre->setObjectName(QStringLiteral("fond"));
    centre->setMouseTracking(true);
    centre->installEventFilter(this);
    setCentralWidget(centre);
    auto* haut = new QVBoxLayout(centre);
    auto* grille = new QGridLayout;
    haut->addLayout(grille);

    for (int i = 0; i <= 20; ++i) {
        Label[i] = new QLabel(centre);
        Label[i]->setObjectName(element(QStringLiteral("Label"), i));
    }
    for (int i = 12; i <= 17; ++i) Label[i]->setText(QStringLiteral("[A]"));
    for (int i = 18; i <= 20; ++i) Label[i]->setText(QStringLiteral("[s]"));

    for (int i = 0; i < nbChamps; ++i) {
        const DefChamp& d = champs[i];
        champ[i] = new QLineEdit(centre);
        champ[i]->setObjectName(QLatin1String(d.nom));
        champ[i]->setMaximumWidth(90);
        champ[i]->setMouseTracking(true);
        champ[i]->installEventFilter(this);
        grille->addWidget(Label[i], i, 0);
        grille->addWidget(champ[i], i, 1);
        if (d.unite) grille->addWidget(Label[d.unite], i, 2);
        validateur[i] = new CTextBxN(this);
        validateur[i]->setObjectName(QLatin1String(d.validateur));
        connect(validateur[i], &CTextBxN::ValidateError, this, [this, i](bool& Cancel) {
            Cancel = afficheHorsLimites();
            // The focus stays: its hint again, whatever field the pointer crossed.
            afficherIndication(i);
        });
        surFocus(champ[i], [this, i] { champ_GotFocus(i); }, [this, i] { champ_LostFocus(i); });
    }

    auto* options = new QHBoxLayout;
    haut->addLayout(options);
    origConsFr = new QGroupBox(centre);
    origConsFr->setObjectName(QStringLiteral("origConsFr"));
    auto* lOrig = new QVBoxLayout(origConsFr);
    optionsOrigCons_ = new GroupeOptions(this);
    const char* captionsOrig[2] = {"keypap", "T.block"};
    for (int i = 0; i < 2; ++i) {
        origConsChk[i] = new QRadioButton(QLatin1String(captionsOrig[i]), origConsFr);
        origConsChk[i]->setObjectName(element(QStringLiteral("origConsChk"), i));
        lOrig->addWidget(origConsChk[i]);
        optionsOrigCons_->ajouter(origConsChk[i], i);
        ajouterIndication(origConsChk[i], panneau1(), [] { return texteChaine(ids::infoSourceConsigne); });
    }
    connect(optionsOrigCons_, &GroupeOptions::Click, this, [this](int i) { origConsChk_Click(i); });
    options->addWidget(origConsFr);

    genreMcmFr = new QGroupBox(centre);
    genreMcmFr->setObjectName(QStringLiteral("genreMcmFr"));
    auto* lMcm = new QVBoxLayout(genreMcmFr);
    optionsMcm_ = new GroupeOptions(this);
    const char* captionsMcm[4] = {"Abs.", "SH", "DTO", "rien"};
    for (int i = 0; i < 4; ++i) {
        mcmChk[i] = new QRadioButton(QLatin1String(captionsMcm[i]), genreMcmFr);
        mcmChk[i]->setObjectName(element(QStringLiteral("mcmChk"), i));
        mcmChk[i]->setMouseTracking(true);
        mcmChk[i]->installEventFilter(this);
        lMcm->addWidget(mcmChk[i]);
        optionsMcm_->ajouter(mcmChk[i], i);
    }
    connect(optionsMcm_, &GroupeOptions::Click, this, [this](int i) { mcmChk_Click(i); });
    // Hidden by the MCM option, its fields and labels keep their place: the
    // window is laid out the same whatever the option.
    for (int i = 6; i <= 9; ++i)
        for (QWidget* w : std::initializer_list<QWidget*>{champ[i], Label[i], Label[i + 6]}) {
            QSizePolicy p = w->sizePolicy();
            p.setRetainSizeWhenHidden(true);
            w->setSizePolicy(p);
        }
    options->addWidget(genreMcmFr);

    ExitBtn = creerBouton(centre, QStringLiteral("ExitBtn"), [this] { ExitBtn_Click(); });
    ajouterIndication(ExitBtn, panneau1(), QString());
    haut->addWidget(ExitBtn, 0, Qt::AlignRight);
    statusBar()->setSizeGripEnabled(false);
}

// ---- Life of the window ----

void menuD::Form_Load()
{
    for (int i = 0; i < nbChamps; ++i) Label[i]->setText(texteChaine(champs[i].libelle));
    origConsFr->setTitle(texteChaine(ids::sourceConsigneFreq));
    genreMcmFr->setTitle(texteChaine(ids::genreMcm));
    ExitBtn->setText(texteChaine(ids::quitter));
    ExitBtn->setToolTip(texteChaine(ids::infoRetourStart));
    for (int i = 0; i < nbChamps; ++i) {
        const DefChamp& d = champs[i];
        validateur[i]->Init(champ[i], 2, d.min, d.max, false, false);
        validateur[i]->IsDecimal = d.decimal;
    }
    // The options of the stored values run their click steps at activation.
    optionsMcm_->effacerSelection();
    optionsOrigCons_->effacerSelection();
    panneau1()->clear();
    vues().menuD = this;
    placerFenetre(numeroFenetre::menuD, this);
}

void menuD::Form_Activate()
{
    setWindowTitle(QStringLiteral("Menu D"));
    for (int i = 0; i < nbChamps; ++i) {
        const Variant& v = cellule(champs[i].ligne);
        champ[i]->setText(champs[i].genre == deuxDecimales ? deux(v.nombre()) : v.texteAffiche());
    }
    const int p = partitionDuSelecteur();
    const bool source = versionLogiciel >= 16;
    origConsFr->setEnabled(source);
    for (QRadioButton* o : origConsChk) o->setEnabled(source);
    optionsOrigCons_->selectionner(parametresPartitions[10][p].entier());
    optionsMcm_->selectionner(parametresPartitions[25][p].entier());
    formatValeursMcm(2);
    if (mcmChk[2]->isChecked())
        for (int i = 12; i <= 15; ++i) Label[i]->setVisible(true);
    pointeurSourisPartout(pointeur::normal);
}

void menuD::Form_QueryUnload(bool& Cancel, int UnloadMode)
{
    // The user's close waits for the exchange under way.
    if (UnloadMode == modeFermeture::vbFormControlMenu && liaisonOccupee()) {
        Cancel = true;
        ui().beep();
    }
}

void menuD::Form_Unload(bool&)
{
    memoriserPosition(numeroFenetre::menuD, this);
    for (CTextBxN* v : validateur) v->lier(nullptr);
    if (vues().menuD == this) vues().menuD = nullptr;
}

void menuD::ExitBtn_Click()
{
    // A click taken in while a value goes out waits for its reply.
    if (liaisonOccupee()) {
        ui().beep();
        return;
    }
    if (auto* start = dynamic_cast<menuStart*>(registre().fenetre(numeroFenetre::menuStart)))
        start->activerTimerStart();
    decharger();
}

// ---- Fields ----

void menuD::fixerLimites(int i)
{
    CTextBxN* v = validateur[i];
    switch (i) {
    case champCrtFcc:
        v->max = courantMoteur();
        v->IsDecimal = true;
        break;
    case champCrtFccPerm:
        v->max = produitDecimal(0.2, courantMoteur());
        v->IsDecimal = true;
        break;
    case champTacc:
    case champTdec:
        v->IsDecimal = true;
        // The time as its hint shows it: rounded to two decimals.
        v->min = nombreChamp(deux(parametresPartitions[i == champTacc ? 8 : 9][partitionDuSelecteur()].nombre()));
        break;
    default:
        if (champs[i].genre == courantMcm) v->IsDecimal = mcmChk[0]->isChecked() || mcmChk[1]->isChecked();
        break;
    }
}

QString menuD::indication(int i, bool survol)
{
    const QString prefixe = texteChaine(ids::valeurEntre);
    const int p = partitionDuSelecteur();
    switch (i) {
    case 0: return prefixe + QStringLiteral(" 0 ...10");
    case champTacc: return prefixe + deux(parametresPartitions[8][p].nombre()) + QStringLiteral("...250 s");
    case champTdec: return prefixe + deux(parametresPartitions[9][p].nombre()) + QStringLiteral("...250 s");
    case 3: return prefixe + QStringLiteral(" 0...60 s");
    case champCrtFcc:
    case champCrtFccPerm:
        return prefixe + QStringLiteral(" 0...") + validateur[i]->max.texteAffiche() + QStringLiteral(" A");
    case 10: return prefixe + QStringLiteral(" 0...250");
    case 11: return prefixe + QStringLiteral(" 0...254");
    default: {
        const bool sansUnite = survol ? mcmChk[2]->isChecked() : mcmChk[3]->isChecked();
        return prefixe + (sansUnite ? QStringLiteral(" 0...300") : QStringLiteral(" 0...300 A"));
    }
    }
}

void menuD::afficheLimitesMcm()
{
    panneau1()->setText(indication(6, false));
}

void menuD::champ_GotFocus(int i)
{
    fixerLimites(i);
    valeurEntree_ = champ[i]->text();
    champ[i]->selectAll();
    int n = champs[i].nbCaracteres;
    if (champs[i].genre == courantMcm) n = validateur[i]->IsDecimal ? 5 : 3;
    controlesNommes::limiterSaisie(champ[i], n);
    afficherIndication(i);
}

void menuD::afficherIndication(int i)
{
    if (champs[i].genre == courantMcm) afficheLimitesMcm();
    else panneau1()->setText(indication(i, false));
}

void menuD::champ_LostFocus(int i)
{
    const DefChamp& d = champs[i];
    const QString texte = champ[i]->text();
    QString masque = QStringLiteral("#0.00");
    if (d.genre == entier || (d.genre == courantMcm && (mcmChk[2]->isChecked() || mcmChk[3]->isChecked())))
        masque = QStringLiteral("#0");
    const QString forme = formaterChamp(champ[i], masque);
    const bool change = d.genre == entier ? !valeurInchangee(valeurEntree_, texte)
                                          : !valeurInchangee(valeurEntree_, texte, forme);
    if (change) {
        cellule(d.ligne) = forme;
        derniereCommande_ = cle(d.ligne) + forme;
        envoyerValeurMenuD(derniereCommande_);
    }
    if (d.genre != entier) champ[i]->setText(forme);
}

bool menuD::eventFilter(QObject* objet, QEvent* e)
{
    if (e->type() == QEvent::MouseMove) {
        for (int i = 0; i < nbChamps; ++i)
            if (objet == champ[i]) {
                if (i == champCrtFcc || i == champCrtFccPerm) fixerLimites(i);
                panneau1()->setText(indication(i, true));
            }
        for (QRadioButton* o : mcmChk)
            if (objet == o) panneau1()->setText(texteChaine(ids::infoModeMcm));
        if (objet == centralWidget()) panneau1()->clear();
    }
    return FenetreZelto::eventFilter(objet, e);
}

// ---- Options ----

void menuD::mcmChk_Click(int index)
{
    Variant& genre = parametresPartitions[25][partitionDuSelecteur()];
    valeurEntree_ = genre.texte();
    const double avant = genre.nombre();
    genre = index;
    for (int i = 6; i <= 9; ++i) {
        champ[i]->setVisible(index != 3);
        Label[i]->setVisible(index != 3);
    }
    for (int i = 12; i <= 15; ++i) Label[i]->setVisible(index == 0 || index == 1);
    if (avant != index) {
        derniereCommande_ = defParamsPartition[25].cle + QString::number(index);
        envoyerValeurMenuD(derniereCommande_);
    }
    formatValeursMcm(2);
}

void menuD::origConsChk_Click(int index)
{
    Variant& source = parametresPartitions[10][partitionDuSelecteur()];
    valeurEntree_ = source.texte();
    if (source.nombre() != index) {
        source = index;
        derniereCommande_ = defParamsPartition[10].cle + QString::number(index);
        envoyerValeurMenuD(derniereCommande_);
    }
}

void menuD::envoyerValeurMenuD(const QString& commande)
{
    // What is typed meanwhile lands in the next field once the value is out.
    EchangeEnCours echange(entrees::Regle::differer);
    sensLecture = false;
    cmdMode = QStringLiteral("S");
    cmdParam2.clear();
    cmdParam1.clear();
    cmdCode = commande;
    envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
}

// ---- View for the core ----

GroupeOptions* menuD::groupe(const QString& nom) const
{
    if (nom == QLatin1String("mcmChk")) return optionsMcm_;
    if (nom == QLatin1String("origConsChk")) return optionsOrigCons_;
    qFatal("menuD: no option group %s", qPrintable(nom));
    return nullptr;
}

QLineEdit* menuD::champNomme(const QString& nom) const
{
    return qobject_cast<QLineEdit*>(controle(nom));
}

void menuD::selectionnerOption(const QString& nom, int index) { groupe(nom)->selectionner(index); }

bool menuD::optionSelectionnee(const QString& nom, int index) const
{
    const QAbstractButton* o = groupe(nom)->option(index);
    return o && o->isChecked();
}
