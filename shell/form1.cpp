#include "shell/form1.h"

#include "freqplan/plan_file.h"
#include "freqplan/transfer.h"
#include "link/detection.h"
#include "link/dispatch.h"
#include "link/serial_link.h"
#include "module/factory_commands.h"
#include "module/parameter_commands.h"
#include "platform/ports.h"
#include "texts/language_switch.h"
#include "texts/texts.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>

#include <utility>

namespace radioset {

const QStringList& SweepLabels()
{
    static const QStringList labels = [] {
        QStringList built;
        for (const char* baud : {"1200", "2400", "4800", "9600", "19200", "38400"})
            for (const char* parity : {"None", "Odd", "Even"})
                built << QStringLiteral("%1  %2 ").arg(QLatin1String(baud), QLatin1String(parity));
        return built;
    }();
    return labels;
}

namespace {
// Built with the unit, before the window exists.
[[maybe_unused]] const QStringList& sweepLabelsAtLoad = SweepLabels();
} // namespace

template <class Sender, class Signal>
void TForm1::Connect(Sender* sender, Signal signal, void (TForm1::*handler)(QObject*))
{
    connect(sender, signal, this, [this, sender, handler] { GuardHandler([&] { (this->*handler)(sender); }); });
}

template <class Sender, class Signal>
void TForm1::Connect(Sender* sender, Signal signal, void (TForm1::*handler)(QObject*, int))
{
    connect(sender, signal, this, [this, sender, handler](int code) {
        GuardHandler([&] { (this->*handler)(sender, code); });
    });
}

TForm1::TForm1(DesignTimeOnly, QWidget* owner) : QMainWindow(owner)
{
    CreateControls();
    ConnectHandlers();
}

TForm1::TForm1(QWidget* owner) : TForm1(DesignTimeOnly{}, owner)
{
    Startup();
}

TForm1::~TForm1() = default;

void TForm1::ConnectHandlers()
{
    ClientArea->installEventFilter(this);
    Connect(N2, &QAction::triggered, &TForm1::N2Click);
    Connect(N3, &QAction::triggered, &TForm1::N3Click);
    Connect(English1, &QAction::triggered, &TForm1::English1Click);
    Connect(N8, &QAction::triggered, &TForm1::N8Click);
    Connect(Timer2, &QTimer::timeout, &TForm1::Timer2Timer);
    Connect(Button1, &QPushButton::clicked, &TForm1::Button1Click);
    Connect(ComboBox1, &ComboBox::Change, &TForm1::ComboBox1Change);
    for (ComboBox* lineSetting : {ComboBox2, ComboBox3, ComboBox4, ComboBox5})
        Connect(lineSetting, &ComboBox::Change, &TForm1::ComboBox2Change);
    Connect(ZelCommDevice1, &TZelCommDevice::OnPackage, &TForm1::ZelCommDevice1Package);
    Connect(ZelCommDevice1, &TZelCommDevice::OnCommNotify, &TForm1::ZelCommDevice1CommNotify);
    Connect(Button2, &QPushButton::clicked, &TForm1::Button2Click);
    Connect(Timer1, &QTimer::timeout, &TForm1::Timer1Timer);
    const std::pair<QPushButton*, void (TForm1::*)(QObject*)> buttons[] = {
        {Button3, &TForm1::Button3Click},   {Button4, &TForm1::Button4Click},   {Button5, &TForm1::Button5Click},
        {Button6, &TForm1::Button6Click},   {Button7, &TForm1::Button7Click},   {Button8, &TForm1::Button8Click},
        {Button23, &TForm1::Button23Click}, {Button24, &TForm1::Button24Click}, {Button12, &TForm1::Button12Click},
        {Button25, &TForm1::Button25Click}, {Button9, &TForm1::Button9Click},   {Button10, &TForm1::Button10Click},
        {Button17, &TForm1::Button17Click}, {Button18, &TForm1::Button18Click}, {Button19, &TForm1::Button19Click},
        {Button20, &TForm1::Button20Click}, {Button21, &TForm1::Button21Click}, {Button22, &TForm1::Button22Click},
        {Button26, &TForm1::Button26Click}, {Button27, &TForm1::Button27Click}, {Button13, &TForm1::Button13Click},
        {Button14, &TForm1::Button14Click}, {Button15, &TForm1::Button15Click}, {Button16, &TForm1::Button16Click},
    };
    for (const auto& [button, handler] : buttons)
        Connect(button, &QPushButton::clicked, handler);
    Connect(ComboBox9, &ComboBox::Change, &TForm1::ComboBox9Change);
    Connect(N5, &QAction::triggered, &TForm1::N5Click);
    Connect(N6, &QAction::triggered, &TForm1::N6Click);
    // A port that vanished is already closed; the caption must say so.
    connect(ZelCommDevice1, &TZelCommDevice::PortLost, this, [this] { GuardHandler([this] { ClosePort(*this); }); });
}

void TForm1::Startup()
{
    const TCommSerialPortInfo ports;
    ComboBox1->clear();
    ComboBox1->addItems(ports.Names());
    ComboBox1->setCurrentIndex(ports.Count() > 0 ? 0 : -1);
    if (ports.Count() == 0)
        ShowMessage(LocalizedText(StrNoComPort));
    else
        ZelCommDevice1->SetPortNo(PortNo(ComboBox1->currentText()));
    ApplyLanguage(*this, 2);
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        GuardHandler([this] { FormShow(this); });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    // Controls keep their place when the window is resized; only the status
    // bar follows the bottom edge over the full width.
    if (watched == ClientArea && event->type() == QEvent::Resize)
        StatusBar1->setGeometry(0, ClientArea->height() - 19, ClientArea->width(), 19);
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::FormShow(QObject*)
{
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet3), false);
    Edit1->setText(QString());
}

