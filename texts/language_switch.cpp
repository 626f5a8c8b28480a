#include "texts/language_switch.h"

#include "shell/form1.h"
#include "platform/widgets.h"
#include "texts/texts.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>


namespace radioset {

namespace {

void setCaption(QWidget* control, const QString& text)
{
    if (auto* box = qobject_cast<QGroupBox*>(control))
        box->setTitle(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        SetLabelCaption(label, text);
    else if (auto* button = qobject_cast<QPushButton*>(control))
        button->setText(text);
}

void setPageCaption(QTabWidget* pages, QWidget* page, const QString& text)
{
    pages->setTabText(pages->indexOf(page), text);
}

// Button1 shows whether the port is open; the switch keeps that meaning by
// recognising "Open" in any of the three languages.
bool showsOpen(const QPushButton* button)
{
    const QString caption = button->text();
    for (int language = 0; language < LanguageCount; ++language)
        if (caption == LocalizedText(StrOpen, language))
            return true;
    return false;
}

} // namespace

void ApplyLanguage(TForm1& f, int index)
{
    LanguageIndex = index;
    const auto t = [](TextId entry) { return LocalizedText(entry); };

    setCaption(f.GroupBox1, t(StrComPortSetting));
    setCaption(f.Label1, t(StrComPort));
    setCaption(f.Label2, t(StrBaudRate));
    setCaption(f.Label3, t(StrDataBit));
    setCaption(f.Label4, t(StrParity));
    setCaption(f.Label5, t(StrStopBits));
    setCaption(f.Button1, t(showsOpen(f.Button1) ? StrOpen : StrClose));
    f.N1->setTitle(t(StrLanguage));
    setCaption(f.Button2, t(StrDetectRadio));
    setCaption(f.GroupBox13, t(StrDetectRadio));
    for (QPushButton* read : {f.Button3, f.Button5, f.Button7, f.Button11, f.Button13, f.Button15, f.Button23})
        setCaption(read, t(StrRead));
    for (QPushButton* set :
         {f.Button4, f.Button6, f.Button8, f.Button12, f.Button24, f.Button14, f.Button16, f.Button25})
        setCaption(set, t(StrSet));
    setCaption(f.GroupBox2, t(StrComBaudRate));
    setCaption(f.GroupBox3, t(StrRfBaud));
    setCaption(f.GroupBox4, t(StrRfChannel));
    setCaption(f.GroupBox12, t(StrPowerLevel));
    setCaption(f.GroupBox8, t(StrWorkingMode));
    setPageCaption(f.PageControl1, f.TabSheet1, t(StrParameterSetting));
    setPageCaption(f.PageControl1, f.TabSheet2, t(StrFrequencySetting));
    setPageCaption(f.PageControl1, f.TabSheet3, t(StrFactoryTest));
    setCaption(f.GroupBox7, t(StrTestMode));
    setCaption(f.Button9, t(StrCarrierTest));
    setCaption(f.Button17, t(StrRxTest));
    setCaption(f.Button10, t(StrZeroOneTest));
    setCaption(f.Button18, t(StrStopTest));
    setCaption(f.GroupBox9, t(StrFrequencyAdjust));
    setCaption(f.GroupBox10, t(StrStepFine));
    setCaption(f.GroupBox11, t(StrStepCoarse));
    setCaption(f.Button19, t(StrAdd));
    setCaption(f.Button21, t(StrAdd));
    setCaption(f.Button20, t(StrSubtract));
    setCaption(f.Button22, t(StrSubtract));
    setCaption(f.GroupBox5, t(StrChannels1To16));
    setCaption(f.GroupBox6, t(StrChannels17To32));
    setCaption(f.Label6, t(StrTxFrequency));
    setCaption(f.Label24, t(StrTxFrequency));
    setCaption(f.Label23, t(StrRxFrequency));
    setCaption(f.Label41, t(StrRxFrequency));
    // The mode list keeps its two items in place: item 0 always means
    // transparent forwarding, item 1 frame-head detection.
    f.ComboBox9->setItemText(0, t(StrTransparentMode));
    f.ComboBox9->setItemText(1, t(StrFrameHeadMode));
    f.N4->setTitle(t(StrFrequencyParameter));
    f.N5->setText(t(StrSaveConfig));
    f.N6->setText(t(StrReadConfig));
    f.N7->setTitle(t(StrAbout));
    f.N8->setText(t(StrAboutEllipsis));
    f.setWindowTitle(t(StrAppTitle));
    setCaption(f.Label42, t(StrFrameHeader));
}

} // namespace radioset
