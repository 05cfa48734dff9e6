#include "frmsplash.h"

#include "model/etat.h"
#include "model/nombres.h"
#include "platform/horloge.h"
#include "platform/plateforme.h"
#include "widgets/fenetres.h"
#include "widgets/suiviactivation.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmSplash::frmSplash(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Zelto Windows Link"));
    setModal(false);
    // A program window: activation coming back from it reaches the main window.
    new SuiviActivation(this, {});
    auto* haut = new QVBoxLayout(this);
    auto* Frame1 = new QFrame(this);
    Frame1->setFrameShape(QFrame::Box);
    haut->addWidget(Frame1);
    auto* l = new QVBoxLayout(Frame1);
    imgLogo = new QLabel(QStringLiteral("ZELTO"), Frame1);
    QFont f = imgLogo->font();
    f.setPointSize(f.pointSize() * 2);
    f.setBold(true);
    imgLogo->setFont(f);
    lblProductName = new QLabel(Frame1);
    lblCompanyProduct = new QLabel(Frame1);
    lblVersion = new QLabel(Frame1);
    lblCompany = new QLabel(Frame1);
    lblCopyright = new QLabel(Frame1);
    lblWarning = new QLabel(Frame1);
    lblPlatform = new QLabel(QStringLiteral("Platform"), Frame1);
    for (QLabel* x : {imgLogo, lblProductName, lblCompanyProduct, lblVersion, lblCompany, lblCopyright,
                      lblWarning, lblPlatform}) {
        x->setAlignment(Qt::AlignCenter);
        l->addWidget(x);
    }
    okBtn = new QPushButton(QStringLiteral("&OK"), this);
    okBtn->setAutoDefault(false);
    haut->addWidget(okBtn, 0, Qt::AlignRight);
    connect(okBtn, &QPushButton::clicked, this, [this] { decharger(); });
    registre().inscrire(numeroFenetre::frmSplash, this);
}

frmSplash::~frmSplash()
{
    if (registre().fenetre(numeroFenetre::frmSplash) == this) registre().retirer(numeroFenetre::frmSplash);
}

QString frmSplash::texteVersion()
{
    return QStringLiteral("Version: ") + formatNombre(versionMajeure, QStringLiteral("#0."))
        + formatNombre(versionRevision, QStringLiteral("#000"));
}

QString frmSplash::textePlateforme(const InfoSysteme& info)
{
    const QString suite = texteSysteme(info.version) + QStringLiteral(" (") + QString::number(info.build) + u')';
    switch (info.plateforme) {
    case plateformeOs::nonIdentifiee:
        return QStringLiteral("Unidentified");
    case plateformeOs::windows9x:
        return QStringLiteral("Windows 95/98 Vers. ") + suite;
    case plateformeOs::windowsNt:
        if (info.version > 5) return QStringLiteral("Windows XP. Vers. ") + suite;
        if (info.version == 5) return QStringLiteral("Windows 2000. Vers. ") + suite;
        return QStringLiteral("Windows NT. Vers. ") + suite;
    default:
        return QString();
    }
}

void frmSplash::afficher()
{
    Form_Load();
    show();
    raise();
    Form_Activate();
}

void frmSplash::Form_Load()
{
    horloge().traiterEvenements();
    okBtn->setVisible(!premierDemarrage);
    lblVersion->setText(texteVersion());
    lblProductName->setText(QString());
    lblCompanyProduct->setText(QStringLiteral("Zelto Windows Link"));
    lblCompany->setText(QStringLiteral("Zelto converters"));
    lblCopyright->setText(QStringLiteral("Setup and operation of the Zelto converter"));
    lblWarning->setText(QStringLiteral("www.zelto.com"));
    const QString p = textePlateforme(lireInfoSysteme());
    lblPlatform->setText(p.isEmpty() ? QStringLiteral("Platform") : p);
    adjustSize();
    horloge().traiterEvenements();
    placerFenetre(numeroFenetre::frmSplash, this);
    charge_ = true;
    registre().noterChargement(numeroFenetre::frmSplash);
}

void frmSplash::Form_Activate()
{
    if (!premierDemarrage) return;
    peindreAvantAttente({parentWidget(), this});
    horloge().traiterEvenements();
    // No event is handled during the 3 seconds.
    horloge().attendre(3.0);
    decharger();
    premierDemarrage = false;
}

bool frmSplash::decharger()
{
    const bool etaitAffiche = isVisible();
    if (charge_) Form_Unload();
    hide();
    // The main window gets the hand back (its later activation).
    if (etaitAffiche)
        if (SuiviActivation* s = SuiviActivation::de(parentWidget())) s->demanderActivation();
    return true;
}

void frmSplash::Form_Unload()
{
    charge_ = false;
    memoriserPosition(numeroFenetre::frmSplash, this);
    registre().noterDechargement(numeroFenetre::frmSplash);
}

void frmSplash::keyPressEvent(QKeyEvent* e)
{
    e->accept();
    decharger();
}

void frmSplash::closeEvent(QCloseEvent* e)
{
    if (charge_) Form_Unload();
    e->accept();
}
