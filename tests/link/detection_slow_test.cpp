#include "support/window_fixture.h"

#include <QPlainTextEdit>

namespace radioset {
namespace {

using test::WindowFixture;

QStringList memoLines(const TForm1& w)
{
    return w.Memo1->toPlainText().split(u'\n');
}

QString attempt(const char* label)
{
    return QString::fromLatin1(label) + QStringLiteral("Detect Radio");
}

// About nine and a half seconds: every setting once, the first twice.
TEST(DetectionSlow, NoAnswerMakesNineteenAttemptsAndReportsFailure)
{
    WindowFixture fx;
    TForm1& w = fx.f();
    fx.module.setFault(SimulatedModule::Fault::Silent);
    fx.openPort();
    w.Button2->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fx.boxes.texts().isEmpty(); }, 15000));
    EXPECT_EQ(fx.boxes.texts(), QStringList{QStringLiteral("Connect err")});
    const QStringList lines = memoLines(w);
    ASSERT_EQ(lines.size(), 19);
    EXPECT_EQ(lines.first(), attempt("9600  None "));
    EXPECT_EQ(lines.last(), attempt("9600  None "));
    EXPECT_EQ(lines.at(9), attempt("1200  None ")); // wrapped
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_TRUE(w.ZelCommDevice1->Active());
    EXPECT_EQ(w.ComboBox2->currentIndex(), 3);
    EXPECT_EQ(w.ComboBox4->currentIndex(), 0);
    EXPECT_TRUE(fx.waitForFrames(2)); // heard at its own setting, first and last

    // A late answer is still taken after the failure.
    fx.module.sendRaw(QByteArray::fromHex("55aa032700002a"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return memoLines(w).last() == QStringLiteral("Connect ok"); }, 2000));
}

} // namespace
} // namespace radioset
