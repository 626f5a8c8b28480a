#include "platform/ports.h"
#include "shell/form1.h"
#include "support/gui_test.h"
#include "texts/texts.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace radioset {
namespace {

// A window built as at program start, with the port list the test chooses.
class Form1Fixture : public ::testing::Test {
protected:
    void SetUp() override { SetPortListSource([] { return QStringList{"COM3", "COM7"}; }); }
    void TearDown() override
    {
        form.reset();
        SetPortListSource({});
        LanguageIndex = 0;
    }

    TForm1& start()
    {
        LanguageIndex = 0; // as at process load
        form = std::make_unique<TForm1>();
        form->show();
        return *form;
    }

    template <class W = QWidget>
    W* control(const char* name) const
    {
        W* found = form->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    test::MessageRecorder boxes;
    std::unique_ptr<TForm1> form;
};

TEST_F(Form1Fixture, StartsClosedInEnglishOnTheFirstPort)
{
    TForm1& f = start();
    EXPECT_TRUE(boxes.texts().isEmpty());
    EXPECT_EQ(f.ComboBox1->count(), 2);
    EXPECT_EQ(f.ComboBox1->currentText(), QStringLiteral("COM3"));
    EXPECT_EQ(f.ZelCommDevice1->PortNo(), 3);
    EXPECT_FALSE(f.ZelCommDevice1->Active());
    EXPECT_EQ(f.Button1->text(), QStringLiteral("Open"));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Data Radio Setting Software"));
    EXPECT_EQ(LanguageIndex, 2);
    EXPECT_TRUE(f.English1->isChecked());
    EXPECT_FALSE(f.N2->isChecked());
    EXPECT_FALSE(f.N3->isChecked());
}

TEST_F(Form1Fixture, PortListIsSortedByNumber)
{
    SetPortListSource([] { return TCommSerialPortInfo::Build(QStringList{"COM10", "COM3", "COM1"}); });
    TForm1& f = start();
    QStringList items;
    for (int i = 0; i < f.ComboBox1->count(); ++i)
        items << f.ComboBox1->itemText(i);
    EXPECT_EQ(items, (QStringList{"COM1", "COM3", "COM10"}));
    EXPECT_EQ(f.ComboBox1->currentIndex(), 0);
    EXPECT_EQ(f.ZelCommDevice1->PortNo(), 1);
}

TEST_F(Form1Fixture, EmptyPortListIsReportedInChineseBeforeTheWindowTurnsEnglish)
{
    SetPortListSource([] { return QStringList{}; });
    QStringList titlesWhenShown;
    boxes.clear();
    TForm1& f = start();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("无串口")});
    EXPECT_EQ(f.ComboBox1->count(), 0);
    EXPECT_EQ(f.ComboBox1->currentIndex(), -1);
    EXPECT_EQ(f.ZelCommDevice1->PortNo(), 1);
    EXPECT_EQ(f.Button1->text(), QStringLiteral("Open"));
}

TEST_F(Form1Fixture, ShowingHidesTheFactoryPageAndEmptiesTheChannel)
{
    TForm1& f = start();
    EXPECT_TRUE(f.PageControl1->isTabVisible(0));
    EXPECT_TRUE(f.PageControl1->isTabVisible(1));
    EXPECT_FALSE(f.PageControl1->isTabVisible(2));
    EXPECT_EQ(f.PageControl1->currentWidget(), f.TabSheet1);
    EXPECT_EQ(f.Edit1->text(), QString());
    EXPECT_EQ(f.UpDown1->Position(), 1);
    EXPECT_EQ(f.Edit4->text(), QStringLiteral("1"));
    // The factory page's controls exist all the same.
    EXPECT_NE(control<QPushButton>("Button27"), nullptr);
}

TEST_F(Form1Fixture, AboutShowsTheVersion)
{
    TForm1& f = start();
    f.N8->trigger();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Beta Ver:1.03")});
    EXPECT_EQ(boxes.captions(), QStringList{ApplicationTitle()});
}

