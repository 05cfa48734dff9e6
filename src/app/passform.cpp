#include "passform.h"

#include "files/fichierpsw.h"
#include "model/etat.h"
#include "platform/plateforme.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "widgets/fenetres.h"
#include "widgets/focuschamp.h"
#include "widgets/gardefocus.h"
#include "widgets/suiviactivation.h"
#include "resources/idschaines.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int pixels(int twips) { return twips / 15; }
const QString motMaitre = QStringLiteral("@ui@");
// Every typed character shows as "*"; a field with the focus is yellow.
const QString styleChamp = QStringLiteral("QLineEdit { lineedit-password-character: 42; }");
const QString styleChampFocus =
    QStringLiteral("QLineEdit { lineedit-password-character: 42; background-color: #ffff00; }");
}

passform::passform(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("passform"));
    setModal(true);
    // A program window: activation coming back from it reaches the main window.
    new SuiviActivation(this, {});
    // Enter on a focused button, focus cue.
    new GardeFocus(this);
    setFixedWidth(pixels(4200));
    Label[0] = new QLabel(this);
    Label[0]->setGeometry(pixels(240), pixels(120), pixels(3720), pixels(300));
    const char* noms[3] = {"old", "New", "Confirm"};
    for (int i = 0; i < 3; ++i) {
        editTxt[i] = new QLineEdit(this);
        editTxt[i]->setObjectName(QStringLiteral("editTxt%1").arg(i));
        editTxt[i]->setGeometry(pixels(1440), pixels(480 + 360 * i), pixels(1560), pixels(300));
        editTxt[i]->setEchoMode(QLineEdit::Password);
        editTxt[i]->setMaxLength(6);
        editTxt[i]->setStyleSheet(styleChamp);
        editTxt[i]->installEventFilter(this);
        Label[i + 1] = new QLabel(QString::fromLatin1(noms[i]), this);
        Label[i + 1]->setGeometry(pixels(240), pixels(480 + 360 * i), pixels(1140), pixels(300));
    }
    enterBtn = new QPushButton(QStringLiteral("&OK"), this);
    newBtn = new QPushButton(QStringLiteral("&New"), this);
    cancelBtn = new QPushButton(QStringLiteral("&Exit"), this);
    int x = 240;
    for (QPushButton* b : {enterBtn, newBtn, cancelBtn}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setGeometry(pixels(x), pixels(1245), pixels(1140), pixels(375));
        x += 1260;
    }
    setTabOrder(editTxt[0], editTxt[1]);
    setTabOrder(editTxt[1], editTxt[2]);
    setTabOrder(editTxt[2], enterBtn);
    setTabOrder(enterBtn, newBtn);
    setTabOrder(newBtn, cancelBtn);
    connect(enterBtn, &QPushButton::clicked, this, [this] { enterBtn_Click(); });
    connect(newBtn, &QPushButton::clicked, this, [this] { newBtn_Click(); });
    connect(cancelBtn, &QPushButton::clicked, this, [this] { cancelBtn_Click(); });
    fixerHauteur(hauteurNormale, 1245);
    registre().inscrire(numeroFenetre::passform, this);
}

passform::~passform()
{
    for (QLineEdit* e : editTxt) e->removeEventFilter(this);
    if (registre().fenetre(numeroFenetre::passform) == this) registre().retirer(numeroFenetre::passform);
}

int passform::hauteurTwips() const { return height() * 15; }
int passform::topBoutonsTwips() const { return enterBtn->y() * 15; }

void passform::fixerHauteur(int twips, int topBoutons)
{
    setFixedHeight(pixels(twips));
    for (QPushButton* b : {enterBtn, newBtn, cancelBtn}) b->move(b->x(), pixels(topBoutons));
}

void passform::afficherModal()
{
    Form_Load();
    show();
    // The form takes the keys at once, whether or not a window manager
    // activates new windows itself.
    raise();
    activateWindow();
    Form_Activate();
    if (isVisible()) exec();
    // Refused: the main window gets the hand back (its later activation).
    // Accepted: the menu that opens next takes it; asking it for the main
    // window, disabled at once, could leave the menu without it.
    if (passwordOk) return;
    if (SuiviActivation* s = SuiviActivation::de(parentWidget())) s->demanderActivation();
}

void passform::Form_Load()
{
    oublierFocus(this);
    motDePasseMaitre = motMaitre;
    motDePasseFichier = lirePassword();
    Label[0]->show();
    Label[1]->hide();
    Label[2]->hide();
    Label[3]->hide();
    for (QLineEdit* e : editTxt) {
        e->hide();
        e->clear();
        e->setStyleSheet(styleChamp);
    }
    editTxt[0]->show();
    newBtn->setEnabled(true);
    fixerHauteur(hauteurNormale, 1245);
    placerFenetre(numeroFenetre::passform, this);
    charge_ = true;
    registre().noterChargement(numeroFenetre::passform);
}

