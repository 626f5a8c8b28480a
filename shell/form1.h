#pragma once

#include "platform/dialogs.h"
#include "platform/widgets.h"

#include <QMainWindow>
#include <QStringList>

#include <array>

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

// Line-setting enumerations of the serial component, with the ordinals the
// component gives them.
enum TBaudRate : int {
    br110, br300, br600, br1200, br2400, br4800, br9600, br14400,
    br19200, br38400, br56000, br57600, br115200, br128000, br256000,
};
enum TParity : int { ptNoParity, ptOddParity, ptEvenParity, ptMarkParity, ptSpaceParity };
enum TStopBits : int { sbOneStopBit, sbOne_5_StopBits, sbTwoStopBit };

// The serial component's settings as the form sets them at design time.
struct ZelCommDesign {
    int PortNo = 1;
    TBaudRate Baud = br9600;
    int ByteSize = 8;
    TParity Parity = ptNoParity;
    TStopBits StopBits = sbOneStopBit;
    int InBufSize = 8192;
    int OutBufSize = 8192;
    int HwInSize = 1200;
    int HwOutSize = 1200;
    int QueueSize = 16;
    int PackageSize = 4096;
    int PackageInterval = 50;
    bool UsePackage = true;
    bool SyncEvents = true;
    bool Active = false;
};

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

    ZelCommDesign ZelCommDevice1;

    // --- run-time state ----------------------------------------------------
    bool ReceiveHold = false;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();        // the form description
    void ConnectHandlers();
    void Startup();               // the constructor's start-up steps

    template <class Sender, class Signal>
    void Connect(Sender* sender, Signal signal, void (TForm1::*handler)(QObject*));
};

} // namespace radioset
