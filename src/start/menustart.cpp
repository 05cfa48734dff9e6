#include "menustart.h"

#include "menud.h"
#include "newfreqw.h"

#include "link/fenetreprincipale.h"
#include "link/identite.h"
#include "link/transaction.h"
#include "model/etat.h"
#include "model/menubgen.h"
#include "model/nombres.h"
#include "model/partitions.h"
#include "model/session.h"
#include "model/tables.h"
#include "model/transfertspartitions.h"
#include "platform/horloge.h"
#include "platform/plateforme.h"
#include "platform/porteentrees.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "widgets/fenetres.h"
#include "widgets/statut.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTime>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int intervalleTimerStart = 500;
const QString commandeStop = QStringLiteral("s");
const QString commandeStart = QStringLiteral("r");
const QString commandeReset = QStringLiteral("I");
const QString commandeInversion = QStringLiteral("t");
const QString commandeFreqDef = QStringLiteral("$J");

// Fault texts of flags 0 to 7.
constexpr int textesAnomalies[8] = {
    ids::anoVerrouillagesExternes, ids::anoSurchargeConvertisseur, ids::anoAlimAuxiliaire, ids::anoTempMoteur,
    ids::anoTempConvertisseur,     ids::anoReseau,                 ids::anoSurchargeMoteur, ids::anoCodagePartition,
};

// The "0" and "1" among the first 30 characters of a flag reply.
QString drapeauxLus(const QString& texte)
{
    QString r;
    for (const QChar c : texte.left(30))
        if (c == u'0' || c == u'1') r += c;
    return r;
}

double mesure(int ligne) { return tableCodesMesures[ligne][1].nombre(); }

QString heure() { return QTime::currentTime().toString(QStringLiteral("HH:mm:ss")); }

bool inversionPermise() { return tableMenuBGen[2].valeur.nombre() == 1 && tableMenuBGen[3].valeur.nombre() == 0; }
}

int pairesPoles(int p)
{
    if (!partitionValide(p)) return 1;
    return std::max(1, versEntier(parametresPartitions[0][p].nombre() / 2));
}

menuStart::menuStart() : FenetreZelto(numeroFenetre::menuStart)
{
    construire();
    TimerStart = horloge().creerMinuterie();
    TimerStart->setInterval(intervalleTimerStart);
    TimerStart->surTick = [this] { TimerStart_Timer(); };
}

menuStart::~menuStart()
{
    TimerStart.reset();
}

// ---- Controls ----

