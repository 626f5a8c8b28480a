// gtest entry point for tests that need a QApplication (widgets, timers,
// serial events). Headless under QT_QPA_PLATFORM=offscreen.

#include "platform/dialogs.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!std::getenv("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // A box that a test forgot to capture must fail the test, not block it.
    radioset::SetMessageSink([](const QString&, const QString& text) {
        ADD_FAILURE() << "unexpected message box: " << text.toStdString();
    });
    return RUN_ALL_TESTS();
}
