#include "platform/ports.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace radioset {
namespace {

TEST(Ports, PortNoReadsTheNumberAfterCom)
{
    const struct {
        const char* name;
        int number;
    } cases[] = {
        {"COM3", 3},   {"com12", 12}, {"Com 7", 7},  {"COM4x", 4},     {"COM", 0},     {"COM0", 0},
        {"", 0},       {"LPT1", 0},   {"CO", 0},     {"COM-2", 0},     {"COM+5", 5},   {"COM\t9", 9},
        {"COMx1", 0},  {"COM007", 7}, {"COM2147483647", 2147483647}, {"COM2147483648", 0},
        {"COM99999999999999999999", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PortNo(QString::fromLatin1(c.name)), c.number) << c.name;
    EXPECT_EQ(PortName(15), QStringLiteral("COM15"));
}

TEST(Ports, KernelNamesMapToComNumbers)
{
    const struct {
        const char* device;
        int number;
    } cases[] = {
        {"ttyS0", 1},     {"ttyS3", 4},     {"ttyUSB0", 101}, {"ttyUSB12", 113}, {"ttyACM0", 201},
        {"ttyAMA0", 0},   {"ttyS", 0},      {"ttyUSBx", 0},   {"tty0", 0},       {"ttyS100", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComNumberOfDevice(QString::fromLatin1(c.device)), c.number) << c.device;
}

TEST(Ports, ListRulesSortNumericallyAndSkipUnusableNames)
{
    using L = QStringList;
    EXPECT_EQ(TCommSerialPortInfo::Build(L{"COM10", "COM3", "COM1"}), (L{"COM1", "COM3", "COM10"}));
    EXPECT_EQ(TCommSerialPortInfo::Build(L{"com2", "LPT1", "COM0", "COM 5"}), (L{"COM2", "COM5"}));
    const L fallback{"COM1", "COM2", "COM3", "COM4"};
    EXPECT_EQ(TCommSerialPortInfo::Build(L{}), fallback);
    EXPECT_EQ(TCommSerialPortInfo::Build(L{"LPT1"}), fallback);
    EXPECT_EQ(TCommSerialPortInfo::Build(std::nullopt), fallback);
}

TEST(Ports, LinksInTheLinkFolderArePorts)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    SetPortLinkFolder(folder.path());
    const QDir dir(folder.path());
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("COM42"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("COM43.bak"))));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), dir.filePath(QStringLiteral("COM44"))));

    EXPECT_EQ(PortDevice(42), dir.filePath(QStringLiteral("COM42")));
    EXPECT_TRUE(PortDevice(43).isEmpty());
    EXPECT_TRUE(PortDevice(44).isEmpty()); // dangling link
    EXPECT_TRUE(PortDevice(0).isEmpty());
    SetPortLinkFolder(QString());
}

TEST(Ports, ListSourceReplacesTheSystemList)
{
    SetPortListSource([] { return QStringList{QStringLiteral("COM9")}; });
    EXPECT_EQ(TCommSerialPortInfo().Names(), QStringList{QStringLiteral("COM9")});
    SetPortListSource({});
}

} // namespace
} // namespace radioset
