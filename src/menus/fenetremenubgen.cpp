#include "fenetremenubgen.h"

#include "files/dialoguedonnees.h"
#include "menus/impression.h"
#include "files/fichierdonnees.h"
#include "files/sauvegarde.h"
#include "link/fenetreprincipale.h"
#include "link/identite.h"
#include "link/transaction.h"
#include "model/affichagepartition.h"
#include "model/etat.h"
#include "model/menubgen.h"
#include "model/menuc.h"
#include "model/nombres.h"
#include "model/partitions.h"
#include "model/session.h"
#include "model/tables.h"
#include "model/transfertspartitions.h"
#include "platform/plateforme.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "widgets/ctextbxn.h"
#include "widgets/fenetres.h"
#include "widgets/focuschamp.h"
#include "widgets/groupeoptions.h"
#include "widgets/statut.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int boutonDefaut2 = 256;   // second button of a message box is the default

// Shows the window registered under numero; with an opener, modeless from it.
void montrerFenetre(int numero, QWidget* ouvreur)
{
    IFenetre* f = registre().fenetre(numero);
    if (auto* z = dynamic_cast<FenetreZelto*>(f)) {
        if (ouvreur) z->afficherDepuis(ouvreur);
        else z->afficher();
        return;
    }
    if (auto* w = dynamic_cast<QWidget*>(f)) {
        w->show();
        w->raise();
        w->activateWindow();
    }
}

bool partitionTenue(int p)
{
    return partParamsCharges[p - 1] || partNemaCharges[p - 1];
}

QString texteSauvegardePartition(int p)
{
    return texteChaine(ids::sauvegardeZeltoPartition) + QLatin1Char(' ') + QString::number(p)
           + QStringLiteral(" ...");
}

void redemarrerScrutation()
{
    if (IFenetrePrincipale* p = plateforme().principale) p->setTimer1Enabled(true);
}
}

int partitionSelectionnee()
{
    const Variant& v = valeursCourantes[0].valeur;
    if (v.estVide()) return 1;
    const double n = v.nombre();
    if (!(n >= 1 && n <= 64)) return 1;
    return std::clamp(versEntier(n), 1, 64);
}

menuBGen::menuBGen(QWidget* parent) : FenetreVue(numeroFenetre::menuBGen, parent)
{
    construire();
}

menuBGen::~menuBGen()
{
    if (vues().menuBGen == this) vues().menuBGen = nullptr;
    // Unbound before their boxes go.
    delete TXT_uRes;
    delete TXT_filtre;
    delete TXT_tempo;
}

// ---- Controls ----

GroupeOptions* menuBGen::creerGroupe(const char* nom, const char* cadre, int rangee, int idIndication)
{
    auto* fr = new QGroupBox(centralWidget());
    fr->setObjectName(QLatin1String(cadre));
    fr->setMouseTracking(true);
    auto* l = new QHBoxLayout(fr);
    auto* g = new GroupeOptions(this);
    const QString base = QLatin1String(nom);
    for (int i = 0; i <= 1; ++i) {
        auto* o = new QRadioButton(fr);
        o->setObjectName(element(base, i));
        l->addWidget(o);
        g->ajouter(o, i);
        ajouterIndication(o, panneau1(), [idIndication] { return texteChaine(idIndication); });
    }
    connect(g, &GroupeOptions::Click, this, [this, rangee](int Index) { option_Click(rangee, Index); });
    groupes_[base] = Groupe{g, fr, rangee};
    return g;
}

QLineEdit* menuBGen::creerChamp(const char* nom, int rangee, const QString& plage)
{
    auto* e = new QLineEdit(centralWidget());
    e->setObjectName(QLatin1String(nom));
    e->setMaximumWidth(90);
    ajouterIndication(e, panneau1(), [plage] { return texteChaine(ids::valeurEntre) + plage; });
    surFocus(e, [this, e] { champ_GotFocus(e); }, [this, e, rangee] { champ_LostFocus(e, rangee); });
    return e;
}

QPushButton* menuBGen::creerBouton(const char* nom, void (menuBGen::*clic)())
{
    QPushButton* b = ::creerBouton(centralWidget(), QLatin1String(nom), [this, clic] { (this->*clic)(); });
    ajouterIndication(b, panneau1(), QString());
    return b;
}