void menuStart::construire()
{
    setObjectName(QStringLiteral("menuStart"));
    setWindowTitle(QStringLiteral("MENU \"Start\""));
    auto* centre = new QWidget(this);
    centre->setMouseTracking(true);
    setCentralWidget(centre);
    auto* haut = new QVBoxLayout(centre);

    auto* gamme = new QHBoxLayout;
    Label16 = new QLabel(centre);
    Label16->setObjectName(QStringLiteral("Label(16)"));
    editTxtGammeStart = new QLineEdit(centre);
    editTxtGammeStart->setObjectName(QStringLiteral("editTxtGammeStart"));
    editTxtGammeStart->setMaximumWidth(60);
    gamme->addWidget(Label16);
    gamme->addWidget(editTxtGammeStart);
    gamme->addStretch();
    haut->addLayout(gamme);

    auto* valeurs = new QGridLayout;
    haut->addLayout(valeurs);
    struct Champ {
        QLineEdit** champ;
        const char* nom;
        const char* libelle;
    };
    const Champ champs[] = {
        {&editTxtFc, "editTxtFc", "Fc(Hz) ="},       {&editTxtFreq, "editTxtFreq", "F(Hz) ="},
        {&editTxtCrt, "editTxtCrt", "I(A) ="},       {&editTxtU, "editTxtU", "U(V) ="},
        {&editTxtIref, "editTxtIref", "Iref(A) ="},  {&editTxtIacc, "editTxtIacc", "Iacc(A) ="},
        {&editTxtUr, "editTxtUr", "Ur(V) ="},        {&editTxtIw, "editTxtIw", "Iw(A) ="},
        {&editTxtPm, "editTxtPm", "Pm(Kw) ="},       {&editTxtUc, "editTxtUc", "Udc(V) ="},
        {&EditTxtInom, "EditTxtInom", "Inom(A) ="},  {&editTxtPnom, "editTxtPnom", "Pnom(Kw) ="},
    };
    int i = 0;
    for (const Champ& c : champs) {
        auto* l = new QLabel(QString::fromLatin1(c.libelle), centre);
        *c.champ = new QLineEdit(centre);
        (*c.champ)->setObjectName(QString::fromLatin1(c.nom));
        (*c.champ)->setAlignment(Qt::AlignRight);
        // Read-only value fields: normal text, no focus, no typing.
        (*c.champ)->setReadOnly(true);
        (*c.champ)->setFocusPolicy(Qt::NoFocus);
        valeurs->addWidget(l, i / 2, (i % 2) * 2);
        valeurs->addWidget(*c.champ, i / 2, (i % 2) * 2 + 1);
        if (i == 0) visfcLabel = l;
        if (i == 1) visfreqLabel = l;
        ++i;
    }
    visfcLabel->setObjectName(QStringLiteral("visfcLabel"));
    visfreqLabel->setObjectName(QStringLiteral("visfreqLabel"));

    auto* relais = new QHBoxLayout;
    haut->addLayout(relais);
    for (int r = 1; r <= 5; ++r) {
        relaisLabel[r] = new QLabel(centre);
        relaisLabel[r]->setObjectName(QStringLiteral("relais%1Label").arg(r));
        relon[r] = new QLabel(centre);
        relon[r]->setObjectName(element(QStringLiteral("relon"), r));
        relon[r]->setFrameShape(QFrame::Box);
        relon[r]->setAlignment(Qt::AlignCenter);
        relon[r]->setFixedSize(22, 22);
        relais->addWidget(relaisLabel[r]);
        relais->addWidget(relon[r]);
    }
    relais->addStretch();

    auto* boutons = new QGridLayout;
    haut->addLayout(boutons);
    struct Bouton {
        QPushButton** bouton;
        const char* nom;
        void (menuStart::*click)();
    };
    const Bouton bs[] = {
        {&startConvBtn, "startConvBtn", &menuStart::startConvBtn_Click},
        {&stopConvBtn, "stopConvBtn", &menuStart::stopConvBtn_Click},
        {&inversionBtn, "inversionBtn", &menuStart::inversionBtn_Click},
        {&resetBtn, "resetBtn", &menuStart::resetBtn_Click},
        {&freqDefBtn, "freqDefBtn", &menuStart::freqDefBtn_Click},
        {&newConsBtn, "newConsBtn", &menuStart::newConsBtn_Click},
        {&anoBtn, "anoBtn", &menuStart::anoBtn_Click},
        {&menuDBtn, "menuDBtn", &menuStart::menuDBtn_Click},
        {&exitStartBtn, "exitStartBtn", &menuStart::exitStartBtn_Click},
    };
    i = 0;
    for (const Bouton& b : bs) {
        const auto click = b.click;
        *b.bouton = creerBouton(centre, QString::fromLatin1(b.nom), [this, click] { (this->*click)(); });
        boutons->addWidget(*b.bouton, i / 3, i % 3);
        ++i;
    }
    menuDBtn->setText(QStringLiteral("MENU \"&D\""));
    startConvBtn->setText(QStringLiteral("&Start"));
    startConvBtn->setToolTip(QStringLiteral("Start"));
    stopConvBtn->setText(QStringLiteral("S&top"));
    stopConvBtn->setToolTip(QStringLiteral("Stop"));

    statusBar()->setSizeGripEnabled(false);
    panneau1();
    resize(460, 420);
}

void menuStart::traduireMenuStart(int partition)
{
    editTxtGammeStart->setText(QString::number(partition));
    editTxtGammeStart->setEnabled(false);
    Label16->setText(texteChaine(ids::numeroGamme));
    inversionBtn->setText(texteChaine(ids::inversion));
    inversionBtn->setToolTip(texteChaine(ids::infoInversion));
    resetBtn->setText(texteChaine(ids::reset));
    resetBtn->setToolTip(texteChaine(ids::infoReset));
    freqDefBtn->setText(texteChaine(ids::memoFreqDefaut));
    freqDefBtn->setToolTip(texteChaine(ids::infoMemoFreqDefaut));
    newConsBtn->setText(texteChaine(ids::nouvConsigne));
    newConsBtn->setToolTip(texteChaine(ids::infoNouvConsigne));
    menuDBtn->setToolTip(texteChaine(ids::infoMenuD));
    anoBtn->setText(texteChaine(ids::defaut));
    anoBtn->setToolTip(texteChaine(ids::infoDefaut));
    exitStartBtn->setText(texteChaine(ids::quitterStart));
    exitStartBtn->setToolTip(texteChaine(ids::infoQuitterStart));
    for (int r = 1; r <= 5; ++r) relaisLabel[r]->setText(texteChaine(ids::relais) + QString::number(r));
}

