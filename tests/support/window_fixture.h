#pragma once

// A main window wired to a simulated module through the real serial layer:
// over an in-process virtual line (which carries parity and data bits and
// reports line errors when the two ends disagree), or over a real
// pseudo-terminal. The module is COM5 and the only port in the list.

#include "platform/ports.h"
#include "platform/serial/virtual_line.h"
#include "shell/form1.h"
#include "sim/simulated_module.h"
#include "support/gui_test.h"
#include "texts/texts.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace radioset::test {

enum class Wire { VirtualLine, Pty };

// A package as a list of byte values.
inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// The operator picks an item from a drop-down list (a change the window
// reacts to, unlike a selection made by code).
inline void pick(ComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

class WindowFixture {
public:
    static constexpr int Port = 5;

    explicit WindowFixture(Wire wire = Wire::VirtualLine)
    {
        SetPortLinkFolder(links.path());
        if (wire == Wire::VirtualLine) {
            line = std::make_unique<VirtualLine>();
            line->publish(Port);
            module.attach(*line);
        } else {
            module.attachPty(Port);
        }
        SetPortListSource([] { return QStringList{PortName(Port)}; });
        LanguageIndex = 0;
        form = std::make_unique<TForm1>();
        form->show();
    }

    ~WindowFixture()
    {
        form.reset();
        module.detach();
        line.reset();
        SetPortListSource({});
        SetPortLinkFolder({});
        LanguageIndex = 0;
    }

    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    TForm1& f() { return *form; }

    void openPort()
    {
        if (!form->ZelCommDevice1->Active())
            form->Button1->click();
        ASSERT_TRUE(form->ZelCommDevice1->Active()) << boxes.texts().join(" | ").toStdString();
    }

    // Waits until the module has heard `count` frames in all.
    bool waitForFrames(int count, int ms = 2000)
    {
        return QTest::qWaitFor([&] { return module.receivedFrames().size() >= count; }, ms);
    }

    QTemporaryDir links;
    MessageRecorder boxes;
    std::unique_ptr<VirtualLine> line;
    SimulatedModule module;
    std::unique_ptr<TForm1> form;
};

} // namespace radioset::test
