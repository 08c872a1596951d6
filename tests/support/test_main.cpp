// Main of the data-side test binaries: Qt's core application, then GoogleTest.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "FreshState.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    tarvex::test::useFreshState();
    return RUN_ALL_TESTS();
}
