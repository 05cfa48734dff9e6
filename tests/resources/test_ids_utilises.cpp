// Every string id the program looks up exists, with a text in all six slots:
// literal ids passed to texteChaine / chargerChaine anywhere under src/, and
// every named id.
#include "resources/chaines.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <set>

namespace {

QString lire(const QString& chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

} // namespace

TEST(IdsUtilises, ChaqueIdNommeEstDansLaTable)
{
    const QString entete = lire(QStringLiteral(ZELTO_SOURCE_DIR "/src/resources/idschaines.h"));
    ASSERT_FALSE(entete.isEmpty());
    QRegularExpression re(QStringLiteral("constexpr\\s+int\\s+(\\w+)\\s*=\\s*(\\d+)"));
    int n = 0;
    for (auto it = re.globalMatch(entete); it.hasNext();) {
        const auto m = it.next();
        const int base = m.captured(2).toInt();
        EXPECT_EQ(base % 10, 0) << m.captured(1).toStdString();
        EXPECT_TRUE(chaineComplete(base)) << m.captured(1).toStdString() << " = " << base;
        ++n;
    }
    EXPECT_GT(n, 100);
}

TEST(IdsUtilises, ChaqueIdLitteralDuCodeEstDansLaTable)
{
    QRegularExpression appel(QStringLiteral("(texteChaine|chargerChaine)\\s*\\(\\s*(\\d+)\\s*[)+]"));
    std::set<int> manquants;
    int n = 0;
    QDirIterator it(QStringLiteral(ZELTO_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString chemin = it.next();
        const QString code = lire(chemin);
        for (auto m = appel.globalMatch(code); m.hasNext();) {
            const int id = m.next().captured(2).toInt();
            const int base = id - id % 10;
            ++n;
            if (!chaineComplete(base)) manquants.insert(id);
        }
    }
    for (int id : manquants) ADD_FAILURE() << "string id " << id << " used but not in the table";
    RecordProperty("literal_ids", n);
}
