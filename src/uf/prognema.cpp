#include "prognema.h"

#include "surfacegraphe.h"

#include "link/fenetreprincipale.h"
#include "link/identite.h"
#include "link/transaction.h"
#include "model/etat.h"
#include "model/nombres.h"
#include "model/partitions.h"
#include "model/session.h"
#include "model/tables.h"
#include "model/transfertspartitions.h"
#include "model/vues.h"
#include "platform/plateforme.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "widgets/controlesnommes.h"
#include "widgets/ctextbxn.h"
#include "widgets/fenetres.h"
#include "widgets/focuschamp.h"
#include "widgets/gardefocus.h"
#include "widgets/statut.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>

namespace {
constexpr int pixels(int twips) { return twips / 15; }
const QColor noir(0, 0, 0);
const QColor bleu(0, 0, 255);

// Rows 11 to 15 (default, minimum, fixed frequencies) and the three bands
// (centre, width) with the menu B partitions boxes that show them.
constexpr const char* boitesFrequences[] = {"editTxtConsDef", "editTxtFreqMin", "editTxtFx1", "editTxtFx2",
                                            "editTxtFx3"};
constexpr const char* boitesBandes[3][2] = {
    {"editTxtFi1", "editTxtBi1"}, {"editTxtFi2", "editTxtBi2"}, {"editTxtFi3", "editTxtBi3"}};

QWidget* fenetreDuRegistre(int numero) { return dynamic_cast<QWidget*>(registre().fenetre(numero)); }
}

progNema::progNema() : FenetreZelto(numeroFenetre::progNema)
{
    setObjectName(QStringLiteral("progNema"));
    // Its own tab order: the buttons first, the point fields one after the other.
    garderOrdreTabulation();
    construire();
}

progNema::~progNema()
{
    for (CTextBxN*& v : TXT) {
        delete v;
        v = nullptr;
    }
}

int progNema::partitionAffichee()
{
    return std::clamp(valeursCourantes[0].valeur.entier(), 1, 64);
}

// ---- Controls ----

