#pragma once
// Menu D: the speed reference filter and a few values of the current
// partition, each change sent to the converter at once (mode "S").

#include "model/vues.h"
#include "widgets/controlesnommes.h"

class CTextBxN;
class GroupeOptions;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class menuD : public FenetreVue<IVueMenuD> {
    Q_OBJECT
public:
    menuD();
    ~menuD() override;

    static constexpr int nbChamps = 12;
    // editTxtFiltre, editTxtTacc, editTxtTdec, editTxtDurFcc, editTxtCrtFcc,
    // editTxtCrtFccPerm, editTxtMcm1 to 4, editTxtSBF, editTxtCDG.
    QLineEdit* champ[nbChamps] = {};
    // TXT_filtre ... TXT_cdg, kept for the run and bound at each load.
    CTextBxN* validateur[nbChamps] = {};
    QLabel* Label[21] = {};
    QGroupBox* origConsFr = nullptr;
    QGroupBox* genreMcmFr = nullptr;
    QRadioButton* origConsChk[2] = {};
    QRadioButton* mcmChk[4] = {};
    QPushButton* ExitBtn = nullptr;

    QLineEdit* champNomme(const QString& nom) const;

    void envoyerValeurMenuD(const QString& commande);
    void afficheLimitesMcm();
    void mcmChk_Click(int index);
    void origConsChk_Click(int index);
    void ExitBtn_Click();
    QString derniereCommande() const { return derniereCommande_; }

    // IVue
    void selectionnerOption(const QString& groupe, int index) override;
    bool optionSelectionnee(const QString& groupe, int index) const override;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(bool& Cancel, int UnloadMode) override;
    void Form_Unload(bool& Cancel) override;
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    void construire();
    void champ_GotFocus(int i);
    void champ_LostFocus(int i);
    void afficherIndication(int i);
    void fixerLimites(int i);
    QString indication(int i, bool survol);
    GroupeOptions* groupe(const QString& nom) const;

    GroupeOptions* optionsMcm_ = nullptr;
    GroupeOptions* optionsOrigCons_ = nullptr;
    QString valeurEntree_;
    QString derniereCommande_;
};
