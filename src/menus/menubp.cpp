#include "menubp.h"

#include "link/fenetreprincipale.h"
#include "link/identite.h"
#include "link/transaction.h"
#include "model/affichagepartition.h"
#include "model/etat.h"
#include "model/nombres.h"
#include "model/partitions.h"
#include "model/session.h"
#include "model/tables.h"
#include "model/transfertspartitions.h"
#include "platform/plateforme.h"
#include "platform/registrefenetres.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "widgets/ctextbxn.h"
#include "widgets/fenetres.h"
#include "widgets/focuschamp.h"
#include "widgets/groupeoptions.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// The validators in the order they are initialised, with their load limits
// and zero rule (the partition field's maximum is the partition count).
struct DefChamp {
    const char* champ;
    const char* validateur;
    int ligne;   // row of the partition; -1 for the partition field
    double min;
    double max;
    bool zero;
};

constexpr DefChamp defChamps[32] = {
    {"editTxtGamme", "TXT_Gamme", -1, 1, 64, false},
    {"editTxtNbPulses", "TXT_NbPulses", 23, 1, 255, false},
    {"editTxtGliss", "TXT_Gliss", 24, 0, 10, false},
    {"editTxtNbPoles", "TXT_NbPoles", 0, 2, 24, false},
    {"editTxtPuissMax", "TXT_PuissMax", 1, 0.1, 250, false},
    {"editTxtCrtMot", "TXT_CrtMot", 3, 1, 180, false},
    {"editTxtCrtAcc", "TXT_CrtAcc", 4, 1, 300, false},
    {"editTxtCrtIref", "TXT_CrtIref", 5, 1, 300, false},
    {"editTxtCompRi", "TXT_CompRi", 7, 0, 38, false},
    {"editTxtTacc", "TXT_tacc", 8, 1, 250, false},
    {"editTxtTdec", "TXT_tdec", 9, 1, 250, false},
    {"editTxtConsDef", "TXT_ConsDef", 11, 0, 4000, false},
    {"editTxtFreqMin", "TXT_FreqMin", 12, 0, 4000, false},
    {"editTxtMcm1", "TXT_mcm1", 26, 0, 300, false},
    {"editTxtMcm2", "TXT_mcm2", 27, 0, 300, false},
    {"editTxtMcm3", "TXT_mcm3", 28, 0, 300, false},
    {"editTxtMcm4", "TXT_mcm4", 29, 0, 300, false},
    {"editTxtDelDto", "TXT_delDTO", 37, 0, 5000, false},
    {"editTxtDurFcc", "TXT_durFcc", 30, 0, 60, false},
    {"editTxtCrtFcc", "TXT_crtFcc", 31, 0, 254, false},
    {"editTxtCrtFccPerm", "TXT_crtFccPerm", 32, 0, 254, false},
    {"editTxtSBF", "TXT_sbf", 33, 0, 250, false},
    {"editTxtCDG", "TXT_cdg", 34, 0, 254, false},
    {"editTxtFx1", "TXT_Fx1", 13, 0, 4000, true},
    {"editTxtFx2", "TXT_Fx2", 14, 0, 4000, true},
    {"editTxtFx3", "TXT_Fx3", 15, 0, 4000, true},
    {"editTxtFi1", "TXT_Fi1", 16, 0, 4000, true},
    {"editTxtFi2", "TXT_Fi2", 18, 0, 4000, true},
    {"editTxtFi3", "TXT_Fi3", 20, 0, 4000, true},
    {"editTxtBi1", "TXT_Bi1", 17, 0, 2000, true},
    {"editTxtBi2", "TXT_Bi2", 19, 0, 2000, true},
    {"editTxtBi3", "TXT_Bi3", 21, 0, 2000, true},
};

const DefChamp* defLigne(int ligne)
{
    for (const DefChamp& d : defChamps)
        if (d.ligne == ligne) return &d;
    return nullptr;
}

const char* nomChamp(int ligne) { return defLigne(ligne)->champ; }

Variant limite(double v)
{
    if (v == std::floor(v)) return Variant(static_cast<int>(v));
    return Variant(v);
}

// Option groups: name, frame, row of the partition, hint.
struct DefGroupe {
    const char* nom;
    const char* cadre;
    int ligne;
    int indication;
    int nbOptions;
};

constexpr DefGroupe defGroupes[5] = {
    {"genreMcmChk", "genreMcmFr", 25, ids::infoModeMcm, 4},
    {"imIrefChk", "imIrefFr", 6, ids::infoActionImIref, 3},
    {"irefChk", "irefFr", 2, ids::infoSourceIref, 2},
    {"mesVitChk", "mesVitFr", 22, ids::infoMesureVitesse, 2},
    {"origConsChk", "origConsFr", 10, ids::infoSourceConsigne, 2},
};

const DefGroupe& defGroupe(const QString& nom)
{
    for (const DefGroupe& g : defGroupes)
        if (nom == QLatin1String(g.nom)) return g;
    qFatal("menuBP: no option group %s", qPrintable(nom));
}

