#include "ctextbxn.h"

#include "fenetres.h"
#include "focuschamp.h"
#include "gardefocus.h"
#include "model/nombres.h"
#include "platform/plateforme.h"
#include "platform/servicesui.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>

#include <cmath>
#include <limits>

namespace {
const char* const proprieteValidateur = "validateurCTextBxN";

// A limit as a number: a number, or a numeric text with the system
// separator or a point. False when the limit is not a number.
bool lireLimite(const Variant& limite, double& valeur)
{
    if (limite.estNombre()) {
        valeur = limite.nombre();
        return true;
    }
    const QString t = limite.texte().trimmed();
    if (lireNombreSysteme(t, valeur)) return true;
    bool ok = false;
    valeur = t.toDouble(&ok);   // "12.50" on a comma system
    return ok && std::isfinite(valeur);
}

// A field's text as a number: with the system separator, or with a point or
// a comma as its decimal sign (a stored text shown as it is).
bool lireTexteChamp(const QString& texte, double& valeur)
{
    if (lireNombreSysteme(texte, valeur)) return true;
    QString t = texte.trimmed();
    t.replace(u',', u'.');
    int points = 0;
    int chiffres = 0;
    for (int i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u'.') ++points;
        else if (c >= u'0' && c <= u'9') ++chiffres;
        else if (!(i == 0 && (c == u'-' || c == u'+'))) return false;
    }
    if (points > 1 || chiffres == 0) return false;
    bool ok = false;
    valeur = t.toDouble(&ok);
    return ok && std::isfinite(valeur);
}

// A limit, or the infinity on its side when there is none or it is no number.
double borne(const Variant& limite, double sansLimite)
{
    double v = 0.0;
    return !limite.estVide() && lireLimite(limite, v) ? v : sansLimite;
}
}

CTextBxN::CTextBxN(QObject* parent) : QObject(parent) {}

CTextBxN::~CTextBxN()
{
    lier(nullptr);
}

void CTextBxN::Init(QLineEdit* Control, long valueType, Variant MinValue, Variant MaxValue,
                    bool /*IsOptional*/, bool zeroAutorise)
{
    if (Control) lier(Control);
    ValueType = valueType;
    if (!MinValue.estVide()) min = MinValue;
    if (!MaxValue.estVide()) max = MaxValue;
    clearDataToZeroAutor = zeroAutorise;
}

void CTextBxN::lier(QLineEdit* box)
{
    if (textbox == box) return;
    if (textbox) {
        textbox->removeEventFilter(this);
        if (de(textbox) == this) textbox->setProperty(proprieteValidateur, QVariant());
        // A window's unload lets go of its validators before it hides: the
        // box's focus colour goes with its validator.
        couleurSysteme(textbox, QPalette::Base);
    }
    delete focus_;
    delete fin_;
    textbox = box;
    if (!box) return;
    box->installEventFilter(this);
    box->setProperty(proprieteValidateur, QVariant::fromValue(static_cast<QObject*>(this)));
    focus_ = surFocus(box, [this] { GotFocus(); }, [this] { LostFocus(); });
    fin_ = retablirEnFinDeFocus(box, [this] { LostFocus(); });
}

CTextBxN* CTextBxN::de(const QObject* box)
{
    if (!box) return nullptr;
    return qobject_cast<CTextBxN*>(box->property(proprieteValidateur).value<QObject*>());
}

QColor CTextBxN::couleurNormale(const QLineEdit* box)
{
    return QApplication::palette(box).color(QPalette::Base);
}

void CTextBxN::colorer(const QColor& c)
{
    if (textbox) ::couleurFocus(textbox, QPalette::Base, c);
}

bool CTextBxN::eventFilter(QObject* objet, QEvent* e)
{
    if (objet != textbox || e->type() != QEvent::KeyPress) return false;
    auto* k = static_cast<QKeyEvent*>(e);
    if (KeyDown(k)) return true;
    return KeyPress(k);
}

