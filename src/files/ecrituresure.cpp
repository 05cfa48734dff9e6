#include "ecrituresure.h"

#include <QSaveFile>

bool ecrireFichierSur(const QString& chemin, const QByteArray& contenu)
{
    QSaveFile f(chemin);
    if (!f.open(QIODevice::WriteOnly)) return false;
    // The buffer is flushed here: a failure only seen when it is flushed at
    // the commit would not stop the rename.
    if (f.write(contenu) != contenu.size() || !f.flush()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}
