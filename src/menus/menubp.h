#pragma once
// Menu B partitions: the 38 parameters of the current partition, each field
// bounded by its validator, by other fields and by the end frequency of the
// partition's U/F characteristic. A change is stored in the PC and marks the
// partition; nothing is downloaded from here.

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

class menuBP : public FenetreVue<IVueMenuBP> {
    Q_OBJECT
public:
    menuBP();
    ~menuBP() override;

    // IVueMenuBP; hiding or disabling a control runs no focus step.
    void setEnabled(const QString& controle, bool actif) override;
    void setVisible(const QString& controle, bool visible) override;
    void selectionnerOption(const QString& groupe, int index) override;
    bool optionSelectionnee(const QString& groupe, int index) const override;

    using QMainWindow::setEnabled;
    using QMainWindow::setVisible;

    // Controls by name ("editTxtCrtMot", "Label(41)", "irefChk(1)").
    QWidget* controle(const QString& nom) const override;
    QLineEdit* champ(const QString& nom) const;
    QLabel* label(int index) const;
    GroupeOptions* groupe(const QString& nom) const;
    // Validator by name ("TXT_Gamme").
    CTextBxN* validateur(const QString& nom) const;

    QPushButton* copyBtn = nullptr;
    QPushButton* progGammeBtn = nullptr;
    QPushButton* ExitBtn = nullptr;

    // Text of the field that last got the focus.
    QString texteAvantEdition;

    void activerSaisieBP(bool enable);
    void traduireMenuBP();
    // Largest half-width of band 1, 2 or 3, from the fields' texts.
    void largeurMaxBande1(int& largeur) const { largeur = largeurMaxBande(1); }
    void largeurMaxBande2(int& largeur) const { largeur = largeurMaxBande(2); }
    void largeurMaxBande3(int& largeur) const { largeur = largeurMaxBande(3); }

    void copyBtn_Click();
    void progGammeBtn_Click();
    void ExitBtn_Click();

protected:
    void Form_Load() override;
    bool activationPossible() const override;
    void Form_Activate() override;
    void Form_QueryUnload(bool& Cancel, int UnloadMode) override;
    void Form_Unload(bool& Cancel) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    void construire();
    void lierChamps();

    // Partition field.
    void editTxtGamme_GotFocus();
    void editTxtGamme_LostFocus();
    QString indicationGamme() const;

    // Frequency and band fields.
    void frequence_GotFocus(int ligne);
    void frequence_LostFocus(int ligne);
    QString indicationFrequence(int ligne) const;
    int borneCentre(int bande) const;
    int largeurMaxBande(int bande) const;

    // Motor, current, time and MCM fields.
    void moteur_GotFocus(int ligne);
    void moteur_LostFocus(int ligne);
    QString indicationMoteur(int ligne) const;
    void cascadeCourantMoteur();

    // Option groups.
    void option_Click(const QString& groupe, int index);

    // Hint of a field or option, for its focus and mouse moves.
    QString indication(const QWidget* controle) const;
    bool mcmEntier() const;
    void marquer();
    // Runs an exchange with the link claimed (busy flag set meanwhile).
    template <class F>
    void echange(F&& f);

    bool enEchange_ = false;   // an exchange of this window is under way
    std::map<QString, QWidget*> controles_;
    std::map<QString, GroupeOptions*> groupes_;
    std::map<QString, CTextBxN*> validateurs_;
    std::map<const QWidget*, int> lignes_;   // field -> row of the partition
};