// Fixed hint literals after message 3300.
const char* literal(int ligne)
{
    switch (ligne) {
    case 0: return " 2...24";
    case 1: return " 0.1...250 kW";
    case 3: return " 0...180 A";
    case 7: return " 0...38";
    case 8:
    case 9: return " 1...250 s";
    case 23: return " 2...255";
    case 24: return " 0...10";
    case 30: return " 0...60 s";
    case 33: return " 0...250";
    case 34: return " 0...254";
    case 37: return " 0...5000 ms";
    default: return "";
    }
}

int longueurMax(int ligne, bool mcmDecimal)
{
    switch (ligne) {
    case 0:
    case 7:
    case 30: return 2;
    case 23:
    case 33:
    case 34: return 3;
    case 24: return 5;
    case 37: return 4;
    case 26:
    case 27:
    case 28:
    case 29: return mcmDecimal ? 5 : 3;
    default: return 6;
    }
}

bool courantBorne(int ligne) { return ligne == 4 || ligne == 5 || ligne == 31 || ligne == 32; }
bool estFrequence(int ligne) { return ligne >= 11 && ligne <= 21; }
bool estMcm(int ligne) { return ligne >= 26 && ligne <= 29; }

// Band bounds read a comma as a point, so "12,60" counts as 12.6.
double nombreBande(const QString& texte) { return nombreEnTete(virguleEnPoint(texte)); }

// A product of the motor current as a decimal number (0.2 x 5.60 = 1.12).
double produit(double facteur, double m) { return produitDecimal(facteur, m); }

// The current partition of the selector: empty, not a whole number, 0 or
// above the partition count stands for 1.
const char* const centres[3] = {"editTxtFi1", "editTxtFi2", "editTxtFi3"};
const char* const largeurs[3] = {"editTxtBi1", "editTxtBi2", "editTxtBi3"};

// Unit labels: index and text.
struct DefUnite {
    int ligne;
    int label;
    const char* texte;
};
constexpr DefUnite unites[] = {
    {1, 123, "[kW]"},  {3, 126, "[A]"},   {4, 127, "[A]"},   {5, 133, "[A]"},   {8, 128, "[s]"},
    {9, 129, "[s]"},   {11, 130, "[Hz]"}, {12, 131, "[Hz]"}, {13, 132, "[Hz]"}, {14, 136, "[Hz]"},
    {15, 137, "[Hz]"}, {16, 138, "[Hz]"}, {17, 139, "[Hz]"}, {18, 140, "[Hz]"}, {19, 141, "[Hz]"},
    {20, 142, "[Hz]"}, {21, 143, "[Hz]"}, {24, 144, "[%]"},  {26, 19, "[A]"},   {27, 20, "[A]"},
    {28, 21, "[A]"},   {29, 53, "[A]"},   {37, 1, "[ms]"},   {30, 147, "[s]"},  {31, 134, "[A]"},
    {32, 135, "[A]"},
};

// Caption label of each row.
struct DefLegende {
    int ligne;
    int label;
};
constexpr DefLegende legendes[] = {
    {0, 22},  {1, 23},  {3, 24},  {4, 25},  {5, 26},  {7, 27},  {8, 28},  {9, 29},  {11, 30},
    {12, 31}, {13, 32}, {14, 33}, {15, 34}, {16, 35}, {17, 36}, {18, 37}, {19, 38}, {20, 39},
    {21, 40}, {23, 41}, {24, 42}, {26, 43}, {27, 44}, {28, 45}, {29, 46}, {30, 47}, {31, 48},
    {32, 49}, {33, 50}, {34, 51}, {37, 0},
};
}

menuBP::menuBP() : FenetreVue(numeroFenetre::menuBP)
{
    construire();
    lierChamps();
}

menuBP::~menuBP()
{
    if (vues().menuBP == this) vues().menuBP = nullptr;
    // The controls go first, while the window is whole, and run no focus
    // step; the validators let go of their boxes before.
    FocusParCode parCode;
    for (auto& [nom, v] : validateurs_) delete v;
    validateurs_.clear();
    for (auto& [nom, w] : controles_) w->removeEventFilter(this);
    controles_.clear();
    lignes_.clear();
    delete centralWidget();
}

// ---- Controls ----

