#include "link/frame.h"

namespace radioset {

int FrameChecksum(const std::uint8_t* data, int count)
{
    int sum = 0;
    for (int i = 0; i < count; ++i)
        sum += data[i];
    return sum;
}

void StoreFrameChecksum(std::uint8_t* frame)
{
    const int length = frame[2];
    const int sum = FrameChecksum(frame + 2, length);
    frame[length + 2] = static_cast<std::uint8_t>((sum >> 8) & 0xFF);
    frame[length + 3] = static_cast<std::uint8_t>(sum & 0xFF);
}

int BuildFrame(std::uint8_t* out, std::uint8_t command, std::span<const std::uint8_t> payload)
{
    if (payload.size() > static_cast<std::size_t>(MaxFramePayload))
        return 0;
    const int payloadLength = static_cast<int>(payload.size());
    out[0] = FrameHead0;
    out[1] = FrameHead1;
    out[2] = static_cast<std::uint8_t>(payloadLength + 2);
    out[3] = command;
    for (int i = 0; i < payloadLength; ++i)
        out[4 + i] = payload[static_cast<std::size_t>(i)];
    StoreFrameChecksum(out);
    return payloadLength + FrameOverhead;
}

QByteArray MakeFrame(std::uint8_t command, std::span<const std::uint8_t> payload)
{
    if (payload.size() > static_cast<std::size_t>(MaxFramePayload))
        return {};
    std::uint8_t buffer[MaxFrameLength];
    const int length = BuildFrame(buffer, command, payload);
    return {reinterpret_cast<const char*>(buffer), length};
}

QByteArray MakeFrame(std::uint8_t command, std::initializer_list<std::uint8_t> payload)
{
    return MakeFrame(command, std::span<const std::uint8_t>(payload.begin(), payload.size()));
}

std::optional<ParsedFrame> ParseFrame(const std::uint8_t* data, int count)
{
    if (count < 2 || data[0] != FrameHead0 || data[1] != FrameHead1)
        return std::nullopt;
    if (count < 3)
        return std::nullopt;
    const int length = data[2];
    if (count != length + 4)
        return std::nullopt;
    const int sum = FrameChecksum(data + 2, length);
    if (data[count - 2] != ((sum >> 8) & 0xFF) || data[count - 1] != (sum & 0xFF))
        return std::nullopt;
    ParsedFrame frame;
    frame.command = data[3];
    if (length > 2)
        frame.payload = QByteArray(reinterpret_cast<const char*>(data + 4), length - 2);
    return frame;
}

std::optional<ParsedFrame> ParseFrame(const QByteArray& package)
{
    if (package.size() > MaxFrameLength)
        return std::nullopt;
    return ParseFrame(reinterpret_cast<const std::uint8_t*>(package.constData()), static_cast<int>(package.size()));
}

} // namespace radioset
