#pragma once
// The system printer as the printout drives it: one font for the job, a
// size, bold and underline switched as it goes, text at tab columns, line
// ends, new pages and the end of the job. Tests put a recording printer in
// its place.
//
// A page is begun only when text is printed on it: nouvellePage() on a page
// that holds nothing does nothing, so a job never ends on a blank page.

#include <QString>

class IImprimante {
public:
    virtual ~IImprimante() = default;

    // Font of the whole job; bold is the starting state of setGras.
    virtual void setPolice(const QString& nom, bool gras, bool italique) = 0;
    virtual void setTaille(double points) = 0;
    virtual void setGras(bool gras) = 0;
    virtual void setSouligne(bool souligne) = 0;

    // Print position to text column n (1 = left edge); a column is the
    // average character width of the 8-point font.
    virtual void tab(int colonne) = 0;
    // Print position to the middle of the page width.
    virtual void milieuPage() = 0;
    // Text at the print position, which moves past it.
    virtual void texte(const QString& t) = 0;
    virtual void finLigne() = 0;

    // Number of the page being printed (1 for the first).
    virtual int page() const = 0;
    virtual void nouvellePage() = 0;
    // The printed lines of a full page add up to `points` of font size:
    // line spacing is chosen so that such a page fits.
    virtual void ajusterInterligne(double points) = 0;

    // Sends the job to the printer; false when that failed.
    virtual bool finDocument() = 0;
    // Drops the job, begun pages or none: nothing of it is printed.
    virtual void abandonner() = 0;
    // True once the printer failed in this job.
    virtual bool enErreur() const = 0;
};