void menuBGen::construire()
{
    setObjectName(QStringLiteral("menuBGen"));
    auto* centre = new QWidget(this);
    centre->setMouseTracking(true);
    setMouseTracking(true);
    setCentralWidget(centre);
    auto* haut = new QVBoxLayout(centre);

    for (int i = 0; i < 4; ++i) {
        Label[i] = new QLabel(centre);
        Label[i]->setObjectName(element(QStringLiteral("Label"), i));
    }
    QFont gras = Label[3]->font();
    gras.setBold(true);
    gras.setPointSize(gras.pointSize() + 2);
    Label[3]->setFont(gras);
    Label[3]->setAlignment(Qt::AlignHCenter);
    haut->addWidget(Label[3]);

    startStopChk = creerGroupe("startStopChk", "startStopFr", 0, ids::infoMarcheArret);
    uniteChk = creerGroupe("uniteChk", "uniteAffFr", 1, ids::infoUniteVitesse);
    autorIsrChk = creerGroupe("autorIsrChk", "autorIsrFr", 2, ids::infoInversionAutorisee);
    origIsrChk = creerGroupe("origIsrChk", "origIsrFr", 3, ids::infoSourceInversion);
    genreConsChk = creerGroupe("genreConsChk", "genreConsFr", 5, ids::infoGenreConsigne);
    origPartChk = creerGroupe("origPartChk", "origPartFr", 7, ids::infoSelectionPartition);
    arretChk = creerGroupe("arretChk", "arretFr", 8, ids::infoArretDefaut);
    reprVolChk = creerGroupe("reprVolChk", "reprVolFr", 10, ids::infoRepriseVol);
    verrClefChk = creerGroupe("verrClefChk", "verrClefFr", 11, ids::infoVerrouillageClef);
    tempoDtoChk = creerGroupe("tempoDtoChk", "tempoDtoFr", 12, ids::infoTempoDto);
    // Fixed captions.
    uniteChk->option(0)->setText(QStringLiteral("Hz"));
    uniteChk->option(1)->setText(QStringLiteral("T/min"));
    genreConsChk->option(0)->setText(QStringLiteral("+/-10V"));
    genreConsChk->option(1)->setText(QStringLiteral("0..10V"));

    auto* grille = new QGridLayout;
    const char* ordre[10] = {"startStopChk", "uniteChk", "autorIsrChk", "origIsrChk", "genreConsChk",
                             "origPartChk",  "arretChk", "reprVolChk",  "verrClefChk", "tempoDtoChk"};
    for (int i = 0; i < 10; ++i) grille->addWidget(groupes_.at(QLatin1String(ordre[i])).cadre, i / 5, i % 5);
    haut->addLayout(grille);

    editTxtFiltre = creerChamp("editTxtFiltre", 4, QStringLiteral(" 0 ...10"));
    editTxtUres = creerChamp("editTxtUres", 6, QStringLiteral(" 200 ...480 V"));
    editTxtTempo = creerChamp("editTxtTempo", 9, QStringLiteral(" 0 ... 5 s"));
    auto* champs = new QGridLayout;
    QLineEdit* ordreChamps[3] = {editTxtUres, editTxtFiltre, editTxtTempo};
    const char* unites[3] = {"[V]", "", "[s]"};
    for (int i = 0; i < 3; ++i) {
        champs->addWidget(Label[i], i, 0);
        champs->addWidget(ordreChamps[i], i, 1);
        champs->addWidget(new QLabel(QLatin1String(unites[i]), centre), i, 2);
    }
    champs->setColumnStretch(3, 1);
    haut->addLayout(champs);

    TXT_uRes = new CTextBxN(this);
    TXT_filtre = new CTextBxN(this);
    TXT_tempo = new CTextBxN(this);
    for (CTextBxN* v : {TXT_uRes, TXT_filtre, TXT_tempo})
        connect(v, &CTextBxN::ValidateError, this, [](bool& Cancel) { Cancel = afficheHorsLimites(); });

    auto* Line1 = new QFrame(centre);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    haut->addWidget(Line1);

    saveBtn = creerBouton("saveBtn", &menuBGen::saveBtn_Click);
    openBtn = creerBouton("openBtn", &menuBGen::openBtn_Click);
    downBtn = creerBouton("downBtn", &menuBGen::downBtn_Click);
    downAsIsBtn = creerBouton("downAsIsBtn", &menuBGen::downAsIsBtn_Click);
    progGammeBtn = creerBouton("progGammeBtn", &menuBGen::progGammeBtn_Click);
    printBtn = creerBouton("printBtn", &menuBGen::printBtn_Click);
    ExitBtn = creerBouton("ExitBtn", &menuBGen::ExitBtn_Click);
    auto* boutons = new QHBoxLayout;
    for (QPushButton* b : {saveBtn, openBtn, downBtn, downAsIsBtn, progGammeBtn, printBtn, ExitBtn})
        boutons->addWidget(b);
    haut->addLayout(boutons);

    panneau1();
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);
    traduireMenuBGen();
}

