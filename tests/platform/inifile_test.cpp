#include "platform/exceptions.h"
#include "support/file_size_limit.h"
#include "platform/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace radioset {
namespace {

// GBK bytes of the names the plan file uses.
const QByteArray CompanyGbk = "\xB9\xAB\xCB\xBE"; // 公司
const QByteArray NameGbk = "\xC3\xFB\xB3\xC6";    // 名称

class IniFileTest : public ::testing::Test {
protected:
    QString Path(const QString& name = "plan.ini") const { return dir_.filePath(name); }

    static void Put(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    static QByteArray Get(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    static QString WriteFailure(IniFile& ini)
    {
        try {
            ini.UpdateFile();
        } catch (const EInOutError& e) {
            return e.message();
        }
        return "no error";
    }

    QTemporaryDir dir_;
};

TEST_F(IniFileTest, SavesThePlanLayoutAndReadsItBackInMixedCase)
{
    IniFile ini(Path());
    ini.WriteString(QString::fromUtf8("公司"), QString::fromUtf8("名称"), "Kelvorin");
    ini.WriteString("TX", "TX1", "433.92500");
    ini.WriteString("TX", "TX2", "434.00000");
    ini.WriteString("RX", "RX1", "433.92500");
    ini.WriteString("RX", "RX2", "434.00000");
    EXPECT_FALSE(QFile::exists(Path())) << "nothing reaches the disk before the save";
    ini.UpdateFile();

    EXPECT_EQ(Get(Path()), "[" + CompanyGbk + "]\r\n" + NameGbk + "=Kelvorin\r\n"
                               "[TX]\r\nTX1=433.92500\r\nTX2=434.00000\r\n"
                               "[RX]\r\nRX1=433.92500\r\nRX2=434.00000\r\n");

    const IniFile again(Path());
    EXPECT_EQ(again.ReadString("Tx", "Tx1", "000000"), "433.92500");
    EXPECT_EQ(again.ReadString("rx", "rX2", "000000"), "434.00000");
    EXPECT_EQ(again.ReadString("Tx", "Tx3", "000000"), "000000");
    EXPECT_EQ(again.ReadString(QString::fromUtf8("公司"), QString::fromUtf8("名称"), ""), "Kelvorin");
}

TEST_F(IniFileTest, ValuesComeBackAsWritten)
{
    const QString values[] = {
        "",
        " 433.9",
        "433.9\t",
        "\"quoted\"",
        "'x'",
        "\"",
        "a=b",
        "[RX]",
        "; not a comment",
        QString::fromUtf8("第5信道"),
        QString(IniFile::MaxValueLength, u'9'),
    };
    {
        IniFile ini(Path());
        int n = 0;
        for (const QString& value : values)
            ini.WriteString("TX", QString("TX%1").arg(++n), value);
        ini.WriteString("TX", "Broken", "one\r\ntwo\nthree");
        ini.WriteString("TX", "Last", "still here");
        ini.UpdateFile();
    }
    const IniFile ini(Path());
    int n = 0;
    for (const QString& value : values) {
        const QString key = QString("TX%1").arg(++n);
        EXPECT_EQ(ini.ReadString("TX", key, "<default>"), value) << key.toStdString();
    }
    // A line break cannot be stored; it must not split the entry either.
    EXPECT_EQ(ini.ReadString("TX", "Broken", ""), "one  two three");
    EXPECT_EQ(ini.ReadString("TX", "Last", ""), "still here");
}

TEST_F(IniFileTest, ValuesAreReadUpTo2047Characters)
{
    {
        IniFile ini(Path());
        ini.WriteString("TX", "TX1", QString(IniFile::MaxValueLength, u'1') + "23");
        ini.UpdateFile();
    }
    EXPECT_EQ(IniFile(Path()).ReadString("TX", "TX1", ""), QString(IniFile::MaxValueLength, u'1'));
}

TEST_F(IniFileTest, EditsInPlaceKeepingEveryOtherLine)
{
    Put(Path(), "; plan made by hand\n"
                "\n"
                "[Other]\n"
                "TX1=keep me\n"
                "\n"
                "[tx]\n"
                "tx1 = 100.00000\n"
                "# note\n"
                "tx3=300\n"
                "\n"
                "[" + CompanyGbk + "]\n"
                "\xFF\xFE not GBK \x81\n");
    IniFile ini(Path());
    ini.WriteString("TX", "TX1", "433.92500");
    ini.WriteString("TX", "TX2", "434");
    ini.WriteString("RX", "RX1", "1");
    ini.WriteString("TX", "TX2", "435");
    ini.UpdateFile();

    EXPECT_EQ(Get(Path()), "; plan made by hand\n"
                           "\n"
                           "[Other]\n"
                           "TX1=keep me\n"
                           "\n"
                           "[tx]\n"
                           "tx1 =433.92500\n"
                           "# note\n"
                           "tx3=300\n"
                           "TX2=435\n"
                           "\n"
                           "[" + CompanyGbk + "]\n"
                           "\xFF\xFE not GBK \x81\n"
                           "[RX]\n"
                           "RX1=1\n");
}

TEST_F(IniFileTest, ReadsCrLfAndLfAlikeAndTheFirstOfTwinsWins)
{
    Put(Path(), "Stray=before any section\r\n"
                "[TX]\r\n"
                "TX1 =  \"  433.9 \"  \r\n"
                "TX1=second\r\n"
                "\t[ Rx ]  trailing words\n"
                "rx5=433.92500\n"
                "[tx]\n"
                "TX2=in the twin section\n"
                "[empty]\r\n"
                "RX6=no final line end");
    const IniFile ini(Path());
    EXPECT_EQ(ini.ReadString("Tx", "Tx1", "d"), "  433.9 ");
    EXPECT_EQ(ini.ReadString("Rx", "Rx5", "d"), "433.92500");
    EXPECT_EQ(ini.ReadString("EMPTY", "rx6", "d"), "no final line end");
    EXPECT_EQ(ini.ReadString("Tx", "Tx2", "d"), "d");
    EXPECT_EQ(ini.ReadString("Tx", "Stray", "d"), "d");
    EXPECT_EQ(ini.ReadString("Rx", "Rx1", "d"), "d");
    EXPECT_EQ(ini.ReadString("Missing", "Tx1", "d"), "d");
}

TEST_F(IniFileTest, MissingFileReadsDefaultsAndIsNotCreated)
{
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadString("Tx", "Tx1", "000000"), "000000");
    ini.UpdateFile();
    EXPECT_FALSE(QFile::exists(Path()));
}

TEST_F(IniFileTest, UnwritablePlacesRaiseTheWriteError)
{
    Put(Path("file"), "x");
    const QString inFile = Path("file") + "/plan.ini";
    IniFile underFile(inFile);
    underFile.WriteString("TX", "TX1", "1");
    EXPECT_EQ(WriteFailure(underFile), "Unable to write to " + inFile);

    // A folder where the file should be: unreadable, and kept whole.
    ASSERT_TRUE(QDir(dir_.path()).mkpath("folder.ini/inside"));
    IniFile folder(Path("folder.ini"));
    EXPECT_EQ(folder.ReadString("Tx", "Tx1", "000000"), "000000");
    folder.WriteString("TX", "TX1", "1");
    EXPECT_EQ(WriteFailure(folder), "Unable to write to " + Path("folder.ini"));
    EXPECT_TRUE(QFileInfo(Path("folder.ini/inside")).isDir());
}

TEST_F(IniFileTest, FailedSaveLeavesTheOldFileAsItWas)
{
    const QByteArray old = "[TX]\r\nTX1=433.92500\r\n";
    Put(Path(), old);
    IniFile ini(Path());
    for (int n = 1; n <= 32; ++n)
        ini.WriteString("RX", QString("RX%1").arg(n), "434.00000");

    // The file size limit fails the write part-way even for root.
    QString error;
    {
        const test::FileSizeLimit limit(64);
        ASSERT_TRUE(limit.active());
        error = WriteFailure(ini);
    }

    EXPECT_EQ(error, "Unable to write to " + Path());
    EXPECT_EQ(Get(Path()), old);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"plan.ini"}) << "no half-written file left";