TEST_F(Form1Fixture, ControlsStandWhereTheFormPutsThem)
{
    start();
    const struct {
        const char* name;
        QRect geometry;
    } cases[] = {
        {"GroupBox1", {8, 77, 177, 185}},    {"PageControl1", {191, 78, 505, 477}}, {"GroupBox13", {8, 282, 177, 271}},
        {"StatusBar1", {0, 556, 701, 19}},   {"Image1", {6, 0, 689, 105}},         {"Label1", {16, 32, 45, 13}},
        {"ComboBox5", {72, 120, 81, 21}},    {"Button1", {64, 152, 75, 25}},       {"ComboBox6", {96, 29, 105, 21}},
        {"ComboBox8", {232, 28, 105, 21}},   {"GroupBox12", {16, 264, 457, 65}},   {"GroupBox8", {16, 344, 457, 89}},
        {"Edit1", {184, 25, 121, 21}},       {"UpDown1", {305, 25, 16, 21}},       {"Edit3", {184, 53, 97, 21}},
        {"Button25", {352, 52, 75, 25}},     {"GroupBox6", {256, 0, 233, 449}},    {"Label7", {16, 36, 18, 13}},
        {"Label16", {16, 252, 24, 13}},      {"Label25", {16, 36, 24, 13}},        {"Label40", {16, 396, 24, 13}},
        {"TxEdit1", {48, 32, 73, 21}},       {"RxEdit16", {136, 392, 73, 21}},     {"TxEdit17", {48, 32, 73, 21}},
        {"RxEdit32", {136, 392, 73, 21}},    {"Button15", {32, 418, 75, 25}},      {"Button18", {352, 32, 75, 41}},
        {"GroupBox11", {112, 88, 249, 65}},  {"UpDown2", {305, 25, 16, 21}},       {"Memo1", {8, 80, 161, 185}},
        {"Button2", {48, 24, 75, 49}},
    };
    for (const auto& c : cases) {
        if (const QWidget* w = control(c.name)) {
            // Labels size themselves to their caption: only their place is fixed.
            if (qobject_cast<const QLabel*>(w))
                EXPECT_EQ(w->pos(), c.geometry.topLeft()) << c.name;
            else
                EXPECT_EQ(w->geometry(), c.geometry) << c.name;
        }
    }
    EXPECT_EQ(form->centralWidget()->size(), QSize(701, 575));
    EXPECT_EQ(form->pos(), QPoint(320, 118));
}

TEST_F(Form1Fixture, ChannelRowsAreNamedAndLabelled)
{
    TForm1& f = start();
    for (int k = 1; k <= 32; ++k) {
        QGroupBox* box = k <= 16 ? f.GroupBox5 : f.GroupBox6;
        const QString n = QString::number(k);
        auto* tx = box->findChild<QLineEdit*>("TxEdit" + n, Qt::FindDirectChildrenOnly);
        auto* rx = box->findChild<QLineEdit*>("RxEdit" + n, Qt::FindDirectChildrenOnly);
        auto* row = box->findChild<QLabel*>("Label" + QString::number(k <= 16 ? k + 6 : k + 8));
        ASSERT_TRUE(tx && rx && row) << k;
        EXPECT_EQ(tx->maxLength(), 9);
        EXPECT_EQ(rx->maxLength(), 9);
        EXPECT_EQ(row->text(), n + QStringLiteral("："));
        EXPECT_EQ(f.FindEdit("TxEdit" + n), tx);
    }
    EXPECT_EQ(f.FindEdit("TxEdit33"), nullptr);
}

TEST_F(Form1Fixture, DesignTimeStateOfListsEditsAndButtons)
{
    TForm1& f = start();
    const struct {
        ComboBox* box;
        int items;
        int selected;
        const char* text;
    } combos[] = {
        {f.ComboBox2, 6, 3, "9600"}, {f.ComboBox3, 3, 1, "8"},  {f.ComboBox4, 3, 0, "None"},
        {f.ComboBox5, 2, 0, "1"},    {f.ComboBox6, 6, -1, ""},  {f.ComboBox7, 6, -1, ""},
        {f.ComboBox8, 3, -1, ""},    {f.ComboBox9, 2, -1, ""},  {f.ComboBox10, 4, -1, ""},
    };
    for (const auto& c : combos) {
        EXPECT_EQ(c.box->count(), c.items) << c.box->objectName().toStdString();
        EXPECT_EQ(c.box->currentIndex(), c.selected) << c.box->objectName().toStdString();
        EXPECT_EQ(c.box->currentText(), QString::fromUtf8(c.text)) << c.box->objectName().toStdString();
        EXPECT_TRUE(c.box->isEditable());
    }
    EXPECT_EQ(f.ComboBox10->itemText(3), QStringLiteral("15DB"));
    EXPECT_EQ(f.ComboBox6->itemText(5), QStringLiteral("38400bps"));

    EXPECT_EQ(f.Edit3->maxLength(), 2);
    EXPECT_FALSE(f.Edit3->isEnabled());
    EXPECT_FALSE(f.Button25->isEnabled());
    EXPECT_FALSE(f.Button3->isVisibleTo(f.GroupBox2));
    EXPECT_FALSE(f.Button11->isVisibleTo(f.GroupBox8));
    EXPECT_FALSE(f.Edit2->isVisibleTo(f.GroupBox7));
    EXPECT_GT(f.Edit1->maxLength(), 255); // no limit
    EXPECT_EQ(f.Memo1->MaxLength(), 5000);
    EXPECT_EQ(f.UpDown2->Associate(), f.Edit4);
    EXPECT_EQ(f.UpDown1->Max(), 255);
    EXPECT_EQ(f.Label43->text(), QStringLiteral("（HEX）"));
    EXPECT_EQ(f.GroupBox14->title(), QStringLiteral("工作信道"));
    EXPECT_EQ(f.Button26->text(), QStringLiteral("读取"));
}

