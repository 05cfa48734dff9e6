#pragma once
// Window helpers shared by every form: placing a window where it was last
// closed, twips, and moving the focus to the next or previous field.

#include <functional>
#include <initializer_list>

class QKeyEvent;
class QPoint;
class QPushButton;
class QSize;
class QString;
class QWidget;

// 15 twips per pixel.
constexpr int twipsParPixel = 15;
inline int pixelsVersTwips(int pixels) { return pixels * twipsParPixel; }
int twipsVersPixels(int twips);

// Centres the window's frame on the main window when its record is (0, 0)
// or it is the splash box (3), else moves it to the stored Left and Top; the
// main window (2) is centred on the screen. A frame that would not lie
// wholly on the screens is moved inside the nearest one. The place follows
// the window's size until that is final: until the window is on the screen
// and, for a program window, until finirPlacement.
void placerFenetre(int numeroFenetre, QWidget* fenetre);
// The window's first activation has set its texts: its size is final.
void finirPlacement(QWidget* fenetre);
// Top-left of a window frame of that size: as given when no part of it lies
// outside the screens' available areas, else moved inside the available
// area of the screen it overlaps most (or the nearest one), as close to the
// given position as it fits.
QPoint positionSurUnEcran(const QPoint& position, const QSize& taille);
// Stores the window's Left and Top (twips, clamped to 16 bits).
void memoriserPosition(int numeroFenetre, const QWidget* fenetre);

// Key codes of the original window system.
namespace touche {
constexpr int tab = 9;
constexpr int enter = 13;
constexpr int haut = 38;
constexpr int bas = 40;
}
// The key code of a key event: Enter, Tab and the arrows as above; letters,
// digits and space as Qt's key; other printable keys never match a code above.
int codeTouche(const QKeyEvent* e);

// Enter (13) moves the focus to the next field; the key is not changed.
void enterVersTab(int& KeyAscii);
// Up (38) moves to the previous field, Down (40) to the next one.
void flechesVersTab(int& KeyCode);

// Processes events, at most borne seconds, until each visible window of the
// list is exposed by the window system, then paints them: a wait that
// processes no events may follow and the windows still show.
void peindreAvantAttente(std::initializer_list<QWidget*> fenetres, double borne = 1.0);

// Moves the focus from the focused field of the active window (or from
// depuis) to the next / previous control in tab order, once the field's
// validation accepted it. False when the field refused.
bool deplacerFocus(bool suivant, QWidget* depuis = nullptr);

// A push button named nom that runs clic. Enter in a field moves the focus,
// so no button is default: Enter or Space clicks only the focused one.
QPushButton* creerBouton(QWidget* parent, const QString& nom, std::function<void()> clic);

// While the program is busy (travailEnCours), a close request is refused
// with a beep: Cancel is set and true is returned.
bool refuserSiOccupe(bool& Cancel);
