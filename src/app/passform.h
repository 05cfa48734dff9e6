#pragma once
// Password form: checks the typed password against zelto.psw or the master
// password, and changes the stored password.

#include "platform/registrefenetres.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class passform : public QDialog, public IFenetre {
    Q_OBJECT
public:
    explicit passform(QWidget* parent = nullptr);
    ~passform() override;

    // Loads the form and shows it modally; passwordOk tells the result.
    void afficherModal();

    bool estAffichee() const override { return isVisible(); }
    bool decharger() override;

    QLineEdit* editTxt[3] = {};
    QLabel* Label[4] = {};
    QPushButton* enterBtn = nullptr;
    QPushButton* newBtn = nullptr;
    QPushButton* cancelBtn = nullptr;

    QString motDePasseFichier;
    QString motDePasseMaitre;

    void enterBtn_Click();
    void newBtn_Click();
    void cancelBtn_Click();

    // Heights of the window and Top of the buttons, in twips.
    static constexpr int hauteurNormale = 2145;
    static constexpr int hauteurConfirmation = 2520;
    int hauteurTwips() const;
    int topBoutonsTwips() const;

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void editTxt_LostFocus(int index, QWidget* nouveauFocus, Qt::FocusReason raison);
    bool accepte(const QString& texte) const;
    void fixerHauteur(int twips, int topBoutons);
    void fermer();
    bool charge_ = false;
};