void passform::Form_Activate()
{
    setWindowTitle(texteChaine(ids::titreMotDePasse));
    Label[0]->setText(texteChaine(ids::entrerMotDePasse));
    Label[1]->setText(texteChaine(ids::libAncien));
    Label[2]->setText(texteChaine(ids::libNouveau));
    Label[3]->setText(texteChaine(ids::libConfirmer));
    enterBtn->setText(texteChaine(ids::ok));
    newBtn->setText(texteChaine(ids::nouveau));
    cancelBtn->setText(texteChaine(ids::quitter));
    editTxt[0]->setFocus(Qt::OtherFocusReason);
}

bool passform::accepte(const QString& texte) const
{
    return texte == motDePasseFichier || texte == motDePasseMaitre;
}

void passform::enterBtn_Click()
{
    const int style = msg::okSeul | msg::premierPlan;
    const QString titre = QStringLiteral("Message");
    if (editTxt[1]->isHidden()) {
        if (accepte(editTxt[0]->text())) {
            passwordOk = true;
            fermer();
        } else {
            passwordOk = false;
            ui().msgBox(texteChaine(ids::motDePasseErrone), style | msg::exclamation, titre);
            editTxt[0]->clear();
            editTxt[0]->setFocus(Qt::OtherFocusReason);
        }
        return;
    }
    if (!accepte(editTxt[0]->text())) {
        passwordOk = false;
        editTxt[0]->clear();
        editTxt[1]->clear();
        ui().msgBox(texteChaine(ids::motDePasseErrone), style | msg::exclamation, titre);
        editTxt[0]->setFocus(Qt::OtherFocusReason);
        return;
    }
    passwordOk = true;
    if (editTxt[1]->text().isEmpty()) {
        editTxt[1]->setFocus(Qt::OtherFocusReason);
    } else if (editTxt[1]->text() != editTxt[2]->text()) {
        editTxt[2]->clear();
        ui().msgBox(texteChaine(ids::confirmerNouveauMotDePasse), style | msg::information, titre);
        editTxt[2]->setFocus(Qt::OtherFocusReason);
    } else {
        // Not written: the old password stays in force (the user gave it).
        if (!ecrirePassword(editTxt[2]->text()))
            ui().msgBox(texteChaine(ids::motDePasseNonEcrit), style | msg::exclamation, titre);
        fermer();
    }
}

void passform::newBtn_Click()
{
    Label[1]->show();
    Label[2]->show();
    newBtn->setEnabled(false);
    editTxt[1]->show();
    editTxt[0]->setFocus(Qt::OtherFocusReason);
}

void passform::cancelBtn_Click()
{
    passwordOk = false;
    fermer();
}

void passform::reject()
{
    cancelBtn_Click();
}

void passform::editTxt_LostFocus(int index, QWidget* nouveauFocus, Qt::FocusReason raison)
{
    editTxt[index]->setStyleSheet(styleChamp);
    if (!charge_) return;
    if (editTxt[0]->text().isEmpty() && editTxt[1]->text().isEmpty()) return;
    if (!editTxt[1]->text().isEmpty() && editTxt[2]->text().isEmpty()) {
        if (hauteurTwips() != hauteurConfirmation) {
            fixerHauteur(hauteurConfirmation, 1605);
            Label[3]->show();
            editTxt[2]->show();
            editTxt[2]->setFocus(Qt::OtherFocusReason);
        }
        return;
    }
    // A click on OK runs the check itself.
    if (nouveauFocus == enterBtn && raison == Qt::MouseFocusReason) return;
    enterBtn_Click();
}

bool passform::eventFilter(QObject* o, QEvent* e)
{
    int index = -1;
    for (int i = 0; i < 3; ++i)
        if (o == editTxt[i]) index = i;
    if (index < 0) return QDialog::eventFilter(o, e);
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        editTxt[index]->clear();
        break;
    case QEvent::FocusIn:
        editTxt[index]->setStyleSheet(styleChampFocus);
        break;
    case QEvent::FocusOut: {
        const auto raison = static_cast<QFocusEvent*>(e)->reason();
        // A message box, a popup or another application takes no focus away.
        if (raison == Qt::ActiveWindowFocusReason || raison == Qt::PopupFocusReason) break;
        editTxt_LostFocus(index, QApplication::focusWidget(), raison);
        break;
    }
    case QEvent::KeyPress: {
        int cle = codeTouche(static_cast<QKeyEvent*>(e));
        if (cle != touche::enter && cle != touche::haut && cle != touche::bas) break;
        enterVersTab(cle);
        flechesVersTab(cle);
        return true;
    }
    default:
        break;
    }
    return QDialog::eventFilter(o, e);
}

void passform::fermer()
{
    if (charge_) Form_Unload();
    QDialog::done(QDialog::Rejected);
}

bool passform::decharger()
{
    fermer();
    return true;
}

void passform::Form_Unload()
{
    charge_ = false;
    memoriserPosition(numeroFenetre::passform, this);
    registre().noterDechargement(numeroFenetre::passform);
}

void passform::closeEvent(QCloseEvent* e)
{
    if (charge_) Form_Unload();
    e->accept();
}
