// Arbitrary packages into the response dispatcher of a live (headless)
// window, with every route's effect running for real.
//
// Input: one byte of window state, then the package.
//   bit 0  signal-strength dump on
//   bit 1  a channel-table write is running
//   bit 2  a write starts from channel 17 instead of 1 (and a read likewise)
//   bit 3  the memo starts empty (else it keeps what earlier inputs left, up
//          to its length limit)
// The package is copied into a buffer of exactly its size, so a route that
// reads one byte past the package is caught.

#include "headless_window.h"
#include "link/dispatch.h"

#include <QLineEdit>

#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

using namespace radioset;

namespace {

// A mix of what the frequency edits can hold: good texts, the load's
// placeholder, non-numbers, the out-of-range upper bound, blanks, and what a
// reply with non-decimal bytes shows.
const char* const EditTexts[] = {"433.92500", "000000", "abc", "1000", " 433.925", "", "0A0.00000", "999.99999"};

void ResetWindow(TForm1& form, std::uint8_t flags)
{
    form.RssiDumpOn = (flags & 0x01) != 0;
    form.BulkWriteActive = (flags & 0x02) != 0;
    const std::uint8_t first = (flags & 0x04) ? 17 : 1;
    form.NextReadChannel = first;
    form.NextWriteChannel = first;
    form.RadioDetected = 0;
    if (flags & 0x08)
        form.Memo1->clear();
    // Looking the edits up by name for every input would cost more than the
    // dispatch itself.
    static const std::vector<std::pair<QLineEdit*, QString>> edits = [&form] {
        std::vector<std::pair<QLineEdit*, QString>> all;
        for (int channel = 1; channel <= 32; ++channel) {
            const int pick = channel % 8;
            all.emplace_back(form.FindEdit(QStringLiteral("TxEdit%1").arg(channel)), QString::fromLatin1(EditTexts[pick]));
            all.emplace_back(form.FindEdit(QStringLiteral("RxEdit%1").arg(channel)), QString::fromLatin1(EditTexts[(pick + 3) % 8]));
        }
        return all;
    }();
    for (const auto& [edit, text] : edits) {
        if (edit->text() != text)
            edit->setText(text);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TForm1& form = fuzz::HeadlessWindow();
    if (size == 0)
        return 0;
    ResetWindow(form, data[0]);

    // The serial component never hands over more than the receive buffer.
    const std::size_t n = std::min<std::size_t>(size - 1, form.RxBuffer.size());
    auto package = std::make_unique<std::uint8_t[]>(n == 0 ? 1 : n);
    if (n != 0)
        std::memcpy(package.get(), data + 1, n);

    // As in the window: an error escaping a route is shown, not thrown on.
    GuardHandler([&] { DispatchResponse(form, package.get(), static_cast<int>(n)); });

    static unsigned inputs = 0;
    if (++inputs % 256 == 0)
        fuzz::DrainEvents();
    return 0;
}