void menuBGen::traduireMenuBGen()
{
    setWindowTitle(texteChaine(ids::titreMenuBGen));
    Label[0]->setText(texteChaine(ids::libTensionReseau));
    Label[1]->setText(texteChaine(ids::libFiltreVitesse));
    Label[2]->setText(texteChaine(ids::libRetardDefaut));
    Label[3]->setText(texteChaine(ids::titreMenuBGen));

    struct Legende {
        const char* groupe;
        int cadre;
        int option0;
        int option1;   // 0: fixed captions
    };
    const int dto = versionLogiciel >= 18 ? ids::cadreTempoDto : ids::cadreTempoDto5s;
    const Legende legendes[10] = {
        {"startStopChk", ids::cadreMarcheArret, ids::clavier, ids::bornier},
        {"uniteChk", ids::cadreUniteVitesse, 0, 0},
        {"autorIsrChk", ids::cadreInversionAutorisee, ids::non, ids::oui},
        {"origIsrChk", ids::cadreSourceInversion, ids::clavier, ids::bornier},
        {"genreConsChk", ids::cadreGenreConsigne, 0, 0},
        {"origPartChk", ids::cadreSelectionPartition, ids::clavier, ids::bornier},
        {"arretChk", ids::cadreArretDefaut, ids::arretLibre, ids::arretRampe},
        {"reprVolChk", ids::cadreRepriseVol, ids::non, ids::oui},
        {"verrClefChk", ids::cadreVerrouillageClef, ids::verrouMenusBC, ids::verrouMenusBaFJ},
        {"tempoDtoChk", dto, ids::non, ids::oui},
    };
    for (const Legende& l : legendes) {
        const Groupe& g = groupes_.at(QLatin1String(l.groupe));
        g.cadre->setTitle(texteChaine(l.cadre));
        if (l.option0 == 0) continue;
        g.options->option(0)->setText(texteChaine(l.option0));
        g.options->option(1)->setText(texteChaine(l.option1));
    }

    const struct {
        QPushButton* bouton;
        int legende;
        int bulle;
    } boutons[7] = {
        {saveBtn, ids::sauver, ids::infoSauver},
        {openBtn, ids::ouvrir, ids::infoOuvrir},
        {downBtn, ids::telecharger, ids::infoTelechargerMenuB},
        {downAsIsBtn, ids::telechargerTout, ids::infoTelechargerTout},
        {progGammeBtn, ids::progPartition, ids::infoProgPartition},
        {printBtn, ids::imprimer, ids::infoImprimer},
        {ExitBtn, ids::quitter, ids::infoQuitterMenuBGen},
    };
    for (const auto& b : boutons) {
        b.bouton->setText(texteChaine(b.legende));
        b.bouton->setToolTip(texteChaine(b.bulle));
    }
}

// ---- View of the core ----

const menuBGen::Groupe& menuBGen::groupe(const QString& nom) const
{
    const auto it = groupes_.find(nom);
    if (it == groupes_.end()) qFatal("menuBGen has no option group %s", qPrintable(nom));
    return it->second;
}

void menuBGen::selectionnerOption(const QString& nom, int index)
{
    groupe(nom).options->selectionner(index);
}

bool menuBGen::optionSelectionnee(const QString& nom, int index) const
{
    return groupe(nom).options->selection() == index;
}

// ---- Load, activation, closing ----

void menuBGen::Form_Load()
{
    arreterScrutation();
    pointeurSourisPartout(pointeur::sablier);
    last.clear();
    TXT_uRes->Init(editTxtUres, 2, tensionReseauSaisieMin, 480);
    TXT_filtre->Init(editTxtFiltre, 2, 1, 10);
    TXT_tempo->Init(editTxtTempo, 2, 0, 5);
    traduireMenuBGen();
    placerFenetre(numeroFenetre::menuBGen, this);
    vues().menuBGen = this;
}

void menuBGen::Form_Activate()
{
    majBoutonsMenuBGen(false);
    if (!menuBGenCharge) {
        setTexteStatut(texteChaine(ids::patientez));
        if (enLigne()) {
            arreterScrutation();
            sensLecture = true;
            transfertMenuBGen();
            // Held only when the whole read came on line.
            if (enLigne()) menuBGenCharge = true;
        }
    }
    afficherMenuBGen();
    setTexteStatut(QString());
    pointeurSourisPartout(pointeur::normal);
    majBoutonsMenuBGen(true);
    travailEnCours = false;
}

void menuBGen::Form_QueryUnload(bool& Cancel, int /*UnloadMode*/)
{
    if (refuserSiOccupe(Cancel)) return;
    if (partitionsModifiees() && enLigne()) questionQuoiFaireB();
}

