#pragma once
// The main window: start-up, port and language, going on line with the link
// test and the watchdog, menu buttons, about box and the exit road.

#include "link/fenetreprincipale.h"
#include "platform/porteentrees.h"
#include "platform/registrefenetres.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <memory>
#include <optional>

class IMinuterie;
class ISerialPort;
class QAbstractButton;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStatusBar;
class GroupeOptions;
class frmSplash;
class menuBGen;
class menuBP;
class menuD;
class menuStart;
class newFreqW;
class menuA;
class menuRelNew;
class passform;
class copyNema;
class progNema;
class printW;

class fondEcran : public QMainWindow, public IFenetrePrincipale, public IFenetre {
    Q_OBJECT
public:
    // The port and the program folder (zelto.ini, zelto.psw, data/) are
    // given; the load step runs here.
    fondEcran(ISerialPort& port, const QString& dossierProgramme, QWidget* parent = nullptr);
    ~fondEcran() override;

    // IFenetrePrincipale
    ISerialPort& MSComm1() override { return port_; }
    bool onLineChk() const override;
    void selectionnerHorsLigne() override;
    bool timer1Enabled() const override;
    void setTimer1Enabled(bool actif) override;
    bool sondeEnCours() const override { return sonde_; }
    void setTexteStatut(const QString& texte) override;
    QString texteStatut() const override;
    void setControleEnabled(ControlePrincipal c, bool actif) override;
    void setLangueChkEnabled(int index, bool actif) override;
    void setCommChkEnabled(int index, bool actif) override;
    bool estVisible() const override { return isVisible(); }
    int leftTwips() const override;
    int topTwips() const override;
    int widthTwips() const override;
    int heightTwips() const override;

    // IFenetre: close request and unload.
    bool estAffichee() const override { return isVisible(); }
    bool decharger() override;

    // Activation: the first one (splash, decimal check), then every return
    // to the main window.
    void Form_Activate();

    // Handlers.
    void mnABtn_Click();
    void mnBBtn_Click();
    void mnCBtn_Click();
    void startBtn_Click();
    void aboutBtn_Click();
    void ExitBtn_Click();
    void onLineChk_Click();
    void offLineChk_Click();
    void commChk_Click(int index);
    void langueChk_Click(int index);
    void Timer1_Timer();
    void testerLiaison();
    void traduireFondEcran();
    void verifierSymboleDecimal(bool& resultat);


    // Controls.
    QLabel* Picture1 = nullptr;
    QGroupBox* onlineFr = nullptr;
    QGroupBox* comportFr = nullptr;
    QGroupBox* langueFr = nullptr;
    QGroupBox* menuFr = nullptr;
    QGroupBox* menuGenFond = nullptr;
    QRadioButton* offLineChk_ = nullptr;
    QRadioButton* onLineChk_ = nullptr;
    QRadioButton* commChk[5] = {};      // 1 to 4
    QRadioButton* langueChk[7] = {};    // 1 to 6
    QPushButton* mnABtn = nullptr;
    QPushButton* mnBBtn = nullptr;
    QPushButton* mnCBtn = nullptr;
    QPushButton* startBtn = nullptr;
    QPushButton* aboutBtn = nullptr;
    QPushButton* ExitBtn = nullptr;
    QLabel* LabelTest = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    std::unique_ptr<IMinuterie> Timer1;

    int numeroPort = 1;
    bool messComm1 = false;

    frmSplash* splash() const { return splash_; }
    passform* formulaireMotDePasse() const { return passform_; }
    menuBGen* fenetreMenuBGen() const { return menuBGen_; }

    // Message of a port error of the link test; empty: none.
    static QString messageErreurPort(int erreur);

protected:
    void closeEvent(QCloseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void construire();
    void Form_Load();
    void Form_QueryUnload(bool& cancel);
    void Form_Unload();
    // The close request and, when granted, the unload; false when refused.
    bool fermer();
    void ouvrirMenu(int numero);
    bool afficherFenetre(int numero);
    void viderEntree();
    bool sondeAbandonnee() const;
    void desactiverPendantSortie();
    void routeSortie();
    void lancerSortieDemandee();

    ISerialPort& port_;
    frmSplash* splash_ = nullptr;
    passform* passform_ = nullptr;
    menuBGen* menuBGen_ = nullptr;
    copyNema* copyNema_ = nullptr;
    progNema* progNema_ = nullptr;
    menuBP* menuBP_ = nullptr;
    menuStart* menuStart_ = nullptr;
    newFreqW* newFreqW_ = nullptr;
    menuD* menuD_ = nullptr;
    menuA* menuA_ = nullptr;
    menuRelNew* menuRelNew_ = nullptr;
    printW* printW_ = nullptr;
    QLabel* panneau1_ = nullptr;
    // Option groups: off line 0 / on line 1, ports 1-4, languages 1-6.
    GroupeOptions* optionsLigne_ = nullptr;
    GroupeOptions* optionsPort_ = nullptr;
    GroupeOptions* optionsLangue_ = nullptr;
    bool sonde_ = false;
    bool decharge_ = false;
    bool sortieEnCours_ = false;    // the exit road runs
    bool sortieDemandee_ = false;   // a close request starts it from the event loop
    // From an accepted close request until its road has run, the input that
    // follows is refused; the windows open at the request.
    std::optional<EntreesRefusees> refusSortie_;
    QList<QPointer<QWidget>> fenetresALaDemande_;
    bool splashEnCours_ = false;   // the start-up splash is up (its waits process events)
};
