#pragma once

// One main window for a whole fuzzing run, offscreen: building a window per
// input would make the run a benchmark of widget construction.

#include "platform/dialogs.h"
#include "platform/ports.h"
#include "shell/form1.h"

#include <QApplication>
#include <QLineEdit>

#include <cstdlib>

namespace radioset::fuzz {

inline TForm1& HeadlessWindow()
{
    static TForm1* form = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "radioset-fuzz";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
        // Boxes would block; their texts do not matter here.
        SetMessageSink([](const QString&, const QString&) {});
        SetFileDialogSink([](const FileDialogRequest&) { return std::optional<QString>(); });
        // No real port is ever listed or opened: the window stays closed, and
        // every send ends in the (silent) "open the port first" box.
        SetPortListSource([] { return QStringList{}; });
        auto* window = new TForm1();
        window->show();
        return window;
    }();
    return *form;
}

// Lets queued events (timers, deferred deletes) run so that nothing piles up
// across inputs.
inline void DrainEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 0);
}

} // namespace radioset::fuzz