void menuBGen::Form_Unload(bool& Cancel)
{
    if (refuserSiOccupe(Cancel)) return;
    memoriserPosition(numeroFenetre::menuBGen, this);
    if (vues().menuBGen == this) vues().menuBGen = nullptr;
    activerFenetrePrincipale(true);
}

void menuBGen::mouseMoveEvent(QMouseEvent* e)
{
    setTexteStatut(QString());
    FenetreZelto::mouseMoveEvent(e);
}

void menuBGen::ExitBtn_Click()
{
    setTexteStatut(QString());
    decharger();
}

void menuBGen::questionQuoiFaireB()
{
    if (ui().msgBox(texteChaine(ids::sauverDansZelto), msg::ouiNon | msg::question, texteChaine(ids::messageTitre))
        != msg::oui) {
        // Unsent general edits keep the general part held.
        if (!menuBGenModifie) menuBGenCharge = false;
    } else {
        arreterScrutation();
        travailEnCours = true;
        majBoutonsMenuBGen(false);
        pointeurSourisPartout(pointeur::sablier);
        if (origPartExterne) envoyerOrigPart0();
        const int derniere = std::clamp(nbPartitions, 1, 64);
        for (int passe = 0; passe < 2; ++passe) {
            auto& marques = passe == 0 ? partParamsModifies : partNemaModifies;
            for (int p = 1; p <= derniere; ++p) {
                if (!marques[p - 1]) continue;
                partitionCourante = p;
                setTexteStatut(texteSauvegardePartition(p));
                sensLecture = false;
                transfertNumPartition();
                sensLecture = false;
                if (passe == 0) transfertPartition(true);
                else transfertPointsNema();
                marques[p - 1] = false;
            }
        }
    }
    travailEnCours = false;
    majBoutonsMenuBGen(true);
    pointeurSourisPartout(pointeur::normal);
}

// ---- Fields and options ----

void menuBGen::option_Click(int rangee, int Index)
{
    Variant& valeur = tableMenuBGen[rangee].valeur;
    const bool change = Index != valeur.entier();
    if (change) menuBGenModifie = true;
    valeur = Index;
    if (rangee == 2) {
        const bool actif = Index == 1;
        origIsrChk->option(0)->setEnabled(actif);
        origIsrChk->option(1)->setEnabled(actif);
        groupes_.at(QStringLiteral("origIsrChk")).cadre->setEnabled(actif);
    }
    if (rangee == 7 && change) origPartExterne = Index == 1;
}

void menuBGen::champ_GotFocus(QLineEdit* champ)
{
    champ->selectAll();
    last = champ->text();
}

void menuBGen::champ_LostFocus(QLineEdit* champ, int rangee)
{
    if (!valeurInchangee(last, champ->text())) menuBGenModifie = true;
    tableMenuBGen[rangee].valeur = nombreEnTete(champ->text());
}

// ---- Commands ----

void menuBGen::finirCommande()
{
    pointeurSourisPartout(pointeur::normal);
    travailEnCours = false;
    majBoutonsMenuBGen(true);
    if (isVisible()) ExitBtn->setFocus(Qt::OtherFocusReason);
}

void menuBGen::saveBtn_Click()
{
    setTexteStatut(QString());
    majBoutonsMenuBGen(false);
    const QString chemin = ui().dialogueSauver(dialogueFichierDonnees(true));
    if (chemin.isEmpty()) {
        majBoutonsMenuBGen(true);
        return;
    }
    const bool depuisConvertisseur = enLigne();
    arreterScrutation();
    pointeurSourisPartout(pointeur::sablier);
    if (origPartExterne) envoyerOrigPart0();
    travailEnCours = true;
    const bool ok = sauverDonneesAvecRepli(chemin);
    travailEnCours = false;
    if (origPartExterne) envoyerOrigPart1();
    // Held only what the save read from the converter.
    if (ok && depuisConvertisseur && enLigne()) {
        partParamsCharges.fill(true);
        partNemaCharges.fill(true);
        menuBGenCharge = true;
        menuCCharge = true;
    }
    finirCommande();
    redemarrerScrutation();
}

