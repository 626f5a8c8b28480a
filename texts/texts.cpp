#include "texts/texts.h"

namespace radioset {

int LanguageIndex = 0;

namespace {

// Simplified Chinese, Traditional Chinese, English. Trailing blanks, ASCII
// versus full-width punctuation and the odd English wording ("Stop Bits;",
// "Texst mode") are the product's texts and are kept as they are.
constexpr std::array<TextEntry, TextCount> kTexts{{
    /* StrOk                 */ {"确定", "確定", "OK"},
    /* StrCancel             */ {"取消", "取消", "Cancel"},
    /* StrComPortSetting     */ {"端口设置", "端口設置", "COM Port Setting"},
    /* StrComPort            */ {"端口:", "端口:", "COM Port:"},
    /* StrBaudRate           */ {"波特率:", "波特率:", "Baud Rate:"},
    /* StrParity             */ {"校验位:", "校驗位:", "Parity:"},
    /* StrDataBit            */ {"数据位:", "數據位:", "Data Bit:"},
    /* StrStopBits           */ {"停止位:", "停止位:", "Stop Bits;"},
    /* StrOpen               */ {"打开", "打開", "Open"},
    /* StrClose              */ {"关闭", "關閉", "Closed"},
    /* StrFile               */ {"文件", "文件", "File "},
    /* StrDetectRadio        */ {"检测电台", "檢測電臺", "Detect Radio"},
    /* StrRead               */ {"读取", "讀取", "Read"},
    /* StrSet                */ {"设置", "設置", "Set"},
    /* StrComBaudRate        */ {"串口速率", "串口速率", "Com Baud Rate"},
    /* StrRfBaud             */ {"空中速率", "空中速率", "RF baud"},
    /* StrRfChannel          */ {"工作信道", "工作信道", "RF channel"},
    /* StrPowerLevel         */ {"功率等级", "功率等級", "Power level"},
    /* StrWorkingMode        */ {"工作模式", "工作模式", "Working Mode"},
    /* StrParameterSetting   */ {"参数设置", "參數設置", "Parameter Setting"},
    /* StrFrequencySetting   */ {"频点设置", "頻點設置", "Frequency Setting"},
    /* StrFactoryTest        */ {"出厂测试", "出廠測試", "Factory test"},
    /* StrTestMode           */ {"测试模式", "測試模式", "Texst mode"},
    /* StrCarrierTest        */ {"载波测试", "載波測試", "carrier test"},
    /* StrRxTest             */ {"接收测试", "接收測試", "RX test"},
    /* StrZeroOneTest        */ {"01码测试", "01碼測試", "0 1 test"},
    /* StrStopTest           */ {"停止测试", "停止測試", "Stop test"},
    /* StrFrequencyAdjust    */ {"频率调整", "頻率調整", "Frequency adjust"},
    /* StrStepFine           */ {"0.1KHZ步进调整", "0.1KHZ步進調整", "0.1KHZ step adjust"},
    /* StrStepCoarse         */ {"1KHZ步进调整", "1KHZ步進調整", "1KHZ step adjust"},
    /* StrAdd                */ {"增加", "增加", "Add"},
    /* StrSubtract           */ {"减小", "減小", "Subtraction"},
    /* StrChannels1To16      */ {"1-16频点设置（单位：1MHZ）", "1-16頻點設置（單位：1MHZ）", "1-16CH frequency (unit:1MHZ)"},
    /* StrChannels17To32     */ {"17-32频点设置（单位：1MHZ）", "17-32頻點設置（單位：1MHZ）", "17-32CH frequency (unit:1MHZ)"},
    /* StrTxFrequency        */ {"发射频点", "發射頻點", "TX frequency "},
    /* StrRxFrequency        */ {"接收频点", "接收頻點", "RX frequency "},
    /* StrTransparentMode    */ {"透明传输模式", "透明傳輸模式", "Transparent Forward Mode "},
    /* StrFrameHeadMode      */ {"帧头检测模式", "幀頭檢測模式", "Frame Head Detection Mode"},
    /* StrFrequencyParameter */ {"频率参数", "頻率參數", "Frequency parameter"},
    /* StrSaveConfig         */ {"保存配置...", "保存配置...", "Save config..."},
    /* StrReadConfig         */ {"读取配置...", "讀取配置...", "Read config..."},
    /* StrAboutEllipsis      */ {"关于...", "關於...", "About..."},
    /* StrAbout              */ {"关于", "關於", "About"},
    /* StrLanguage           */ {"语言", "語言", "Language"},
    /* StrUserGuide          */ {"使用说明", "使用說明", "User means"},
    /* StrConnectOk          */ {"检测到电台", "檢測到電臺", "Connect ok"},
    /* StrConnectErr         */ {"检测失败", "檢測失敗", "Connect err"},
    /* StrCmdSucceed         */ {"命令响应成功", "命令響應成功", "Cmd succeed"},
    /* StrAppTitle           */ {"电台设置软件", "電臺設置軟件", "Data Radio Setting Software"},
    /* StrOpenPortFirst      */ {"请打开串口", "請打開串口", "COM Err"},
    /* StrFrameHeader        */ {"帧头", "幀頭", "Frame Header:"},
    /* StrNoComPort          */ {"无串口", "無串口", "NO COM"},
}};

} // namespace

const std::array<TextEntry, TextCount>& TextTable()
{
    return kTexts;
}

QString LocalizedText(TextId entry, int language)
{
    return QString::fromUtf8(kTexts.at(static_cast<std::size_t>(entry)).at(static_cast<std::size_t>(language)));
}

QString LocalizedText(TextId entry)
{
    return LocalizedText(entry, LanguageIndex);
}

} // namespace radioset
