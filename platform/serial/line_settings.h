#pragma once

namespace radioset {

// Ordinals are part of the interface: the window stores and compares them.
enum TBaudRate {
    br110 = 0,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000,
};

enum TParity {
    ptNoParity = 0,
    ptOddParity,
    ptEvenParity,
    ptMarkParity,
    ptSpaceParity,
};

enum TStopBits {
    sbOneStopBit = 0,
    sbOne_5_StopBits,
    sbTwoStopBit,
};

// The baud rate a TBaudRate stands for; 0 for a value outside the enum.
int BaudRateValue(TBaudRate rate);

// What both ends of a line must agree on for bytes to arrive intact.
struct LineSettings {
    int baud = 9600;
    int dataBits = 8;
    TParity parity = ptNoParity;
    TStopBits stopBits = sbOneStopBit;

    friend bool operator==(const LineSettings&, const LineSettings&) = default;
};

} // namespace radioset
