#include "platform/gbk.h"

#include <QList>
#include <QSysInfo>

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace radioset {

namespace {

// iconv_open reports failure with the handle (iconv_t)-1.
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1); // NOLINT(performance-no-int-to-ptr): iconv's own sentinel

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != kNoConverter)
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of `in`; an unconvertible or invalid sequence of
    // `badInputBytes` bytes is replaced by `replacement` and reported.
    std::string run(const char* in, std::size_t size, std::size_t badInputBytes, const std::string& replacement, bool& ok)
    {
        ok = cd_ != kNoConverter;
        std::string out;
        if (!ok)
            return out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[1024];
        char* src = const_cast<char*>(in);
        std::size_t left = size;
        while (left > 0) {
            char* dst = buffer;
            std::size_t room = sizeof buffer;
            const std::size_t r = iconv(cd_, &src, &left, &dst, &room);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (r != static_cast<std::size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (truncated sequence at the end): skip and mark.
            ok = false;
            out += replacement;
            const std::size_t skip = left < badInputBytes ? left : badInputBytes;
            src += skip;
            left -= skip;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        char* dst = buffer;
        std::size_t room = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &dst, &room);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        return out;
    }

private:
    iconv_t cd_;
};

} // namespace

QByteArray ToGbk(const QString& text, bool* ok)
{
    // UTF-32 input makes every character one fixed-size unit to skip.
    const QList<uint> ucs4 = text.toUcs4();
    Converter conv("GBK", QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-32LE" : "UTF-32BE");
    bool good = true;
    const std::string out = conv.run(reinterpret_cast<const char*>(ucs4.constData()),
                                     static_cast<std::size_t>(ucs4.size()) * sizeof(uint), sizeof(uint), "?", good);
    if (ok)
        *ok = good;
    return {out.data(), static_cast<qsizetype>(out.size())};
}

QString FromGbk(const QByteArray& bytes, bool* ok)
{
    Converter conv("UTF-8", "GBK");
    bool good = true;
    const std::string out = conv.run(bytes.constData(), static_cast<std::size_t>(bytes.size()), 1, "\xEF\xBF\xBD", good);
    if (ok)
        *ok = good;
    return QString::fromUtf8(out.data(), static_cast<qsizetype>(out.size()));
}

} // namespace radioset
