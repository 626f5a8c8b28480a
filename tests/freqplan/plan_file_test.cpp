#include "platform/dialogs.h"
#include "support/file_size_limit.h"
#include "platform/gbk.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>

// Readable failures for texts.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace radioset {
namespace {

using test::WindowFixture;

QByteArray Gbk(const char* utf8)
{
    return ToGbk(QString::fromUtf8(utf8));
}

class PlanFile : public ::testing::Test, public WindowFixture {
protected:
    PlanFile()
    {
        previousSink_ = SetFileDialogSink([this](const FileDialogRequest& request) {
            requests.append(request);
            return chosen;
        });
    }
    ~PlanFile() override { SetFileDialogSink(previousSink_); }

    QString path(const QString& name = QStringLiteral("plan.ini")) const { return dir_.filePath(name); }

    static void put(const QString& file, const QByteArray& bytes)
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    static QByteArray get(const QString& file)
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(missing)");
    }

    QLineEdit* tx(int k) { return f().FindEdit(QStringLiteral("TxEdit%1").arg(k)); }
    QLineEdit* rx(int k) { return f().FindEdit(QStringLiteral("RxEdit%1").arg(k)); }

    QStringList allTexts()
    {
        QStringList texts;
        for (int k = 1; k <= 32; ++k)
            texts << tx(k)->text() << rx(k)->text();
        return texts;
    }
    void setAll(const QStringList& texts)
    {
        for (int k = 1; k <= 32; ++k) {
            tx(k)->setText(texts[2 * (k - 1)]);
            rx(k)->setText(texts[2 * (k - 1) + 1]);
        }
    }

    void save() { f().N5->trigger(); }
    void load() { f().N6->trigger(); }

    std::optional<QString> chosen;
    QList<FileDialogRequest> requests;

private:
    QTemporaryDir dir_;
    FileDialogSink previousSink_;
};

TEST_F(PlanFile, SaveWritesTheKnownLayoutInGbk)
{
    chosen = path();
    tx(1)->setText(QStringLiteral("433.92500"));
    rx(1)->setText(QStringLiteral("433.92500"));
    tx(2)->setText(QStringLiteral("434.00000"));
    rx(2)->setText(QStringLiteral("434.00000"));
    save();
    // New lines end in CR LF, as the files the operators already keep do.
    EXPECT_EQ(get(path()), Gbk("[公司]\r\n名称=Kelvorin\r\n"
                               "[TX]\r\nTX1=433.92500\r\nTX2=434.00000\r\n"
                               "[RX]\r\nRX1=433.92500\r\nRX2=434.00000\r\n"));
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].kind, FileDialogRequest::Save);
    EXPECT_EQ(requests[0].filter, QStringLiteral("*.ini|*.ini"));
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join(" | ").toStdString();

    chosen = path(QStringLiteral("empty.ini"));
    setAll(QStringList(64, QString()));
    save();
    EXPECT_EQ(get(path(QStringLiteral("empty.ini"))), Gbk("[公司]\r\n名称=Kelvorin\r\n"));
}

TEST_F(PlanFile, SaveThenLoadGivesEveryTextBack)
{
    QStringList texts(64, QString());
    texts[0] = QStringLiteral("433.92500");
    texts[3] = QStringLiteral("434");                      // RxEdit2
    texts[20] = QStringLiteral("not a num");                // TxEdit11
    texts[33] = QStringLiteral("  433.9 ");                // RxEdit17, blanks kept
    texts[62] = QStringLiteral("999.99999");               // TxEdit32
    texts[63] = QStringLiteral("\"quoted\"");               // RxEdit32
    setAll(texts);
    chosen = path();
    save();

    setAll(QStringList(64, QStringLiteral("typed since")));
    load();
    QStringList expected = texts;
    for (QString& text : expected) {
        if (text.isEmpty())
            text = QStringLiteral("000000");
    }
    EXPECT_EQ(allTexts(), expected);
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[1].kind, FileDialogRequest::Open);
    EXPECT_EQ(requests[1].filter, QStringLiteral("*.ini|*.ini|所有文件|*.*"));

    // Load then save: every edit is filled now, so all 64 keys are written.
    save();
    setAll(QStringList(64, QString()));
    load();
    EXPECT_EQ(allTexts(), expected);
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join(" | ").toStdString();
}

