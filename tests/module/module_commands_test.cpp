#include "link/dispatch.h"
#include "support/window_fixture.h"

#include <QLineEdit>

#include <functional>

namespace radioset {
namespace {

using test::pick;
using test::WindowFixture;


QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

class ModuleCommands : public ::testing::Test, public WindowFixture {
protected:
    ModuleCommands()
    {
        module.setFault(SimulatedModule::Fault::Silent); // replies would only add noise here
        openPort();
    }

    // Runs the operator's action and returns the frame the module heard.
    QByteArray sent(const std::function<void(TForm1&)>& action)
    {
        const int before = static_cast<int>(module.receivedFrames().size());
        action(f());
        if (!waitForFrames(before + 1, 1000))
            return QByteArray("nothing sent");
        return module.receivedFrames().last();
    }

    void dispatch(const char* package)
    {
        const QByteArray bytes = hex(package);
        DispatchResponse(f(), reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<int>(bytes.size()));
    }
};

TEST_F(ModuleCommands, RequestsGoOutByteExact)
{
    const struct {
        const char* what;
        std::function<void(TForm1&)> action;
        const char* frame;
    } cases[] = {
        {"serial rate, nothing chosen", [](TForm1& w) { w.Button4->click(); }, "55aa0328 00 002b"},
        {"air rate 9600", [](TForm1& w) { pick(w.ComboBox7, 3); w.Button6->click(); }, "55aa04200596 00bf"},
        {"channel 1", [](TForm1& w) { w.Edit1->setText("1"); w.Button8->click(); }, "55aa060701000000000e"},
        {"channel 255 carries", [](TForm1& w) { w.Edit1->setText("255"); w.Button8->click(); }, "55aa0607ff000000010c"},
        {"channel 256 wraps", [](TForm1& w) { w.Edit1->setText("256"); w.Button8->click(); }, "55aa060700000000000d"},
        {"channel 300", [](TForm1& w) { w.Edit1->setText("300"); w.Button8->click(); }, "55aa06072c0000000039"},
        {"channel -1", [](TForm1& w) { w.Edit1->setText("-1"); w.Button8->click(); }, "55aa0607ff000000010c"},
        {"transparent mode", [](TForm1& w) { pick(w.ComboBox9, 0); w.Button12->click(); }, "55aa0381110095"},
        {"frame-head mode", [](TForm1& w) { pick(w.ComboBox9, 1); w.Button12->click(); }, "55aa03812200a6"},
        {"mode, nothing chosen", [](TForm1& w) { w.ComboBox9->setCurrentIndex(-1); w.Button12->click(); }, "55aa03812200a6"},
        {"frame head 7E", [](TForm1& w) { pick(w.ComboBox9, 1); w.Edit3->setText("7E"); w.Button25->click(); }, "55aa03827e0103"},
        {"frame head 7e", [](TForm1& w) { w.Edit3->setText("7e"); w.Button25->click(); }, "55aa03827e0103"},
        {"power 15DB", [](TForm1& w) { pick(w.ComboBox10, 3); w.Button24->click(); }, "55aa033304003a"},
        {"read air rate", [](TForm1& w) { w.Button5->click(); }, "55aa0323000026"},
        {"read channel", [](TForm1& w) { w.Button7->click(); }, "55aa0324000027"},
        {"read power", [](TForm1& w) { w.Button23->click(); }, "55aa0353000056"},
        {"carrier test", [](TForm1& w) { w.Button9->click(); }, "55aa036700006a"},
        {"01 pattern test", [](TForm1& w) { w.Button10->click(); }, "55aa036900006c"},
        {"stop test", [](TForm1& w) { w.Button18->click(); }, "55aa036800006b"},
        {"fine trim up", [](TForm1& w) { w.Button19->click(); }, "55aa0371000074"},
        {"fine trim down", [](TForm1& w) { w.Button20->click(); }, "55aa0372000075"},
        {"coarse trim up", [](TForm1& w) { w.Button21->click(); }, "55aa0351 0a005e"},
        {"coarse trim down", [](TForm1& w) { w.Button22->click(); }, "55aa03520a005f"},
        {"factory channel read", [](TForm1& w) { w.Button26->click(); }, "55aa0324000027"},
        {"factory channel 255", [](TForm1& w) { w.Edit4->setText("255"); w.Button27->click(); }, "55aa0607ff000000010c"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sent(c.action).toHex(' '), hex(c.frame).toHex(' ')) << c.what;
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join(" | ").toStdString();
}

TEST_F(ModuleCommands, SerialRateCombinesParityAndRateBits)
{
    pick(f().ComboBox6, 5);
    pick(f().ComboBox8, 2);
    EXPECT_EQ(sent([](TForm1& w) { w.Button4->click(); }).toHex(' '), hex("55aa0328370062").toHex(' '));
}

TEST_F(ModuleCommands, TextsThatAreNoNumberSendNothing)
{
    const struct {
        const char* what;
        std::function<void(TForm1&)> action;
        const char* message;
        const char* head; // what the unfinished frame left in the buffer
    } cases[] = {
        {"channel abc", [](TForm1& w) { w.Edit1->setText("abc"); w.Button8->click(); },
         "'abc' is not a valid integer value.", "55aa0607"},
        {"channel empty", [](TForm1& w) { w.Edit1->setText(""); w.Button8->click(); },
         "'' is not a valid integer value.", "55aa0607"},
        {"factory channel x1y", [](TForm1& w) { w.Edit4->setText("x1y"); w.Button27->click(); },
         "'x1y' is not a valid integer value.", "55aa0607"},
        {"frame head G1", [](TForm1& w) { w.Edit3->setText("G1"); w.Button25->click(); },
         "'0xG1' is not a valid integer value.", "55aa0382"},
        {"frame head empty", [](TForm1& w) { w.Edit3->setText(""); w.Button25->click(); },
         "'0x' is not a valid integer value.", "55aa0382"},
        {"power, nothing chosen", [](TForm1& w) { w.ComboBox10->setCurrentIndex(-1); w.Button24->click(); },
         "请选择", nullptr},
        {"air rate, nothing chosen", [](TForm1& w) { w.ComboBox7->setCurrentIndex(-1); w.Button6->click(); },
         "请选择", nullptr},
    };
    pick(f().ComboBox9, 1); // enables the frame-head controls
    for (const auto& c : cases) {
        boxes.clear();
        c.action(f());
        EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8(c.message)}) << c.what;
        if (c.head) {
            EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(f().TxBuffer.data()), 4), hex(c.head)) << c.what;
        }
    }
    QTest::qWait(100);
    EXPECT_TRUE(module.receivedFrames().isEmpty());
}

