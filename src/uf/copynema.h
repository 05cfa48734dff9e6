#pragma once
// Copy dialog: copies a U/F characteristic (mode 1) or a partition's
// parameters (mode 4) to other partitions in the PC, or downloads one
// partition held in the PC into a partition of the converter (mode 3).
// The opener sets modeCopie before it shows the dialog.

#include "widgets/fenetrezelto.h"

#include <QPointer>

#include <array>
#include <vector>

class CTextBxN;
class QLabel;
class QLineEdit;
class QPushButton;

class copyNema : public FenetreZelto {
    Q_OBJECT
public:
    copyNema();
    ~copyNema() override;

    QLineEdit* txtOrigCopy = nullptr;
    QLineEdit* txtDestCopy = nullptr;
    std::array<QLabel*, 3> LabelCpyNem{};
    QPushButton* okBtn = nullptr;
    QPushButton* ExitBtn = nullptr;
    CTextBxN* txt1 = nullptr;
    CTextBxN* txt2 = nullptr;

    void okBtn_Click();
    void ExitBtn_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(bool& Cancel, int UnloadMode) override;
    void Form_Unload(bool& Cancel) override;
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    void copierUnePartition(int source, int cible);
    void telechargerPartition(int source, int destination);
    void desactiver(int numero);
    QString indicationPlage() const;

    std::vector<QPointer<QWidget>> desactivees_;
    bool okEnCours_ = false;
    bool telecharge_ = false;   // a partition download ran since the load
};