void progNema::construire()
{
    auto* centre = new QWidget(this);
    centre->setObjectName(QStringLiteral("centre"));
    centre->setMouseTracking(true);
    centre->installEventFilter(this);
    setCentralWidget(centre);
    setMouseTracking(true);

    auto nommer = [](QWidget* w, const QString& nom) {
        w->setObjectName(nom);
        return w;
    };
    // Rows 1 to 16 in the left column, 17 to 32 in the right one.
    for (int j = 1; j <= 32; ++j) {
        const int colonne = (j - 1) / 16;
        const int x = pixels(180) + colonne * pixels(4800);
        const int y = pixels(600) + ((j - 1) % 16) * pixels(330);
        const int l = 4 * (j - 1);
        Label[l] = new QLabel(centre);
        Label[l]->setGeometry(x, y, pixels(1500), pixels(300));
        Label[l + 1] = new QLabel(QString::number(j), centre);
        Label[l + 1]->setGeometry(x + pixels(1500), y, pixels(400), pixels(300));
        for (int q = 0; q < 2; ++q) {
            const int k = 2 * (j - 1) + q;
            editTxt[k] = new QLineEdit(centre);
            nommer(editTxt[k], QStringLiteral("editTxt%1").arg(k));
            editTxt[k]->setGeometry(x + pixels(1950 + 1350 * q), y, pixels(800), pixels(300));
            Label[l + 2 + q] = new QLabel(q == 0 ? QStringLiteral("[V]") : QStringLiteral("[Hz]"), centre);
            Label[l + 2 + q]->setGeometry(x + pixels(2800 + 1350 * q), y, pixels(500), pixels(300));
        }
    }
    Label[128] = new QLabel(centre);
    Label[128]->setGeometry(pixels(180), pixels(150), pixels(1800), pixels(300));
    for (int i = 0; i < 129; ++i) Label[i]->setObjectName(element(QStringLiteral("Label"), i));
    editTxtNumGamme = new QLineEdit(centre);
    nommer(editTxtNumGamme, QStringLiteral("editTxtNumGamme"));
    editTxtNumGamme->setGeometry(pixels(2100), pixels(150), pixels(600), pixels(300));

    auto bouton = [&](const char* nom, int x, int y) {
        auto* b = new QPushButton(centre);
        nommer(b, QString::fromLatin1(nom));
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setGeometry(pixels(x), pixels(y), pixels(1800), pixels(420));
        b->installEventFilter(this);
        return b;
    };
    corrBtn = bouton("corrBtn", 600, 6000);
    AnnulBtn = bouton("AnnulBtn", 2700, 6000);
    terminerBtn = bouton("terminerBtn", 4800, 6000);
    copieBtn = bouton("copieBtn", 600, 6540);
    downBtn = bouton("downBtn", 2700, 6540);
    grapheBtn = bouton("grapheBtn", 4800, 6540);
    ExitBtn = bouton("ExitBtn", 6900, 6540);

    // The chart lies over the point rows when shown.
    frameGraphe = new QFrame(centre);
    nommer(frameGraphe, QStringLiteral("frameGraphe"));
    frameGraphe->setFrameShape(QFrame::Box);
    frameGraphe->setAutoFillBackground(true);
    frameGraphe->setGeometry(pixels(120), pixels(540), pixels(9600), pixels(5340));
    nemaPicture = new SurfaceGraphe(frameGraphe);
    nommer(nemaPicture, QStringLiteral("nemaPicture"));
    nemaPicture->setGeometry(pixels(120), pixels(120), pixels(5100), pixels(5100));
    auto* libFs = new QLabel(QStringLiteral("Fs [Hz]"), frameGraphe);
    libFs->setGeometry(pixels(5600), pixels(1200), pixels(1200), pixels(300));
    editTxtFs = new QLineEdit(frameGraphe);
    nommer(editTxtFs, QStringLiteral("editTxtFs"));
    editTxtFs->setGeometry(pixels(6900), pixels(1200), pixels(900), pixels(300));
    auto* libUs = new QLabel(QStringLiteral("Us [V]"), frameGraphe);
    libUs->setGeometry(pixels(5600), pixels(1700), pixels(1200), pixels(300));
    editTxtUs = new QLineEdit(frameGraphe);
    nommer(editTxtUs, QStringLiteral("editTxtUs"));
    editTxtUs->setGeometry(pixels(6900), pixels(1700), pixels(900), pixels(300));
    frameGraphe->hide();

    // Buttons, the reading fields and the partition field, then the points.
    QWidget* ordre[] = {ExitBtn, corrBtn, AnnulBtn, terminerBtn, grapheBtn, downBtn, copieBtn,
                        editTxtUs, editTxtFs, editTxtNumGamme};
    QWidget* precedent = nullptr;
    for (QWidget* w : ordre) {
        if (precedent) setTabOrder(precedent, w);
        precedent = w;
    }
    for (QLineEdit* e : editTxt) {
        setTabOrder(precedent, e);
        precedent = e;
    }
    setFixedSize(pixels(9900), pixels(7500));
    panneau1();

    connect(corrBtn, &QPushButton::clicked, this, [this] { corrBtn_Click(); });
    connect(AnnulBtn, &QPushButton::clicked, this, [this] { AnnulBtn_Click(); });
    connect(terminerBtn, &QPushButton::clicked, this, [this] { terminerBtn_Click(); });
    connect(copieBtn, &QPushButton::clicked, this, [this] { copieBtn_Click(); });
    connect(downBtn, &QPushButton::clicked, this, [this] { downBtn_Click(); });
    connect(ExitBtn, &QPushButton::clicked, this, [this] { ExitBtn_Click(); });
    for (QPushButton* b : {corrBtn, AnnulBtn, copieBtn, downBtn, ExitBtn, grapheBtn})
        surFocus(b, [this] { panneau1()->clear(); }, {});
    // A move over a button reaches the window's filter, which clears the panel.
    for (QPushButton* b : {corrBtn, AnnulBtn, terminerBtn, copieBtn, downBtn, ExitBtn, grapheBtn})
        b->setMouseTracking(true);

    for (int k = 0; k < 62; ++k) {
        surFocus(editTxt[k], [this, k] { editTxt_GotFocus(k); }, k == 61 ? std::function<void()>([this] {
            editTxt61_LostFocus();
        }) : std::function<void()>());
        ajouterIndication(editTxt[k], panneau1(), [this, k] { return indicationPoint(k); });
    }

    // Curve readings.
    auto indicationLecture = [this](bool frequence) {
        const Variant& limite = frequence ? freqMaxGamme : tensionMaxGamme;
        return texteChaine(ids::valeurInferieureA) + QStringLiteral("1 ... ") + limite.texteAffiche();
    };
    surFocus(editTxtFs, [this] {
        if (TXT[66]) {
            TXT[66]->min = 1;
            TXT[66]->max = freqMaxGamme;
        }
        editTxtFs->setMaxLength(4);
        editTxtFs->selectAll();
    }, [this] { dessinerMarqueurNema(); });
    surFocus(editTxtUs, [this] {
        if (TXT[65]) {
            TXT[65]->min = 1;
            TXT[65]->max = tensionMaxGamme;
        }
        editTxtUs->setMaxLength(3);
        editTxtUs->selectAll();
    }, {});
    surFocus(editTxtNumGamme, [this] {
        editTxtNumGamme->setMaxLength(3);
        editTxtNumGamme->selectAll();
    }, {});
    ajouterIndication(editTxtFs, panneau1(), [indicationLecture] { return indicationLecture(true); });
    ajouterIndication(editTxtUs, panneau1(), [indicationLecture] { return indicationLecture(false); });
    ajouterIndication(editTxtNumGamme, panneau1(), [] {
        return texteChaine(ids::valeurSuperieureA) + QStringLiteral("1 ... ") + QString::number(nbPartitions);
    });
    connect(editTxtFs, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (!t.isEmpty()) effacerMarqueurNema();
    });
    garde()->definirValidation(editTxtFs, [this] {
        lireTension();
        return !TXT[66] || TXT[66]->valider();
    });
    garde()->definirValidation(editTxtUs, [this] {
        lireFrequence();
        return !TXT[65] || TXT[65]->valider();
    });
}