void TForm1::N8Click(QObject*)
{
    ShowMessage(QStringLiteral("Beta Ver:1.03"));
}

void TForm1::N2Click(QObject*)
{
    N2->setChecked(true);
    N3->setChecked(false);
    English1->setChecked(false);
    ApplyLanguage(*this, 0);
}

void TForm1::N3Click(QObject*)
{
    N2->setChecked(false);
    N3->setChecked(true);
    English1->setChecked(false);
    ApplyLanguage(*this, 1);
}

void TForm1::English1Click(QObject*)
{
    English1->setChecked(true);
    N3->setChecked(false);
    N2->setChecked(false);
    ApplyLanguage(*this, 2);
}

void TForm1::Timer2Timer(QObject*)
{
    ReceiveHold = false;
    Timer2->stop();
}

void TForm1::Button1Click(QObject*)
{
    if (ZelCommDevice1->Active())
        ClosePort(*this);
    else
        OpenPortFromSettings(*this);
}

void TForm1::ComboBox1Change(QObject*)
{
    ClosePort(*this);
    const int index = ComboBox1->currentIndex();
    ZelCommDevice1->SetPortNo(PortNo(index >= 0 ? ComboBox1->itemText(index) : QString()));
}

void TForm1::ComboBox2Change(QObject*)
{
    ClosePort(*this);
    OpenPortFromSettings(*this);
}

void TForm1::ZelCommDevice1CommNotify(QObject*, int)
{
    // Line errors are acted on through the package event only.
}

void TForm1::ZelCommDevice1Package(QObject*, int NotifyType)
{
    ReceivePackage(*this, NotifyType);
}

// Detection.
void TForm1::Button2Click(QObject*) { StartDetection(*this); }
void TForm1::Timer1Timer(QObject*) { DetectionTick(*this); }

// Parameter page. The serial rate has no read command: its Read button is
// hidden and does nothing.
void TForm1::Button3Click(QObject*) {}
void TForm1::Button4Click(QObject*) { SetSerialRate(*this); }
void TForm1::Button5Click(QObject*) { ReadAirRate(*this); }
void TForm1::Button6Click(QObject*) { SetAirRate(*this); }
void TForm1::Button7Click(QObject*) { ReadChannel(*this, Edit1); }
void TForm1::Button8Click(QObject*) { SetChannel(*this, Edit1); }
void TForm1::Button23Click(QObject*) { ReadPower(*this); }
void TForm1::Button24Click(QObject*) { SetPower(*this); }
void TForm1::Button12Click(QObject*) { SetWorkMode(*this); }
void TForm1::ComboBox9Change(QObject*) { WorkModeChanged(*this); }
void TForm1::Button25Click(QObject*) { SetFrameHead(*this); }

// Factory page.
void TForm1::Button9Click(QObject*) { StartCarrierTest(*this); }
void TForm1::Button10Click(QObject*) { StartZeroOneTest(*this); }
void TForm1::Button17Click(QObject*) { StartRxTest(*this); }
void TForm1::Button18Click(QObject*) { StopTest(*this); }
void TForm1::Button19Click(QObject*) { TrimUpFine(*this); }
void TForm1::Button20Click(QObject*) { TrimDownFine(*this); }
void TForm1::Button21Click(QObject*) { TrimUpCoarse(*this); }
void TForm1::Button22Click(QObject*) { TrimDownCoarse(*this); }
void TForm1::Button26Click(QObject*) { ReadChannel(*this, Edit4); }
void TForm1::Button27Click(QObject*) { SetChannel(*this, Edit4); }

// Frequency page and plan file.
void TForm1::Button13Click(QObject*) { StartFrequencyRead(*this, 1); }
void TForm1::Button14Click(QObject*) { StartFrequencyWrite(*this, 1); }
void TForm1::Button15Click(QObject*) { StartFrequencyRead(*this, 17); }
void TForm1::Button16Click(QObject*) { StartFrequencyWrite(*this, 17); }
void TForm1::N5Click(QObject*) { SavePlan(*this); }
void TForm1::N6Click(QObject*) { LoadPlan(*this); }

QLineEdit* TForm1::FindEdit(const QString& name) const
{
    return ClientArea->findChild<QLineEdit*>(name);
}

} // namespace radioset