void menuBP::construire()
{
    setObjectName(QStringLiteral("menuBP"));
    setMouseTracking(true);
    auto* centre = new QWidget(this);
    centre->setMouseTracking(true);
    setCentralWidget(centre);
    auto* vertical = new QVBoxLayout(centre);
    auto* colonnes = new QHBoxLayout;
    vertical->addLayout(colonnes);

    auto nommer = [this](QWidget* w, const QString& nom) {
        w->setObjectName(nom);
        w->setMouseTracking(true);
        // Hidden fields keep their place: the others do not move.
        QSizePolicy sp = w->sizePolicy();
        sp.setRetainSizeWhenHidden(true);
        w->setSizePolicy(sp);
        controles_[nom] = w;
    };
    auto nouveauLabel = [&](int index, const QString& texte, QWidget* parent) {
        auto* l = new QLabel(texte, parent);
        nommer(l, element(QStringLiteral("Label"), index));
        return l;
    };
    auto uniteDe = [](int ligne) -> const DefUnite* {
        for (const DefUnite& u : unites)
            if (u.ligne == ligne) return &u;
        return nullptr;
    };
    auto legendeDe = [](int ligne) {
        for (const DefLegende& l : legendes)
            if (l.ligne == ligne) return l.label;
        return -1;
    };

    auto nouvelleColonne = [&] {
        auto* w = new QWidget(centre);
        w->setMouseTracking(true);
        auto* g = new QGridLayout(w);
        g->setContentsMargins(0, 0, 0, 0);
        colonnes->addWidget(w, 0, Qt::AlignTop);
        return g;
    };
    QGridLayout* grille = nullptr;
    auto ajouterChamp = [&](const char* nom, int ligne, int legende, const QString& texteLegende) {
        QWidget* parent = grille->parentWidget();
        const int r = grille->rowCount();
        grille->addWidget(nouveauLabel(legende, texteLegende, parent), r, 0);
        auto* e = new QLineEdit(parent);
        nommer(e, QLatin1String(nom));
        e->setFixedWidth(70);
        lignes_[e] = ligne;
        grille->addWidget(e, r, 1);
        if (const DefUnite* u = uniteDe(ligne))
            grille->addWidget(nouveauLabel(u->label, QLatin1String(u->texte), parent), r, 2);
    };
    auto ajouterLigne = [&](int ligne) { ajouterChamp(nomChamp(ligne), ligne, legendeDe(ligne), QString()); };
    auto ajouterGroupe = [&](const char* nom, const QStringList& textes) {
        const DefGroupe& d = defGroupe(QLatin1String(nom));
        QWidget* parent = grille->parentWidget();
        auto* cadre = new QGroupBox(parent);
        nommer(cadre, QLatin1String(d.cadre));
        auto* l = new QHBoxLayout(cadre);
        auto* g = new GroupeOptions(this);
        groupes_[QLatin1String(nom)] = g;
        for (int i = 0; i < d.nbOptions; ++i) {
            auto* o = new QRadioButton(i < textes.size() ? textes[i] : QString(), cadre);
            nommer(o, element(QLatin1String(nom), i));
            l->addWidget(o);
            g->ajouter(o, i);
            surFocus(o, [this, o] { setTexteStatut(indication(o)); }, {});
            o->installEventFilter(this);
        }
        connect(g, &GroupeOptions::Click, this, [this, n = QString::fromLatin1(nom)](int i) { option_Click(n, i); });
        grille->addWidget(cadre, grille->rowCount(), 0, 1, 3);
    };

    // Motor and currents.
    grille = nouvelleColonne();
    ajouterChamp("editTxtGamme", -1, 9, QString());
    ajouterLigne(0);
    ajouterLigne(1);
    ajouterGroupe("irefChk", {});
    ajouterLigne(3);
    ajouterLigne(4);
    ajouterLigne(5);
    ajouterGroupe("imIrefChk", {});
    ajouterLigne(7);
    ajouterLigne(8);
    ajouterLigne(9);

    // Frequencies and prohibited bands.
    grille = nouvelleColonne();
    ajouterGroupe("origConsChk", {});
    for (int k = 11; k <= 21; ++k) ajouterLigne(k);

    // Speed measure, MCM, braking.
    grille = nouvelleColonne();
    ajouterGroupe("mesVitChk", {});
    ajouterLigne(23);
    ajouterLigne(24);
    ajouterGroupe("genreMcmChk", {QStringLiteral("Abs."), QStringLiteral("SH"), QStringLiteral("DTO")});
    for (int k = 26; k <= 29; ++k) ajouterLigne(k);
    ajouterLigne(37);
    for (int k = 30; k <= 34; ++k) ajouterLigne(k);

    auto* boutons = new QHBoxLayout;
    vertical->addLayout(boutons);
    copyBtn = new QPushButton(centre);
    progGammeBtn = new QPushButton(centre);
    ExitBtn = new QPushButton(centre);
    nommer(copyBtn, QStringLiteral("copyBtn"));
    nommer(progGammeBtn, QStringLiteral("progGammeBtn"));
    nommer(ExitBtn, QStringLiteral("ExitBtn"));
    for (QPushButton* b : {copyBtn, progGammeBtn, ExitBtn}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        boutons->addWidget(b);
    }
    connect(copyBtn, &QPushButton::clicked, this, [this] { copyBtn_Click(); });
    connect(progGammeBtn, &QPushButton::clicked, this, [this] { progGammeBtn_Click(); });
    connect(ExitBtn, &QPushButton::clicked, this, [this] { ExitBtn_Click(); });
    surFocus(copyBtn, [this] { setTexteStatut(QString()); }, {});
    surFocus(progGammeBtn, [this] { setTexteStatut(QString()); }, {});
    surFocus(ExitBtn, [this] { setTexteStatut(QStringLiteral(" ")); }, {});
    panneau1();
}