// ---- Life of the window ----

void menuStart::Form_Load()
{
    arreterScrutation();
    pointeurSourisPartout(pointeur::sablier);
    flagExit = false;
    mesuresAffichees_ = false;
    nouvCommDuPupVersZelto = false;
    dataWrite.clear();
    refreshTime = true;
    requeteStart_ = 0;
    activationEnAttente_ = false;
    pas_ = 0;
    retirerPanneau2();
    for (QLineEdit* e : findChildren<QLineEdit*>()) e->clear();
    for (int r = 1; r <= 5; ++r) relon[r]->clear();
    // The window comes up on Stop: a stray Enter stops the motor, never starts it.
    stopConvBtn->setFocus(Qt::OtherFocusReason);
    // Unsent general edits are kept.
    if (!menuBGenCharge && !menuBGenModifie) {
        sensLecture = true;
        transfertMenuBGen();
        menuBGenCharge = enLigne();
    }
    placerFenetre(numeroFenetre::menuStart, this);
}

void menuStart::Form_Activate()
{
    // Raised inside another exchange (a window switch during a poll step),
    // the reads would send nothing and take that exchange's reply as the
    // partition: the next free tick runs the activation.
    if (liaisonOccupee()) {
        activationEnAttente_ = true;
        TimerStart->setEnabled(true);
        return;
    }
    activationEnAttente_ = false;
    // The window is in use while it reads: a click on Stop meanwhile queues
    // its command once the read is over.
    EchangeEnCours echange(entrees::Regle::differer);
    if (origPartExterne) envoyerOrigPart1();
    sensLecture = true;
    transfertNumPartition();
    const int p = partitionDuSelecteur();
    partitionCourante = p;
    traduireMenuStart(p);

    // A partition whose unsent values the PC keeps counts as held: reloading
    // it at each activation would offer Start again while the motor turns.
    const bool tenue = partNemaCharges[p - 1] || partNemaModifies[p - 1];
    if (!tenue || !startInitialise) {
        panneau1()->setText(texteChaine(ids::patientez));
        for (QPushButton* b : {startConvBtn, freqDefBtn, newConsBtn, inversionBtn}) b->setEnabled(false);

        // What the PC holds unsent is not replaced by the converter's values.
        sensLecture = true;
        if (!menuBGenModifie) {
            transfertMenuBGen();
            menuBGenCharge = enLigne();
        }
        if (!partParamsModifies[p - 1]) {
            sensLecture = true;
            transfertPartition(true);
            if (enLigne()) partParamsCharges[p - 1] = true;
        }
        if (!partNemaModifies[p - 1]) {
            sensLecture = true;
            transfertPointsNema();
            if (enLigne()) partNemaCharges[p - 1] = true;
        }
        terminerPointsNema(p);
        startInitialise = true;

        testStartBtn();
        inversionBtn->setEnabled(inversionPermise());
        for (QPushButton* b : {stopConvBtn, anoBtn, resetBtn, menuDBtn}) b->setEnabled(true);

        unit = tableMenuBGen[1].valeur.entier();
        mesVit = parametresPartitions[22][p].entier();
        nbPpole = pairesPoles(p);
        origCons = parametresPartitions[10][p].entier();
        newConsBtn->setEnabled(origCons != 1);
        freqDefBtn->setEnabled(origCons != 1);
        if (!affichageRpm()) {
            visfcLabel->setText(QStringLiteral("Fc(Hz) ="));
            visfreqLabel->setText(QStringLiteral("F(Hz) ="));
        } else {
            visfcLabel->setText(texteChaine(ids::ncRpm));
            visfreqLabel->setText(texteChaine(ids::nRpm));
        }
        for (int i = 0; i < 3; ++i) scruterStart();
    }

    travailEnCours = false;
    startActif = true;
    // Already running (menu D's exit), it keeps its rhythm.
    TimerStart->setEnabled(true);
    refreshTime = true;
    pointeurSourisPartout(pointeur::normal);
}

