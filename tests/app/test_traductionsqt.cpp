// Qt's own texts in the user's language.
#include "app/traductionsqt.h"
#include "platform/servicesui.h"
#include "platform/servicesuiqt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Texts of the Yes and No buttons of the program's Yes / No box.
std::pair<QString, QString> boutonsOuiNon()
{
    std::pair<QString, QString> textes;
    QTimer::singleShot(0, [&] {
        auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!m) return;
        textes = {m->button(QMessageBox::Yes)->text(), m->button(QMessageBox::No)->text()};
        m->button(QMessageBox::No)->click();
    });
    ServicesUiQt services;
    services.msgBox("?", msg::question | msg::ouiNon, QString());
    return textes;
}

TEST(TraductionsQt, boutonsDUneBoiteEnFrancaisSinonEnAnglais)
{
    const QDir dossier(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!dossier.exists(QStringLiteral("qtbase_fr.qm")))
        GTEST_SKIP() << "no qtbase_fr.qm in " << dossier.path().toStdString()
                     << " (scripts/installer.sh installs qt6-translations-l10n)";

    const std::unique_ptr<QTranslator> francais(chargerTraductionsQt(QLocale(QLocale::French, QLocale::France)));
    ASSERT_TRUE(francais);
    EXPECT_EQ(boutonsOuiNon(), std::make_pair(QStringLiteral("&Oui"), QStringLiteral("&Non")));
    QCoreApplication::removeTranslator(francais.get());

    // Portugal's Portuguese from the Brazilian file.
    const std::unique_ptr<QTranslator> portugais(chargerTraductionsQt(QLocale(QLocale::Portuguese, QLocale::Portugal)));
    ASSERT_TRUE(portugais);
    EXPECT_EQ(boutonsOuiNon().first.remove(u'&'), QStringLiteral("Sim"));
    QCoreApplication::removeTranslator(portugais.get());

    // A language Qt has no translation for: English.
    EXPECT_EQ(chargerTraductionsQt(QLocale(QLocale::Zulu, QLocale::SouthAfrica)), nullptr);
    EXPECT_EQ(boutonsOuiNon(), std::make_pair(QStringLiteral("&Yes"), QStringLiteral("&No")));
}

}  // namespace
