// The frequency codec and the display of a received pair.
//
// Input: a channel byte, eight wire bytes, then a frequency text (UTF-8).

#include "freqplan/channel_edits.h"
#include "freqplan/codec.h"
#include "headless_window.h"
#include "platform/conversions.h"
#include "platform/exceptions.h"

#include <QLineEdit>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace radioset;

namespace {

[[noreturn]] void Fail(const QString& text, const char* what)
{
    std::fprintf(stderr, "frequency text '%s': %s\n", text.toUtf8().constData(), what);
    std::abort();
}

bool AllDecimal(const QString& digits)
{
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

void CheckCodec(const QString& text)
{
    const QString digits = FrequencyDigits(text);
    QString expected = text.left(3) + text.mid(4);
    while (expected.size() < 8)
        expected += u'0';
    if (digits != expected)
        Fail(text, "FrequencyDigits");

    // A field of exactly four bytes on the heap: a write past it is caught.
    for (const QString& hex : {digits, text}) {
        auto field = std::make_unique<std::uint8_t[]>(4);
        try {
            const int written = HexTextToBytes(hex, std::span<std::uint8_t>(field.get(), 4));
            if (written < 0 || written > 4)
                Fail(text, "HexTextToBytes count");
        } catch (const EConvertError& error) {
            if (!error.message().startsWith(QStringLiteral("'0x")) || !error.message().endsWith(QStringLiteral("' is not a valid integer value")))
                Fail(text, "HexTextToBytes error text");
        }
    }

    FrequencyFit fit = FrequencyFit::OutOfRange;
    try {
        fit = CheckFrequencyText(text);
    } catch (const EConvertError&) {
        return;
    }
    const FrequencyBytes wire = EncodeFrequency(text);
    const QString wireDigits = FrequencyWireDigits(text);
    if (fit != FrequencyFit::Fits) {
        if (wire != FrequencyBytes{} || !wireDigits.isEmpty())
            Fail(text, "a refused text still gave wire bytes");
        return;
    }
    if (wireDigits.size() != 8 || !AllDecimal(wireDigits))
        Fail(text, "an accepted text gave no eight-digit digit text");
    std::array<std::uint8_t, 4> fromDigits{};
    if (HexTextToBytes(wireDigits, fromDigits) != 4 || fromDigits != wire)
        Fail(text, "wire bytes differ from the digit text");
    // What the module would show back is the frequency that was meant.
    const double shown = StrToFloat(FrequencyText(wire));
    const double meant = StrToFloat(text);
    if (shown < FreqMinMHz || shown >= FreqMaxMHz || std::fabs(shown - meant) > 1e-6)
        Fail(text, "the wire bytes stand for another frequency");
}

std::vector<QLineEdit*> AllEdits(TForm1& form)
{
    std::vector<QLineEdit*> edits;
    for (int channel = 1; channel <= 32; ++channel) {
        edits.push_back(form.FindEdit(QStringLiteral("TxEdit%1").arg(channel)));
        edits.push_back(form.FindEdit(QStringLiteral("RxEdit%1").arg(channel)));
    }
    return edits;
}

void CheckShow(TForm1& form, int channel, std::span<const std::uint8_t, 8> bytes)
{
    static const std::vector<QLineEdit*> edits = AllEdits(form);
    for (QLineEdit* edit : edits)
        edit->setText(QStringLiteral("x"));
    ShowChannelFrequency(form, channel, bytes);
    for (std::size_t i = 0; i < edits.size(); ++i) {
        const int owner = static_cast<int>(i / 2) + 1;
        const bool transmit = i % 2 == 0;
        const QString text = edits[i]->text();
        if (owner != channel) {
            if (text != QStringLiteral("x"))
                Fail(text, "another channel's edit changed");
            continue;
        }
        const QString want = FrequencyText(transmit ? bytes.first<4>() : bytes.last<4>());
        if (text != want)
            Fail(text, "the channel's edit shows something else");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TForm1& form = fuzz::HeadlessWindow();
    if (size < 9)
        return 0;
    const int channel = data[0] % 40; // 0 and 33..39 name no edits
    const auto wire = std::make_unique<std::array<std::uint8_t, 8>>();
    std::copy(data + 1, data + 9, wire->begin());
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 9), static_cast<qsizetype>(size - 9));

    CheckCodec(text);
    CheckShow(form, channel, *wire);
    // The check with its messages (boxes are silent here) and its errors.
    try {
        (void)CheckChannelFrequency(channel, text, QStringLiteral("433.92500"));
        (void)CheckChannelFrequency(channel, QStringLiteral("433.92500"), text);
    } catch (const EConvertError&) {
    }
    return 0;
}