void menuBP::lierChamps()
{
    for (const DefChamp& d : defChamps) {
        QLineEdit* e = champ(QLatin1String(d.champ));
        auto* v = new CTextBxN(this);
        v->setObjectName(QLatin1String(d.validateur));
        v->lier(e);
        validateurs_[QLatin1String(d.validateur)] = v;
        connect(v, &CTextBxN::ValidateError, this, [](bool& Cancel) { Cancel = afficheHorsLimites(); });
        e->installEventFilter(this);
        const int k = d.ligne;
        if (k < 0)
            surFocus(e, [this] { editTxtGamme_GotFocus(); }, [this] { editTxtGamme_LostFocus(); });
        else if (estFrequence(k))
            surFocus(e, [this, k] { frequence_GotFocus(k); }, [this, k] { frequence_LostFocus(k); });
        else
            surFocus(e, [this, k] { moteur_GotFocus(k); }, [this, k] { moteur_LostFocus(k); });
    }
}

QWidget* menuBP::controle(const QString& nom) const
{
    auto it = controles_.find(nom);
    if (it == controles_.end()) qFatal("menuBP: no control named %s", qPrintable(nom));
    return it->second;
}

QLineEdit* menuBP::champ(const QString& nom) const
{
    auto* e = qobject_cast<QLineEdit*>(controle(nom));
    if (!e) qFatal("menuBP: %s is not a text box", qPrintable(nom));
    return e;
}

QLabel* menuBP::label(int index) const
{
    return qobject_cast<QLabel*>(controle(element(QStringLiteral("Label"), index)));
}

GroupeOptions* menuBP::groupe(const QString& nom) const
{
    auto it = groupes_.find(nom);
    if (it == groupes_.end()) qFatal("menuBP: no option group %s", qPrintable(nom));
    return it->second;
}

CTextBxN* menuBP::validateur(const QString& nom) const
{
    auto it = validateurs_.find(nom);
    if (it == validateurs_.end()) qFatal("menuBP: no validator %s", qPrintable(nom));
    return it->second;
}

// ---- The core's view ----

void menuBP::setEnabled(const QString& nom, bool actif)
{
    FocusParCode parCode;
    FenetreVue::setEnabled(nom, actif);
}

void menuBP::setVisible(const QString& nom, bool visible)
{
    FocusParCode parCode;
    FenetreVue::setVisible(nom, visible);
}

void menuBP::selectionnerOption(const QString& nom, int index)
{
    groupe(nom)->selectionner(index);
}

bool menuBP::optionSelectionnee(const QString& nom, int index) const
{
    return groupe(nom)->selection() == index;
}

// ---- Load, activation, closing ----

void menuBP::Form_Load()
{
    arreterScrutation();
    pointeurSourisPartout(pointeur::sablier);
    for (const DefChamp& d : defChamps) {
        CTextBxN* v = validateur(QLatin1String(d.validateur));
        v->IsDecimal = false;
        const Variant max = d.ligne < 0 ? Variant(nbPartitions) : limite(d.max);
        v->Init(champ(QLatin1String(d.champ)), 2, limite(d.min), max, false, d.zero);
    }
    placerFenetre(numeroFenetre::menuBP, this);
    texteAvantEdition.clear();
    // The first display runs every group's click steps.
    for (auto& [nom, g] : groupes_) g->effacerSelection();
    vues().menuBP = this;
    // No field has the focus when the window shows.
    ExitBtn->setFocus(Qt::OtherFocusReason);
}

template <class F>
void menuBP::echange(F&& f)
{
    // The link is claimed for the exchange, so a close request meanwhile
    // beeps instead of unloading the window in the middle of a read.
    enEchange_ = true;
    arreterScrutation();
    f();
    enEchange_ = false;
    travailEnCours = false;
}

// Raised inside an exchange (the user switched windows during a read): the
// activation runs once the link is free, so the busy flag holds until the end.
bool menuBP::activationPossible() const
{
    return !enEchange_ && !liaisonOccupee();
}