TEST_F(ModuleCommands, ReadsClearTheirControlEvenWithThePortClosed)
{
    TForm1& w = f();
    pick(w.ComboBox7, 2);
    pick(w.ComboBox10, 2);
    w.Edit1->setText("9");
    w.Edit4->setText("9");
    w.Button1->click(); // close
    w.Button5->click();
    w.Button23->click();
    w.Button7->click();
    EXPECT_EQ(w.ComboBox7->currentIndex(), -1);
    EXPECT_EQ(w.ComboBox10->currentIndex(), -1);
    EXPECT_EQ(w.Edit1->text(), QString());
    EXPECT_EQ(w.Edit4->text(), QStringLiteral("9")); // only the asking page's edit
    EXPECT_EQ(boxes.texts(), (QStringList{"Open", "Open", "Open"}).replaceInStrings("Open", "COM Err"));
}

TEST_F(ModuleCommands, RepliesShowTheirValue)
{
    TForm1& w = f();
    dispatch("55aa0323960 0bc");
    EXPECT_EQ(w.ComboBox7->currentText(), QStringLiteral("9600bps"));
    dispatch("55aa0323550 07b"); // no such code: the selection stays
    EXPECT_EQ(w.ComboBox7->currentIndex(), 3);

    dispatch("55aa032405002c");
    EXPECT_EQ(w.Edit1->text(), QStringLiteral("5"));
    EXPECT_EQ(w.Edit4->text(), QStringLiteral("5"));
    dispatch("55aa0324000027");
    EXPECT_EQ(w.Edit1->text(), QStringLiteral("0")); // below the spinner's range, shown all the same

    dispatch("55aa0353020058");
    EXPECT_EQ(w.ComboBox10->currentText(), QStringLiteral("5DB"));
    dispatch("55aa0353050 05b");
    EXPECT_EQ(w.ComboBox10->currentIndex(), -1);
    pick(w.ComboBox10, 0);
    dispatch("55aa0353000056");
    EXPECT_EQ(w.ComboBox10->currentIndex(), -1);

    // A reply too short to carry its value changes nothing: no byte past
    // the frame is read.
    w.Edit1->setText("7");
    dispatch("55aa02240026");
    EXPECT_EQ(w.Edit1->text(), QStringLiteral("7"));
}

