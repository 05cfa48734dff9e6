#include "fondecran.h"

#include "frmsplash.h"
#include "passform.h"
#include "uf/copynema.h"
#include "uf/prognema.h"

#include "menus/fenetremenubgen.h"

#include "files/dialoguedonnees.h"
#include "menus/menubp.h"

#include "files/fichierdonnees.h"
#include "files/fichierini.h"
#include "files/sauvegarde.h"
#include "link/identite.h"
#include "link/transaction.h"
#include "menus/fenetremenua.h"
#include "menus/fenetremenuc.h"
#include "menus/printw.h"
#include "model/etat.h"
#include "model/menubgen.h"
#include "model/menuc.h"
#include "model/mesures.h"
#include "model/nombres.h"
#include "model/partitions.h"
#include "model/session.h"
#include "model/transfertspartitions.h"
#include "platform/horloge.h"
#include "platform/plateforme.h"
#include "platform/porteentrees.h"
#include "platform/portserie.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "start/menud.h"
#include "start/menustart.h"
#include "start/newfreqw.h"
#include "widgets/fenetres.h"
#include "widgets/fenetrezelto.h"
#include "widgets/gardefocus.h"
#include "widgets/groupeoptions.h"
#include "widgets/statut.h"
#include "widgets/suiviactivation.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString reglagesPort = QStringLiteral("9600,N,8,1");
constexpr double delaiLiaison = 2.0;       // link test and watchdog: any byte within 2 s
constexpr int intervalleTimer1 = 2000;
constexpr double pasAttente = 0.01;        // blocking step between event rounds
constexpr int pixels(int twips) { return twips / 15; }

// The windows on screen, tooltips and popups aside.
QList<QWidget*> fenetresVisibles()
{
    QList<QWidget*> r;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowType() != Qt::ToolTip && w->windowType() != Qt::Popup) r << w;
    return r;
}
}

fondEcran::fondEcran(ISerialPort& port, const QString& dossier, QWidget* parent)
    : QMainWindow(parent), port_(port)
{
    definirDossierProgramme(dossier);
    construire();
    // Enter on a focused button, focus cue.
    new GardeFocus(this);
    plateforme().principale = this;
    registre().inscrire(numeroFenetre::fondEcran, this);
    // A device that goes away is a link loss at once.
    port_.surPerte = [] { portPerdu(); };
    Timer1 = horloge().creerMinuterie();
    Timer1->surTick = [this] { Timer1_Timer(); };
    splash_ = new frmSplash(this);
    passform_ = new passform(this);
    menuBGen_ = new menuBGen;
    copyNema_ = new copyNema();
    progNema_ = new progNema();
    menuBP_ = new menuBP();
    menuStart_ = new menuStart;
    newFreqW_ = new newFreqW;
    menuD_ = new menuD;
    // Menu windows: top-level, one instance each for the run.
    menuA_ = new menuA;
    menuRelNew_ = new menuRelNew;
    printW_ = new printW();
    new SuiviActivation(this, [this] { Form_Activate(); });
    Form_Load();
}

fondEcran::~fondEcran()
{
    port_.surPerte = nullptr;
    Timer1.reset();
    delete splash_;
    delete passform_;
    delete menuBGen_;
    delete copyNema_;
    delete progNema_;
    delete menuBP_;
    delete menuD_;
    delete newFreqW_;
    delete menuStart_;
    delete menuA_;
    delete menuRelNew_;
    delete printW_;
    if (registre().fenetre(numeroFenetre::fondEcran) == this) registre().retirer(numeroFenetre::fondEcran);
    if (plateforme().principale == this) plateforme().principale = nullptr;
}

// ---- Controls ----

