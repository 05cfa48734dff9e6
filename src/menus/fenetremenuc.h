#pragma once
// Menu C: which relay carries each of the 17 signal functions, what the two
// analog outputs deliver, the comparator level and the relay delay.

#include "model/vues.h"
#include "widgets/controlesnommes.h"

#include <QString>


class CTextBxN;
class GroupeOptions;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class menuRelNew : public FenetreVue<IVueMenuC> {
    Q_OBJECT
public:
    menuRelNew();
    ~menuRelNew() override;

    // IVueMenuC
    void selectionnerOption(const QString& groupe, int index) override;
    bool optionSelectionnee(const QString& groupe, int index) const override;
    void setInfoBulle(const QString& controle, const QString& texte) override;
    void setTitre(const QString& titre) override;

    // Comparator fields shown only while the comparator output has a relay.
    void showParamComparateur();
    void questionQuoiFaireC();

    void f_Click(int Index);
    void san1Chk_Click(int Index);
    void san2Chk_Click(int Index);
    void downBtn_Click();
    void ExitBtn_Click();

    QRadioButton* f[102] = {};
    QFrame* Fr[17] = {};
    QRadioButton* san1Chk[7] = {};   // 1 to 6
    QRadioButton* san2Chk[7] = {};
    QFrame* FrSan[2] = {};
    QLineEdit* editTxtValComp = nullptr;
    QLineEdit* editTxtRet = nullptr;
    QLabel* Label[29] = {};
    QPushButton* downBtn = nullptr;
    QPushButton* ExitBtn = nullptr;
    // Validators, from load to unload.
    CTextBxN* TXT_valComp = nullptr;
    CTextBxN* TXT_ret = nullptr;

protected:
    void Form_Load() override;
    bool activationPossible() const override;
    void Form_Activate() override;
    void Form_QueryUnload(bool& Cancel, int UnloadMode) override;
    void Form_Unload(bool& Cancel) override;

private:
    void construire();
    void editTxtValComp_GotFocus();
    void editTxtValComp_LostFocus();
    void editTxtRet_GotFocus();
    void editTxtRet_LostFocus();
    GroupeOptions* groupe(const QString& nom, int index) const;

    GroupeOptions* lignes_[17] = {};
    GroupeOptions* sorties_[2] = {};
    // Text of the numeric field that last got the focus.
    QString texteMemorise_;
    bool premiereActivation_ = false;
    // An activation raised inside an exchange runs once the link is free.
    bool enActivation_ = false;
};
