#include "traductionsqt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QTranslator* chargerTraductionsQt(const QLocale& langue)
{
    auto* traduction = new QTranslator(QCoreApplication::instance());
    const QString dossier = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const auto charger = [&](const QLocale& l) {
        return traduction->load(l, QStringLiteral("qtbase"), QStringLiteral("_"), dossier);
    };
    // Else the language as its main country speaks it (Qt has Portuguese
    // only as pt_BR).
    if (!(charger(langue) || charger(QLocale(langue.language())))
        || !QCoreApplication::installTranslator(traduction)) {
        delete traduction;
        return nullptr;
    }
    return traduction;
}
