// gtest main with a QCoreApplication, for tests that need an event loop but
// no widgets (serial layer, simulated module).

#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