TEST_F(ModuleCommands, ModeChoiceEnablesTheFrameHeadAndSendsNothing)
{
    TForm1& w = f();
    pick(w.ComboBox9, 1);
    EXPECT_TRUE(w.Edit3->isEnabled());
    EXPECT_TRUE(w.Button25->isEnabled());
    pick(w.ComboBox9, 0);
    EXPECT_FALSE(w.Edit3->isEnabled());
    EXPECT_FALSE(w.Button25->isEnabled());
    QTest::keyClicks(w.ComboBox9->lineEdit(), QStringLiteral("zz")); // no item: frame-head rules
    EXPECT_TRUE(w.Edit3->isEnabled());
    QTest::qWait(50);
    EXPECT_TRUE(module.receivedFrames().isEmpty());
}

class ModuleRoundTrips : public ::testing::Test, public WindowFixture {
protected:
    ModuleRoundTrips() { openPort(); }
};

TEST_F(ModuleRoundTrips, ReadsShowWhatTheModuleHolds)
{
    TForm1& w = f();
    module.parameters().airRate = 0x48;
    module.parameters().channel = 77;
    module.parameters().power = 2;
    w.Button5->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.ComboBox7->currentIndex() == 2; }, 2000));
    QTest::qWait(120);
    w.Button26->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Edit1->text() == QStringLiteral("77"); }, 2000));
    EXPECT_EQ(w.Edit4->text(), QStringLiteral("77"));
    QTest::qWait(120);
    w.Button23->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.ComboBox10->currentIndex() == 1; }, 2000));

    QTest::qWait(120);
    w.Edit1->setText("12");
    w.Button8->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.StatusBar1->PanelText(2) == QStringLiteral("Cmd succeed"); }, 2000));
    EXPECT_EQ(module.parameters().channel, 12);
}

TEST_F(ModuleRoundTrips, ReceiveTestDumpsSignalStrengthUntilTheEnd)
{
    TForm1& w = f();
    module.setRssiInterval(80); // each sample a package of its own
    w.Button17->click();
    EXPECT_TRUE(w.RssiDumpOn);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Memo1->toPlainText().contains(QStringLiteral("RSSI:")); }, 2000));
    w.Button18->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !module.rxTestRunning(); }, 2000));
    EXPECT_TRUE(w.RssiDumpOn);
}

TEST(ReceiveTestClosed, TurnsTheDumpOnEvenWithThePortClosed)
{
    WindowFixture fixture;
    fixture.f().Button17->click();
    EXPECT_TRUE(fixture.f().RssiDumpOn);
    EXPECT_EQ(fixture.boxes.texts(), QStringList{QStringLiteral("COM Err")});
}

} // namespace
} // namespace radioset