void menuStart::Form_QueryUnload(bool& Cancel, int UnloadMode)
{
    const bool utilisateur = UnloadMode == modeFermeture::vbFormControlMenu;
    if (travailEnCours || (utilisateur && liaisonOccupee())) {
        Cancel = true;
        ui().beep();
    }
    if (utilisateur && mesure(1) > 1) {
        ui().msgBox(texteChaine(ids::arreterAvantFermer), msg::exclamation | msg::okSeul,
                    texteChaine(ids::messageTitre));
        Cancel = true;
    }
}

void menuStart::Form_Unload(bool& Cancel)
{
    if (refuserSiOccupe(Cancel)) return;
    memoriserPosition(numeroFenetre::menuStart, this);
    startInitialise = false;
    // Whatever closed the window, the poll ends with it.
    startActif = false;
    refreshTime = false;
    TimerStart->setEnabled(false);
    // The working display and menu A buttons come back on line only.
    activerFenetrePrincipale(true);
    pointeurSourisPartout(pointeur::normal);
}

void menuStart::activerTimerStart()
{
    TimerStart->setEnabled(true);
}

// ---- Timer tick and poll ----

void menuStart::TimerStart_Timer()
{
    // Inside a transaction (its reply wait processes events) nothing is
    // sent; a later tick does the work.
    if (liaisonOccupee()) return;
    if (activationEnAttente_) {
        Form_Activate();
        return;
    }

    panneau1()->setText(mesuresAffichees_ ? heure() : texteChaine(ids::patientez));

    IFenetrePrincipale* principale = plateforme().principale;
    if (principale && principale->estVisible() && startActif) {
        // A button pressed meanwhile acts once this tick's exchange is over.
        EchangeEnCours echange(entrees::Regle::differer);
        if (nouvCommDuPupVersZelto) {
            nouvCommDuPupVersZelto = false;
            cmdMode = QStringLiteral("S");
            envoyerCommandeSimple(dataWrite);
            reactiverBoutons();
            pointeurSourisPartout(pointeur::normal);
        } else if (refreshTime) {
            refreshTime = false;
            cmdMode = QStringLiteral("S");
            scruterStart();
        }
    }

    if (nombreChamp(editTxtFreq->text()) <= 1) {
        editTxtFreq->setText(affichageRpm() ? QStringLiteral("0") : formatNombre(0, QStringLiteral("#0.00")));
        exitStartBtn->setEnabled(true);
    } else {
        exitStartBtn->setEnabled(false);
    }

    // Off line (link lost during an activation too): the window closes.
    if (flagExit || !enLigne()) {
        startActif = false;
        TimerStart->setEnabled(false);
        refreshTime = false;
        pointeurSourisPartout(pointeur::normal);
        decharger();
        return;
    }

    if (requeteStart_ == 1) {
        newFreq();
        requeteStart_ = 0;
    } else if (requeteStart_ == 2) {
        TimerStart->setEnabled(false);
        refreshTime = false;
        ouvrirMenuD();
        requeteStart_ = 0;
    }
}

void menuStart::ouvrirMenuD()
{
    if (auto* d = dynamic_cast<menuD*>(registre().fenetre(numeroFenetre::menuD))) d->afficherModal();
}

void menuStart::scruterStart()
{
    if (!enLigne()) return;
    if (pas_ > 2) pas_ = 0;
    cmdParam1.clear();
    cmdParam2.clear();
    if (pas_ == 0 || pas_ == 1) {
        for (int r = 6 * pas_; r <= 6 * pas_ + 6; ++r) {
            sensLecture = true;
            cmdCode = tableCodesMesures[r][0].texte();
            envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
            tableCodesMesures[r][1] = nombreEnTete(reponse);
        }
        afficherMesures(pas_);
    } else {
        sensLecture = true;
        cmdCode = QStringLiteral("AN");
        envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
        lireAnomalies(reponse);
        sensLecture = true;
        cmdCode = QStringLiteral("ST");
        envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
        lireEtatRelais(reponse);
    }
    refreshTime = true;
    ++pas_;
}

