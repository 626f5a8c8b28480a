#pragma once

#include "platform/dialogs.h"
#include "platform/serial/comm_device.h"
#include "platform/widgets.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <cstdint>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QTabWidget;
class QTimer;

namespace radioset {

// The detection sweep's 18 line-setting labels, "1200  None " to
// "38400  Even ", built before the window exists.
const QStringList& SweepLabels();

// The main window. Controls keep the form designer's names, both as members
// and as object names, so that handlers and tests address them alike.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs the start-up steps: port list, first port
    // selected, interface switched to English.
    explicit TForm1(QWidget* owner = nullptr);

    // Only the form description, before any start-up step: the window as
    // designed, with its design-time captions.
    struct DesignTimeOnly {};
    TForm1(DesignTimeOnly, QWidget* owner = nullptr);

    ~TForm1() override;

    // Handlers, named after the control and the event they serve.
    void FormShow(QObject* Sender);
    void N8Click(QObject* Sender);
    void N2Click(QObject* Sender);
    void N3Click(QObject* Sender);
    void English1Click(QObject* Sender);
    void Timer2Timer(QObject* Sender);
    void Button1Click(QObject* Sender);
    void ComboBox1Change(QObject* Sender);
    void ComboBox2Change(QObject* Sender);
    void ZelCommDevice1CommNotify(QObject* Sender, int NotifyType);
    void ZelCommDevice1Package(QObject* Sender, int NotifyType);
    void Button2Click(QObject* Sender);
    void Timer1Timer(QObject* Sender);
    void Button3Click(QObject* Sender);
    void Button4Click(QObject* Sender);
    void Button5Click(QObject* Sender);
    void Button6Click(QObject* Sender);
    void Button7Click(QObject* Sender);
    void Button8Click(QObject* Sender);
    void Button23Click(QObject* Sender);
    void Button24Click(QObject* Sender);
    void Button12Click(QObject* Sender);
    void ComboBox9Change(QObject* Sender);
    void Button25Click(QObject* Sender);
    void Button9Click(QObject* Sender);
    void Button10Click(QObject* Sender);
    void Button17Click(QObject* Sender);
    void Button18Click(QObject* Sender);
    void Button19Click(QObject* Sender);
    void Button20Click(QObject* Sender);
    void Button21Click(QObject* Sender);
    void Button22Click(QObject* Sender);
    void Button26Click(QObject* Sender);
    void Button27Click(QObject* Sender);
    void Button13Click(QObject* Sender);
    void Button14Click(QObject* Sender);
    void Button15Click(QObject* Sender);
    void Button16Click(QObject* Sender);
    void N5Click(QObject* Sender);
    void N6Click(QObject* Sender);

    // The frequency edits "TxEdit<k>" / "RxEdit<k>" are found by name.
    QLineEdit* FindEdit(const QString& name) const;

    // --- controls --------------------------------------------------------
    QWidget* ClientArea = nullptr;
    QLabel* Image1 = nullptr;

    QGroupBox* GroupBox1 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr;
    ComboBox *ComboBox1 = nullptr, *ComboBox2 = nullptr, *ComboBox3 = nullptr, *ComboBox4 = nullptr,
             *ComboBox5 = nullptr;
    QPushButton* Button1 = nullptr;

    QTabWidget* PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr;

    // Parameter page.
    QGroupBox *GroupBox2 = nullptr, *GroupBox3 = nullptr, *GroupBox4 = nullptr, *GroupBox12 = nullptr,
              *GroupBox8 = nullptr;
    ComboBox *ComboBox6 = nullptr, *ComboBox7 = nullptr, *ComboBox8 = nullptr, *ComboBox9 = nullptr,
             *ComboBox10 = nullptr;
    QPushButton *Button3 = nullptr, *Button4 = nullptr, *Button5 = nullptr, *Button6 = nullptr, *Button7 = nullptr,
                *Button8 = nullptr, *Button11 = nullptr, *Button12 = nullptr, *Button23 = nullptr,
                *Button24 = nullptr, *Button25 = nullptr;
    QLineEdit *Edit1 = nullptr, *Edit3 = nullptr;
    UpDown* UpDown1 = nullptr;
    QLabel *Label42 = nullptr, *Label43 = nullptr;

    // Frequency page.
    QGroupBox *GroupBox5 = nullptr, *GroupBox6 = nullptr;
    QLabel *Label6 = nullptr, *Label23 = nullptr, *Label24 = nullptr, *Label41 = nullptr;
    QPushButton *Button13 = nullptr, *Button14 = nullptr, *Button15 = nullptr, *Button16 = nullptr;

    // Factory page.
    QGroupBox *GroupBox7 = nullptr, *GroupBox9 = nullptr, *GroupBox10 = nullptr, *GroupBox11 = nullptr,
              *GroupBox14 = nullptr;
    QPushButton *Button9 = nullptr, *Button10 = nullptr, *Button17 = nullptr, *Button18 = nullptr,
                *Button19 = nullptr, *Button20 = nullptr, *Button21 = nullptr, *Button22 = nullptr,
                *Button26 = nullptr, *Button27 = nullptr;
    QLineEdit *Edit2 = nullptr, *Edit4 = nullptr;
    UpDown* UpDown2 = nullptr;

    // Radio detection.
    QGroupBox* GroupBox13 = nullptr;
    QPushButton* Button2 = nullptr;
    Memo* Memo1 = nullptr;

    StatusBar* StatusBar1 = nullptr;

    QMenuBar* MainMenu1 = nullptr;
    QMenu *N1 = nullptr, *N4 = nullptr, *N7 = nullptr;
    QAction *N2 = nullptr, *N3 = nullptr, *English1 = nullptr, *N5 = nullptr, *N6 = nullptr, *N8 = nullptr;

    QTimer *Timer1 = nullptr, *Timer2 = nullptr;

    FileDialogRequest SaveDialog1;
    FileDialogRequest OpenDialog1;

    TZelCommDevice* ZelCommDevice1 = nullptr;

    // --- run-time state ----------------------------------------------------
    // Where every request is built; never cleared (see link/transmit.h).
    std::array<std::uint8_t, 50> TxBuffer{};
    // The package being dispatched; only its first n bytes belong to it.
    std::array<std::uint8_t, 1000> RxBuffer{};
    // Set by a line error; every package is discarded until Timer2 ticks.
    bool ReceiveHold = false;
    // Set by the receive test: every received byte is shown in the memo.
    bool RssiDumpOn = false;

    // Detection sweep.
    std::uint32_t SweepIndex = 0; // setting of the latest attempt, 0..17
    std::uint32_t SweepTries = 0; // ticks since Detect Radio was pressed
    QString SweepLine;            // memo line of the latest attempt
    int RadioDetected = 0;        // a detect reply was taken since the click

    // Channel-table transfer: one request per reply. The counters are one
    // byte wide on purpose (255 + 1 is 0).
    std::uint8_t NextReadChannel = 1;
    std::uint8_t NextWriteChannel = 1;
    bool BulkWriteActive = false;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();        // the form description
    void ConnectHandlers();
    void Startup();               // the constructor's start-up steps

    template <class Sender, class Signal>
    void Connect(Sender* sender, Signal signal, void (TForm1::*handler)(QObject*));
    template <class Sender, class Signal>
    void Connect(Sender* sender, Signal signal, void (TForm1::*handler)(QObject*, int));
};

} // namespace radioset
