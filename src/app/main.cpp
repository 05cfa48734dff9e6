// Program entry point: the real clock, port and desktop services, then the
// main window and the event loop.
#include "app/fondecran.h"
#include "app/traductionsqt.h"
#include "platform/horlogereelle.h"
#include "platform/imprimanteqt.h"
#include "platform/plateforme.h"
#include "platform/portserieqt.h"
#include "platform/servicesuiqt.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);   // the exit road ends the program
    // Message-box buttons and the common dialogs speak the system's language.
    chargerTraductionsQt(QLocale::system());

    HorlogeReelle horlogeReelle;
    ServicesUiQt servicesUi;
    plateforme().horloge = &horlogeReelle;
    plateforme().ui = &servicesUi;
    ImprimanteQt imprimante;
    plateforme().imprimante = &imprimante;

    PortSerieQt port;
    int resultat = 0;
    {
        fondEcran fenetre(port, QCoreApplication::applicationDirPath());
        fenetre.show();
        resultat = app.exec();
    }
    plateforme().imprimante = nullptr;
    plateforme().ui = nullptr;
    plateforme().horloge = nullptr;
    return resultat;
}
