#pragma once
// New-setpoint dialog: one value between 0 and the end frequency of the
// partition's U/F characteristic, in Hz or in RPM. Leaving the field hides
// the dialog; the caller reads the value and unloads it.

#include "widgets/fenetrezelto.h"

class CTextBxN;
class QLabel;
class QLineEdit;
class QPushButton;

class newFreqW : public FenetreZelto {
    Q_OBJECT
public:
    newFreqW();
    ~newFreqW() override;

    QLineEdit* editTxt = nullptr;
    QPushButton* okBtn = nullptr;
    QLabel* Label[2] = {};
    // Kept for the run, bound at each load.
    CTextBxN* TXT_Cons = nullptr;

    // The text the field held when it was left through its validation;
    // empty when the dialog closed otherwise.
    QString valeurAcceptee() const { return accepte_; }

    void editTxt_GotFocus();
    void editTxt_LostFocus();
    void okBtn_Click();
    QString indication() const;

protected:
    void Form_Load() override;
    void Form_Unload(bool& Cancel) override;

private:
    bool enRpm() const { return unite_ == 1 || mesVit_ == 1; }
    int unite_ = 0;
    int mesVit_ = 0;
    QString accepte_;
};
