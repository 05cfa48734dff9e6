#include "copynema.h"

#include "prognema.h"
#include "syntaxedestination.h"

#include "link/fenetreprincipale.h"
#include "link/identite.h"
#include "model/etat.h"
#include "model/menubgen.h"
#include "model/partitions.h"
#include "model/session.h"
#include "model/tables.h"
#include "model/transfertspartitions.h"
#include "model/vues.h"
#include "platform/plateforme.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"
#include "widgets/ctextbxn.h"
#include "widgets/fenetres.h"
#include "widgets/focuschamp.h"
#include "widgets/statut.h"
#include "widgets/suiviactivation.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {
constexpr int pixels(int twips) { return twips / 15; }
constexpr int styleDefautDeuxieme = 256;   // the second button is the default

QWidget* fenetreDuRegistre(int numero) { return dynamic_cast<QWidget*>(registre().fenetre(numero)); }

// A partition number typed in a field: digits only, within 1 to max.
int numeroPartition(const QString& texte, int max)
{
    const QString t = texte.trimmed();
    if (t.isEmpty() || t.size() > 3) return 0;
    for (const QChar c : t)
        if (c < u'0' || c > u'9') return 0;
    const int n = t.toInt();
    return n >= 1 && n <= max ? n : 0;
}
}

copyNema::copyNema() : FenetreZelto(numeroFenetre::copyNema)
{
    setObjectName(QStringLiteral("copyNema"));
    auto* centre = new QWidget(this);
    setCentralWidget(centre);
    auto champ = [&](const char* nom, int top) {
        auto* e = new QLineEdit(centre);
        e->setObjectName(QString::fromLatin1(nom));
        e->setGeometry(pixels(2655), pixels(top), pixels(720), pixels(300));
        return e;
    };
    txtOrigCopy = champ("txtOrigCopy", 270);
    txtDestCopy = champ("txtDestCopy", 585);
    txtDestCopy->resize(pixels(1125), pixels(300));
    const int tops[3] = {315, 630, 855};
    for (int i = 0; i < 3; ++i) {
        LabelCpyNem[i] = new QLabel(centre);
        LabelCpyNem[i]->setObjectName(element(QStringLiteral("LabelCpyNem"), i));
        LabelCpyNem[i]->setGeometry(pixels(180), pixels(tops[i]), pixels(2400), pixels(240));
    }
    LabelCpyNem[2]->setText(QStringLiteral("(x or x,y or x y,z)"));
    okBtn = new QPushButton(QStringLiteral("&OK"), centre);
    okBtn->setObjectName(QStringLiteral("okBtn"));
    okBtn->setGeometry(pixels(410), pixels(1215), pixels(1280), pixels(408));
    ExitBtn = new QPushButton(centre);
    ExitBtn->setObjectName(QStringLiteral("ExitBtn"));
    ExitBtn->setGeometry(pixels(2165), pixels(1215), pixels(1280), pixels(408));
    for (QPushButton* b : {okBtn, ExitBtn}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    setTabOrder(txtOrigCopy, txtDestCopy);
    setTabOrder(txtDestCopy, okBtn);
    setTabOrder(okBtn, ExitBtn);
    setFixedSize(pixels(3900), pixels(1800) + 24);
    panneau1();

    connect(okBtn, &QPushButton::clicked, this, [this] { okBtn_Click(); });
    connect(ExitBtn, &QPushButton::clicked, this, [this] { ExitBtn_Click(); });
    surFocus(okBtn, [this] { panneau1()->clear(); }, {});
    surFocus(ExitBtn, [this] { panneau1()->clear(); }, {});
    okBtn->setMouseTracking(true);
    okBtn->installEventFilter(this);
    surFocus(txtOrigCopy, [this] {
        txtOrigCopy->setMaxLength(2);
        txtOrigCopy->selectAll();
    }, {});
    surFocus(txtDestCopy, [this] {
        txtDestCopy->setMaxLength(10);
        txtDestCopy->selectAll();
    }, {});
    for (QLineEdit* e : {txtOrigCopy, txtDestCopy})
        ajouterIndication(e, panneau1(), [this] { return indicationPlage(); });
}

copyNema::~copyNema()
{
    delete txt1;
    delete txt2;
}

QString copyNema::indicationPlage() const
{
    return texteChaine(ids::valeurEntre) + QStringLiteral("1 ... ") + QString::number(nbPartitions);
}

bool copyNema::eventFilter(QObject* objet, QEvent* e)
{
    if (objet == okBtn && e->type() == QEvent::MouseMove) panneau1()->clear();
    return FenetreZelto::eventFilter(objet, e);
}

// ---- Load, activation, close ----

void copyNema::Form_Load()
{
    delete txt1;
    delete txt2;
    txt1 = new CTextBxN(this);
    txt2 = new CTextBxN(this);
    txt1->Init(txtOrigCopy, 2, 1, 64);
    txt2->Init(txtDestCopy, 2, 1, nbPartitions);
    for (CTextBxN* v : {txt1, txt2})
        connect(v, &CTextBxN::ValidateError, this, [](bool& Cancel) { Cancel = afficheHorsLimites(); });
    LabelCpyNem[0]->setText(texteChaine(ids::dePartition));
    desactivees_.clear();
    okEnCours_ = false;
    telecharge_ = false;
    placerFenetre(numeroFenetre::copyNema, this);
}

void copyNema::desactiver(int numero)
{
    QWidget* w = fenetreDuRegistre(numero);
    if (!w || !w->isVisible()) return;
    w->setEnabled(false);
    if (std::find(desactivees_.begin(), desactivees_.end(), w) == desactivees_.end()) desactivees_.emplace_back(w);
}

void copyNema::Form_Activate()
{
    txtDestCopy->setText(QStringLiteral("1"));
    LabelCpyNem[1]->setText(texteChaine(ids::versPartition));
    ExitBtn->setText(texteChaine(ids::quitter));
    ExitBtn->setToolTip(texteChaine(ids::infoQuitterMenuBP));
    if (modeCopie == 1) setWindowTitle(texteChaine(ids::titreCopieNema));
    else if (modeCopie == 3) setWindowTitle(texteChaine(ids::titreTelechargerZelto));
    else if (modeCopie == 4) setWindowTitle(texteChaine(ids::titreCopiePartition));
    LabelCpyNem[2]->setVisible(false);
    txtDestCopy->resize(pixels(720), txtDestCopy->height());

    if (modeCopie == 1) {
        desactiver(numeroFenetre::progNema);
    } else if (modeCopie == 3) {
        desactiver(numeroFenetre::menuBGen);
        desactiver(numeroFenetre::progNema);
    } else if (modeCopie == 4) {
        desactiver(numeroFenetre::menuBP);
    }

    if (modeCopie == 1) {
        if (auto* u = dynamic_cast<progNema*>(registre().fenetre(numeroFenetre::progNema)))
            txtDestCopy->setText(u->editTxtNumGamme->text());
    } else if (modeCopie == 3) {
        txtDestCopy->setText(QString::number(std::clamp(valeursCourantes[0].valeur.entier(), 1, 64)));
    } else if (modeCopie == 4) {
        if (IVueMenuBP* vue = vues().menuBP) txtDestCopy->setText(vue->texte(QStringLiteral("editTxtGamme")));
    }
    txtOrigCopy->setText(txtDestCopy->text());
}

void copyNema::Form_QueryUnload(bool& Cancel, int)
{
    if (travailEnCours || okEnCours_) {
        ui().beep();
        Cancel = true;
    }
}

void copyNema::Form_Unload(bool&)
{
    memoriserPosition(numeroFenetre::copyNema, this);
    delete txt1;
    delete txt2;
    txt1 = txt2 = nullptr;

    std::vector<int> ouvreurs;
    if (modeCopie == 1) ouvreurs = {numeroFenetre::progNema};
    else if (modeCopie == 4) ouvreurs = {numeroFenetre::menuBP};
    else if (modeCopie == 3)
        ouvreurs = {registre().estAffichee(numeroFenetre::progNema) ? numeroFenetre::progNema : numeroFenetre::menuBGen};
    for (const int n : ouvreurs) {
        QWidget* w = fenetreDuRegistre(n);
        if (!w || !w->isVisible()) continue;
        w->setEnabled(true);
        if (SuiviActivation* s = SuiviActivation::de(w)) s->demanderActivation();
    }
    desactivees_.clear();
    // Menu B general's download sent the general part with the partition
    // source on the PC; closed without a partition download, the terminal
    // block gets it back here (a download ends with it).
    if (modeCopie == 3 && !telecharge_ && origPartExterne && !registre().estAffichee(numeroFenetre::progNema))
        envoyerOrigPart1();
    modeCopie = 0;
}

// ---- Buttons ----

void copyNema::ExitBtn_Click()
{
    // The work of OK ends before the dialog may close.
    if (okEnCours_) {
        ui().beep();
        return;
    }
    travailEnCours = false;
    decharger();
}

void copyNema::okBtn_Click()
{
    if (okEnCours_) return;
    // Another exchange holds the link (menu B partitions reads the partition
    // it opened the dialog on): nothing is copied from a half-read store.
    if (travailEnCours) {
        ui().beep();
        return;
    }
    panneau1()->setText(texteChaine(ids::patientezCopie));
    const QString origine = txtOrigCopy->text();
    const QString destination = txtDestCopy->text();
    if (modeCopie == 3 && !enLigne()) {
        // Off line a download sends nothing: nothing changes.
        panneau1()->clear();
        decharger();
        return;
    }
    // Only the focused field was validated: a number outside the stores, or a
    // partition the converter lacks, goes no further.
    const int S = numeroPartition(origine, 64);
    const int D = modeCopie == 3 ? numeroPartition(destination, std::min(nbPartitions, 64)) : 1;
    if (!S || !D) {
        panneau1()->clear();
        ui().beep();
        return;
    }
    okEnCours_ = true;
    travailEnCours = true;
    pointeurSourisPartout(pointeur::sablier);
    if (modeCopie == 1 || modeCopie == 4) {
        for (const int d : destinationsCopie(destination, S, nbPartitions)) copierUnePartition(S, d);
    } else if (modeCopie == 3) {
        telechargerPartition(S, D);
    }
    travailEnCours = false;
    okEnCours_ = false;
    pointeurSourisPartout(pointeur::normal);
    panneau1()->clear();
    decharger();
}

void copyNema::copierUnePartition(int S, int d)
{
    const bool nema = modeCopie == 1;
    bool ok = true;
    if (nema ? !partNemaCharges[S - 1] : !partParamsCharges[S - 1]) {
        const int texte = nema ? ids::nemaOrigineNonCharge : ids::parametresOrigineNonCharges;
        ok = ui().msgBox(texteChaine(texte), msg::okAnnuler | styleDefautDeuxieme, QString()) == msg::ok;
    }
    if (ok && nema) {
        for (int k = 0; k <= 63; ++k) pointsNema[d][k] = pointsNema[S][k];
        terminerPointsNema(d);
        partNemaCharges[d - 1] = true;
        partNemaModifies[d - 1] = true;
    } else if (ok) {
        for (int r = 0; r <= 36; ++r) parametresPartitions[r][d] = parametresPartitions[r][S];
        partParamsCharges[d - 1] = true;
        partParamsModifies[d - 1] = true;
    }
    valeursCourantes[0].valeur = d;
}

void copyNema::telechargerPartition(int S, int D)
{
    telecharge_ = true;
    if (origPartExterne) envoyerOrigPart0();
    partitionCourante = D;
    const QString progression =
        texteChaine(ids::sauvegardeZeltoPartition) + QLatin1Char(' ') + QString::number(D) + QStringLiteral(" ...");
    if (IVueMenuBGen* vue = vues().menuBGen; vue && vue->estVisible()) vue->setTexteStatut(progression);
    if (auto* u = dynamic_cast<progNema*>(registre().fenetre(numeroFenetre::progNema)); u && u->isVisible())
        u->panneau1()->setText(progression);

    sensLecture = false;
    transfertNumPartition();
    partitionCourante = S;
    // Taken before a link loss clears the marks; off line nothing is sent
    // and nothing is reported missing.
    const bool parametres = partParamsCharges[S - 1];
    const bool points = partNemaCharges[S - 1];
    if (parametres) {
        sensLecture = false;
        transfertPartition(true);
    } else if (enLigne()) {
        ui().msgBox(texteChaine(ids::parametresNonCharges), msg::exclamation | msg::okSeul, QString());
    }
    if (points) {
        sensLecture = false;
        transfertPointsNema();
    } else if (enLigne()) {
        ui().msgBox(texteChaine(ids::nemaNonCharge), msg::exclamation | msg::okSeul, QString());
    }
    if (S == D) {
        partNemaModifies[S - 1] = false;
        partParamsModifies[D - 1] = false;
    } else {
        // The converter's D now holds what was written: the PC reads it back.
        if (parametres) partParamsModifies[D - 1] = partParamsCharges[D - 1] = false;
        if (points) partNemaModifies[D - 1] = partNemaCharges[D - 1] = false;
    }
    partitionCourante = D;
    chargerPartition();
    majBoutonsMenuBGen(true);
    travailEnCours = false;
    if (origPartExterne) envoyerOrigPart1();
    if (IFenetrePrincipale* p = plateforme().principale) p->setTimer1Enabled(true);
    // A download cut by a link loss does not sound done.
    if (enLigne()) ui().beep();
}