void menuBP::Form_Activate()
{
    pointeurSourisPartout(pointeur::sablier);
    traduireMenuBP();
    activerSaisieBP(false);
    ExitBtn->setFocus(Qt::OtherFocusReason);
    setTexteStatut(texteChaine(ids::patientez));

    const int p = partitionDuSelecteur();
    partitionCourante = p;
    if (enLigne()) {
        if (!partParamsCharges[p - 1]) {
            echange([] {
                if (origPartExterne) envoyerOrigPart0();
                sensLecture = false;
                transfertNumPartition();
                sensLecture = true;
                transfertPartition(true);
            });
            partParamsCharges[p - 1] = true;
        }
    } else {
        partParamsCharges[p - 1] = true;
    }
    champ(QStringLiteral("editTxtGamme"))->setText(QString::number(p));
    afficherPartition(p);
    choisirPartition(Variant(p));
    pointeurSourisPartout(pointeur::normal);
    activerSaisieBP(true);
    ExitBtn->setFocus(Qt::OtherFocusReason);
    travailEnCours = false;

    const bool mesure = !optionSelectionnee(QStringLiteral("mesVitChk"), 0);
    for (const QString& n : {QStringLiteral("editTxtNbPulses"), QStringLiteral("editTxtGliss"),
                             element(QStringLiteral("Label"), 41), element(QStringLiteral("Label"), 42)})
        setEnabled(n, mesure);
    const bool clavier = optionSelectionnee(QStringLiteral("origConsChk"), 0);
    for (const QString& n : {QStringLiteral("editTxtConsDef"), element(QStringLiteral("Label"), 30),
                             element(QStringLiteral("Label"), 130)})
        setEnabled(n, clavier);

    const QString dto[3] = {QStringLiteral("editTxtDelDto"), element(QStringLiteral("Label"), 0),
                            element(QStringLiteral("Label"), 1)};
    if (enLigne() && versionLogiciel < 18) {
        for (const QString& n : dto) setVisible(n, false);
    } else if (parametresPartitions[25][p].nombre() == 2 && tableMenuBGen[12].valeur.nombre() == 1) {
        for (const QString& n : dto) setVisible(n, true);
    }
}

void menuBP::activerSaisieBP(bool enable)
{
    FocusParCode parCode;
    majChampsIref(enable && !optionSelectionnee(QStringLiteral("irefChk"), 1));
    for (const char* n : {"editTxtGamme", "editTxtNbPulses", "editTxtGliss", "editTxtNbPoles", "editTxtPuissMax",
                          "editTxtCompRi", "editTxtTacc", "editTxtTdec", "editTxtConsDef", "editTxtFreqMin",
                          "editTxtDurFcc", "editTxtSBF", "editTxtCDG", "editTxtFx1", "editTxtFx2", "editTxtFx3",
                          "editTxtFi1", "editTxtFi2", "editTxtFi3", "editTxtBi1", "editTxtBi2", "editTxtBi3"})
        setEnabled(QLatin1String(n), enable);
    for (const DefGroupe& g : defGroupes) setEnabled(QLatin1String(g.cadre), enable);
    copyBtn->setEnabled(enable);
    progGammeBtn->setEnabled(enable);
}

void menuBP::Form_QueryUnload(bool& Cancel, int /*UnloadMode*/)
{
    refuserSiOccupe(Cancel);
}

void menuBP::Form_Unload(bool& /*Cancel*/)
{
    memoriserPosition(numeroFenetre::menuBP, this);
    if (vues().menuBP == this) vues().menuBP = nullptr;
}

void menuBP::mouseMoveEvent(QMouseEvent* e)
{
    // Over the background, a label or a button: panel 1 is cleared.
    QWidget* w = childAt(e->position().toPoint());
    if (!w || (!lignes_.count(w) && !qobject_cast<QRadioButton*>(w))) setTexteStatut(QString());
    FenetreZelto::mouseMoveEvent(e);
}

bool menuBP::eventFilter(QObject* objet, QEvent* e)
{
    if (e->type() == QEvent::MouseMove && objet->isWidgetType()) {
        auto* w = static_cast<QWidget*>(objet);
        if (lignes_.count(w) || qobject_cast<QRadioButton*>(w)) setTexteStatut(indication(w));
    }
    return FenetreZelto::eventFilter(objet, e);
}

QString menuBP::indication(const QWidget* w) const
{
    if (auto it = lignes_.find(w); it != lignes_.end()) {
        const int k = it->second;
        if (k < 0) return indicationGamme();
        return estFrequence(k) ? indicationFrequence(k) : indicationMoteur(k);
    }
    const QString nom = w->objectName();
    return texteChaine(defGroupe(nom.left(nom.indexOf(QLatin1Char('(')))).indication);
}

// ---- Buttons ----

void menuBP::copyBtn_Click()
{
    setTexteStatut(QString());
    auto* copie = dynamic_cast<FenetreZelto*>(registre().fenetre(numeroFenetre::copyNema));
    if (!copie) return;
    modeCopie = 4;
    // The dialog disables and re-enables its openers itself.
    copie->afficher();
    if (enLigne()) echange([] { chargerPartition(); });
}

void menuBP::progGammeBtn_Click()
{
    auto* uf = dynamic_cast<FenetreZelto*>(registre().fenetre(numeroFenetre::progNema));
    if (uf) uf->afficherDepuis(this);
}

void menuBP::ExitBtn_Click()
{
    if (travailEnCours) {
        ui().beep();
        return;
    }
    if (origPartExterne) envoyerOrigPart1();
    decharger();
}

