#pragma once
// The working display: runs and stops the motor, polls measurements, faults
// and relay states on its 500 ms timer, sends motor commands through a
// one-slot queue and opens the new-setpoint dialog and menu D.

#include "widgets/fenetrezelto.h"

#include <QString>

#include <memory>

class IMinuterie;
class QLabel;
class QLineEdit;
class QPushButton;

// Pole pairs of partition p: its pole count / 2, halves to even, at least 1.
int pairesPoles(int p);

class menuStart : public FenetreZelto {
    Q_OBJECT
public:
    menuStart();
    ~menuStart() override;

    // Public members.
    bool refreshTime = false;
    QString dataWrite;
    bool nouvCommDuPupVersZelto = false;
    int unit = 0;
    int mesVit = 0;
    int nbPpole = 1;
    int origCons = 0;

    std::unique_ptr<IMinuterie> TimerStart;
    // Menu D's exit starts the poll again.
    void activerTimerStart();

    void newFreq();
    void start();
    void testStartBtn();
    void afficheAnoStatusBar(int genre);
    void traduireMenuStart(int partition);

    // Handlers.
    void TimerStart_Timer();
    void startConvBtn_Click();
    void stopConvBtn_Click();
    void inversionBtn_Click();
    void resetBtn_Click();
    void freqDefBtn_Click();
    void newConsBtn_Click();
    void menuDBtn_Click();
    void anoBtn_Click();
    void exitStartBtn_Click();

    void scruterStart();
    void afficherMesures(int pas);
    void lireAnomalies(const QString& texte);
    void lireEtatRelais(const QString& texte);

    // Controls.
    QPushButton* startConvBtn = nullptr;
    QPushButton* stopConvBtn = nullptr;
    QPushButton* inversionBtn = nullptr;
    QPushButton* resetBtn = nullptr;
    QPushButton* freqDefBtn = nullptr;
    QPushButton* newConsBtn = nullptr;
    QPushButton* anoBtn = nullptr;
    QPushButton* menuDBtn = nullptr;
    QPushButton* exitStartBtn = nullptr;
    QLineEdit* editTxtFc = nullptr;
    QLineEdit* editTxtFreq = nullptr;
    QLineEdit* editTxtCrt = nullptr;
    QLineEdit* editTxtU = nullptr;
    QLineEdit* editTxtIref = nullptr;
    QLineEdit* editTxtIacc = nullptr;
    QLineEdit* editTxtUr = nullptr;
    QLineEdit* editTxtIw = nullptr;
    QLineEdit* editTxtPm = nullptr;
    QLineEdit* editTxtUc = nullptr;
    QLineEdit* EditTxtInom = nullptr;
    QLineEdit* editTxtPnom = nullptr;
    QLineEdit* editTxtGammeStart = nullptr;
    QLabel* relon[6] = {};           // 1 to 5
    QLabel* relaisLabel[6] = {};     // relais1Label to relais5Label
    QLabel* visfcLabel = nullptr;
    QLabel* visfreqLabel = nullptr;
    QLabel* Label16 = nullptr;       // range label
    // Panel 2 of the status bar (fault text); null while absent.
    QLabel* panneau2() const { return panneau2_; }

    int pasScrutation() const { return pas_; }

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(bool& Cancel, int UnloadMode) override;
    void Form_Unload(bool& Cancel) override;

private:
    void construire();
    // Queues a command for the next tick; false when a queued stop keeps the slot.
    bool mettreEnFile(const QString& commande);
    bool peutMettreEnFile(const QString& commande) const;
    // A command that cannot be queued: refused with a beep.
    bool refuserSiStopEnFile(const QString& commande);
    void reactiverBoutons();
    void ajouterPanneau2();
    void retirerPanneau2();
    void ouvrirMenuD();
    bool affichageRpm() const { return unit == 1 || mesVit == 1; }

    int requeteStart_ = 0;
    bool activationEnAttente_ = false;
    bool mesuresAffichees_ = false;
    int pas_ = 0;
    QLabel* panneau2_ = nullptr;
};
