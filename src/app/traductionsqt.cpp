#include "traductionsqt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QTranslator* chargerTraductionsQt(const QLocale& langue)
{
    auto* traduction = new QTranslator(QCoreApplication::instance());
    if (!traduction->load(langue, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(traduction)) {
        delete traduction;
        return nullptr;
    }
    return traduction;
}