TEST_F(PlanFile, LoadFindsNamesInAnyCaseAndFillsWhatIsMissing)
{
    const QString longValue = QStringLiteral("433.925000000001");
    put(path(), "; written by hand\n[tx]\ntx5=433.92500\nTx1=100\n[Rx]\nrX5=" + longValue.toLatin1() +
                    "\nRX32=434.00000\n");
    chosen = path();
    load();
    QStringList expected(64, QStringLiteral("000000"));
    expected[0] = QStringLiteral("100");
    expected[8] = QStringLiteral("433.92500");
    expected[9] = longValue; // whole, though typing stops at nine characters
    expected[63] = QStringLiteral("434.00000");
    EXPECT_EQ(allTexts(), expected);

    chosen = path(QStringLiteral("missing.ini"));
    setAll(QStringList(64, QStringLiteral("x")));
    load();
    EXPECT_EQ(allTexts(), QStringList(64, QStringLiteral("000000")));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("missing.ini"))));

    // What was loaded whole is saved whole.
    chosen = path();
    load();
    save();
    EXPECT_TRUE(get(path()).contains("\nrX5=" + longValue.toLatin1() + "\n"));
}

TEST_F(PlanFile, SaveIntoAnExistingFileKeepsWhatItDoesNotWrite)
{
    put(path(), Gbk("[公司]\r\n名称=Old name\r\n"
                    "; our site\r\n"
                    "[TX]\r\nTX3=433.10000\r\nTX7=433.70000\r\n"
                    "[Notes]\r\nowner=张三\r\n"
                    "[RX]\r\nRX3=434.10000\r\n"));
    tx(7)->setText(QStringLiteral("440.00000")); // replaces
    rx(9)->setText(QStringLiteral("441.00000")); // new key, end of its section
    tx(17)->setText(QStringLiteral("442.00000"));
    // TxEdit3 and RxEdit3 are empty: their old values stay in the file.
    chosen = path();
    save();
    EXPECT_EQ(get(path()), Gbk("[公司]\r\n名称=Kelvorin\r\n"
                               "; our site\r\n"
                               "[TX]\r\nTX3=433.10000\r\nTX7=440.00000\r\nTX17=442.00000\r\n"
                               "[Notes]\r\nowner=张三\r\n"
                               "[RX]\r\nRX3=434.10000\r\nRX9=441.00000\r\n"));

    setAll(QStringList(64, QString()));
    load();
    EXPECT_EQ(tx(3)->text(), QStringLiteral("433.10000"));
    EXPECT_EQ(rx(3)->text(), QStringLiteral("434.10000"));
}

TEST_F(PlanFile, CancelDoesNothing)
{
    tx(1)->setText(QStringLiteral("433.92500"));
    chosen.reset();
    save();
    load();
    EXPECT_EQ(requests.size(), 2);
    EXPECT_EQ(tx(1)->text(), QStringLiteral("433.92500"));
    EXPECT_EQ(rx(1)->text(), QString());
    EXPECT_TRUE(QDir(path(QString())).entryList(QDir::Files).isEmpty());
}

TEST_F(PlanFile, UnwritableFileIsReportedAndTheOldOneStays)
{
    tx(1)->setText(QStringLiteral("433.92500"));
    chosen = path(QStringLiteral("no such folder/plan.ini"));
    save();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Unable to write to %1.").arg(*chosen)});

    // A save that fails part-way (the file size limit stops even root).
    const QByteArray old = "[TX]\r\nTX1=433.92500\r\n";
    put(path(), old);
    for (int k = 1; k <= 32; ++k) {
        tx(k)->setText(QStringLiteral("434.00000"));
        rx(k)->setText(QStringLiteral("434.00000"));
    }
    chosen = path();
    boxes.clear();
    {
        const test::FileSizeLimit limit(64);
        ASSERT_TRUE(limit.active());
        save();
    }

    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Unable to write to %1.").arg(path())});
    EXPECT_EQ(get(path()), old);
}

} // namespace
} // namespace radioset
