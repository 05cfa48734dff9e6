#pragma once
// Menu B general: the converter-wide settings of tableMenuBGen, and the
// commands of the whole menu B (save, open, download, full download,
// partition programming, print).

#include "model/vues.h"
#include "widgets/controlesnommes.h"

#include <QString>

#include <map>

class CTextBxN;
class GroupeOptions;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class menuBGen : public FenetreVue<IVueMenuBGen> {
    Q_OBJECT
public:
    explicit menuBGen(QWidget* parent = nullptr);
    ~menuBGen() override;

    // IVueMenuBGen
    void selectionnerOption(const QString& groupe, int index) override;
    bool optionSelectionnee(const QString& groupe, int index) const override;

    // Save-changes question of the close request.
    void questionQuoiFaireB();
    void traduireMenuBGen();

    void saveBtn_Click();
    void openBtn_Click();
    void downBtn_Click();
    void downAsIsBtn_Click();
    void progGammeBtn_Click();
    void printBtn_Click();
    void ExitBtn_Click();

    // Text of the number field that got the focus last.
    QString last;

    // Option groups by setting (tableMenuBGen row in the comment).
    GroupeOptions* startStopChk = nullptr;   // 0
    GroupeOptions* uniteChk = nullptr;       // 1
    GroupeOptions* autorIsrChk = nullptr;    // 2
    GroupeOptions* origIsrChk = nullptr;     // 3
    GroupeOptions* genreConsChk = nullptr;   // 5
    GroupeOptions* origPartChk = nullptr;    // 7
    GroupeOptions* arretChk = nullptr;       // 8
    GroupeOptions* reprVolChk = nullptr;     // 10
    GroupeOptions* verrClefChk = nullptr;    // 11
    GroupeOptions* tempoDtoChk = nullptr;    // 12

    QLineEdit* editTxtFiltre = nullptr;   // 4
    QLineEdit* editTxtUres = nullptr;     // 6
    QLineEdit* editTxtTempo = nullptr;    // 9
    CTextBxN* TXT_filtre = nullptr;
    CTextBxN* TXT_uRes = nullptr;
    CTextBxN* TXT_tempo = nullptr;

    QPushButton* saveBtn = nullptr;
    QPushButton* openBtn = nullptr;
    QPushButton* downBtn = nullptr;
    QPushButton* downAsIsBtn = nullptr;
    QPushButton* progGammeBtn = nullptr;
    QPushButton* printBtn = nullptr;
    QPushButton* ExitBtn = nullptr;
    QLabel* Label[4] = {};

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(bool& Cancel, int UnloadMode) override;
    void Form_Unload(bool& Cancel) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    struct Groupe {
        GroupeOptions* options;
        QGroupBox* cadre;
        int rangee;
    };
    void construire();
    GroupeOptions* creerGroupe(const char* nom, const char* cadre, int rangee, int idIndication);
    QLineEdit* creerChamp(const char* nom, int rangee, const QString& plage);
    QPushButton* creerBouton(const char* nom, void (menuBGen::*clic)());
    void option_Click(int rangee, int Index);
    void champ_GotFocus(QLineEdit* champ);
    void champ_LostFocus(QLineEdit* champ, int rangee);
    const Groupe& groupe(const QString& nom) const;
    void finirCommande();
    QString texteIndication(int id) const;

    std::map<QString, Groupe> groupes_;
};

// Partition of the selector as a store index: empty, 0 or out of range is 1.
int partitionSelectionnee();
