#include "fixture_menubgen.h"

#include "files/fichierdonnees.h"

QStringList MenuBGen::fichierDefaut()
{
    const QString c = chemin("defaut.mnc");
    const bool avant = ::enLigne();
    EXPECT_FALSE(avant);
    EXPECT_TRUE(sauverFichierDonnees(c));
    QStringList l = QString::fromLatin1(lireOctets(c)).split("\r\n");
    l.removeLast();
    return l;
}

QString MenuBGen::ecrireLignes(const char* nom, const QStringList& l)
{
    const QString c = chemin(nom);
    ecrireOctets(c, (l.join("\r\n") + "\r\n").toLatin1());
    return c;
}
