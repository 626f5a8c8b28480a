// The plan file under faults: saves that cannot happen or fail part-way,
// and files no save of ours would ever write, loaded through the menu.

#include "support/window_fixture.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <unistd.h>

#include <random>

namespace radioset {
namespace {

using test::WindowFixture;

class PlanFileFaults : public ::testing::Test, public WindowFixture {
protected:
    PlanFileFaults()
    {
        previousDialog_ = SetFileDialogSink([this](const FileDialogRequest&) { return std::optional<QString>(chosen); });
    }
    ~PlanFileFaults() override { SetFileDialogSink(previousDialog_); }

    QLineEdit* edit(const char* prefix, int channel) const
    {
        return form->FindEdit(QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(channel));
    }
    void fillAllEdits()
    {
        for (int n = 1; n <= 32; ++n) {
            edit("TxEdit", n)->setText(QStringLiteral("433.92500"));
            edit("RxEdit", n)->setText(QStringLiteral("434.00000"));
        }
    }
    static void put(const QString& path, const QByteArray& content)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(content), content.size());
    }
    static QByteArray get(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void save(const QString& path)
    {
        chosen = path;
        form->N5->trigger();
    }
    void load(const QString& path)
    {
        chosen = path;
        form->N6->trigger();
    }

    QTemporaryDir dir;
    QString chosen;

private:
    FileDialogSink previousDialog_;
};

TEST_F(PlanFileFaults, SaveWhereNoFileCanBeShowsTheErrorAndWritesNothing)
{
    fillAllEdits();
    put(dir.filePath("not-a-folder"), "x");
    const QString places[] = {
        dir.filePath("missing/plan.ini"),       // a folder that does not exist
        dir.filePath("not-a-folder/plan.ini"),  // a file where the folder should be
        dir.path(),                             // a folder chosen as the file
    };
    for (const QString& place : places) {
        boxes.clear();
        save(place);
        EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Unable to write to %1.").arg(place)}) << place.toStdString();
    }
    EXPECT_EQ(get(dir.filePath("not-a-folder")), QByteArray("x"));
}

TEST_F(PlanFileFaults, SaveIntoAReadOnlyFolderLeavesTheOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const QString path = dir.filePath("ro/plan.ini");
    ASSERT_TRUE(QDir(dir.path()).mkdir("ro"));
    put(path, "[TX]\r\nTX1=433.00000\r\n");
    ASSERT_TRUE(QFile::setPermissions(dir.filePath("ro"), QFile::ReadOwner | QFile::ExeOwner));
    fillAllEdits();
    save(path);
    QFile::setPermissions(dir.filePath("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Unable to write to %1.").arg(path)});
    EXPECT_EQ(get(path), QByteArray("[TX]\r\nTX1=433.00000\r\n"));
}

TEST_F(PlanFileFaults, SaveThatFailsPartWayLeavesTheOldFileWhole)
{
    const QString path = dir.filePath("plan.ini");
    const QByteArray old = "[TX]\r\nTX1=433.00000\r\n[RX]\r\nRX1=434.00000\r\n";
    put(path, old);
    fillAllEdits();

    // A full disk, as far as this process can tell: writes beyond 64 bytes
    // fail (the limit binds root too).
    {
        const test::FileSizeLimit limit(64);
        ASSERT_TRUE(limit.active());
        save(path);
    }

    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Unable to write to %1.").arg(path)});
    EXPECT_EQ(get(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"plan.ini"}) << "no half-written file left";

    // With room again the same save goes through.
    boxes.clear();
    save(path);
    EXPECT_TRUE(boxes.texts().isEmpty());
    load(path);
    EXPECT_EQ(edit("RxEdit", 32)->text(), QStringLiteral("434.00000"));
}

QByteArray RandomBytes(int size, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray out(size, '\0');
    for (char& byte : out)
        byte = static_cast<char>(random() & 0xFF);
    return out;
}

TEST_F(PlanFileFaults, HostileFilesLoadWithoutHarm)
{
    QByteArray manySections;
    for (int i = 0; i < 20000; ++i)
        manySections += "[S" + QByteArray::number(i) + "]\r\nTx3=1\r\n";
    manySections += "[Tx]\r\nTx3=433.10000\r\n";

    const struct {
        const char* what;
        QByteArray content;
        int channel;            // the channel to look at
        QString tx;             // its transmit text after the load
        qsizetype txLength = -1; // or only the length of that text
    } cases[] = {
        {"binary garbage", RandomBytes(256 * 1024, 7), 1, QStringLiteral("000000")},
        {"invalid GBK around a good entry", QByteArray("[Tx]\r\nTx1=\x81\x20\xff\xfe\r\nTx2=433.20000\r\n"), 2,
         QStringLiteral("433.20000")},
        {"invalid GBK value", QByteArray("[Tx]\r\nTx1=\x81\x20\xff\xfe\r\n"), 1, QStringLiteral("\uFFFD \uFFFD\uFFFD")},
        {"a line of a megabyte", "[Tx]\r\nTx4=" + QByteArray(1024 * 1024, '9') + "\r\n", 4, QString(), 2047},
        {"a megabyte without line ends", QByteArray(1024 * 1024, '['), 1, QStringLiteral("000000")},
        {"twenty thousand sections", manySections, 3, QStringLiteral("433.10000")},
        {"no final line end", QByteArray("[TX]\nTX32=433.32000"), 32, QStringLiteral("433.32000")},
        {"only a section line without end", QByteArray("[Tx"), 1, QStringLiteral("000000")},
        {"beyond the size a plan can have", "[Tx]\nTx1=433.1\n" + QByteArray(5 * 1024 * 1024, ';'), 1,
         QStringLiteral("000000")},
        {"empty", QByteArray(), 1, QStringLiteral("000000")},
    };
    const QString path = dir.filePath("hostile.ini");
    for (const auto& c : cases) {
        put(path, c.content);
        load(path);
        const QString tx = edit("TxEdit", c.channel)->text();
        if (c.txLength >= 0)
            EXPECT_EQ(tx.size(), c.txLength) << c.what;
        else
            EXPECT_EQ(tx, c.tx) << c.what;
        EXPECT_EQ(edit("RxEdit", 16)->text(), QStringLiteral("000000")) << c.what;
    }
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join(" | ").toStdString();

    // Not a file at all.
    load(dir.path());
    EXPECT_EQ(edit("TxEdit", 1)->text(), QStringLiteral("000000"));
    EXPECT_TRUE(boxes.texts().isEmpty());
}

} // namespace
} // namespace radioset
