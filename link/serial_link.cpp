#include "link/serial_link.h"

#include "platform/dialogs.h"
#include "platform/serial/comm_device.h"
#include "shell/form1.h"
#include "texts/texts.h"

#include <QPushButton>

#include <array>

namespace radioset {

namespace {

struct BaudChoice {
    TBaudRate baud;
    int packageInterval; // ms of silence that end a package
};

// Slow rates need a longer gap: at 1200 baud one byte alone takes 8 ms.
constexpr std::array<BaudChoice, 6> kBaudChoices{{
    {br1200, 100},
    {br2400, 100},
    {br4800, 100},
    {br9600, 50},
    {br19200, 50},
    {br38400, 50},
}};
constexpr std::array<int, 3> kDataBits{7, 8, 9};
constexpr std::array<TParity, 3> kParities{ptNoParity, ptOddParity, ptEvenParity};
constexpr std::array<TStopBits, 2> kStopBits{sbOneStopBit, sbTwoStopBit};

// The selected index when it names an entry of the table, else nothing.
template <class Table>
const typename Table::value_type* chosen(const ComboBox* box, const Table& table)
{
    const int index = box->currentIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= table.size())
        return nullptr;
    return &table[static_cast<std::size_t>(index)];
}

} // namespace

void ClosePort(TForm1& f)
{
    f.ZelCommDevice1->SetActive(false);
    f.Button1->setText(LocalizedText(StrOpen));
}

void OpenPortFromSettings(TForm1& f)
{
    TZelCommDevice& port = *f.ZelCommDevice1;
    if (const BaudChoice* choice = chosen(f.ComboBox2, kBaudChoices)) {
        port.SetBaud(choice->baud);
        port.SetPackageInterval(choice->packageInterval);
    }
    if (const int* bits = chosen(f.ComboBox3, kDataBits))
        port.SetByteSize(*bits);
    if (const TParity* parity = chosen(f.ComboBox4, kParities))
        port.SetParity(*parity);
    if (const TStopBits* stopBits = chosen(f.ComboBox5, kStopBits))
        port.SetStopBits(*stopBits);

    try {
        port.SetActive(true);
    } catch (const Exception& error) {
        ShowMessage(QStringLiteral("错误类型: ") + error.message());
        return;
    }
    f.Button1->setText(LocalizedText(StrClose));
}

} // namespace radioset
