// The INI reader and writer on arbitrary files and names.
//
// Input: the file's bytes, then section, key and value (UTF-8), the four
// parts separated by the byte 0x01 (parts missing at the end are empty).
//
// Beyond "no crash": a write must never disturb another entry, and a write
// of names and a value that the layout can carry must read back exactly.

#include "platform/exceptions.h"
#include "platform/gbk.h"
#include "platform/inifile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace radioset;

namespace {

const QString& PlanPath()
{
    // In memory where there is a tmpfs: every input saves the file, and a
    // save syncs it to disk.
    static QTemporaryDir dir(QFile::exists(QStringLiteral("/dev/shm")) ? QStringLiteral("/dev/shm/radioset-fuzz-XXXXXX")
                                                                       : QDir::tempPath() + QStringLiteral("/radioset-fuzz-XXXXXX"));
    static const QString path = dir.filePath(QStringLiteral("plan.ini"));
    return path;
}

bool SameName(const QString& a, const QString& b)
{
    return a.trimmed().toCaseFolded() == b.trimmed().toCaseFolded();
}

bool SurvivesGbk(const QString& text)
{
    bool ok = true;
    const QByteArray bytes = ToGbk(text, &ok);
    return ok && FromGbk(bytes) == text;
}

bool HasControl(const QString& text, bool tabAllowed)
{
    for (const QChar c : text) {
        if ((c.unicode() < 0x20 && !(tabAllowed && c == u'\t')) || c.unicode() == 0x7F)
            return true;
    }
    return false;
}

// Names the layout can hold at all. The writer puts names into the file as
// they are: a key with "=" in it, or one that starts like a section line or
// a comment, reads back as something else (and can even stand for another
// entry). The program's own names are constants that never do; such names
// are left out of every check but "no crash".
bool StructurallySafe(const QString& section, const QString& key)
{
    const QString k = key.trimmed();
    return !section.contains(u']') && !section.contains(u'[') && !key.contains(u'=') && !k.startsWith(u';') &&
           !k.startsWith(u'#') && !k.startsWith(u'[');
}

// Names and values the layout can carry without change: one line, names
// that are not empty, and text that has a GBK form.
bool Representable(const QString& section, const QString& key, const QString& value)
{
    if (!StructurallySafe(section, key) || section.trimmed().isEmpty() || key.trimmed().isEmpty())
        return false;
    if (HasControl(section, false) || HasControl(key, false) || HasControl(value, true))
        return false;
    if (value.size() > IniFile::MaxValueLength)
        return false;
    return SurvivesGbk(section) && SurvivesGbk(key) && SurvivesGbk(value);
}

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "inifile invariant broken: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QList<QByteArray> parts = input.split('\x01');
    while (parts.size() < 4)
        parts.append(QByteArray());
    const QByteArray& file = parts[0];
    const QString section = QString::fromUtf8(parts[1]);
    const QString key = QString::fromUtf8(parts[2]);
    const QString value = QString::fromUtf8(parts[3]);

    {
        QFile out(PlanPath());
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(file) != file.size())
            Fail("cannot prepare the file");
    }

    // One entry the write must leave alone, and one more spelled like it.
    const QString otherSection = QStringLiteral("Tx");
    const QString otherKey = QStringLiteral("Tx1");
    const QString missing = QStringLiteral("\x02missing");
    const bool sameEntry = SameName(section, otherSection) && SameName(key, otherKey);
    const bool safe = StructurallySafe(section, key);
    QString otherBefore;
    {
        IniFile ini(PlanPath());
        otherBefore = ini.ReadString(otherSection, otherKey, missing);
        (void)ini.ReadString(section, key, missing);
        ini.WriteString(section, key, value);
        // Reads see the write before it is saved.
        if (safe && !sameEntry && ini.ReadString(otherSection, otherKey, missing) != otherBefore)
            Fail("a write changed another entry in memory");
        try {
            ini.UpdateFile();
        } catch (const EInOutError&) {
            return 0; // an unreadable file is refused, and that is all
        }
    }

    const IniFile reread(PlanPath());
    if (safe && !sameEntry && reread.ReadString(otherSection, otherKey, missing) != otherBefore)
        Fail("a saved write changed another entry");
    if (Representable(section, key, value)) {
        const QString back = reread.ReadString(section, key, missing);
        if (back != value) {
            std::fprintf(stderr, "wrote [%s] %s=%s, read back %s\n", qPrintable(section), qPrintable(key),
                         qPrintable(value), qPrintable(back));
            Fail("a value did not read back as written");
        }
    }
    return 0;
}