bool progNema::eventFilter(QObject* objet, QEvent* e)
{
    if (e->type() == QEvent::MouseMove) {
        // Buttons and the background (not a field's move passed up to it;
        // a button passes its moves up).
        if (objet == centralWidget()) {
            const QWidget* sous = centralWidget()->childAt(static_cast<QMouseEvent*>(e)->position().toPoint());
            if (qobject_cast<const QLineEdit*>(sous)) return false;
        }
        panneau1()->clear();
    } else if (objet == grapheBtn && e->type() == QEvent::MouseButtonDblClick) {
        // The second press of a double click is no press.
        return true;
    } else if (objet == grapheBtn && e->type() == QEvent::MouseButtonPress) {
        // The graph button acts on the press and has no click; disabled, the
        // press still reaches this filter and is dropped.
        if (!grapheBtn->isEnabled()) return true;
        const Qt::MouseButton b = static_cast<QMouseEvent*>(e)->button();
        panneau1()->clear();
        basculerGrapheNema(b == Qt::LeftButton ? 1 : b == Qt::RightButton ? 2 : 4);
        return true;
    }
    return FenetreZelto::eventFilter(objet, e);
}

void progNema::mouseMoveEvent(QMouseEvent* e)
{
    panneau1()->clear();
    FenetreZelto::mouseMoveEvent(e);
}

// ---- Load, activation, close ----

