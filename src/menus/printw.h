#pragma once
// Print choice: the data held in the PC or the converter's own data
// (the latter only on line). OK sets choixImpression to 0, Exit and the
// close box to 10; either way the window hides and its opener unloads it.

#include "widgets/fenetrezelto.h"

class GroupeOptions;
class QGroupBox;
class QPushButton;
class QRadioButton;

class printW : public FenetreZelto {
    Q_OBJECT
public:
    explicit printW(QWidget* parent = nullptr);

    // Option 0 (PC data) was selected when the window closed.
    bool donneesPc() const;
    // OK closed the window (not Exit, the close box or an unload by code).
    bool confirme() const { return confirme_; }

    void okBtn_Click();
    void ExitBtn_Click();

    QGroupBox* Frame1 = nullptr;
    QRadioButton* printChk[2] = {};
    QPushButton* okBtn = nullptr;
    QPushButton* ExitBtn = nullptr;

protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& Cancel, int UnloadMode) override;
    void Form_Unload(bool& Cancel) override;

private:
    GroupeOptions* options_ = nullptr;
    bool confirme_ = false;
};
