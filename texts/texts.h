#pragma once

#include <QString>

#include <array>
#include <cstddef>

namespace radioset {

// Entry numbers of the text table. Readers always name an entry by one of
// these constants; the numbers are fixed because some entries have no reader
// and only hold their place.
enum TextId : int {
    StrOk = 0,
    StrCancel = 1,
    StrComPortSetting = 2,
    StrComPort = 3,
    StrBaudRate = 4,
    StrParity = 5,
    StrDataBit = 6,
    StrStopBits = 7,
    StrOpen = 8,
    StrClose = 9,
    StrFile = 10,
    StrDetectRadio = 11,
    StrRead = 12,
    StrSet = 13,
    StrComBaudRate = 14,
    StrRfBaud = 15,
    StrRfChannel = 16,
    StrPowerLevel = 17,
    StrWorkingMode = 18,
    StrParameterSetting = 19,
    StrFrequencySetting = 20,
    StrFactoryTest = 21,
    StrTestMode = 22,
    StrCarrierTest = 23,
    StrRxTest = 24,
    StrZeroOneTest = 25,
    StrStopTest = 26,
    StrFrequencyAdjust = 27,
    StrStepFine = 28,
    StrStepCoarse = 29,
    StrAdd = 30,
    StrSubtract = 31,
    StrChannels1To16 = 32,
    StrChannels17To32 = 33,
    StrTxFrequency = 34,
    StrRxFrequency = 35,
    StrTransparentMode = 36,
    StrFrameHeadMode = 37,
    StrFrequencyParameter = 38,
    StrSaveConfig = 39,
    StrReadConfig = 40,
    StrAboutEllipsis = 41,
    StrAbout = 42,
    StrLanguage = 43,
    StrUserGuide = 44,
    StrConnectOk = 45,
    StrConnectErr = 46,
    StrCmdSucceed = 47,
    StrAppTitle = 48,
    StrOpenPortFirst = 49,
    StrFrameHeader = 50,
    StrNoComPort = 51,
};

inline constexpr std::size_t TextCount = 52;
inline constexpr int LanguageCount = 3;

// 0 Simplified Chinese, 1 Traditional Chinese, 2 English. The process starts
// in Simplified Chinese; the main window switches to English while it is
// being constructed, so a message shown before that reads in Chinese.
extern int LanguageIndex;

// One entry: the same text in the three languages, UTF-8 encoded.
using TextEntry = std::array<const char*, LanguageCount>;

const std::array<TextEntry, TextCount>& TextTable();

// The text of an entry in the language current at the moment of the call.
QString LocalizedText(TextId entry);

// The text of an entry in a given language, whatever LanguageIndex holds.
QString LocalizedText(TextId entry, int language);

} // namespace radioset