// ---- Partition field ----

QString menuBP::indicationGamme() const
{
    return texteChaine(ids::valeurEntre) + QStringLiteral(" 1...") + QString::number(nbPartitions);
}

void menuBP::editTxtGamme_GotFocus()
{
    QLineEdit* e = champ(QStringLiteral("editTxtGamme"));
    texteAvantEdition = e->text();
    controlesNommes::limiterSaisie(e, 2);
    e->selectAll();
    setTexteStatut(indicationGamme());
}

void menuBP::editTxtGamme_LostFocus()
{
    const QString t = champ(QStringLiteral("editTxtGamme"))->text();
    // The partition shown and held, left as it was: nothing to select or
    // show again.
    const int p0 = partitionCourante;
    if (valeurInchangee(texteAvantEdition, t) && partitionValide(p0) && partParamsCharges[p0 - 1]
        && versEntier(nombreEnTete(t)) == p0 && partitionDuSelecteur() == p0) {
        setTexteStatut(QString());
        return;
    }
    pointeurSourisPartout(pointeur::sablier);
    valeursCourantes[0].valeur = nombreEnTete(t);
    const int p = partitionDuSelecteur();
    valeursCourantes[0].valeur = static_cast<double>(p);
    partitionCourante = p;
    if (enLigne()) {
        echange([] { chargerPartition(); });
    } else {
        afficherPartition(p);
        partParamsCharges[p - 1] = true;
        choisirPartition(Variant(p));
    }
    setTexteStatut(QString());
    pointeurSourisPartout(pointeur::normal);
}

void menuBP::marquer()
{
    if (partitionValide(partitionCourante)) partParamsModifies[partitionCourante - 1] = true;
}

// ---- Frequencies and prohibited bands ----

int menuBP::borneCentre(int bande) const
{
    const int p = partitionCourante;
    if (!partitionValide(p)) return 0;
    const int r = 16 + 2 * (bande - 2);
    const double c = parametresPartitions[r][p].nombre();
    const double w = parametresPartitions[r + 1][p].nombre();
    return versEntier(c + (w / 2 + 0.5));
}

int menuBP::largeurMaxBande(int bande) const
{
    auto lire = [this](const char* nom) { return nombreBande(champ(QLatin1String(nom))->text()); };
    const int c = versEntier(lire(centres[bande - 1]));
    int borne = 2000;
    auto prendre = [&borne](int d) {
        if (d < borne) borne = d;
    };
    for (const char* n : {"editTxtConsDef", "editTxtFreqMin", "editTxtFx1", "editTxtFx2", "editTxtFx3"})
        prendre(versEntier(std::abs(c - lire(n))));
    prendre(versEntier(std::abs(freqMaxGamme.nombre() - c)));
    for (int j = 0; j < bande - 1; ++j) {
        const double cj = lire(centres[j]);
        const double wj = lire(largeurs[j]);
        prendre(std::abs(c - versEntier(cj - wj / 2 + 0.5)));
        prendre(std::abs(c - versEntier(cj + wj / 2 + 0.5)));
    }
    return borne;
}

QString menuBP::indicationFrequence(int k) const
{
    const QString fs = freqMaxGamme.texteAffiche();
    QString plage;
    if (k == 18 || k == 20) plage = QLatin1Char(' ') + QString::number(borneCentre(k == 18 ? 2 : 3)) + QStringLiteral("...") + fs;
    else if (k == 17 || k == 19 || k == 21) plage = QStringLiteral(" 0...") + QString::number(2 * largeurMaxBande((k - 15) / 2));
    else plage = QStringLiteral(" 0...") + fs;
    return texteChaine(ids::limites) + plage + QStringLiteral(" Hz ") + texteChaine(ids::programmerUfDabord);
}

void menuBP::frequence_GotFocus(int k)
{
    QLineEdit* e = champ(QLatin1String(nomChamp(k)));
    CTextBxN* v = CTextBxN::de(e);
    switch (k) {
    case 11:
    case 12:
    case 13:
        v->IsDecimal = true;
        v->max = freqMaxGamme;
        break;
    case 14:
    case 15:
        v->IsDecimal = true;
        v->min = Variant(champ(QLatin1String(nomChamp(k - 1)))->text());
        v->max = freqMaxGamme;
        break;
    case 16: v->max = freqMaxGamme; break;
    case 18:
    case 20:
        v->min = borneCentre(k == 18 ? 2 : 3);
        v->max = 4000;
        break;
    default:   // widths
        v->min = 0;
        v->max = 2 * largeurMaxBande((k - 15) / 2);
        break;
    }
    texteAvantEdition = e->text();
    controlesNommes::limiterSaisie(e, k <= 15 ? 7 : 4);
    e->selectAll();
    setTexteStatut(indicationFrequence(k));
}

