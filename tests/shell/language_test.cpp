#include "platform/ports.h"
#include "shell/form1.h"
#include "support/gui_test.h"
#include "texts/language_switch.h"
#include "texts/texts.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace radioset {
namespace {

class LanguageFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetPortListSource([] { return QStringList{"COM1"}; });
        form = std::make_unique<TForm1>();
    }
    void TearDown() override
    {
        form.reset();
        SetPortListSource({});
        LanguageIndex = 0;
    }

    void choose(int language)
    {
        QAction* items[] = {form->N2, form->N3, form->English1};
        items[language]->trigger();
    }

    test::MessageRecorder boxes;
    std::unique_ptr<TForm1> form;
};

using Caption = std::function<QString(const TForm1&)>;

Caption title(QGroupBox* TForm1::*member)
{
    return [member](const TForm1& f) { return (f.*member)->title(); };
}
Caption text(QLabel* TForm1::*member)
{
    return [member](const TForm1& f) { return (f.*member)->text(); };
}
Caption text(QPushButton* TForm1::*member)
{
    return [member](const TForm1& f) { return (f.*member)->text(); };
}
Caption page(QWidget* TForm1::*member)
{
    return [member](const TForm1& f) { return f.PageControl1->tabText(f.PageControl1->indexOf(f.*member)); };
}
Caption menu(QMenu* TForm1::*member)
{
    return [member](const TForm1& f) { return (f.*member)->title(); };
}
Caption item(QAction* TForm1::*member)
{
    return [member](const TForm1& f) { return (f.*member)->text(); };
}

// Every caption the switch writes, with the entry it shows.
const struct {
    const char* control;
    Caption caption;
    TextId entry;
} kCaptions[] = {
    {"GroupBox1", title(&TForm1::GroupBox1), StrComPortSetting},
    {"Label1", text(&TForm1::Label1), StrComPort},
    {"Label2", text(&TForm1::Label2), StrBaudRate},
    {"Label3", text(&TForm1::Label3), StrDataBit},
    {"Label4", text(&TForm1::Label4), StrParity},
    {"Label5", text(&TForm1::Label5), StrStopBits},
    {"Button1", text(&TForm1::Button1), StrOpen},
    {"N1", menu(&TForm1::N1), StrLanguage},
    {"Button2", text(&TForm1::Button2), StrDetectRadio},
    {"GroupBox13", title(&TForm1::GroupBox13), StrDetectRadio},
    {"Button3", text(&TForm1::Button3), StrRead},
    {"Button5", text(&TForm1::Button5), StrRead},
    {"Button7", text(&TForm1::Button7), StrRead},
    {"Button11", text(&TForm1::Button11), StrRead},
    {"Button13", text(&TForm1::Button13), StrRead},
    {"Button15", text(&TForm1::Button15), StrRead},
    {"Button23", text(&TForm1::Button23), StrRead},
    {"Button4", text(&TForm1::Button4), StrSet},
    {"Button6", text(&TForm1::Button6), StrSet},
    {"Button8", text(&TForm1::Button8), StrSet},
    {"Button12", text(&TForm1::Button12), StrSet},
    {"Button24", text(&TForm1::Button24), StrSet},
    {"Button14", text(&TForm1::Button14), StrSet},
    {"Button16", text(&TForm1::Button16), StrSet},
    {"Button25", text(&TForm1::Button25), StrSet},
    {"GroupBox2", title(&TForm1::GroupBox2), StrComBaudRate},
    {"GroupBox3", title(&TForm1::GroupBox3), StrRfBaud},
    {"GroupBox4", title(&TForm1::GroupBox4), StrRfChannel},
    {"GroupBox12", title(&TForm1::GroupBox12), StrPowerLevel},
    {"GroupBox8", title(&TForm1::GroupBox8), StrWorkingMode},
    {"TabSheet1", page(&TForm1::TabSheet1), StrParameterSetting},
    {"TabSheet2", page(&TForm1::TabSheet2), StrFrequencySetting},
    {"TabSheet3", page(&TForm1::TabSheet3), StrFactoryTest},
    {"GroupBox7", title(&TForm1::GroupBox7), StrTestMode},
    {"Button9", text(&TForm1::Button9), StrCarrierTest},
    {"Button17", text(&TForm1::Button17), StrRxTest},
    {"Button10", text(&TForm1::Button10), StrZeroOneTest},
    {"Button18", text(&TForm1::Button18), StrStopTest},
    {"GroupBox9", title(&TForm1::GroupBox9), StrFrequencyAdjust},
    {"GroupBox10", title(&TForm1::GroupBox10), StrStepFine},
    {"GroupBox11", title(&TForm1::GroupBox11), StrStepCoarse},
    {"Button19", text(&TForm1::Button19), StrAdd},
    {"Button21", text(&TForm1::Button21), StrAdd},
    {"Button20", text(&TForm1::Button20), StrSubtract},
    {"Button22", text(&TForm1::Button22), StrSubtract},
    {"GroupBox5", title(&TForm1::GroupBox5), StrChannels1To16},
    {"GroupBox6", title(&TForm1::GroupBox6), StrChannels17To32},
    {"Label6", text(&TForm1::Label6), StrTxFrequency},
    {"Label24", text(&TForm1::Label24), StrTxFrequency},
    {"Label23", text(&TForm1::Label23), StrRxFrequency},
    {"Label41", text(&TForm1::Label41), StrRxFrequency},
    {"ComboBox9[0]", [](const TForm1& f) { return f.ComboBox9->itemText(0); }, StrTransparentMode},
    {"ComboBox9[1]", [](const TForm1& f) { return f.ComboBox9->itemText(1); }, StrFrameHeadMode},
    {"N4", menu(&TForm1::N4), StrFrequencyParameter},
    {"N5", item(&TForm1::N5), StrSaveConfig},
    {"N6", item(&TForm1::N6), StrReadConfig},
    {"N7", menu(&TForm1::N7), StrAbout},
    {"N8", item(&TForm1::N8), StrAboutEllipsis},
    {"Form1", [](const TForm1& f) { return f.windowTitle(); }, StrAppTitle},
    {"Label42", text(&TForm1::Label42), StrFrameHeader},
};