void fondEcran::construire()
{
    setObjectName(QStringLiteral("fondEcran"));
    auto* centre = new QWidget(this);
    centre->setMouseTracking(true);
    setMouseTracking(true);
    setCentralWidget(centre);
    auto* haut = new QVBoxLayout(centre);

    Picture1 = new QLabel(QStringLiteral("ZELTO"), centre);
    QFont f = Picture1->font();
    f.setPointSize(f.pointSize() * 3);
    f.setBold(true);
    Picture1->setFont(f);
    Picture1->setAlignment(Qt::AlignHCenter);
    haut->addWidget(Picture1);
    LabelTest = new QLabel(QStringLiteral("Test"), centre);
    haut->addWidget(LabelTest);

    auto* options = new QHBoxLayout;
    haut->addLayout(options);

    onlineFr = new QGroupBox(QStringLiteral("Online"), centre);
    auto* lOnline = new QVBoxLayout(onlineFr);
    offLineChk_ = new QRadioButton(QStringLiteral("OFF"), onlineFr);
    onLineChk_ = new QRadioButton(QStringLiteral("ON"), onlineFr);
    lOnline->addWidget(offLineChk_);
    lOnline->addWidget(onLineChk_);
    options->addWidget(onlineFr);
    optionsLigne_ = new GroupeOptions(this, false);
    optionsLigne_->ajouter(offLineChk_, 0);
    optionsLigne_->ajouter(onLineChk_, 1);
    connect(optionsLigne_, &GroupeOptions::Click, this,
            [this](int index) { index == 0 ? offLineChk_Click() : onLineChk_Click(); });
    offLineChk_->installEventFilter(this);

    comportFr = new QGroupBox(QStringLiteral("Communication Port"), centre);
    auto* lPort = new QVBoxLayout(comportFr);
    optionsPort_ = new GroupeOptions(this, false);
    for (int i = 1; i <= 4; ++i) {
        commChk[i] = new QRadioButton(QString::number(i), comportFr);
        lPort->addWidget(commChk[i]);
        optionsPort_->ajouter(commChk[i], i);
    }
    connect(optionsPort_, &GroupeOptions::Click, this, [this](int index) { commChk_Click(index); });
    options->addWidget(comportFr);

    langueFr = new QGroupBox(QStringLiteral("Language"), centre);
    auto* lLangue = new QVBoxLayout(langueFr);
    const char* langues[6] = {"Français", "English", "Deutsch", "Italiano", "Español", "Portuges"};
    optionsLangue_ = new GroupeOptions(this, false);
    for (int i = 1; i <= 6; ++i) {
        langueChk[i] = new QRadioButton(QString::fromUtf8(langues[i - 1]), langueFr);
        lLangue->addWidget(langueChk[i]);
        optionsLangue_->ajouter(langueChk[i], i);
    }
    connect(optionsLangue_, &GroupeOptions::Click, this, [this](int index) { langueChk_Click(index); });
    options->addWidget(langueFr);

    menuGenFond = new QGroupBox(centre);
    auto* lFond = new QVBoxLayout(menuGenFond);
    menuFr = new QGroupBox(menuGenFond);
    auto* lMenus = new QHBoxLayout(menuFr);
    mnABtn = new QPushButton(QStringLiteral("MENU \"&A\""), menuFr);
    mnBBtn = new QPushButton(QStringLiteral("MENU \"&B\""), menuFr);
    mnCBtn = new QPushButton(QStringLiteral("MENU \"&C\""), menuFr);
    for (QPushButton* b : {mnABtn, mnBBtn, mnCBtn}) lMenus->addWidget(b);
    lFond->addWidget(menuFr);
    auto* lBas = new QHBoxLayout;
    startBtn = new QPushButton(QStringLiteral("&Working Menu"), menuGenFond);
    aboutBtn = new QPushButton(QStringLiteral("About"), menuGenFond);
    ExitBtn = new QPushButton(QStringLiteral("E&xit"), menuGenFond);
    for (QPushButton* b : {startBtn, aboutBtn, ExitBtn}) lBas->addWidget(b);
    lFond->addLayout(lBas);
    haut->addWidget(menuGenFond);
    for (QPushButton* b : {mnABtn, mnBBtn, mnCBtn, startBtn, aboutBtn, ExitBtn}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(mnABtn, &QPushButton::clicked, this, [this] { mnABtn_Click(); });
    connect(mnBBtn, &QPushButton::clicked, this, [this] { mnBBtn_Click(); });
    connect(mnCBtn, &QPushButton::clicked, this, [this] { mnCBtn_Click(); });
    connect(startBtn, &QPushButton::clicked, this, [this] { startBtn_Click(); });
    connect(aboutBtn, &QPushButton::clicked, this, [this] { aboutBtn_Click(); });
    connect(ExitBtn, &QPushButton::clicked, this, [this] { ExitBtn_Click(); });

    StatusBar1 = new QStatusBar(this);
    panneau1_ = creerPanneau1(StatusBar1);
    StatusBar1->setSizeGripEnabled(false);
    setStatusBar(StatusBar1);

    resize(pixels(9000), pixels(6600));
}

// ---- Main-window interface ----

bool fondEcran::onLineChk() const
{
    return onLineChk_->isChecked();
}

void fondEcran::selectionnerHorsLigne()
{
    optionsLigne_->fixer(0);
    // The watchdog never runs off line.
    Timer1->setEnabled(false);
}

bool fondEcran::timer1Enabled() const
{
    return Timer1->enabled();
}

void fondEcran::setTimer1Enabled(bool actif)
{
    // Restarted only on line.
    Timer1->setEnabled(actif && onLineChk());
}

void fondEcran::setTexteStatut(const QString& texte)
{
    panneau1_->setText(texte);
}

QString fondEcran::texteStatut() const
{
    return panneau1_->text();
}

void fondEcran::setControleEnabled(ControlePrincipal c, bool actif)
{
    QWidget* w = nullptr;
    switch (c) {
    case ControlePrincipal::fenetre: w = this; break;
    case ControlePrincipal::mnABtn: w = mnABtn; break;
    case ControlePrincipal::mnBBtn: w = mnBBtn; break;
    case ControlePrincipal::mnCBtn: w = mnCBtn; break;
    case ControlePrincipal::startBtn: w = startBtn; break;
    case ControlePrincipal::ExitBtn: w = ExitBtn; break;
    case ControlePrincipal::aboutBtn: w = aboutBtn; break;
    case ControlePrincipal::offLineChk: w = offLineChk_; break;
    case ControlePrincipal::onLineChk: w = onLineChk_; break;
    case ControlePrincipal::comportFr: w = comportFr; break;
    case ControlePrincipal::langueFr: w = langueFr; break;
    case ControlePrincipal::onlineFr: w = onlineFr; break;
    case ControlePrincipal::menuFr: w = menuFr; break;
    }
    if (w) w->setEnabled(actif);
}

void fondEcran::setLangueChkEnabled(int index, bool actif)
{
    if (index >= 1 && index <= 6) langueChk[index]->setEnabled(actif);
}

void fondEcran::setCommChkEnabled(int index, bool actif)
{
    if (index >= 1 && index <= 4) commChk[index]->setEnabled(actif);
}

int fondEcran::leftTwips() const { return pixelsVersTwips(frameGeometry().x()); }
int fondEcran::topTwips() const { return pixelsVersTwips(frameGeometry().y()); }
int fondEcran::widthTwips() const { return pixelsVersTwips(frameGeometry().width()); }
int fondEcran::heightTwips() const { return pixelsVersTwips(frameGeometry().height()); }

// ---- Load and activation ----

void fondEcran::Form_Load()
{
    Picture1->move(width() / 2 - Picture1->width() / 2, pixels(160));
    LabelTest->hide();
    passwordOk = false;
    Picture1->show();
    bgenLu = 0;
    premierDemarrage = true;
    startActif = false;

    IHorloge& h = horloge();
    h.traiterEvenements();
    initPointsNema(64);
    h.traiterEvenements();
    initPartitionCode();
    h.traiterEvenements();
    initTablesMenuC();
    h.traiterEvenements();
    initTableMenuBGen();
    h.traiterEvenements();
    initDefParamsPartition();
    h.traiterEvenements();
    initCodesMesures();
    razEtatSession();

    nbPartitions = 64;
    for (int n = 1; n <= 4; ++n) portPresent[n] = true;

    // Port probe: a port that cannot be opened loses its option, silently.
    for (numeroPort = 1; numeroPort <= 4; ++numeroPort) {
        port_.setCommPort(numeroPort);
        port_.setSettings(reglagesPort);
        if (!port_.isOpen() && port_.open() != 0) {
            commChk[numeroPort]->setEnabled(false);
            portPresent[numeroPort] = false;
        }
        if (port_.isOpen()) port_.close();
    }

    lireFichierIni();

    setTexteStatut(texteChaine(ids::modeHorsLigne));
    startActif = false;
    optionsLigne_->selectionner(0);
    optionsLangue_->selectionner(langueIndex + 1);

    placerFenetre(numeroFenetre::fondEcran, this);
    registre().noterChargement(numeroFenetre::fondEcran);
}

void fondEcran::Form_Activate()
{
    if (decharge_ || splashEnCours_) return;
    if (premierDemarrage) {
        splashEnCours_ = true;
        splash_->afficher();
        splashEnCours_ = false;
        premierDemarrage = false;
        bool ok = true;
        verifierSymboleDecimal(ok);
        if (!ok) {
            fermer();
            return;
        }
        // The main window is activated again when the splash box has gone.
    }
    horloge().traiterEvenements();
    traduireFondEcran();
    if (codePortIni >= 6 && codePortIni <= 9) optionsPort_->selectionner(codePortIni - 5);
    if (offLineChk_->isChecked()) {
        startBtn->setEnabled(false);
        mnABtn->setEnabled(false);
    }
}

void fondEcran::verifierSymboleDecimal(bool& resultat)
{
    const QString texte = texteSysteme(1.0 / 10);
    resultat = texte.size() >= 2 && (texte[1] == u'.' || texte[1] == u',');
    if (!resultat) ui().msgBox(texteChaine(ids::symboleDecimal), msg::critique | msg::okSeul, QString());
}

void fondEcran::traduireFondEcran()
{
    setWindowTitle(texteChaine(ids::titreMenuPrincipal));
    langueFr->setTitle(texteChaine(ids::langue));
    comportFr->setTitle(texteChaine(ids::portCommunication));
    onlineFr->setTitle(texteChaine(ids::etatCommunication));
    startBtn->setText(texteChaine(ids::ecranTravail));
    startBtn->setToolTip(texteChaine(ids::infoEcranStart));
    ExitBtn->setText(texteChaine(ids::quitter));
    ExitBtn->setToolTip(texteChaine(ids::infoQuitterLogiciel));
    aboutBtn->setText(texteChaine(ids::aPropos));
    aboutBtn->setToolTip(texteChaine(ids::infoLogiciel));
    mnABtn->setToolTip(texteChaine(ids::infoMenuA));
    mnBBtn->setToolTip(texteChaine(ids::infoMenuB));
    mnCBtn->setToolTip(texteChaine(ids::infoMenuC));
}

void fondEcran::mouseMoveEvent(QMouseEvent* e)
{
    setTexteStatut(QString());
    QMainWindow::mouseMoveEvent(e);
}

bool fondEcran::eventFilter(QObject* o, QEvent* e)
{
    if (o == offLineChk_ && e->type() == QEvent::MouseButtonPress) setTexteStatut(QString());
    return QMainWindow::eventFilter(o, e);
}

// ---- Menus, working display, about ----

void fondEcran::mnABtn_Click() { ouvrirMenu(numeroFenetre::menuA); }
void fondEcran::mnBBtn_Click() { ouvrirMenu(numeroFenetre::menuBGen); }
void fondEcran::mnCBtn_Click() { ouvrirMenu(numeroFenetre::menuRelNew); }

bool fondEcran::afficherFenetre(int numero)
{
    IFenetre* f = registre().fenetre(numero);
    if (auto* z = dynamic_cast<FenetreZelto*>(f)) {
        z->afficherDepuis(this);
        return true;
    }
    auto* w = dynamic_cast<QWidget*>(f);
    if (!w) return false;
    w->show();
    w->raise();
    w->activateWindow();
    return true;
}

void fondEcran::ouvrirMenu(int numero)
{
    if (!passwordOk) passform_->afficherModal();
    if (!passwordOk) return;
    // Nothing to open: the main window stays as it is.
    if (!registre().fenetre(numero)) return;
    pointeurSourisPartout(pointeur::sablier);
    activerFenetrePrincipale(false);
    afficherFenetre(numero);
}

void fondEcran::startBtn_Click()
{
    if (!registre().fenetre(numeroFenetre::menuStart)) return;
    activerFenetrePrincipale(false);
    arreterScrutation();
    afficherFenetre(numeroFenetre::menuStart);
}

void fondEcran::aboutBtn_Click()
{
    splash_->afficher();
}

// ---- Options ----

void fondEcran::langueChk_Click(int index)
{
    langueIndex = index - 1;
    sauverLangueIni();
    optionsLangue_->fixer(index);
    traduireFondEcran();
    setTexteStatut(texteChaine(ids::modeHorsLigne));
}

void fondEcran::commChk_Click(int index)
{
    // Also codePortIni: the choice sticks when the window is activated again.
    sauverPortIni(index + 5);
}

void fondEcran::offLineChk_Click()
{
    optionsLigne_->fixer(0);
    passerHorsLigne();
    Timer1->setEnabled(false);
}

void fondEcran::onLineChk_Click()
{
    // Never while a window or an exchange holds the link.
    if (!isEnabled() || travailEnCours || startActif || liaisonOccupee()) {
        optionsLigne_->fixer(0);
        return;
    }
    // The road holds the link until the identity is read.
    EchangeEnCours echange;
    attentePrecise(0.001f);
    pointeurSourisPartout(pointeur::sablier);
    for (QPushButton* b : {mnABtn, mnBBtn, mnCBtn, aboutBtn, ExitBtn, startBtn}) b->setEnabled(false);

    testerLiaison();

    if (!messComm1) {
        optionsLigne_->fixer(1);
        // Unsent general edits stay held; partitions held but unchanged are
        // read again from the converter before anything is sent.
        if (!menuBGenModifie) menuBGenCharge = false;
        if (!menuCModifie) menuCCharge = false;
        startInitialise = false;
        for (int p = 0; p <= 64; ++p) {
            if (!partParamsModifies[p]) partParamsCharges[p] = false;
            if (!partNemaModifies[p]) partNemaCharges[p] = false;
        }
        setTexteStatut(texteChaine(ids::modeEnLigne));
        // The buttons wait for the lock probe and the identity: a window
        // opened during their replies would find the link taken and the
        // data not yet read.
        envoyerXxX();
        lireVersionConvertisseur();
        for (QPushButton* b : {mnBBtn, mnCBtn, aboutBtn, ExitBtn}) b->setEnabled(true);
        // Menu A and the working display only when still on line.
        mnABtn->setEnabled(onLineChk());
        startBtn->setEnabled(onLineChk());
    } else {
        // Off line as before: the run state and its marks are kept.
        if (port_.isOpen()) port_.close();
        selectionnerHorsLigne();
        setTexteStatut(texteChaine(ids::modeHorsLigne));
        for (QPushButton* b : {mnBBtn, mnCBtn, aboutBtn, ExitBtn}) b->setEnabled(true);
        startBtn->setEnabled(false);
        mnABtn->setEnabled(false);
    }
    pointeurSourisPartout(pointeur::normal);
}

// ---- Link test and watchdog ----

QString fondEcran::messageErreurPort(int erreur)
{
    if (erreur == 8000 || erreur == 8001 || (erreur >= 8005 && erreur <= 8011) || erreur == 8013)
        return QStringLiteral("Port already open") + QString::number(erreur);
    if (erreur >= 8002 && erreur <= 8004) return QStringLiteral("Port unavailable");
    if (erreur == 8012) return QStringLiteral("Port not open");
    if (erreur >= 8014 && erreur <= 8021) return QStringLiteral("Unexpected error on selected Port");
    return QString();
}

void fondEcran::viderEntree()
{
    while (port_.inBufferCount() > 0) port_.input();
}

void fondEcran::testerLiaison()
{
    numeroPort = 1;
    for (int i = 4; i >= 1; --i)
        if (commChk[i]->isChecked()) numeroPort = i;
    if (port_.commPort() != numeroPort) {
        if (port_.isOpen()) port_.close();
        port_.setCommPort(numeroPort);
    }
    port_.setSettings(reglagesPort);
    if (!port_.isOpen()) {
        const int erreur = port_.open();
        if (erreur != 0) {
            const QString texte = messageErreurPort(erreur);
            if (!texte.isEmpty()) ui().msgBox(texte, msg::okSeul, QString());
            if (erreur == erreursPort::indisponible) {
                commChk[numeroPort]->setEnabled(false);
                portPresent[numeroPort] = false;
            }
            messComm1 = true;
            return;
        }
    }
    viderEntree();
    port_.output(QByteArray(1, '\n'));
    messComm1 = false;
    IHorloge& h = horloge();
    const double debut = h.maintenant();
    while (port_.inBufferCount() == 0) {
        h.traiterEvenements();
        if (port_.inBufferCount() > 0) break;
        // No answer in time, or the device went away.
        if (h.maintenant() - debut > delaiLiaison || programmeTermine || !port_.isOpen()) {
            messComm1 = true;
            break;
        }
        h.attendreDonnees(port_, pasAttente);
    }
    if (messComm1) {
        ui().msgBox(texteChaine(ids::pasDeCommunication), msg::exclamation | msg::okSeul | msg::premierPlan,
                    QStringLiteral("Message"));
        if (port_.isOpen()) port_.close();
        return;
    }
    port_.input();
    Timer1->setInterval(intervalleTimer1);
    Timer1->setEnabled(true);
}

bool fondEcran::sondeAbandonnee() const
{
    return !Timer1->enabled() || travailEnCours || startActif || !onLineChk() || programmeTermine;
}

void fondEcran::Timer1_Timer()
{
    // A transaction is under way (its reply wait processes events).
    if (liaisonOccupee()) return;
    if (sondeAbandonnee()) {
        Timer1->setEnabled(false);
        return;
    }
    if (!port_.isOpen()) {
        port_.setCommPort(numeroPort);
        port_.setSettings(reglagesPort);
        // The device is gone: nothing to probe.
        if (port_.open() != 0) {
            liaisonPerdue();
            return;
        }
    }
    // The user's actions meanwhile run once the probe has its answer.
    EchangeEnCours echange(entrees::Regle::differer);
    viderEntree();
    port_.output(QByteArray(1, '\n'));
    IHorloge& h = horloge();
    const double debut = h.maintenant();
    sonde_ = true;
    while (port_.inBufferCount() == 0) {
        const double avantEvenements = h.maintenant();
        h.traiterEvenements();
        if (port_.inBufferCount() > 0) break;
        // A window claimed the link meanwhile: the probe is dropped.
        if (sondeAbandonnee()) {
            sonde_ = false;
            return;
        }
        // A handler held the wait past its limit (a dialog, transfers that
        // may have taken the reply): no verdict, the next tick probes again.
        if (h.maintenant() - avantEvenements > delaiLiaison && port_.isOpen()) {
            sonde_ = false;
            return;
        }
        // Silence, or the device went away: off line before the windows
        // close, so that none of them may send.
        if (h.maintenant() - debut > delaiLiaison || !port_.isOpen()) {
            sonde_ = false;
            Timer1->setEnabled(false);
            liaisonPerdue();
            return;
        }
        h.attendreDonnees(port_, pasAttente);
    }
    sonde_ = false;
}

// ---- Exit road ----

void fondEcran::desactiverPendantSortie()
{
    for (QWidget* w : std::initializer_list<QWidget*>{mnABtn, mnBBtn, mnCBtn, startBtn, onlineFr, langueFr, comportFr,
                                                      aboutBtn, ExitBtn})
        w->setEnabled(false);
}

void fondEcran::ExitBtn_Click()
{
    // The exit road runs once at a time.
    if (sortieEnCours_) {
        ui().beep();
        return;
    }
    sortieEnCours_ = true;
    routeSortie();
    sortieEnCours_ = false;
}

void fondEcran::routeSortie()
{
    bool partitions = false;
    for (int p = 0; p <= 64; ++p)
        if (partNemaModifies[p] || partParamsModifies[p]) partitions = true;
    const bool modifie = partitions || menuCModifie || menuBGenModifie || menuAModifie;

    if (modifie) {
        if (onLineChk()
            && ui().msgBox(texteChaine(ids::sauverDansZelto), msg::ouiNon | msg::question,
                           texteChaine(ids::messageTitre))
                == msg::oui) {
            pointeurSourisPartout(pointeur::sablier);
            travailEnCours = true;
            desactiverPendantSortie();
            if (menuBGenModifie) {
                sensLecture = false;
                transfertMenuBGen();
                menuBGenModifie = false;
            }
            if (partitions) telechargerPartitionsModifiees();
            if (menuCModifie) {
                setTexteStatut(texteChaine(ids::chargementMenuC));
                sensLecture = false;
                transfertMenuC(sensLecture);
                menuCModifie = false;
            }
        }
        setTexteStatut(QString());
        if (ui().msgBox(texteChaine(ids::sauverDansFichier), msg::ouiNon | msg::question,
                        texteChaine(ids::messageTitre))
            == msg::oui) {
            const QString chemin = ui().dialogueSauver(dialogueFichierDonnees(true));
            if (chemin.isEmpty()) {
                travailEnCours = false;
                pointeurSourisPartout(pointeur::normal);
                fermer();
                return;
            }
            travailEnCours = true;
            // No second exit road, menu or link change while the file is made.
            desactiverPendantSortie();
            pointeurSourisPartout(pointeur::sablier);
            if (origPartExterne) envoyerOrigPart0();
            if (!sauverDonneesAvecRepli(chemin)) {
                // The program goes on: the partition comes from the terminals again.
                if (origPartExterne) envoyerOrigPart1();
                pointeurSourisPartout(pointeur::normal);
                travailEnCours = false;
                // Back to the main window: the user may save elsewhere.
                activerFenetrePrincipale(true);
                return;
            }
        }
    }
    if (origPartExterne) envoyerOrigPart1();
    pointeurSourisPartout(pointeur::normal);
    travailEnCours = false;
    if (!fermer()) activerFenetrePrincipale(true);
}

void fondEcran::Form_QueryUnload(bool& cancel)
{
    if (refuserSiOccupe(cancel)) return;
    pointeurSourisPartout(pointeur::sablier);
    setTexteStatut(texteChaine(ids::patientez));
    cmdMode = QStringLiteral("X");
    cmdCode = QStringLiteral("xXx");
    cmdParam1.clear();
    cmdParam2.clear();
    envoyerCommande(cmdCode, cmdMode, cmdParam1, cmdParam2);
    pointeurSourisPartout(pointeur::normal);
}

void fondEcran::Form_Unload()
{
    decharge_ = true;
    pointeurSourisPartout(pointeur::normal);
    memoriserPosition(numeroFenetre::fondEcran, this);
    sauverPositionsIni();
    Timer1->setEnabled(false);
    programmeTermine = true;
    if (port_.isOpen()) port_.close();
    registre().noterDechargement(numeroFenetre::fondEcran);
    hide();
    ui().terminerProgramme();
}

bool fondEcran::fermer()
{
    if (decharge_) return true;
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) return false;
    Form_Unload();
    return true;
}

