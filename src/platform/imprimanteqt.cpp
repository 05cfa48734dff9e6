#include "imprimanteqt.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QTemporaryFile>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {
constexpr double interligneNormal = 1.2;
// Smallest spacing at which lines of one size do not overlap.
constexpr double interligneMin = 1.0;
// Columns that a full line needs: the last tab column and a cell.
constexpr double colonnesParLigne = 160;
}

ImprimanteQt::ImprimanteQt() : printer_(QPrinter::HighResolution)
{
    printer_.setPageOrientation(QPageLayout::Portrait);
    printer_.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

ImprimanteQt::~ImprimanteQt()
{
    if (painter_.isActive() || !fichierTemporaire_.isEmpty()) abandonner();
}

void ImprimanteQt::reinitialiser()
{
    x_ = 0;
    y_ = 0;
    hauteurLigne_ = 0;
    page_ = 1;
    contenu_ = false;
    pagesCommencees_ = 0;
    erreur_ = false;
    colonne_ = 0;
}

void ImprimanteQt::setPolice(const QString& nom, bool gras, bool italique)
{
    nom_ = nom;
    colonne_ = 0;
    gras_ = gras;
    italique_ = italique;
}

QFont ImprimanteQt::police(double taille) const
{
    // A missing family falls to the system's substitute.
    QFont f(nom_);
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(taille);
    f.setBold(gras_);
    f.setItalic(italique_);
    f.setUnderline(souligne_);
    return f;
}

double ImprimanteQt::largeur() const
{
    return printer_.pageLayout().paintRect(QPageLayout::Point).width();
}

double ImprimanteQt::hauteur() const
{
    return printer_.pageLayout().paintRect(QPageLayout::Point).height();
}

double ImprimanteQt::largeurColonne()
{
    if (colonne_ > 0) return colonne_;
    QFont f(nom_);
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(8);
    f.setItalic(italique_);
    // Measured at 72 dpi, so in points.
    const double moyenne = QFontMetricsF(f, &printer_).averageCharWidth() * 72.0 / printer_.logicalDpiX();
    colonne_ = std::min(moyenne, largeur() / colonnesParLigne);
    return colonne_;
}

void ImprimanteQt::tab(int colonne)
{
    // A column already passed: the text follows what is printed, a
    // column apart.
    const double cible = (std::max(colonne, 1) - 1) * largeurColonne();
    x_ = x_ > cible ? x_ + largeurColonne() : cible;
}

void ImprimanteQt::milieuPage()
{
    x_ = largeur() / 2;
}

bool ImprimanteQt::commencerPage()
{
    if (contenu_) return true;
    if (pagesCommencees_ == 0) {
        if (!ouvrirFichierTemporaire() || !painter_.begin(&printer_)) {
            erreur_ = true;
            return false;
        }
    } else if (!printer_.newPage()) {
        erreur_ = true;
        return false;
    }
    ++pagesCommencees_;
    contenu_ = true;
    return true;
}

void ImprimanteQt::texte(const QString& t)
{
    if (erreur_ || t.isEmpty()) return;
    const QFont f = police(taille_);
    const QFontMetricsF m(f, &printer_);
    const double echelle = printer_.logicalDpiX() / 72.0;   // device units per point
    const double echelleY = printer_.logicalDpiY() / 72.0;
    // A line that does not fit goes to the next page; the line's advance
    // is what the spacing set aside for it.
    const double bas = std::min(m.height() / echelleY, taille_ * interligne_);
    if (contenu_ && y_ + bas > hauteur() + 1e-6) nouvellePage();
    if (!commencerPage()) return;

    painter_.setFont(f);
    const double reste = (largeur() - x_) * echelle;
    if (reste <= 0) return;
    const QString visible = m.horizontalAdvance(t) <= reste ? t : m.elidedText(t, Qt::ElideRight, reste);
    painter_.drawText(QPointF(x_ * echelle, y_ * echelleY + m.ascent()), visible);
    x_ += m.horizontalAdvance(visible) / echelle;
    hauteurLigne_ = std::max(hauteurLigne_, taille_);
}

void ImprimanteQt::finLigne()
{
    y_ += std::max(hauteurLigne_, taille_) * interligne_;
    x_ = 0;
    hauteurLigne_ = 0;
}

void ImprimanteQt::nouvellePage()
{
    if (contenu_) ++page_;
    contenu_ = false;
    x_ = 0;
    y_ = 0;
    hauteurLigne_ = 0;
}

void ImprimanteQt::ajusterInterligne(double points)
{
    interligne_ = points > 0 ? std::clamp(hauteur() / points, interligneMin, interligneNormal) : interligneNormal;
}

bool ImprimanteQt::ouvrirFichierTemporaire()
{
    const QString chemin = printer_.outputFileName();
    if (chemin.isEmpty()) return true;
    // Reserves a free name beside the file; the job then writes it anew,
    // with the permissions any new file gets.
    QTemporaryFile reserve(chemin + QStringLiteral(".XXXXXX"));
    reserve.setAutoRemove(false);
    if (!reserve.open()) return false;
    fichierDemande_ = chemin;
    fichierTemporaire_ = reserve.fileName();
    reserve.close();
    QFile::remove(fichierTemporaire_);
    printer_.setOutputFileName(fichierTemporaire_);
    return true;
}

bool ImprimanteQt::terminerFichier(bool garder)
{
    if (fichierTemporaire_.isEmpty()) return garder;
    const QString temporaire = fichierTemporaire_;
    const QString chemin = fichierDemande_;
    fichierTemporaire_.clear();
    fichierDemande_.clear();
    printer_.setOutputFileName(chemin);
    if (garder && QFileInfo::exists(temporaire)) {
        if (QFileInfo::exists(chemin)) QFile::setPermissions(temporaire, QFile::permissions(chemin));
        // Replaces the file in one step: the old one stays until the new one is whole.
        std::error_code erreur;
        std::filesystem::rename(QFileInfo(temporaire).filesystemAbsoluteFilePath(),
                                QFileInfo(chemin).filesystemAbsoluteFilePath(), erreur);
        if (!erreur) return true;
    }
    QFile::remove(temporaire);
    return false;
}

bool ImprimanteQt::finDocument()
{
    bool ok = !erreur_;
    if (painter_.isActive()) ok = painter_.end() && ok;
    ok = terminerFichier(ok);
    reinitialiser();
    return ok;
}

void ImprimanteQt::abandonner()
{
    if (painter_.isActive()) {
        printer_.abort();
        painter_.end();
    }
    terminerFichier(false);
    reinitialiser();
}
