#include "platform/widgets.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace radioset {
namespace {

struct ComboFixture : ::testing::Test {
    ComboFixture()
    {
        box.addItems({"1200", "2400", "None", "Odd"});
        box.setCurrentIndex(-1);
        box.show();
        box.setFocus();
    }
    ComboBox box;
    QSignalSpy changes{&box, &ComboBox::Change};
};

TEST_F(ComboFixture, SelectionsByCodeRunNoChange)
{
    box.setCurrentIndex(2);
    box.setEditText(QStringLiteral("x"));
    box.setCurrentIndex(-1);
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(ComboFixture, TypingTheBeginningOfAnItemSelectsIt)
{
    QTest::keyClicks(box.lineEdit(), QStringLiteral("o"));
    EXPECT_EQ(box.currentIndex(), 3);
    EXPECT_EQ(box.currentText(), QStringLiteral("Odd"));
    EXPECT_EQ(changes.count(), 1);

    // Typing on replaces the completed part; text that begins no item
    // leaves no item selected but keeps what was typed.
    QTest::keyClicks(box.lineEdit(), QStringLiteral("x"));
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_EQ(box.currentText(), QStringLiteral("Ox"));
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(ComboFixture, DeletingDoesNotCompleteAgain)
{
    QTest::keyClicks(box.lineEdit(), QStringLiteral("24"));
    ASSERT_EQ(box.currentText(), QStringLiteral("2400"));
    QTest::keyClick(box.lineEdit(), Qt::Key_Backspace); // removes the selected "00"
    EXPECT_EQ(box.currentText(), QStringLiteral("24"));
    EXPECT_EQ(box.currentIndex(), -1);
}

TEST_F(ComboFixture, PickingFromTheListIsAChange)
{
    emit box.activated(1);
    EXPECT_EQ(changes.count(), 1);
}

TEST(UpDown, StepsWithinItsRangeWithoutWrapping)
{
    QWidget parent;
    auto* edit = new QLineEdit(&parent);
    UpDown spin(&parent, edit, 1, 255, 1);

    edit->setText(QString());
    spin.StepBy(+1); // empty edit: steps from the spinner's own position
    EXPECT_EQ(edit->text(), QStringLiteral("2"));
    spin.StepBy(-1);
    spin.StepBy(-1);
    EXPECT_EQ(edit->text(), QStringLiteral("1"));

    edit->setText(QStringLiteral("254"));
    spin.StepBy(+1);
    spin.StepBy(+1);
    EXPECT_EQ(edit->text(), QStringLiteral("255"));
    EXPECT_EQ(spin.Position(), 255);

    edit->setText(QStringLiteral("900")); // typed text is not limited, a step brings it back
    spin.StepBy(-1);
    EXPECT_EQ(edit->text(), QStringLiteral("254"));

    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), QStringLiteral("255"));
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), QStringLiteral("254"));
}

TEST(Memo, LimitHoldsForAddedTypedAndPastedText)
{
    Memo memo(nullptr, 20);
    memo.AppendLine(QStringLiteral("RSSI:1"));   // 6
    memo.AppendLine(QStringLiteral("RSSI:22"));  // +8 = 14
    memo.AppendLine(QStringLiteral("RSSI:187")); // +9 would be 23: cut at 20
    EXPECT_EQ(memo.Length(), 20);
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("RSSI:1\nRSSI:22\nRSSI:"));
    memo.AppendLine(QStringLiteral("more"));
    EXPECT_EQ(memo.Length(), 20);

    memo.show();
    memo.moveCursor(QTextCursor::End);
    QTest::keyClicks(&memo, QStringLiteral("abc"));
    EXPECT_EQ(memo.Length(), 20);

    memo.clear();
    QApplication::clipboard()->setText(QStringLiteral("0123456789012345678901234"));
    memo.paste();
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("01234567890123456789"));
}

TEST(Memo, LogKeepsItsNewestLines)
{
    Memo memo(nullptr, 20);
    for (int i = 1; i <= 6; ++i)
        memo.AppendLine(QStringLiteral("RSSI:%1").arg(i), Memo::Overflow::DropOldest);
    // 6 lines of 6 characters need 41: the oldest ones left, whole.
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("RSSI:4\nRSSI:5\nRSSI:6"));
    memo.AppendLine(QStringLiteral("0123456789012345678901234"), Memo::Overflow::DropOldest);
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("56789012345678901234"));
    memo.AppendLine(QStringLiteral("x"), Memo::Overflow::DropOldest);
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("x"));
}

// Found by the signal-strength soak: resident memory kept rising after the
// memo was full, by the undo history of every line added and dropped.
TEST(Memo, LongLogLeavesNoUndoHistoryBehind)
{
    Memo memo(nullptr, 5000);
    for (int i = 0; i < 3000; ++i)
        memo.AppendLine(QStringLiteral("RSSI:%1").arg(i % 256), Memo::Overflow::DropOldest);
    EXPECT_EQ(memo.document()->availableUndoSteps(), 0);
    EXPECT_TRUE(memo.toPlainText().endsWith(QStringLiteral("RSSI:183")));
}

TEST(StatusBar, PanelsHaveTheirWidths)
{
    StatusBar bar(nullptr, {100, 200, 200, 50});
    bar.resize(701, 19);
    bar.show();
    ASSERT_EQ(bar.PanelCount(), 4);
    bar.SetPanelText(2, QStringLiteral(" "));
    EXPECT_EQ(bar.PanelText(2), QStringLiteral(" "));
    EXPECT_EQ(bar.PanelText(0), QString());
}

} // namespace
} // namespace radioset
