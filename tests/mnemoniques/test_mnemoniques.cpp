// Keyboard mnemonics: in every language, every window of the program is
// brought up by the user's road (on line, on the simulated converter) and no
// two of its buttons, options or labels with a buddy shown together share a
// letter. Qt turns a shared letter into a focus cycle: Alt+letter presses
// nothing.

#include "app/fixture.h"

#include "platform/registrefenetres.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

#include <map>
#include <set>
#include <utility>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

const char* const langues[6] = {"fr", "en", "de", "it", "es", "pt"};

// English captions are the system's own: their clashes stay (view, letter).
const std::set<std::pair<QString, QChar>> conflitsAnglais = {
    {QStringLiteral("progNema"), u'C'},    // &Clear, &Copy NEMA
    {QStringLiteral("menuStart"), u'S'},   // &Start, Re&set
};

// Mnemonic letter of a caption, upper case; null when none ("&&" is an ampersand).
QChar mnemonique(const QString& t)
{
    for (qsizetype i = 0; i + 1 < t.size(); ++i) {
        if (t[i] != u'&') continue;
        if (t[i + 1] != u'&') return t[i + 1].toUpper();
        ++i;
    }
    return {};
}

QWidget* fenetre(int numero) { return dynamic_cast<QWidget*>(registre().fenetre(numero)); }

void evenements()
{
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

} // namespace

class Mnemoniques : public Appli, public ::testing::WithParamInterface<int> {
protected:
    // Notes every letter shared within the window as it shows now.
    void examiner(QWidget* w, const QString& nom)
    {
        ASSERT_TRUE(w && w->isVisible()) << nom.toStdString();
        vues << nom;
        std::map<QChar, QStringList> parLettre;
        auto noter = [&](QWidget* c, const QString& texte) {
            const QChar l = mnemonique(texte);
            if (!l.isNull() && c->window() == w && c->isVisibleTo(w)) parLettre[l] << texte;
        };
        for (auto* b : w->findChildren<QAbstractButton*>()) noter(b, b->text());
        for (auto* l : w->findChildren<QLabel*>())
            if (l->buddy()) noter(l, l->text());
        for (auto* g : w->findChildren<QGroupBox*>())
            if (g->isCheckable()) noter(g, g->title());
        for (const auto& [lettre, textes] : parLettre) {
            if (textes.size() < 2) continue;
            if (GetParam() == 1 && conflitsAnglais.count({nom, lettre})) continue;
            conflits << QStringLiteral("%1 %2: %3").arg(nom, lettre, textes.join(QStringLiteral(" | ")));
        }
    }
    QAbstractButton* bouton(QWidget* w, const char* nom)
    {
        auto* b = w ? w->findChild<QAbstractButton*>(QLatin1String(nom)) : nullptr;
        EXPECT_TRUE(b) << nom;
        return b;
    }
    // A modeless window opened by a button, examined while it shows.
    QWidget* ouvrir(QAbstractButton* b, int numero)
    {
        if (b) b->click();
        banc.horloge.avancer(0.05);
        evenements();
        QWidget* w = fenetre(numero);
        if (w) examiner(w, w->objectName());
        return w;
    }
    void fermer(int numero)
    {
        registre().fenetre(numero)->decharger();
        banc.horloge.avancer(0.05);
    }
    // A modal window opened by a button (at once or on the next timer
    // ticks): examined, then closed, inside its loop.
    void ouvrirModal(QAbstractButton* b, QWidget* w, const QString& nom)
    {
        modal_ = w;
        attendreModal(nom);
        if (b) b->click();
        banc.horloge.avancer(2.0);
        EXPECT_FALSE(modal_) << nom.toStdString() << " did not show";
        modal_ = nullptr;
    }
    void attendreModal(const QString& nom)
    {
        QTimer::singleShot(0, [this, nom] {
            if (!modal_) return;
            if (!modal_->isVisible()) return attendreModal(nom);
            QWidget* w = std::exchange(modal_, nullptr);
            QTimer::singleShot(0, [this, w, nom] {
                examiner(w, nom);
                dynamic_cast<IFenetre*>(w)->decharger();
            });
        });
    }

    QWidget* modal_ = nullptr;
    QStringList vues;
    QStringList conflits;
};

TEST_P(Mnemoniques, AucuneLettrePartageeDansUneFenetre)
{
    const int langue = GetParam();
    demarrer();
    f->langueChk[langue + 1]->click();
    ASSERT_EQ(langueIndex, langue);
    allerEnLigne();
    ASSERT_TRUE(f->onLineChk());
    examiner(f.get(), QStringLiteral("fondEcran"));

    passwordOk = false;
    ouvrirModal(f->mnABtn, f->formulaireMotDePasse(), QStringLiteral("passform"));
    passwordOk = true;

    ouvrir(f->mnABtn, numeroFenetre::menuA);
    fermer(numeroFenetre::menuA);

    QWidget* bgen = ouvrir(f->mnBBtn, numeroFenetre::menuBGen);
    QWidget* bp = ouvrir(bouton(bgen, "progGammeBtn"), numeroFenetre::menuBP);
    ouvrir(bouton(bp, "copyBtn"), numeroFenetre::copyNema);
    fermer(numeroFenetre::copyNema);
    QWidget* uf = ouvrir(bouton(bp, "progGammeBtn"), numeroFenetre::progNema);
    QAbstractButton* graphe = bouton(uf, "grapheBtn");
    QTest::mousePress(graphe, Qt::LeftButton);
    examiner(uf, QStringLiteral("progNema (graph)"));
    QTest::mousePress(graphe, Qt::LeftButton);
    ouvrir(bouton(uf, "copieBtn"), numeroFenetre::copyNema);
    fermer(numeroFenetre::copyNema);
    fermer(numeroFenetre::progNema);
    fermer(numeroFenetre::menuBP);
    ouvrirModal(bouton(bgen, "printBtn"), fenetre(numeroFenetre::printW), QStringLiteral("printW"));
    fermer(numeroFenetre::menuBGen);

    ouvrir(f->mnCBtn, numeroFenetre::menuRelNew);
    fermer(numeroFenetre::menuRelNew);

    QWidget* start = ouvrir(f->startBtn, numeroFenetre::menuStart);
    ouvrirModal(bouton(start, "newConsBtn"), fenetre(numeroFenetre::newFreqW), QStringLiteral("newFreqW"));
    ouvrirModal(bouton(start, "menuDBtn"), fenetre(numeroFenetre::menuD), QStringLiteral("menuD"));
    fermer(numeroFenetre::menuStart);

    EXPECT_EQ(vues, QStringList({"fondEcran", "passform", "menuA", "menuBGen", "menuBP", "copyNema", "progNema",
                                 "progNema (graph)", "copyNema", "printW", "menuRelNew", "menuStart", "newFreqW",
                                 "menuD"}));
    EXPECT_TRUE(conflits.isEmpty()) << langues[langue] << ":\n" << conflits.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Langues, Mnemoniques, ::testing::Range(0, 6),
                         [](const auto& info) { return std::string(langues[info.param]); });
