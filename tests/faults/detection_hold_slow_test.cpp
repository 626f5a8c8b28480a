// A sweep in which line errors and chatter never leave reception a quiet
// 300 ms: the module's answer at the right setting is discarded like every
// other package, and the sweep ends as if nobody had answered.

#include "support/window_fixture.h"

#include <QTimer>

namespace radioset {
namespace {

using test::WindowFixture;

class DetectionUnderLineErrors : public ::testing::Test, public WindowFixture {};

TEST_F(DetectionUnderLineErrors, AnAnswerDuringTheHoldDoesNotCount)
{
    TForm1& w = f();
    module.setLineSettings(9600, ptEvenParity);
    openPort();
    QTimer noise;
    QObject::connect(&noise, &QTimer::timeout, &module, [&] { module.sendRaw(QByteArray("\x01\x02\x03", 3)); });
    noise.start(100);

    w.Button2->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.texts().isEmpty(); }, 15000));
    noise.stop();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Connect err")});
    // The module did hear the request at its own setting and answered.
    bool heard = false;
    for (const QByteArray& frame : module.receivedFrames())
        heard = heard || frame == QByteArray::fromHex("55aa04270000002b");
    EXPECT_TRUE(heard);
    EXPECT_EQ(w.RadioDetected, 0);
    const QStringList lines = w.Memo1->toPlainText().split(u'\n');
    EXPECT_EQ(lines.size(), 19);
    EXPECT_FALSE(lines.contains(QStringLiteral("Connect ok")));
    EXPECT_EQ(w.ComboBox2->currentIndex(), 3); // back at the start setting
    EXPECT_EQ(w.ComboBox4->currentIndex(), 0);
}

} // namespace
} // namespace radioset