void menuBP::frequence_LostFocus(int k)
{
    const int p = partitionCourante;
    if (!partitionValide(p)) return;
    QLineEdit* e = champ(QLatin1String(nomChamp(k)));
    const QString t = e->text();
    if (k <= 15) {
        const QString f = formaterChamp(e, QStringLiteral("#0.00"));
        if (!valeurInchangee(texteAvantEdition, t, f)) {
            marquer();
            parametresPartitions[k][p] = f;
        }
        e->setText(f);
    } else if (k % 2 == 0) {   // centre
        if (!valeurInchangee(texteAvantEdition, t)) {
            marquer();
            parametresPartitions[k][p] = nombreBande(t);
            parametresPartitions[k + 1][p] = 0;
            champ(QLatin1String(nomChamp(k + 1)))->setText(QStringLiteral("0"));
        }
    } else {   // width
        if (!valeurInchangee(texteAvantEdition, t)) {
            marquer();
            parametresPartitions[k][p] = nombreBande(t);
        }
        if (nombreBande(t) == 0) {
            parametresPartitions[k - 1][p] = 0;
            champ(QLatin1String(nomChamp(k - 1)))->setText(QStringLiteral("0"));
        }
    }
}

// ---- Motor, current, time and MCM fields ----

bool menuBP::mcmEntier() const
{
    return optionSelectionnee(QStringLiteral("genreMcmChk"), 2) || optionSelectionnee(QStringLiteral("genreMcmChk"), 3);
}

QString menuBP::indicationMoteur(int k) const
{
    QString suite;
    if (courantBorne(k)) {
        const Variant& max = CTextBxN::de(champ(QLatin1String(nomChamp(k))))->max;
        suite = QStringLiteral("0...") + (max.estTexte() ? max.texte() : texteSysteme(max.nombre())) + QStringLiteral(" A");
    } else if (estMcm(k)) {
        suite = optionSelectionnee(QStringLiteral("genreMcmChk"), 2) ? QStringLiteral(" 0...300") : QStringLiteral(" 0...300 A");
    } else {
        suite = QLatin1String(literal(k));
    }
    return texteChaine(ids::valeurEntre) + suite;
}

void menuBP::moteur_GotFocus(int k)
{
    QLineEdit* e = champ(QLatin1String(nomChamp(k)));
    CTextBxN* v = CTextBxN::de(e);
    if (courantBorne(k)) {
        const DefChamp* d = defLigne(k);
        double m = 0;
        const bool nombre = lireNombreSysteme(champ(QStringLiteral("editTxtCrtMot"))->text(), m);
        Variant max;
        double borne = 0;
        switch (k) {
        case 4: max = borne = produit(2, m); break;
        case 5:
            max = formatNombre(1.5 * m, QStringLiteral("#0.00"));
            borne = max.nombre();
            break;
        case 31: max = borne = m; break;
        default: max = borne = produit(0.2, m); break;
        }
        // Without a usable motor current the load maximum holds, so the
        // field can still be left.
        v->max = (!nombre || borne < d->min) ? limite(d->max) : max;
        v->IsDecimal = true;
    } else if (estMcm(k)) {
        v->IsDecimal = !mcmEntier();
    } else if (k == 1 || k == 3 || k == 8 || k == 9 || k == 24) {
        v->IsDecimal = true;
    }
    texteAvantEdition = e->text();
    controlesNommes::limiterSaisie(e, longueurMax(k, v->IsDecimal));
    e->selectAll();
    setTexteStatut(indicationMoteur(k));
}

void menuBP::moteur_LostFocus(int k)
{
    const int p = partitionCourante;
    if (!partitionValide(p)) return;
    QLineEdit* e = champ(QLatin1String(nomChamp(k)));
    const QString t = e->text();
    const bool nombre = k == 0 || k == 7 || k == 23 || k == 30 || k == 33 || k == 34;
    if (nombre) {
        if (!valeurInchangee(texteAvantEdition, t)) {
            marquer();
            parametresPartitions[k][p] = nombreEnTete(t);
        }
        return;
    }
    const bool entier = k == 37 || (estMcm(k) && mcmEntier());
    const QString f = formaterChamp(e, entier ? QStringLiteral("#0") : QStringLiteral("#0.00"));
    if (!valeurInchangee(texteAvantEdition, t, f)) {
        marquer();
        parametresPartitions[k][p] = f;
        if (k == 3) cascadeCourantMoteur();
    }
    e->setText(f);
    // The user times follow the acceleration and deceleration times.
    if (k == 8 || k == 9) {
        Variant& utilisateur = parametresPartitions[k + 27][p];
        if (utilisateur.nombre() < parametresPartitions[k][p].nombre()) utilisateur = parametresPartitions[k][p];
    }
}

