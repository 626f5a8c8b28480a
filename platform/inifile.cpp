#include "platform/inifile.h"

#include "platform/exceptions.h"
#include "platform/gbk.h"

#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStringView>

#include <cstdint>
#include <utility>
#include <vector>

namespace radioset {

namespace {

// Far beyond any plan file; keeps a wrong choice in the open dialog (a disk
// image, a log) from filling memory.
constexpr qsizetype MaxFileBytes = qsizetype{4} * 1024 * 1024;

enum class Eol : std::uint8_t { None, Lf, CrLf };

QByteArrayView EolBytes(Eol eol)
{
    switch (eol) {
    case Eol::Lf:
        return "\n";
    case Eol::CrLf:
        return "\r\n";
    case Eol::None:
        break;
    }
    return {};
}

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool IsQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

QString Fold(const QString& name)
{
    return name.trimmed().toCaseFolded();
}

// A line break inside a name or value would split its line in two.
QString OneLine(QString text)
{
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

QString EncodeValue(const QString& value)
{
    const QString v = OneLine(value);
    const bool blankEdge = !v.isEmpty() && (IsBlank(v.front()) || IsBlank(v.back()));
    const bool quoted = v.size() >= 2 && IsQuote(v.front()) && v.back() == v.front();
    return blankEdge || quoted ? u'"' + v + u'"' : v;
}

QString DecodeValue(QStringView v)
{
    while (!v.isEmpty() && IsBlank(v.front()))
        v = v.mid(1);
    while (!v.isEmpty() && IsBlank(v.back()))
        v.chop(1);
    if (v.size() >= 2 && IsQuote(v.front()) && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    if (v.size() > IniFile::MaxValueLength) {
        qsizetype keep = IniFile::MaxValueLength;
        if (v[keep - 1].isHighSurrogate())
            --keep;
        v = v.left(keep);
    }
    return v.toString();
}

} // namespace

struct IniFile::Content {
    struct Line {
        qsizetype begin;
        qsizetype length;
        Eol eol;
    };
    struct KeyRef {
        int index;  // into lines, or into the section's added lines
        bool added;
    };
    struct Section {
        int header = -1;        // -1: the lines before the first section, or a new section
        int insertAfter = -1;   // where added keys go: the last entry, or the header
        QByteArray newHeader;   // only for a new section
        std::vector<QByteArray> added;
        QHash<QString, KeyRef> keys;
    };

    bool readable = true;
    QByteArray raw;
    std::vector<Line> lines;
    QHash<int, QByteArray> replaced;
    std::vector<Section> sections;   // [0] holds the lines before any section
    std::size_t fileSections = 0;    // the sections that came from the file
    QHash<QString, int> sectionIndex;
    QByteArray newline = "\r\n";

    QByteArray LineBytes(int i) const
    {
        const auto it = replaced.constFind(i);
        if (it != replaced.cend())
            return *it;
        return raw.mid(lines[static_cast<std::size_t>(i)].begin, lines[static_cast<std::size_t>(i)].length);
    }

    void Parse();
    QByteArray Serialize() const;
};

void IniFile::Content::Parse()
{
    for (qsizetype pos = 0; pos < raw.size();) {
        qsizetype lf = raw.indexOf('\n', pos);
        Line line{pos, 0, Eol::None};
        if (lf < 0) {
            line.length = raw.size() - pos;
            pos = raw.size();
        } else {
            line.length = lf - pos;
            line.eol = Eol::Lf;
            if (line.length > 0 && raw[lf - 1] == '\r') {
                --line.length;
                line.eol = Eol::CrLf;
            }
            pos = lf + 1;
        }
        lines.push_back(line);
    }
    if (!lines.empty() && lines.front().eol != Eol::None)
        newline = EolBytes(lines.front().eol).toByteArray();

    // One decode for the whole file. LF never occurs inside a GBK character
    // and a bad byte decodes on its own, so the decoded lines match the byte
    // lines; should they ever not, each line is decoded by itself.
    const QString text = FromGbk(raw);
    QList<QStringView> decoded = QStringView(text).split(u'\n');
    if (!raw.isEmpty() && raw.endsWith('\n'))
        decoded.removeLast();
    const bool matched = decoded.size() == static_cast<qsizetype>(lines.size());

    sections.emplace_back();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int index = static_cast<int>(i);
        QString own;
        QStringView lineText;
        if (matched) {
            lineText = decoded[static_cast<qsizetype>(i)];
        } else {
            own = FromGbk(raw.mid(lines[i].begin, lines[i].length));
            lineText = own;
        }
        if (lineText.endsWith(u'\r'))
            lineText.chop(1);
        const QStringView t = lineText.trimmed();
        if (t.startsWith(u'[')) {
            const qsizetype close = t.indexOf(u']');
            if (close > 0) {
                Section section;
                section.header = index;
                section.insertAfter = index;
                sections.push_back(std::move(section));
                const QString name = Fold(t.mid(1, close - 1).toString());
                if (!sectionIndex.contains(name))
                    sectionIndex.insert(name, static_cast<int>(sections.size() - 1));
                continue;
            }
        }
        if (t.startsWith(u';') || t.startsWith(u'#'))
            continue;
        const qsizetype eq = t.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = Fold(t.left(eq).toString());
        if (key.isEmpty())
            continue;
        Section& current = sections.back();
        if (!current.keys.contains(key))
            current.keys.insert(key, KeyRef{index, false});
        current.insertAfter = index;
    }
    fileSections = sections.size();
}

QByteArray IniFile::Content::Serialize() const
{
    QByteArray out;
    out.reserve(raw.size() + 4096);
    bool open = false; // the last line written has no line end yet
    auto put = [&](QByteArrayView bytes, QByteArrayView eol) {
        if (open)
            out += newline;
        out += bytes;
        out += eol;
        open = eol.isEmpty();
    };
    auto putAdded = [&](const Section& section) {
        for (const QByteArray& line : section.added)
            put(line, newline);
    };

    for (std::size_t s = 0; s < fileSections; ++s) {
        const Section& section = sections[s];
        const int begin = s == 0 ? 0 : section.header;
        const int end = s + 1 < fileSections ? sections[s + 1].header : static_cast<int>(lines.size());
        for (int i = begin; i < end; ++i) {
            put(LineBytes(i), EolBytes(lines[static_cast<std::size_t>(i)].eol));
            if (i == section.insertAfter)
                putAdded(section);
        }
    }
    for (std::size_t s = fileSections; s < sections.size(); ++s) {
        put(sections[s].newHeader, newline);
        putAdded(sections[s]);
    }
    return out;
}

IniFile::IniFile(QString fileName) : fileName_(std::move(fileName)) {}

IniFile::~IniFile() = default;

IniFile::Content& IniFile::Loaded() const
{
    if (content_)
        return *content_;
    content_ = std::make_unique<Content>();
    Content& c = *content_;
    const QFileInfo info(fileName_);
    if (info.exists()) {
        QFile file(fileName_);
        // Only a regular file: a FIFO or a device could block or never end.
        if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
            c.readable = false;
        } else {
            c.raw = file.read(MaxFileBytes + 1);
            if (c.raw.size() > MaxFileBytes || file.error() != QFileDevice::NoError) {
                c.readable = false;
                c.raw.clear();
            }
        }
    }
    c.Parse();
    return c;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const Content& c = Loaded();
    const int s = c.sectionIndex.value(Fold(section), -1);
    if (s < 0)
        return defaultValue;
    const Content::Section& sec = c.sections[static_cast<std::size_t>(s)];
    const auto it = sec.keys.constFind(Fold(key));
    if (it == sec.keys.cend())
        return defaultValue;
    const QByteArray line = it->added ? sec.added[static_cast<std::size_t>(it->index)] : c.LineBytes(it->index);
    QString text = FromGbk(line);
    if (text.endsWith(u'\r'))
        text.chop(1);
    return DecodeValue(QStringView(text).mid(text.indexOf(u'=') + 1));
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    Content& c = Loaded();
    const QString sectionName = Fold(section);
    int s = c.sectionIndex.value(sectionName, -1);
    if (s < 0) {
        Content::Section fresh;
        fresh.newHeader = ToGbk(u'[' + OneLine(section) + u']');
        c.sections.push_back(std::move(fresh));
        s = static_cast<int>(c.sections.size() - 1);
        c.sectionIndex.insert(sectionName, s);
    }
    Content::Section& sec = c.sections[static_cast<std::size_t>(s)];
    const QByteArray encoded = ToGbk(EncodeValue(value));
    const QString keyName = Fold(key);
    const auto it = sec.keys.constFind(keyName);
    if (it == sec.keys.cend()) {
        sec.added.push_back(ToGbk(OneLine(key)) + '=' + encoded);
        sec.keys.insert(keyName, Content::KeyRef{static_cast<int>(sec.added.size() - 1), true});
    } else {
        // The key keeps its spelling; "=" is a single byte that no GBK
        // character contains, so the bytes up to it are the key.
        const QByteArray old = it->added ? sec.added[static_cast<std::size_t>(it->index)] : c.LineBytes(it->index);
        const qsizetype eq = old.indexOf('=');
        const QByteArray line = (eq < 0 ? ToGbk(OneLine(key)) + '=' : old.left(eq + 1)) + encoded;
        if (it->added)
            sec.added[static_cast<std::size_t>(it->index)] = line;
        else
            c.replaced.insert(it->index, line);
    }
    dirty_ = true;
}

void IniFile::UpdateFile()
{
    if (!dirty_)
        return;
    const Content& c = Loaded();
    const QString failure = QStringLiteral("Unable to write to %1").arg(fileName_);
    // Replacing a file we could not read would lose every line of it.
    if (!c.readable)
        throw EInOutError(failure);
    const QByteArray bytes = c.Serialize();
    QSaveFile file(fileName_);
    // commit() does not notice a failure to flush its buffer (a full disk):
    // it would put a cut-off file in place of the old one. Flush first.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() || !file.commit())
        throw EInOutError(failure);
    dirty_ = false;
}

} // namespace radioset