void progNema::Form_Load()
{
    arreterScrutation();
    nemaCorrigee = false;
    xMarqueur = yMarqueur = -1;
    for (int k = 0; k < 67; ++k) {
        delete TXT[k];
        TXT[k] = new CTextBxN(this);
        QLineEdit* box = k < 64 ? editTxt[k] : k == 64 ? editTxtNumGamme : k == 65 ? editTxtUs : editTxtFs;
        const int max = k < 64 ? (k % 2 == 0 ? 460 : 4000) : k == 64 ? 64 : k == 65 ? 460 : 4000;
        TXT[k]->Init(box, 2, 1, max, false, false);
        connect(TXT[k], &CTextBxN::ValidateError, this, [](bool& Cancel) { Cancel = afficheHorsLimites(); });
    }
    for (int j = 1; j <= 31; ++j) Label[4 * (j - 1)]->setText(texteChaine(ids::pointUfNum));
    Label[128]->setText(texteChaine(ids::numeroGamme));
    downBtn->setEnabled(enLigne());
    setWindowTitle(texteChaine(ids::titreNema));

    const struct {
        QPushButton* b;
        int caption;
        int indication;
    } boutons[] = {
        {corrBtn, ids::correction, ids::infoCorrection},  {AnnulBtn, ids::effacer, ids::infoEffacer},
        {downBtn, ids::telecharger, ids::infoTelechargerMenuB}, {ExitBtn, ids::quitter, ids::infoQuitterMenuBP},
        {grapheBtn, ids::graphe, ids::infoGraphe},         {terminerBtn, ids::finNema, ids::infoFinNema},
        {copieBtn, ids::copierNema, ids::infoCopierPartition},
    };
    for (const auto& b : boutons) {
        b.b->setText(texteChaine(b.caption));
        b.b->setToolTip(texteChaine(b.indication));
        b.b->setVisible(true);
    }
    for (QPushButton* b : {corrBtn, copieBtn, grapheBtn, ExitBtn}) b->setEnabled(true);
    AnnulBtn->setEnabled(false);
    terminerBtn->setEnabled(false);
    frameGraphe->hide();
    activerPointsNema(false);
    for (int l = 124; l < 128; ++l) Label[l]->hide();
    editTxt[62]->hide();
    editTxt[63]->hide();
    placerFenetre(numeroFenetre::progNema, this);
}

// Raised inside an exchange (the user switched windows during the read): the
// activation runs once the link is free, so the busy flag holds until the end.
bool progNema::activationPossible() const
{
    // During a correction the activation does nothing anyway.
    return nemaCorrigee || (!enLecture_ && !liaisonOccupee());
}

void progNema::Form_Activate()
{
    // Typed points are not replaced by the store while a correction runs.
    if (nemaCorrigee) return;
    pointeurSourisPartout(pointeur::sablier);
    const int p = partitionAffichee();
    editTxtNumGamme->setText(QString::number(p));
    editTxtNumGamme->setEnabled(false);
    if (enLigne()) {
        panneau1()->setText(texteChaine(ids::patientez));
        if (!partNemaCharges[p - 1]) {
            // The watchdog may run again since a download: claim the link.
            enLecture_ = true;
            arreterScrutation();
            if (origPartExterne) envoyerOrigPart0();
            sensLecture = false;
            partitionCourante = p;
            transfertNumPartition();
            sensLecture = true;
            transfertPointsNema();
            enLecture_ = false;
            if (enLigne()) partNemaCharges[p - 1] = true;
            afficherPointsNema();
            terminerNema();
        } else {
            afficherPointsNema();
        }
    } else {
        afficherPointsNema();
    }
    panneau1()->clear();
    pointeurSourisPartout(pointeur::normal);
    travailEnCours = false;
    if (IVueMenuBP* vue = vues().menuBP) vue->setTexteStatut(QString());
}

void progNema::Form_QueryUnload(bool& Cancel, int UnloadMode)
{
    if (frameGraphe->isVisible()) {
        basculerGrapheNema(1);
        // The user's close only hides the graph; an unload by code (the link
        // lost) closes the window, so menu B partitions never goes from under it.
        if (UnloadMode == modeFermeture::vbFormControlMenu) Cancel = true;
    } else if (nemaCorrigee || travailEnCours) {
        ui().beep();
        Cancel = true;
    }
}

void progNema::Form_Unload(bool&)
{
    memoriserPosition(numeroFenetre::progNema, this);
    for (CTextBxN*& v : TXT) {
        delete v;
        v = nullptr;
    }
    if (QWidget* bp = fenetreDuRegistre(numeroFenetre::menuBP)) bp->setEnabled(true);
}

void progNema::activerPointsNema(bool actif)
{
    for (int k = 0; k < 62; ++k) editTxt[k]->setEnabled(actif);
}

// ---- Buttons ----

void progNema::corrBtn_Click()
{
    travailEnCours = true;
    nemaCorrigee = true;
    const int p = partitionAffichee();
    for (int k = 0; k < 64; ++k) pointsAvantCorrection_[k] = pointsNema[p][k].nombre();
    panneau1()->clear();
    activerPointsNema(true);
    editTxt[0]->setFocus(Qt::OtherFocusReason);
    for (QPushButton* b : {downBtn, copieBtn, grapheBtn, ExitBtn}) b->setEnabled(false);
    AnnulBtn->setEnabled(true);
    terminerBtn->setEnabled(true);
}

