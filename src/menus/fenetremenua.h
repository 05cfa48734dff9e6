#pragma once
// Menu A: the converter's device data. Maximum current, delivery date and
// serial number may be entered once and downloaded; the download clears
// both counters and locks the data, which are then shown read-only.

#include "model/vues.h"
#include "widgets/controlesnommes.h"

#include <QString>

#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

class menuA : public FenetreVue<IVueMenuA> {
    Q_OBJECT
public:
    menuA();
    ~menuA() override;

    // IVueMenuA
    void selectionnerOption(const QString& groupe, int index) override;
    bool optionSelectionnee(const QString& groupe, int index) const override;
    void setTabStop(const QString& controle, bool arret) override;
    void setTabIndex(const QString& controle, int index) override;

    // The warning, then the writes, the counter clear and the lock; returns
    // the answer (msg::oui or msg::non).
    int telechargerMenuA();
    void questionQuoiFaireA();
    void activerChampsMenuA(bool actif);

    void downBtn_Click();
    void ExitBtn_Click();

    // Rated current of a converter size for the partition count; 0 when
    // the size is not one of the nine.
    static int courantNominal(int taille, int partitions);

    QLineEdit* editTxt[6] = {};
    QLabel* Label[6] = {};
    QLabel* uniteLbl = nullptr;
    QPushButton* downBtn = nullptr;
    QPushButton* ExitBtn = nullptr;
    // Text of the field that last got the focus.
    QString last;

protected:
    void Form_Load() override;
    bool activationPossible() const override;
    void Form_Activate() override;
    void Form_QueryUnload(bool& Cancel, int UnloadMode) override;
    void Form_Unload(bool& Cancel) override;
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    void construire();
    void editTxt_GotFocus(int index);
    void editTxt_LostFocus(int index);
    void quitterCourant();
    void quitterNumeroSerie();
    void refuser(int index);
    void couleurTexte(int index, bool rouge);
    bool ecrireDonnee(const QString& cle, const QString& valeur);
    void appliquerOrdreTab();

    std::vector<QWidget*> ordreTab_;
    // An activation raised inside an exchange runs once the link is free.
    bool telechargement_ = false;
    bool enActivation_ = false;
};