    ini.UpdateFile(); // the changes are still there to save
    EXPECT_EQ(IniFile(Path()).ReadString("Rx", "Rx32", ""), "434.00000");
}

TEST_F(IniFileTest, OversizedFileIsNeitherReadNorReplaced)
{
    QByteArray big = "[TX]\nTX1=433.92500\n";
    big.append(5 * 1024 * 1024, ';');
    Put(Path(), big);
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadString("Tx", "Tx1", "000000"), "000000");
    ini.WriteString("TX", "TX2", "1");
    EXPECT_EQ(WriteFailure(ini), "Unable to write to " + Path());
    EXPECT_EQ(Get(Path()), big);
}

TEST_F(IniFileTest, BinaryGarbageIsKeptByteForByte)
{
    std::mt19937 random(20240501);
    QByteArray garbage(256 * 1024, '\0');
    for (char& byte : garbage)
        byte = static_cast<char>(random() & 0xFF);
    Put(Path(), garbage);
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadString("Tx", "Tx1", "000000"), "000000");
    ini.WriteString("Plan", "Key", "value");
    ini.UpdateFile();
    const QByteArray saved = Get(Path());
    EXPECT_TRUE(saved.startsWith(garbage));
    EXPECT_EQ(IniFile(Path()).ReadString("plan", "key", ""), "value");
}

TEST_F(IniFileTest, VeryLongLastLineWithoutLineEnd)
{
    const QByteArray original = "[TX]\nTX1=" + QByteArray(3 * 1024 * 1024, '7');
    Put(Path(), original);
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadString("Tx", "Tx1", ""), QString(IniFile::MaxValueLength, u'7'));
    ini.WriteString("TX", "TX2", "434");
    ini.UpdateFile();
    EXPECT_EQ(Get(Path()), original + "\nTX2=434\n");
}

TEST_F(IniFileTest, ThousandsOfSections)
{
    QByteArray text;
    for (int s = 0; s < 20000; ++s)
        text += "[S" + QByteArray::number(s) + "]\nK=" + QByteArray::number(s) + "\n";
    Put(Path(), text);
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadString("s19999", "k", ""), "19999");
    ini.WriteString("S10000", "K", "changed");
    ini.WriteString("S10000", "K2", "added");
    ini.UpdateFile();
    const QByteArray saved = Get(Path());
    EXPECT_TRUE(saved.contains("[S10000]\nK=changed\nK2=added\n[S10001]\nK=10001\n"));
    EXPECT_EQ(saved.size(), text.size() + QByteArray("changed\nK2=added\n").size() - QByteArray("10000\n").size());
}

TEST_F(IniFileTest, InvalidGbkInAValueReadsWithoutFailing)
{
    Put(Path(), "[TX]\nTX1=43\x81\n\x81=x\nTX2=\xB9\n");
    const IniFile ini(Path());
    EXPECT_EQ(ini.ReadString("Tx", "Tx1", ""), QString("43") + QChar(0xFFFD));
    EXPECT_EQ(ini.ReadString("Tx", "Tx2", ""), QString(QChar(0xFFFD)));
}

} // namespace
} // namespace radioset
