#pragma once
// Focus gate of a window: the focused field is validated before the focus
// moves away by Tab / Backtab, a mouse press on another focusable control
// or a mnemonic. A refused value keeps the focus and the key or click that
// caused the move is swallowed (no lost-focus step, no click). Focus lost to
// a message box, a popup or another application is not a move. Closing a
// window validates nothing. Enter on a focused push button clicks it, and a
// focused push button shows a focus cue. A button's mnemonic clicks it at
// once (no delayed click that could act on a control disabled or hidden
// meanwhile); a window behind a modal one takes no mnemonic.

#include <QObject>
#include <QPointer>

#include <functional>
#include <utility>
#include <vector>

class QKeyEvent;
class QShortcutEvent;
class QWidget;

class GardeFocus : public QObject {
    Q_OBJECT
public:
    // One gate per window; it lives as the window's child.
    explicit GardeFocus(QWidget* fenetre);
    ~GardeFocus() override;

    // The gate of a window, or null.
    static GardeFocus* de(const QWidget* fenetre);

    // Validation of a field that has no CTextBxN (true = accepted).
    void definirValidation(QWidget* champ, std::function<bool()> valider);

    // Validates the field that holds the focus in the window.
    bool validerFocus();
    bool valider(QWidget* champ);

    QWidget* fenetre() const { return fenetre_; }

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    QWidget* champFocus() const;
    bool validerAvant(QWidget* cible);
    bool cliquerBouton(QObject* objet, const QKeyEvent* k);
    bool cliquerMnemonique(QObject* objet, const QShortcutEvent* e);

    QWidget* fenetre_;
    std::vector<std::pair<QPointer<QWidget>, std::function<bool()>>> validations_;
    bool enValidation_ = false;
};

// Validation of one field: its gate's own validation, else its CTextBxN,
// else accepted.
bool validerChamp(QWidget* champ);
