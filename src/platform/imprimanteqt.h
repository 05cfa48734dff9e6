#pragma once
// The printer on QPrinter and QPainter. Positions are kept in points from
// the top left corner of the printable area; a line is as high as the
// largest size used on it, the size at its end included, times the line
// spacing. Nothing is drawn past the right or bottom edge: a line
// that does not fit starts a new page, a text too long is cut.
//
// Output to a file goes to a temporary file beside it, moved onto the
// file's name only when the job ends well: a job dropped or failed leaves
// no file, or the file that was there as it was.

#include "imprimante.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>

class ImprimanteQt : public IImprimante {
public:
    ImprimanteQt();
    ~ImprimanteQt() override;

    // The printer the printer dialog sets up.
    QPrinter& printer() { return printer_; }

    void setPolice(const QString& nom, bool gras, bool italique) override;
    void setTaille(double points) override { taille_ = points; }
    void setGras(bool gras) override { gras_ = gras; }
    void setSouligne(bool souligne) override { souligne_ = souligne; }
    void tab(int colonne) override;
    void milieuPage() override;
    void texte(const QString& t) override;
    void finLigne() override;
    int page() const override { return page_; }
    void nouvellePage() override;
    void ajusterInterligne(double points) override;
    bool finDocument() override;
    void abandonner() override;
    bool enErreur() const override { return erreur_; }

    // Line spacing factor in use (size x factor = line height).
    double interligne() const { return interligne_; }
    // Width of a tab column in points.
    double largeurColonne();

private:
    QFont police(double taille) const;
    bool commencerPage();
    bool ouvrirFichierTemporaire();
    // Ends the file of the job: onto the file's name, or removed.
    bool terminerFichier(bool garder);
    void reinitialiser();
    // Printable area in points.
    double largeur() const;
    double hauteur() const;

    QPrinter printer_;
    QPainter painter_;
    QString nom_ = QStringLiteral("Arial");
    bool italique_ = false;
    double taille_ = 8;
    bool gras_ = false;
    bool souligne_ = false;

    double x_ = 0;
    double y_ = 0;
    double hauteurLigne_ = 0;   // largest size printed on the line
    double interligne_ = 1.2;
    int page_ = 1;
    bool contenu_ = false;      // the current page holds text
    int pagesCommencees_ = 0;
    bool erreur_ = false;
    double colonne_ = 0;        // tab column width, measured once per job
    QString fichierDemande_;    // the output file the job is for
    QString fichierTemporaire_; // where the job writes meanwhile
};