TEST_F(LanguageFixture, EveryCaptionFollowsTheChosenLanguage)
{
    for (int language : {0, 1, 2, 0, 2}) {
        choose(language);
        EXPECT_EQ(LanguageIndex, language);
        for (const auto& c : kCaptions)
            EXPECT_EQ(c.caption(*form), LocalizedText(c.entry, language)) << c.control << " in " << language;
    }
}

TEST_F(LanguageFixture, CheckMarkFollowsTheLastChoice)
{
    for (int language : {1, 0, 2, 2}) {
        choose(language);
        EXPECT_EQ(form->N2->isChecked(), language == 0);
        EXPECT_EQ(form->N3->isChecked(), language == 1);
        EXPECT_EQ(form->English1->isChecked(), language == 2);
    }
}

// The table's Chinese differs from the designer's captions in places.
TEST_F(LanguageFixture, SimplifiedChineseShowsTheTableNotTheDesigner)
{
    choose(0);
    EXPECT_EQ(form->GroupBox1->title(), QStringLiteral("端口设置"));
    EXPECT_EQ(form->PageControl1->tabText(2), QStringLiteral("出厂测试"));
    EXPECT_EQ(form->Button20->text(), QStringLiteral("减小"));
    EXPECT_EQ(form->ComboBox9->itemText(0), QStringLiteral("透明传输模式"));
    EXPECT_EQ(form->Label42->text(), QStringLiteral("帧头"));
    EXPECT_EQ(form->Label3->text(), QStringLiteral("数据位:"));
    EXPECT_EQ(form->Label4->text(), QStringLiteral("校验位:"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("电台设置软件"));
}

TEST_F(LanguageFixture, LeavesUntranslatedCaptionsAlone)
{
    for (int language : {0, 1, 2}) {
        choose(language);
        EXPECT_EQ(form->GroupBox14->title(), QStringLiteral("工作信道"));
        EXPECT_EQ(form->Button26->text(), QStringLiteral("读取"));
        EXPECT_EQ(form->Button27->text(), QStringLiteral("设置"));
        EXPECT_EQ(form->Label43->text(), QStringLiteral("（HEX）"));
        EXPECT_EQ(form->findChild<QLabel*>("Label7")->text(), QStringLiteral("1："));
        EXPECT_EQ(form->findChild<QLabel*>("Label40")->text(), QStringLiteral("32："));
        EXPECT_EQ(form->N2->text(), QStringLiteral("简体中文"));
        EXPECT_EQ(form->N3->text(), QStringLiteral("繁體中文"));
        EXPECT_EQ(form->English1->text(), QStringLiteral("English"));
        EXPECT_EQ(form->ComboBox4->itemText(2), QStringLiteral("Even"));
        EXPECT_EQ(form->ComboBox9->count(), 2);
        EXPECT_EQ(form->OpenDialog1.filter, QStringLiteral("*.ini|*.ini|所有文件|*.*"));
    }
}

// Button1 carries the port state across languages by its caption alone.
TEST_F(LanguageFixture, OpenCloseCaptionCarriesThePortState)
{
    const struct {
        const char* before;
        int language;
        const char* after;
    } cases[] = {
        {"Open", 0, "打开"},  {"打開", 2, "Open"},   {"打开", 1, "打開"},
        {"Closed", 0, "关闭"}, {"關閉", 2, "Closed"}, {"关闭", 1, "關閉"},
        {"anything", 2, "Closed"},
    };
    for (const auto& c : cases) {
        form->Button1->setText(QString::fromUtf8(c.before));
        ApplyLanguage(*form, c.language);
        EXPECT_EQ(form->Button1->text(), QString::fromUtf8(c.after)) << c.before;
    }
}

TEST_F(LanguageFixture, ContentsAndSelectionsStayAsTheyWere)
{
    form->Memo1->AppendLine(QStringLiteral("9600  None Detect Radio"));
    form->StatusBar1->SetPanelText(2, QStringLiteral("Cmd succeed"));
    form->ComboBox2->setCurrentIndex(1);
    form->FindEdit("TxEdit3")->setText(QStringLiteral("433.92000"));
    form->Edit3->setEnabled(true);
    choose(1);
    EXPECT_EQ(form->Memo1->toPlainText(), QStringLiteral("9600  None Detect Radio"));
    EXPECT_EQ(form->StatusBar1->PanelText(2), QStringLiteral("Cmd succeed"));
    EXPECT_EQ(form->ComboBox2->currentIndex(), 1);
    EXPECT_EQ(form->FindEdit("TxEdit3")->text(), QStringLiteral("433.92000"));
    EXPECT_TRUE(form->Edit3->isEnabled());
    EXPECT_FALSE(form->Button3->isVisibleTo(form->GroupBox2));
}

} // namespace
} // namespace radioset