void menuBGen::openBtn_Click()
{
    setTexteStatut(QString());
    majBoutonsMenuBGen(false);
    const QString chemin = ui().dialogueOuvrir(dialogueFichierDonnees(false));
    if (chemin.isEmpty()) {
        majBoutonsMenuBGen(true);
        return;
    }
    pointeurSourisPartout(pointeur::sablier);
    travailEnCours = true;
    majBoutonsMenuBGen(false);
    // The reader marks the partitions it read; an illegible file changed
    // nothing, so nothing follows it.
    const bool lu = ouvrirFichierDonnees(chemin);
    finirCommande();
    if (!lu) return;
    menuBGenCharge = true;
    menuCCharge = true;
    // Going on line must not read the file's general part over.
    menuBGenModifie = true;

    choisirPartition(valeursCourantes[0].valeur);
    attentePrecise(1.0f);
    afficherMenuBGen();
    origPartExterne = tableMenuBGen[7].valeur.nombre() == 1;
    initPointsNema(64);
    valeursCourantes[0].valeur = 1;
    fixerFinGamme(1);
    if (IVueMenuBP* vue = vues().menuBP) vue->setTexte(QStringLiteral("editTxtGamme"), QStringLiteral("1"));
    const int n = nbPointsIndex(1);
    nbPointsNema = pointsNema[1][64];
    for (int k = 2 * n; k <= 63; ++k) pointsNema[1][k] = 0;
    nbPointsNema = 1;
    afficherPartition(1);
    pointeurSourisPartout(pointeur::normal);
}

void menuBGen::downBtn_Click()
{
    setTexteStatut(QString());
    travailEnCours = true;
    majBoutonsMenuBGen(false);
    const int p = partitionSelectionnee();
    bool generalEnvoye = false;
    if (menuBGenCharge) {
        if (enLigne()) {
            generalEnvoye = true;
            if (!partitionTenue(p))
                ui().msgBox(texteChaine(ids::seulementPartieGenerale), msg::exclamation | msg::okSeul, QString());
            arreterScrutation();
            pointeurSourisPartout(pointeur::sablier);
            sensLecture = false;
            transfertMenuBGen();
        }
        menuBGenModifie = false;
    }
    majBoutonsMenuBGen(true);
    travailEnCours = false;
    pointeurSourisPartout(pointeur::normal);
    // The link was lost: the window closes, no partition download follows.
    if (fermetureEnAttente()) return;

    const bool dialogue = partitionTenue(p) && registre().fenetre(numeroFenetre::copyNema);
    // The general part went with the partition source on the PC: when no
    // partition download follows, the terminal block gets it back.
    if (!dialogue && generalEnvoye && origPartExterne) envoyerOrigPart1();
    if (!partitionTenue(p)) {
        ui().beep();
        return;
    }
    if (!dialogue) return;
    modeCopie = 3;
    montrerFenetre(numeroFenetre::copyNema, nullptr);
}

void menuBGen::downAsIsBtn_Click()
{
    setTexteStatut(QString());
    // Every partition of this converter must hold parameters and points.
    const int derniere = std::clamp(nbPartitions, 1, 64);
    int tenues = 0;
    for (int p = 1; p <= derniere; ++p) tenues += (partParamsCharges[p - 1] ? 1 : 0) + (partNemaCharges[p - 1] ? 1 : 0);
    if (tenues < 2 * derniere
        && ui().msgBox(texteChaine(ids::partitionsParDefaut), msg::okAnnuler | boutonDefaut2, QString()) != msg::ok)
        return;

    arreterScrutation();
    travailEnCours = true;
    pointeurSourisPartout(pointeur::sablier);
    majBoutonsMenuBGen(false);
    if (origPartExterne) envoyerOrigPart0();
    sensLecture = false;
    transfertMenuBGen();
    for (partitionCourante = 1; partitionCourante <= derniere; ++partitionCourante) {
        if (!enLigne()) break;
        setTexteStatut(texteSauvegardePartition(partitionCourante));
        sensLecture = false;
        transfertNumPartition();
        sensLecture = false;
        transfertPartition(true);
        sensLecture = false;
        transfertPointsNema();
    }
    if (origPartExterne) envoyerOrigPart1();
    sensLecture = false;
    setTexteStatut(texteChaine(ids::sauvegardeZeltoMenuC));
    transfertMenuC(sensLecture);
    travailEnCours = false;
    pointeurSourisPartout(pointeur::normal);
    majBoutonsMenuBGen(true);
    setTexteStatut(QString());
    // A download cut by a link loss does not sound done.
    if (enLigne()) ui().beep();
}

void menuBGen::progGammeBtn_Click()
{
    setTexteStatut(QString());
    if (enLigne()) {
        arreterScrutation();
        sensLecture = true;
        transfertNumPartition();
        partitionCourante = partitionSelectionnee();
        // The partition window claims the link again when it loads.
        travailEnCours = false;
    }
    montrerFenetre(numeroFenetre::menuBP, this);
}

void menuBGen::printBtn_Click()
{
    imprimerMenuBGen();
}
