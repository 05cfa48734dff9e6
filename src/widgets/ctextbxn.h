#pragma once
// Validator bound to a numeric text box: filters the typed keys, moves the
// focus with Enter and the arrows, shows the focused box in yellow and
// checks the value against min and max when the box is left.

#include "model/variant.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>

class QKeyEvent;
class QLineEdit;

class CTextBxN : public QObject {
    Q_OBJECT
public:
    explicit CTextBxN(QObject* parent = nullptr);
    ~CTextBxN() override;

    // Binds the box (null binds nothing) and sets type, limits and the zero
    // rule. IsOptional is ignored.
    void Init(QLineEdit* Control, long ValueType, Variant MinValue = {}, Variant MaxValue = {},
              bool IsOptional = false, bool clearDataToZeroAutor = false);
    // Binds another box.
    void lier(QLineEdit* box);

    bool IsDecimal = false;
    QString FormatMask;          // empty: the text stays as typed
    bool SelectOnEntry = false;  // kept for the windows, not read
    long ValueType = 0;          // 8 = free text, else numeric
    Variant min;                 // Empty = no limit; a number or numeric text
    Variant max;
    bool clearDataToZeroAutor = false;   // exactly 0 passes whatever the limits
    QPointer<QLineEdit> textbox;

    // Validation of the text (the box is about to lose the focus). True when
    // the focus may move: accepted, or refused and no handler cancelled.
    bool valider();

    // The box's accepted value in that format ("#0.00", "#0"), kept within
    // the limits when rounding would cross one.
    QString formater(const QString& masque) const;

    // The validator bound to a box, or null.
    static CTextBxN* de(const QObject* box);

    static constexpr long texteLibre = 8;
    static QColor couleurFocus() { return QColor(255, 255, 0); }   // 65535
    static QColor couleurNormale(const QLineEdit* box);

signals:
    // A refused value; a handler sets Cancel to keep the focus in the box.
    void ValidateError(bool& Cancel);

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    bool KeyPress(QKeyEvent* e);   // true: key dropped
    bool KeyDown(QKeyEvent* e);    // true: key consumed by a focus move
    void GotFocus();
    void LostFocus();
    void colorer(const QColor& c);
    void reecrire(double valeur);
    bool refuser(bool jaune);
    bool erreurLecture();

    QPointer<QObject> focus_;   // got / lost focus hook of the bound box
    QPointer<QObject> fin_;     // end of the focus without a lost-focus step
};

// A field's text in that format: through its validator when it has one.
QString formaterChamp(const QLineEdit* box, const QString& masque);

// Leaving a field changes its value only when the text it leaves with, and
// the text stored for it when one is given, both differ as numbers from the
// text it held when it got the focus; texts that are no numbers compare as
// texts. So "2.5" left as "2.50" changes nothing.
bool valeurInchangee(const QString& texteFocus, const QString& texte, const QString& texteStocke = QString());
