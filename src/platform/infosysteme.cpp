#include "infosysteme.h"

#include <QOperatingSystemVersion>

InfoSysteme lireInfoSysteme()
{
    InfoSysteme info;
    const QOperatingSystemVersion os = QOperatingSystemVersion::current();
    if (os.type() == QOperatingSystemVersion::Windows) {
        info.plateforme = plateformeOs::windowsNt;
        const int mineure = os.minorVersion() < 0 ? 0 : os.minorVersion();
        info.version = os.majorVersion() + mineure / 10.0;
        info.build = os.microVersion() < 0 ? 0 : os.microVersion();
    } else {
        info.plateforme = plateformeOs::autre;
    }
    return info;
}
