#include "platform/dialogs.h"
#include "platform/exceptions.h"
#include "support/gui_test.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace radioset {
namespace {

TEST(Dialogs, BoxesCarryTheApplicationTitle)
{
    test::MessageRecorder boxes;
    ShowMessage(QStringLiteral("Beta"));
    ASSERT_EQ(boxes.texts(), QStringList{QStringLiteral("Beta")});
    EXPECT_EQ(boxes.captions().front(), ApplicationTitle());
    EXPECT_FALSE(ApplicationTitle().isEmpty());
}

TEST(Dialogs, ErrorBoxClosesTheSentence)
{
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"'abc' is not a valid integer value", "'abc' is not a valid integer value."},
        {"Unable to write to /x/y.ini", "Unable to write to /x/y.ini."},
        {"Already closed.", "Already closed."},
        {"ends in a bracket)", "ends in a bracket)"}, // below '.', left alone
        {"", ""},
    };
    for (const auto& c : cases) {
        test::MessageRecorder boxes;
        ShowException(EConvertError(QString::fromUtf8(c.message)));
        ASSERT_EQ(boxes.texts().size(), 1);
        EXPECT_EQ(boxes.texts().front(), QString::fromUtf8(c.shown));
    }
}

TEST(Dialogs, GuardedHandlerIsAbandonedAndTheProgramGoesOn)
{
    test::MessageRecorder boxes;
    int reached = 0;
    GuardHandler([&] {
        reached = 1;
        throw EConvertError(QStringLiteral("'x' is not a valid integer value"));
        reached = 2; // never
    });
    GuardHandler([] { throw std::runtime_error("plain"); });
    GuardHandler([] { throw 42; });
    EXPECT_EQ(reached, 1);
    EXPECT_EQ(boxes.texts(),
              (QStringList{QStringLiteral("'x' is not a valid integer value."), QStringLiteral("plain."), QString()}));
}

TEST(Dialogs, FilterPairsBecomeQtFilters)
{
    EXPECT_EQ(QtFilterFromPairs(QStringLiteral("*.ini|*.ini")), QStringLiteral("*.ini (*.ini)"));
    EXPECT_EQ(QtFilterFromPairs(QStringLiteral("*.ini|*.ini|所有文件|*.*")),
              QStringLiteral("*.ini (*.ini);;所有文件 (*.*)"));
    EXPECT_EQ(QtFilterFromPairs(QStringLiteral("Text|*.txt;*.log")), QStringLiteral("Text (*.txt *.log)"));
}

TEST(Dialogs, FileDialogSeamChoosesTheFile)
{
    FileDialogRequest seen;
    const FileDialogSink previous = SetFileDialogSink([&](const FileDialogRequest& request) {
        seen = request;
        return std::optional<QString>(QStringLiteral("/tmp/plan.ini"));
    });
    const auto chosen = ExecuteFileDialog(nullptr, {FileDialogRequest::Save, QStringLiteral("*.ini|*.ini")});
    SetFileDialogSink(previous);
    EXPECT_EQ(chosen, QStringLiteral("/tmp/plan.ini"));
    EXPECT_EQ(seen.kind, FileDialogRequest::Save);
}

} // namespace
} // namespace radioset
