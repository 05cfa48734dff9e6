#pragma once
// Writing a whole file through a temporary file and a rename.

#include <QByteArray>
#include <QString>

// False when the file could not be written whole (no folder, full disk...);
// the file that was there is then left as it was.
bool ecrireFichierSur(const QString& chemin, const QByteArray& contenu);