TEST_F(Form1Fixture, TimersDialogsAndSerialSettingsAsDesigned)
{
    TForm1& f = start();
    EXPECT_FALSE(f.Timer1->isActive());
    EXPECT_EQ(f.Timer1->interval(), 1000);
    EXPECT_TRUE(f.Timer2->isActive());
    EXPECT_EQ(f.Timer2->interval(), 100);
    // Its first tick stops it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.Timer2->isActive(); }, 2000));
    EXPECT_FALSE(f.ReceiveHold);

    EXPECT_EQ(f.SaveDialog1.filter, QStringLiteral("*.ini|*.ini"));
    EXPECT_EQ(f.OpenDialog1.filter, QStringLiteral("*.ini|*.ini|所有文件|*.*"));
    EXPECT_EQ(f.SaveDialog1.kind, FileDialogRequest::Save);

    EXPECT_EQ(f.ZelCommDevice1->Baud(), br9600);
    EXPECT_EQ(f.ZelCommDevice1->ByteSize(), 8);
    EXPECT_EQ(f.ZelCommDevice1->Parity(), ptNoParity);
    EXPECT_EQ(f.ZelCommDevice1->StopBits(), sbOneStopBit);
    EXPECT_EQ(f.ZelCommDevice1->PackageInterval(), 50);
    EXPECT_FALSE(f.ZelCommDevice1->Active());
}

TEST_F(Form1Fixture, BannerIsDrawnUnscaledAtTheTopLeft)
{
    TForm1& f = start();
    const QPixmap banner = f.Image1->pixmap();
    EXPECT_EQ(banner.size(), QSize(689, 73));
    EXPECT_FALSE(f.Image1->hasScaledContents());
    EXPECT_EQ(f.Image1->alignment(), Qt::AlignLeft | Qt::AlignTop);
}

TEST_F(Form1Fixture, StatusBarHasFourEmptyPanelsAndFollowsTheBottomEdge)
{
    TForm1& f = start();
    ASSERT_EQ(f.StatusBar1->PanelCount(), 4);
    const int widths[] = {100, 200, 200, 50};
    for (int i = 0; i < 4; ++i) {
        const auto* panel = f.StatusBar1->findChild<QLabel*>(QStringLiteral("Panel%1").arg(i));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->width() + 2, widths[i]);
        EXPECT_EQ(panel->text(), QString());
    }
    f.resize(900, 700);
    QTest::qWait(0);
    const QWidget* client = f.centralWidget();
    EXPECT_EQ(f.StatusBar1->geometry(), QRect(0, client->height() - 19, client->width(), 19));
    EXPECT_EQ(f.GroupBox1->geometry(), QRect(8, 77, 177, 185)); // others keep their place
}

TEST_F(Form1Fixture, MenuHasItsItemsAndNoAccelerators)
{
    TForm1& f = start();
    const QList<QAction*> menus = f.MainMenu1->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(f.N1->actions(), (QList<QAction*>{f.N2, f.N3, f.English1}));
    EXPECT_EQ(f.N4->actions(), (QList<QAction*>{f.N5, f.N6}));
    EXPECT_EQ(f.N7->actions(), QList<QAction*>{f.N8});
    for (QAction* a : {f.N2, f.N3, f.English1, f.N5, f.N6, f.N8})
        EXPECT_FALSE(a->text().contains(u'&')) << a->objectName().toStdString();
}

// Tab walks the parameter page by group: serial rate, air rate, working
// channel, working mode, power level (although power level lies above mode).
TEST_F(Form1Fixture, TabOrderFollowsTheDesigner)
{
    TForm1& f = start();
    // The next control the tab key can reach, hidden ones included.
    const auto next = [](QWidget* w) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->property("TabOrder").isValid());
        return w;
    };
    QList<QWidget*> order;
    QWidget* w = f.ComboBox6;
    for (int i = 0; i < 17; ++i, w = next(w))
        order << w;
    const QList<QWidget*> expected{f.ComboBox6, f.Button3,  f.Button4,  f.ComboBox8, f.ComboBox7,
                                   f.Button5,   f.Button6,  f.Button7,  f.Button8,   f.Edit1,
                                   f.Button11,  f.Button12, f.ComboBox9, f.Edit3,
                                   f.Button25,  f.Button23, f.Button24};
    EXPECT_EQ(order, expected);

    // Transmit column, then receive column, then Read and Set.
    EXPECT_EQ(next(f.FindEdit("TxEdit16")), f.FindEdit("RxEdit1"));
    EXPECT_EQ(next(f.FindEdit("RxEdit16")), f.Button13);
    EXPECT_EQ(next(f.Button13), f.Button14);
    EXPECT_EQ(next(f.Button14), f.FindEdit("TxEdit17"));
}

} // namespace
} // namespace radioset