void progNema::AnnulBtn_Click()
{
    // Leaving the last field ends a correction with Clear still enabled: the
    // points are then held and shown, and are not wiped without a correction.
    if (!nemaCorrigee) return;
    panneau1()->clear();
    const int p = partitionAffichee();
    for (int k = 0; k < 64; ++k) pointsNema[p][k] = Variant(QStringLiteral("0"));
    afficherPointsNema();
    corrBtn->setFocus(Qt::OtherFocusReason);
    grapheBtn->setEnabled(false);
}

void progNema::terminerBtn_Click()
{
    terminerNema();
    controlerFrequencesPartition();
    travailEnCours = false;
    terminerBtn->setEnabled(false);
    downBtn->setEnabled(enLigne());
    AnnulBtn->setEnabled(false);
    for (QPushButton* b : {copieBtn, grapheBtn, ExitBtn}) b->setEnabled(true);
}

void progNema::copieBtn_Click() { ouvrirCopie(1); }
void progNema::downBtn_Click() { ouvrirCopie(3); }

void progNema::ouvrirCopie(int mode)
{
    panneau1()->clear();
    modeCopie = mode;
    if (auto* copie = dynamic_cast<FenetreZelto*>(registre().fenetre(numeroFenetre::copyNema))) copie->afficher();
}

void progNema::ExitBtn_Click() { decharger(); }

// ---- Point fields ----

QString progNema::indicationPoint(int k) const
{
    const QString debut = texteChaine(ids::valeurSuperieureA);
    if (k == 0) return debut + QStringLiteral(" 1 ... ") + QStringLiteral(" 460") + QStringLiteral(" V");
    if (k == 1) return debut + QStringLiteral(" 1 Hz");
    return debut + editTxt[k - 2]->text() + (k % 2 == 0 ? QStringLiteral(" V") : QStringLiteral(" Hz"));
}

void progNema::editTxt_GotFocus(int k)
{
    if (k >= 2 && TXT[k]) TXT[k]->min = Variant(editTxt[k - 2]->text());
    editTxt[k]->selectAll();
    controlesNommes::limiterSaisie(editTxt[k], k % 2 == 0 ? 3 : 4);
}

void progNema::editTxt61_LostFocus()
{
    // Disabling the fields at the end of a correction moves the focus too.
    if (enFin_) return;
    terminerNema();
    controlerFrequencesPartition();
    travailEnCours = false;
    terminerBtn->setEnabled(false);
    for (QPushButton* b : {downBtn, AnnulBtn, copieBtn, grapheBtn, ExitBtn}) b->setEnabled(true);
}

// ---- Store, normalisation and partition check ----

void progNema::afficherPointsNema()
{
    const int p = partitionAffichee();
    for (int k = 0; k < 62; ++k) editTxt[k]->setText(pointsNema[p][k].texteAffiche());
}

void progNema::terminerNema()
{
    enFin_ = true;
    pointeurSourisPartout(pointeur::sablier);
    panneau1()->clear();
    const int p = partitionAffichee();
    // Points 1 to 32, index 0 unused.
    std::array<double, 33> u{}, f{};
    for (int j = 1; j <= 32; ++j) {
        u[j] = nombreEnTete(editTxt[2 * j - 2]->text());
        f[j] = nombreEnTete(editTxt[2 * j - 1]->text());
    }
    auto retirer = [&](int j) {
        for (int i = j; i < 32; ++i) {
            u[i] = u[i + 1];
            f[i] = f[i + 1];
        }
        u[32] = 0;
        f[32] = 0;
    };
    // Each sweep goes on at j + 1 after a removal.
    for (int balayage = 0; balayage < 32; ++balayage)
        for (int j = 2; j <= 32; ++j)
            if (u[j] == u[j - 1] && f[j] == f[j - 1]) retirer(j);
    for (int balayage = 0; balayage < 32; ++balayage)
        for (int j = 2; j <= 32; ++j)
            if (u[j] < u[j - 1] || f[j] < f[j - 1]) retirer(j);
    for (int j = 1; j <= 32; ++j) {
        pointsNema[p][2 * j - 2] = u[j];
        pointsNema[p][2 * j - 1] = f[j];
    }
    afficherPointsNema();
    activerPointsNema(false);
    terminerPointsNema(p);
    // A correction that leaves every point as it was changes nothing.
    bool change = false;
    for (int k = 0; k < 64; ++k) change = change || pointsNema[p][k].nombre() != pointsAvantCorrection_[k];
    if (nemaCorrigee && change) {
        // A corrected characteristic is held, also off line.
        partNemaModifies[p - 1] = true;
        partNemaCharges[p - 1] = true;
    }
    grapheBtn->setEnabled(true);
    nemaCorrigee = false;
    pointeurSourisPartout(pointeur::normal);
    enFin_ = false;
}

