// Test entry point: a headless QApplication for every test program.
#include "platform/porteentrees.h"
#include "sim/entreessysteme.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    definirHorlogeEntrees(systeme::maintenant);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