bool fondEcran::decharger()
{
    return fermer();
}

void fondEcran::closeEvent(QCloseEvent* e)
{
    if (decharge_) {
        e->accept();
        return;
    }
    // A disabled window refuses a close request.
    if (!isEnabled()) {
        e->ignore();
        return;
    }
    // The end of the desktop session closes at once.
    if (qApp->isSavingSession()) {
        e->setAccepted(fermer());
        return;
    }
    // The user's close box asks what the exit button asks; the road closes
    // the window itself, or leaves it open when the save failed. It runs
    // from the event loop, not inside this event, and a second request
    // meets the road under way.
    e->ignore();
    if (sortieEnCours_ || sortieDemandee_) {
        ui().beep();
        return;
    }
    bool occupe = false;
    if (refuserSiOccupe(occupe)) return;
    sortieDemandee_ = true;
    refusSortie_.emplace();
    fenetresALaDemande_.clear();
    for (QWidget* w : fenetresVisibles()) fenetresALaDemande_ << w;
    QTimer::singleShot(0, this, [this] { lancerSortieDemandee(); });
}

void fondEcran::lancerSortieDemandee()
{
    // A timer may fire inside another exchange's wait (the watchdog's probe).
    if (echangeEnCours()) {
        QTimer::singleShot(10, this, [this] { lancerSortieDemandee(); });
        return;
    }
    sortieDemandee_ = false;
    // The road runs in the loop that took the request, with the windows it
    // had: not inside another window's loop, nor behind a window opened since.
    bool aSonTour = refusSortie_ && refusSortie_->auNiveauCourant();
    for (QWidget* w : fenetresVisibles())
        if (!fenetresALaDemande_.contains(w)) aSonTour = false;
    fenetresALaDemande_.clear();
    if (!decharge_ && aSonTour) ExitBtn_Click();
    else if (!decharge_) ui().beep();
    refusSortie_.reset();
}