void menuBP::cascadeCourantMoteur()
{
    const int p = partitionCourante;
    double m = 0;
    if (!lireNombreSysteme(champ(QStringLiteral("editTxtCrtMot"))->text(), m)) return;
    struct Borne {
        int ligne;
        double facteur;
    };
    // A clamped value keeps within the limit that its field's next focus
    // takes from the motor current as shown (0.2 x 12.53 gives 2.50, not 2.51).
    const double affiche = nombreChamp(formatNombre(m, QStringLiteral("#0.00")));
    for (const Borne b : {Borne{4, 2}, Borne{5, 1.5}, Borne{31, 1}, Borne{32, 0.2}}) {
        const double max = produit(b.facteur, m);
        Variant& v = parametresPartitions[b.ligne][p];
        if (max < v.nombre()) {
            const double limite = produit(b.facteur, affiche);
            v = formatDansLimites(std::min(max, limite), QStringLiteral("#0.00"),
                                  -std::numeric_limits<double>::infinity(), limite);
            champ(QLatin1String(nomChamp(b.ligne)))->setText(v.texte());
        }
    }
}

// ---- Option groups ----

void menuBP::option_Click(const QString& nom, int i)
{
    const int p = partitionCourante;
    if (!partitionValide(p)) return;
    const DefGroupe& d = defGroupe(nom);
    Variant& v = parametresPartitions[d.ligne][p];
    const bool change = v.nombre() != i;
    if (change) {
        partParamsModifies[p - 1] = true;
        v = nom == QLatin1String("mesVitChk") ? Variant(static_cast<double>(i)) : Variant(i);
    }
    const QString L = QStringLiteral("Label");
    if (d.ligne == 25) {
        if (change) {
            afficherChampsMcm(i);
            formatValeursMcm(1);
        }
        if (!enLigne() || versionLogiciel >= 18) {
            const bool dto = i == 2 && tableMenuBGen[12].valeur.nombre() == 1;
            for (const QString& n : {QStringLiteral("editTxtDelDto"), element(L, 0), element(L, 1)}) setVisible(n, dto);
        }
    } else if (d.ligne == 2) {
        if (change) majChampsIref(i != 1);
    } else if (d.ligne == 22) {
        if (change)
            for (const QString& n : {QStringLiteral("editTxtNbPulses"), QStringLiteral("editTxtGliss"), element(L, 41),
                                     element(L, 42)})
                setEnabled(n, i != 0);
    } else if (d.ligne == 10) {
        for (const QString& n : {QStringLiteral("editTxtConsDef"), element(L, 30), element(L, 130)}) setEnabled(n, i == 0);
    }
}

// ---- Texts ----

void menuBP::traduireMenuBP()
{
    auto legende = [this](int index, int base) { label(index)->setText(texteChaine(base)); };
    auto cadre = [this](const char* nom, int base) { setTexte(QLatin1String(nom), texteChaine(base)); };
    auto option = [this](const char* nom, int i, int base) { setTexte(element(QLatin1String(nom), i), texteChaine(base)); };

    setWindowTitle(texteChaine(ids::titreMenuBP));
    legende(9, ids::numeroGamme);
    Variant& courante = valeursCourantes[0].valeur;
    if (courante.estVide()) courante = Variant("1");
    champ(QStringLiteral("editTxtGamme"))->setText(courante.texteAffiche());
    legende(22, ids::nbPoles);
    legende(23, ids::puissanceMoteur);
    cadre("irefFr", ids::sourceIref);
    legende(24, ids::courantNominalMoteur);
    legende(25, ids::courantAccDec);
    legende(26, ids::courantMoteurIref);
    cadre("imIrefFr", ids::imSupIref);
    legende(27, ids::compensationRi);
    legende(28, ids::tempsAcceleration);
    legende(29, ids::tempsDeceleration);
    cadre("origConsFr", ids::sourceConsigneFreq);
    legende(0, ids::tempsRetard);
    for (int n = 30; n <= 40; ++n) legende(n, ids::freqDefaut + 10 * (n - 30));
    cadre("mesVitFr", ids::mesureVitesse);
    legende(41, ids::nbImpulsionsTour);
    legende(42, ids::glissementPctFmax);
    cadre("genreMcmFr", ids::genreMcm);
    for (int n = 43; n <= 51; ++n) legende(n, ids::imcm1 + 10 * (n - 43));
    for (int n = 0; n <= 2; ++n) option("imIrefChk", n, ids::arret + 10 * n);
    for (int n = 0; n <= 1; ++n) {
        option("irefChk", n, ids::clavierIref + 10 * n);
        option("origConsChk", n, ids::clavier + 10 * n);
        option("mesVitChk", n, ids::non - 10 * n);
    }
    option("genreMcmChk", 3, ids::rien);
    ExitBtn->setText(texteChaine(ids::quitter));
    ExitBtn->setToolTip(texteChaine(ids::infoQuitterMenuBP));
    copyBtn->setText(texteChaine(ids::copier));
    copyBtn->setToolTip(texteChaine(ids::infoCopierPartition));
    progGammeBtn->setText(texteChaine(ids::progUf));
    progGammeBtn->setToolTip(texteChaine(ids::infoProgUf));
}