bool CTextBxN::KeyDown(QKeyEvent* e)
{
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    switch (codeTouche(e)) {
    case touche::enter:
    case touche::bas:
        deplacerFocus(true, textbox);
        return true;
    case touche::haut:
        deplacerFocus(false, textbox);
        return true;
    case touche::tab:
    case Qt::Key_Backtab:
        // Qt moves the focus on Tab itself; without a gate the box checks
        // its value first.
        if (!GardeFocus::de(textbox->window())) return !valider();
        return false;
    default:
        return false;
    }
}

bool CTextBxN::KeyPress(QKeyEvent* e)
{
    if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
    const QString texte = e->text();
    if (texte.isEmpty()) return false;
    for (const QChar c : texte) {
        const ushort code = c.unicode();
        if (code < 32 || code == 127) continue;   // control codes
        bool passe;
        if (ValueType == texteLibre) passe = code <= 126;
        else if (code >= '0' && code <= '9') passe = true;
        else passe = IsDecimal && c == separateurDecimal();
        if (!passe) {
            ui().beep();
            return true;
        }
    }
    return false;
}

void CTextBxN::GotFocus()
{
    // The box's window validates before the focus moves.
    if (textbox && !GardeFocus::de(textbox->window())) new GardeFocus(textbox->window());
    colorer(couleurFocus());
}

void CTextBxN::LostFocus()
{
    if (textbox) couleurSysteme(textbox, QPalette::Base);
}

void CTextBxN::reecrire(double valeur)
{
    if (textbox && !FormatMask.isEmpty()) textbox->setText(formatNombre(valeur, FormatMask));
}

bool CTextBxN::refuser(bool jaune)
{
    if (jaune) colorer(couleurFocus());
    bool Cancel = false;
    emit ValidateError(Cancel);
    return !Cancel;
}

bool CTextBxN::erreurLecture()
{
    if (textbox) textbox->clear();
    return refuser(true);
}

bool CTextBxN::valider()
{
    if (!textbox) return true;
    couleurSysteme(textbox, QPalette::Base);
    if (ValueType == texteLibre) return true;

    const QString texte = textbox->text();
    double valeur = 0.0;
    if (texte.isEmpty()) {
        if (clearDataToZeroAutor) return refuser(false);
    } else {
        if (!lireNombreSysteme(texte, valeur)) return erreurLecture();
        if (valeur == 0.0 && clearDataToZeroAutor) {
            reecrire(valeur);
            return true;
        }
    }

    // An empty box counts as 0. One refusal only, also when min is above max.
    double limite = 0.0;
    if (!min.estVide()) {
        if (!lireLimite(min, limite)) return erreurLecture();
        if (texte.isEmpty() ? limite >= 0.0 : valeur < limite) return refuser(true);
    }
    if (!max.estVide()) {
        if (!lireLimite(max, limite)) return erreurLecture();
        if (valeur > limite) return refuser(true);
    }
    // Without any limit the text stays as typed.
    if (!texte.isEmpty() && !(min.estVide() && max.estVide())) reecrire(valeur);
    return true;
}

QString CTextBxN::formater(const QString& masque) const
{
    const double valeur = textbox ? nombreChamp(textbox->text()) : 0.0;
    const double infini = std::numeric_limits<double>::infinity();
    return formatDansLimites(valeur, masque, borne(min, -infini), borne(max, infini));
}

QString formaterChamp(const QLineEdit* box, const QString& masque)
{
    if (const CTextBxN* v = CTextBxN::de(box); v && v->textbox.data() == box) return v->formater(masque);
    return formatNombre(nombreChamp(box->text()), masque);
}

bool valeurInchangee(const QString& texteFocus, const QString& texte, const QString& texteStocke)
{
    double avant = 0.0;
    const bool nombre = lireTexteChamp(texteFocus, avant);
    const auto meme = [&](const QString& t) {
        double v = 0.0;
        return t == texteFocus || (nombre && lireTexteChamp(t, v) && v == avant);
    };
    return meme(texte) || (!texteStocke.isNull() && meme(texteStocke));
}