void progNema::controlerFrequencesPartition()
{
    const int p = partitionAffichee();
    const double Fs = freqMaxGamme.nombre();
    // The menu B partitions boxes only when they show this partition.
    IVueMenuBP* vue = vues().menuBP;
    if (vue && versEntier(nombreEnTete(vue->texte(QStringLiteral("editTxtGamme")))) != p) vue = nullptr;
    const QString zero = formatNombre(0, QStringLiteral("#0.00"));
    int compte = 0;
    for (int r = 11; r <= 15; ++r) {
        if (parametresPartitions[r][p].nombre() <= Fs) continue;
        parametresPartitions[r][p] = 0;
        if (vue) vue->setTexte(QLatin1String(boitesFrequences[r - 11]), zero);
        ++compte;
    }
    for (int b = 0; b < 3; ++b) {
        Variant& centre = parametresPartitions[16 + 2 * b][p];
        Variant& largeur = parametresPartitions[17 + 2 * b][p];
        if (centre.nombre() <= Fs && centre.nombre() + largeur.nombre() / 2 <= Fs) continue;
        centre = 0;
        largeur = 0;
        if (vue) {
            vue->setTexte(QLatin1String(boitesBandes[b][0]), zero);
            vue->setTexte(QLatin1String(boitesBandes[b][1]), zero);
        }
        ++compte;
    }
    if (compte) {
        // Changed like an edit in menu B partitions: it goes to the converter with the points.
        partParamsModifies[p - 1] = true;
        ui().msgBox(texteChaine(ids::parametresModifies), msg::exclamation | msg::okSeul, QString());
    }
}

// ---- Chart ----

void progNema::basculerGrapheNema(int bouton)
{
    if ((bouton == 1 && frameGraphe->isVisible()) || bouton == 2) {
        grapheBtn->setText(texteChaine(ids::graphe));
        frameGraphe->hide();
    } else if (!frameGraphe->isVisible()) {
        grapheBtn->setText(texteChaine(ids::quitter));
        frameGraphe->show();
        frameGraphe->raise();
        nemaPicture->effacer();
        xMarqueur = yMarqueur = -1;
        terminerPointsNema(partitionAffichee());
        dessinerGrapheNema();
        editTxtUs->setText(QStringLiteral("1"));
        editTxtFs->setText(QStringLiteral("1"));
    }
    const bool cache = !frameGraphe->isVisible();
    for (QPushButton* b : {ExitBtn, corrBtn, AnnulBtn, copieBtn, downBtn, terminerBtn}) b->setVisible(cache);
}

void progNema::dessinerGrapheNema()
{
    panneau1()->clear();
    SurfaceGraphe& s = *nemaPicture;
    s.echelle(100, 100, 2150, 2150);
    s.ligne(150, 2100, 2100, 2100, noir);
    s.ligne(150, 150, 150, 2100, noir);
    for (int i = 0; i <= 5; ++i) {
        s.ligne(150 + 390 * i, 2100, 150 + 390 * i, 2050, noir);
        s.ligne(150, 2100 - 390 * i, 200, 2100 - 390 * i, noir);
    }
    const double Fs = freqMaxGamme.nombre();
    const double Us = tensionMaxGamme.nombre();
    for (int k = 1; k <= 5; ++k) {
        const int v = k < 5 ? versEntier(k * Fs) / 5 : versEntier(Fs);
        const QString t = QString::number(v);
        static constexpr int decalages[] = {130, 110, 100, 70};
        s.texte(390 * k + decalages[std::clamp(int(t.size()), 1, 4) - 1], 1980, t, noir);
        s.texte(200, 2100 - 390 * k - 40, QString::number(versEntier(Us * k / 5)), noir);
    }
    const int p = partitionAffichee();
    const int n = nbPointsIndex(p);
    nbPointsGamme = n;
    nbPoints_ = n;
    frequencesGraphe.fill(0);
    tensionsGraphe.fill(0);
    pentesGraphe.fill(0);
    for (int i = 1; i <= n; ++i) {
        frequencesGraphe[i] = pointsNema[p][2 * i - 1].nombre();
        tensionsGraphe[i] = pointsNema[p][2 * i - 2].nombre();
    }
    for (int i = 0; i < n; ++i)
        if (frequencesGraphe[i + 1] > frequencesGraphe[i])
            pentesGraphe[i] = (tensionsGraphe[i + 1] - tensionsGraphe[i]) / (frequencesGraphe[i + 1] - frequencesGraphe[i]);
    tracerCourbeNema(n);
}

