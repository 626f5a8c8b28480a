#pragma once

// A stand-in for the radio module: it listens on a virtual line or on a
// pseudo-terminal, answers requests the way the module does, and keeps the
// module's parameters and frequency plan. It answers only when a request
// arrives at its own line settings.

#include "platform/serial/line_settings.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <array>
#include <cstdint>
#include <memory>

namespace radioset {

class VirtualLine;

struct ModuleParameters {
    // Rate bits and parity bits as CmdSetSerialRate carries them.
    std::uint8_t serialRateBits = 0x00; // 9600
    std::uint8_t parityBits = 0x00;     // none
    std::uint8_t airRate = 0x96;        // 9600 bps
    std::uint8_t channel = 1;
    std::uint8_t power = 4;          // 1..4
    std::uint8_t workMode = 0x11;    // 0x11 transparent, 0x22 frame head
    std::uint8_t frameHead = 0x7E;
    int trim = 0;                    // in 0.1 kHz steps
};

// One channel of the plan: four transmit and four receive bytes exactly as
// the frames carry them (packed decimal digits of the frequency in MHz).
struct ChannelFrequency {
    std::array<std::uint8_t, 4> tx{};
    std::array<std::uint8_t, 4> rx{};
    friend bool operator==(const ChannelFrequency&, const ChannelFrequency&) = default;
};

class SimulatedModule : public QObject {
    Q_OBJECT
public:
    static constexpr int ChannelCount = 32;

    enum class Fault {
        None,
        Silent,        // hears everything, answers nothing
        WrongChecksum, // answers with the checksum's low byte off by one
        Garbage,       // answers with noise of the reply's length
        Split,         // sends each reply in two halves with a long gap between
        Merged,        // sends an acknowledgement right behind each reply, no gap
    };

    // Longer than any package gap, so the halves of a split reply arrive as
    // two packages.
    static constexpr int SplitGapMs = 150;
    enum class FrequencyAck { CmdOk, FrequencySet };

    explicit SimulatedModule(QObject* parent = nullptr);
    ~SimulatedModule() override;

    // Listens on the device end of the line (the line must outlive the
    // attachment or be detached first).
    void attach(VirtualLine& line);
    // Creates a pseudo-terminal and listens on its master. With portNo > 0
    // the slave is published as COM<portNo>: a link in the port-link folder.
    // Returns the slave's path; throws radioset::Exception on failure.
    QString attachPty(int portNo = 0);
    // Leaves the line, or closes the pty master (the port vanishes under an
    // open program) and removes the link.
    void detach();
    bool attached() const;
    QString slavePath() const;
    QString linkPath() const;

    // The module's own serial settings; only baud and parity matter (a pty
    // carries the baud rate only).
    LineSettings lineSettings() const { return line_; }
    void setLineSettings(int baud, TParity parity);

    ModuleParameters& parameters() { return params_; }
    const ModuleParameters& parameters() const { return params_; }
    std::array<ChannelFrequency, ChannelCount>& frequencies() { return plan_; }
    const std::array<ChannelFrequency, ChannelCount>& frequencies() const { return plan_; }

    void setFault(Fault fault) { fault_ = fault; }
    void setReplyDelay(int ms) { replyDelayMs_ = ms; }
    void setFrequencyAck(FrequencyAck ack) { frequencyAck_ = ack; }
    void setRssiInterval(int ms);
    bool rxTestRunning() const { return rssiTimer_.isActive(); }
    // 0 none, else the request code of the running carrier/01/receive test.
    std::uint8_t testMode() const { return testMode_; }

    // Every valid frame heard at the right settings, in order.
    const QList<QByteArray>& receivedFrames() const { return received_; }
    void clearReceived() { received_.clear(); }
    // Chunks of bytes ignored because they came at other line settings.
    int mismatchedChunks() const { return mismatched_; }

    // Puts bytes on the line as they are, bypassing the protocol.
    void sendRaw(const QByteArray& bytes);

    // Baud rate and parity a CmdSetSerialRate payload stands for; baud 0 for
    // rate bits that name no rate.
    static LineSettings SerialRateSettings(std::uint8_t payload);
    // Packed decimal of the frequency in units of 10 Hz (433.92500 MHz is
    // 43392500 -> 43 39 25 00).
    static std::array<std::uint8_t, 4> PackedFrequency(std::uint32_t tensOfHz);

signals:
    void frameReceived(const QByteArray& frame);
    void replied(const QByteArray& bytes);

private:
    class PtyEnd;

    void onBytes(const QByteArray& bytes, bool atOwnSettings);
    void extractFrames();
    void handle(const QByteArray& frame);
    void reply(const QByteArray& frame, const LineSettings* switchTo = nullptr);
    void write(const QByteArray& bytes);
    void sendRssi();

    LineSettings line_;
    ModuleParameters params_;
    std::array<ChannelFrequency, ChannelCount> plan_{};
    Fault fault_ = Fault::None;
    FrequencyAck frequencyAck_ = FrequencyAck::FrequencySet;
    int replyDelayMs_ = 0;
    std::uint8_t testMode_ = 0;

    QPointer<VirtualLine> vline_;
    std::uint64_t vlineErrors_ = 0;
    std::unique_ptr<PtyEnd> pty_;
    QString linkPath_;

    QByteArray rx_;
    QTimer staleTimer_;
    QTimer rssiTimer_;
    std::uint32_t rssiSeed_ = 0x1234567u;
    QList<QByteArray> received_;
    int mismatched_ = 0;
};

} // namespace radioset
