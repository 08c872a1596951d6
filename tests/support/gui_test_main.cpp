// Main of the test binaries that need a QApplication: fonts, widgets, printing.
#include <QApplication>
#include <gtest/gtest.h>

#include "FreshState.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    tarvex::test::useFreshState();
    return RUN_ALL_TESTS();
}
