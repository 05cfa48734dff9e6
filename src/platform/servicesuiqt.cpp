#include "servicesuiqt.h"

#include "imprimanteqt.h"
#include "model/etat.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QStringList>

#include <utility>
#include <vector>

namespace {
// Button sets of the style's low bits, with the answer of each button.
std::vector<std::pair<QMessageBox::StandardButton, int>> boutons(int style)
{
    using B = QMessageBox;
    switch (style & 0x7) {
    case 1: return {{B::Ok, msg::ok}, {B::Cancel, msg::annuler}};
    case 2: return {{B::Abort, 3}, {B::Retry, 4}, {B::Ignore, 5}};
    case 3: return {{B::Yes, msg::oui}, {B::No, msg::non}, {B::Cancel, msg::annuler}};
    case 4: return {{B::Yes, msg::oui}, {B::No, msg::non}};
    case 5: return {{B::Retry, 4}, {B::Cancel, msg::annuler}};
    default: return {{B::Ok, msg::ok}};
    }
}

QMessageBox::Icon icone(int style)
{
    switch (style & 0x70) {
    case msg::critique: return QMessageBox::Critical;
    case msg::question: return QMessageBox::Question;
    case msg::exclamation: return QMessageBox::Warning;
    case msg::information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// A box whose buttons hold no Cancel (Yes / No, Abort / Retry / Ignore)
// needs an answer: Escape and the close button do nothing.
class BoiteMessage : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool fermable = true;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (!fermable && e->matches(QKeySequence::Cancel)) {
            e->accept();
            return;
        }
        QMessageBox::keyPressEvent(e);
    }
    void closeEvent(QCloseEvent* e) override
    {
        if (!fermable) {
            e->ignore();
            return;
        }
        QMessageBox::closeEvent(e);
    }
};

QWidget* parentDialogue()
{
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    return QApplication::activeWindow();
}
}

int ServicesUiQt::msgBox(const QString& texte, int style, const QString& titre)
{
    BoiteMessage boite(parentDialogue());
    boite.setWindowModality(Qt::ApplicationModal);
    boite.setWindowTitle(titre.isEmpty() ? titreProgramme() : titre);
    boite.setTextFormat(Qt::PlainText);
    boite.setText(texte);
    boite.setIcon(icone(style));
    const auto jeu = boutons(style);
    std::vector<std::pair<QAbstractButton*, int>> reponses;
    for (const auto& [b, r] : jeu) reponses.emplace_back(boite.addButton(b), r);
    // Default button: first, second or third (0, 256, 512).
    const std::size_t defaut = static_cast<std::size_t>((style >> 8) & 0x3);
    if (defaut < reponses.size())
        if (auto* p = qobject_cast<QPushButton*>(reponses[defaut].first)) boite.setDefaultButton(p);
    // Escape answers Cancel, or OK on a box with only OK.
    boite.fermable = false;
    for (const auto& [b, r] : reponses)
        if (r == msg::annuler || reponses.size() == 1) {
            boite.setEscapeButton(b);
            boite.fermable = true;
        }
    if (style & msg::premierPlan) boite.setWindowFlag(Qt::WindowStaysOnTopHint);

    boite.exec();
    QAbstractButton* clique = boite.clickedButton();
    for (const auto& [b, r] : reponses)
        if (b == clique) return r;
    // Closed without a button (the program ending): Cancel when there is
    // one, else No, so that nothing is sent or written unasked.
    for (const auto& [b, r] : reponses)
        if (r == msg::annuler) return r;
    for (const auto& [b, r] : reponses)
        if (r == msg::non) return r;
    return reponses.front().second;
}

QString ServicesUiQt::filtreQt(const QString& filtre)
{
    const QStringList morceaux = filtre.split('|');
    QStringList filtres;
    for (int i = 0; i + 1 < morceaux.size(); i += 2) {
        QString description = morceaux[i];
        const QString motif = QString(morceaux[i + 1]).replace(';', ' ').trimmed();
        if (!description.trimmed().endsWith('(' + motif + ')')) description += " (" + motif + ')';
        filtres << description;
    }
    if (filtres.isEmpty() && !filtre.isEmpty()) filtres << filtre;
    return filtres.join(QStringLiteral(";;"));
}

QString ServicesUiQt::suffixeParDefaut(const QString& filtre)
{
    const QStringList morceaux = filtre.split('|');
    if (morceaux.size() < 2) return QString();
    const QString motif = morceaux[1].split(';').first().trimmed();
    if (!motif.startsWith(QStringLiteral("*.")) || motif.size() < 3) return QString();
    const QString ext = motif.mid(2);
    return ext.contains('*') || ext.contains('?') ? QString() : ext;
}

QString ServicesUiQt::dialogueOuvrir(const DialogueFichier& d)
{
    return QFileDialog::getOpenFileName(parentDialogue(), d.titre, d.dossierInitial, filtreQt(d.filtre));
}

QString ServicesUiQt::dialogueSauver(const DialogueFichier& d)
{
    // The data folder beside the program is made on first use.
    if (!d.dossierInitial.isEmpty()) QDir().mkpath(d.dossierInitial);
    QFileDialog::Options options;
    if (!d.confirmerEcrasement) options |= QFileDialog::DontConfirmOverwrite;
    // A name typed without extension gets the filter's, so Open finds the file again.
    QFileDialog dialogue(parentDialogue(), d.titre, d.dossierInitial, filtreQt(d.filtre));
    dialogue.setAcceptMode(QFileDialog::AcceptSave);
    dialogue.setOptions(options);
    dialogue.setDefaultSuffix(suffixeParDefaut(d.filtre));
    if (dialogue.exec() != QDialog::Accepted || dialogue.selectedFiles().isEmpty()) return QString();
    return dialogue.selectedFiles().first();
}

bool ServicesUiQt::dialogueImprimante(IImprimante& imprimante, const QString& titre)
{
    auto* qt = dynamic_cast<ImprimanteQt*>(&imprimante);
    if (!qt) return false;
    QPrintDialog dialogue(&qt->printer(), parentDialogue());
    dialogue.setWindowTitle(titre);
    dialogue.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialogue.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialogue.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialogue.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    return dialogue.exec() == QDialog::Accepted;
}

void ServicesUiQt::beep()
{
    QApplication::beep();
}

void ServicesUiQt::pointeurSouris(int forme)
{
    // setOverrideCursor stacks: keep one level at most.
    if (forme == pointeur::sablier) {
        if (!sablier_) QApplication::setOverrideCursor(Qt::WaitCursor);
        sablier_ = true;
    } else if (sablier_) {
        QApplication::restoreOverrideCursor();
        sablier_ = false;
    }
}

void ServicesUiQt::terminerProgramme()
{
    programmeTermine = true;
    QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}