void menuStart::afficherMesures(int pas)
{
    const QString deuxDecimales = QStringLiteral("#0.00");
    if (pas == 0) {
        const double ft = mesure(0);
        const double fq = mesure(1);
        if (affichageRpm()) {
            editTxtFc->setText(QString::number(versEntier(ft * 60 / nbPpole + 0.3 / nbPpole)));
            editTxtFreq->setText(QString::number(versEntier(fq * 60 / nbPpole + 0.5)));
        } else {
            editTxtFc->setText(texteSysteme(ft));
            editTxtFreq->setText(texteSysteme(fq));
        }
        mesuresAffichees_ = true;
        newConsBtn->setEnabled(origCons == 0);
    }
    editTxtCrt->setText(texteSysteme(mesure(2)));
    editTxtU->setText(texteSysteme(mesure(3)));
    editTxtIref->setText(formatNombre(mesure(4), deuxDecimales));
    editTxtIacc->setText(formatNombre(mesure(5), deuxDecimales));
    editTxtUr->setText(texteSysteme(mesure(6)));
    if (pas != 1) return;
    editTxtIw->setText(texteSysteme(mesure(7)));
    editTxtPm->setText(texteSysteme(mesure(8)));
    EditTxtInom->setText(formatNombre(mesure(10), deuxDecimales));
    editTxtPnom->setText(formatNombre(mesure(11), deuxDecimales));
    editTxtUc->setText(texteSysteme(mesure(9)));
    editTxtGammeStart->setText(texteSysteme(mesure(12)));
}

void menuStart::lireAnomalies(const QString& texte)
{
    const QString drapeaux = drapeauxLus(texte);
    const bool anomalie = drapeaux.contains(u'1');
    for (int i = 0; i < 8; ++i) etatAnomalies[i] = i < drapeaux.size() ? QString(drapeaux[i]) : QString();
    afficheAnoStatusBar(1);
    if (anomalie && !startConvBtn->isEnabled()) {
        stopConvBtn->setEnabled(false);
        mettreEnFile(commandeStop);
    }
}

void menuStart::lireEtatRelais(const QString& texte)
{
    const QString etats = drapeauxLus(texte);
    for (int j = 0; j < 5; ++j) {
        etatRelais[j] = (j < etats.size() && etats[j] == u'1') ? 1 : 0;
        relon[j + 1]->setText(etatRelais[j] == 1 ? QStringLiteral("X") : QString());
    }
}

void menuStart::afficheAnoStatusBar(int genre)
{
    QString texte;
    for (int i = 0; i < 8; ++i)
        if (etatAnomalies[i] == QLatin1String("1")) texte = texteChaine(textesAnomalies[i]);
    const bool anomalie = !texte.isEmpty();
    if (genre != 1) {
        panneau1()->setText(heure());
        ajouterPanneau2();
        panneau2_->setText(anomalie ? texte : texteChaine(ids::anoAucune));
        return;
    }
    // A fault seen by the poll shows, whatever panel 2 showed before.
    if (!anomalie) return;
    ajouterPanneau2();
    panneau2_->setText(texte);
}

void menuStart::ajouterPanneau2()
{
    if (panneau2_) return;
    panneau2_ = new QLabel(statusBar());
    panneau2_->setObjectName(QStringLiteral("panneau2"));
    panneau2_->setTextFormat(Qt::PlainText);
    panneau2_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    panneau2_->setFrameShape(QFrame::Panel);
    panneau2_->setFrameShadow(QFrame::Sunken);
    statusBar()->addPermanentWidget(panneau2_);
}

void menuStart::retirerPanneau2()
{
    if (!panneau2_) return;
    statusBar()->removeWidget(panneau2_);
    panneau2_->deleteLater();
    panneau2_ = nullptr;
}

// ---- Command queue ----

bool menuStart::peutMettreEnFile(const QString& commande) const
{
    // A queued stop is never replaced.
    return !(nouvCommDuPupVersZelto && dataWrite == commandeStop && commande != commandeStop);
}

bool menuStart::refuserSiStopEnFile(const QString& commande)
{
    if (peutMettreEnFile(commande)) return false;
    ui().beep();
    return true;
}

bool menuStart::mettreEnFile(const QString& commande)
{
    if (!peutMettreEnFile(commande)) return false;
    dataWrite = commande;
    nouvCommDuPupVersZelto = true;
    return true;
}