void progNema::tracerCourbeNema(int n)
{
    const double Fs = freqMaxGamme.nombre();
    const double Us = tensionMaxGamme.nombre();
    QPoint position(150, 2100);
    for (int i = 0; i <= std::clamp(n, 0, 32); ++i) {
        const int x = Fs == 0 ? 150 : versEntier(150 + frequencesGraphe[i] * 1950 / Fs);
        const int y = Us == 0 ? 2100 : versEntier(2100 - tensionsGraphe[i] * 1950 / Us);
        nemaPicture->ligne(position.x(), position.y(), x, y, bleu);
        position = QPoint(x, y);
    }
}

void progNema::positionMarqueurNema(double F, double U)
{
    const double Fs = freqMaxGamme.nombre();
    const double Us = tensionMaxGamme.nombre();
    if (Fs == 0 || Us == 0) {
        xMarqueur = yMarqueur = -1;
        return;
    }
    xMarqueur = versEntier(150 + F * 1950 / Fs);
    yMarqueur = versEntier(2060 - U * 1950 / Us);
}

void progNema::dessinerMarqueurNema()
{
    if (xMarqueur < 0 || yMarqueur < 0) return;
    nemaPicture->texte(xMarqueur, yMarqueur, QStringLiteral("X"), noir);
}

void progNema::effacerMarqueurNema()
{
    if (xMarqueur < 0 || yMarqueur < 0) return;
    nemaPicture->texte(xMarqueur, yMarqueur, QStringLiteral("X"), nemaPicture->fond());
    tracerCourbeNema(nbPoints_);
}

void progNema::lireTension()
{
    const int f = versEntier(nombreEnTete(editTxtFs->text()));
    const double* F = frequencesGraphe.data();
    const double* U = tensionsGraphe.data();
    double tension = 0;
    if (f <= F[1]) {
        tension = f * pentesGraphe[0];
    } else {
        for (int j = 1; j < nbPoints_; ++j)
            if (F[j] <= f && f <= F[j + 1]) tension = U[j] + (f - F[j]) * pentesGraphe[j];
    }
    if (freqMaxGamme.nombre() == 0 || tensionMaxGamme.nombre() == 0) {
        editTxtUs->setText(QStringLiteral("0"));
        xMarqueur = yMarqueur = -1;
        return;
    }
    editTxtUs->setText(formatNombre(tension, QStringLiteral("#0")));
    positionMarqueurNema(f, tension);
}

void progNema::lireFrequence()
{
    const int u = versEntier(nombreEnTete(editTxtUs->text()));
    const double* F = frequencesGraphe.data();
    const double* U = tensionsGraphe.data();
    double frequence = 0;
    bool lisible = freqMaxGamme.nombre() != 0 && tensionMaxGamme.nombre() != 0;
    if (u <= U[1]) {
        if (pentesGraphe[0] == 0) lisible = false;
        else frequence = u / pentesGraphe[0];
    } else {
        for (int j = 1; j < nbPoints_; ++j)
            if (U[j] <= u && u <= U[j + 1])
                frequence = pentesGraphe[j] != 0 ? F[j] + (u - U[j]) / pentesGraphe[j] : F[j] + (u - U[j]);
    }
    if (!lisible) {
        editTxtFs->setText(QStringLiteral("0"));
        xMarqueur = yMarqueur = -1;
        return;
    }
    editTxtFs->setText(formatNombre(frequence, QStringLiteral("#0")));
    positionMarqueurNema(frequence, u);
}