void menuStart::reactiverBoutons()
{
    if (!freqDefBtn->isEnabled() && origCons == 0) freqDefBtn->setEnabled(true);
    if (!resetBtn->isEnabled()) resetBtn->setEnabled(true);
    if (!stopConvBtn->isEnabled()) {
        stopConvBtn->setEnabled(true);
        testStartBtn();
        resetBtn->setEnabled(true);
        anoBtn->setEnabled(true);
    }
    if (!inversionBtn->isEnabled() && inversionPermise()) inversionBtn->setEnabled(true);
}

void menuStart::testStartBtn()
{
    startConvBtn->setEnabled(tableMenuBGen[0].valeur.nombre() == 0);
}

void menuStart::start()
{
    if (tableMenuBGen[0].valeur.nombre() != 0) {
        ui().msgBox(texteChaine(ids::startParBornier), msg::information | msg::okSeul, texteChaine(ids::messageTitre));
        return;
    }
    for (QPushButton* b : {startConvBtn, resetBtn, anoBtn}) b->setEnabled(false);
    mettreEnFile(commandeStart);
}

void menuStart::startConvBtn_Click()
{
    // A button whose command cannot wait behind the queued stop leaves the
    // window as it was.
    if (refuserSiStopEnFile(commandeStart)) return;
    pointeurSourisPartout(pointeur::sablier);
    start();
    pointeurSourisPartout(pointeur::normal);
}

void menuStart::stopConvBtn_Click()
{
    pointeurSourisPartout(pointeur::sablier);
    stopConvBtn->setEnabled(false);
    mettreEnFile(commandeStop);
    pointeurSourisPartout(pointeur::normal);
}

void menuStart::inversionBtn_Click()
{
    if (refuserSiStopEnFile(commandeInversion)) return;
    inversionBtn->setEnabled(false);
    mettreEnFile(commandeInversion);
    pointeurSourisPartout(pointeur::normal);
}

void menuStart::resetBtn_Click()
{
    if (refuserSiStopEnFile(commandeReset)) return;
    retirerPanneau2();
    anoBtn->setEnabled(true);
    resetBtn->setEnabled(false);
    mettreEnFile(commandeReset);
}

void menuStart::freqDefBtn_Click()
{
    if (refuserSiStopEnFile(commandeFreqDef)) return;
    pointeurSourisPartout(pointeur::sablier);
    freqDefBtn->setEnabled(false);
    mettreEnFile(commandeFreqDef);
}

void menuStart::newConsBtn_Click()
{
    pointeurSourisPartout(pointeur::sablier);
    requeteStart_ = 1;
}

void menuStart::menuDBtn_Click()
{
    pointeurSourisPartout(pointeur::sablier);
    requeteStart_ = 2;
}

void menuStart::anoBtn_Click()
{
    pointeurSourisPartout(pointeur::sablier);
    if (panneau2_) {
        retirerPanneau2();
    } else {
        anoBtn->setEnabled(false);
        afficheAnoStatusBar(2);
        anoBtn->setEnabled(true);
    }
    pointeurSourisPartout(pointeur::normal);
}

void menuStart::exitStartBtn_Click()
{
    if (travailEnCours) {
        ui().beep();
        return;
    }
    pointeurSourisPartout(pointeur::sablier);
    flagExit = true;
}

// ---- New setpoint ----

void menuStart::newFreq()
{
    pointeurSourisPartout(pointeur::normal);
    TimerStart->setEnabled(false);
    auto* dialogue = dynamic_cast<newFreqW*>(registre().fenetre(numeroFenetre::newFreqW));
    if (origCons != 0) {
        ui().msgBox(texteChaine(ids::consigneParBornier), msg::information | msg::okSeul,
                    texteChaine(ids::messageTitre));
    } else if (dialogue) {
        newConsBtn->setEnabled(false);
        dialogue->charger();
        QString texte = editTxtFc->text();
        if (versionLogiciel < 16) texte = QString::number(versEntier(nombreChamp(texte)));
        dialogue->editTxt->setText(texte);
        dialogue->afficherModal();

        // Only a value the field accepted is sent; else the present setpoint.
        const QString accepte = dialogue->valeurAcceptee();
        const QString valeur = accepte.isEmpty() ? editTxtFc->text() : texteSysteme(nombreChamp(accepte));
        dialogue->decharger();
        // Back on Stop, as the window came up: the button left greyed until
        // the setpoint is sent would pass the focus on to the next one.
        stopConvBtn->setFocus(Qt::OtherFocusReason);
        mettreEnFile(QStringLiteral("$F") + valeur);
    }
    TimerStart->setEnabled(true);
}
