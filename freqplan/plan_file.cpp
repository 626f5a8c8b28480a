#include "freqplan/plan_file.h"

#include "freqplan/channel_edits.h"
#include "platform/dialogs.h"
#include "platform/inifile.h"
#include "shell/form1.h"

#include <QGroupBox>
#include <QLineEdit>

#include <functional>

namespace radioset {

namespace {

// The default a load puts into a channel the file does not name. It is not a
// frequency on purpose: a Set of that half stops at the channel with the
// range message instead of sending something the operator never chose.
const QString MissingFrequency = QStringLiteral("000000");

// Every frequency edit of the page, a group at a time and within a group
// the transmit edits before the receive edits, each with its channel.
void ForEachFrequencyEdit(TForm1& form, const std::function<void(QLineEdit&, bool transmit, int channel)>& visit)
{
    for (int first : {1, 17}) {
        for (bool transmit : {true, false}) {
            for (int channel = first; channel < first + 16; ++channel) {
                QLineEdit* edit = transmit ? TxFrequencyEdit(form, channel) : RxFrequencyEdit(form, channel);
                if (edit)
                    visit(*edit, transmit, channel);
            }
        }
    }
}

} // namespace

void SavePlan(TForm1& form)
{
    const std::optional<QString> file = ExecuteFileDialog(&form, form.SaveDialog1);
    if (!file)
        return;
    IniFile ini(*file);
    ini.WriteString(QStringLiteral("公司"), QStringLiteral("名称"), QStringLiteral("Kelvorin"));
    // An empty edit writes nothing, so a key already in the file keeps its
    // older value.
    ForEachFrequencyEdit(form, [&](QLineEdit& edit, bool transmit, int channel) {
        if (edit.text().isEmpty())
            return;
        const QString section = transmit ? QStringLiteral("TX") : QStringLiteral("RX");
        ini.WriteString(section, section + QString::number(channel), edit.text());
    });
    // One save for the whole plan: the file is either the old one or the new
    // one, never half of each.
    ini.UpdateFile();
}

void LoadPlan(TForm1& form)
{
    const std::optional<QString> file = ExecuteFileDialog(&form, form.OpenDialog1);
    if (!file)
        return;
    const IniFile ini(*file);
    ForEachFrequencyEdit(form, [&](QLineEdit& edit, bool transmit, int channel) {
        const QString section = transmit ? QStringLiteral("Tx") : QStringLiteral("Rx");
        const QString value = ini.ReadString(section, section + QString::number(channel), MissingFrequency);
        // The typing limit must not cut what the file holds; a longer value
        // is loaded whole and the limit grows to it for this edit.
        if (edit.maxLength() < value.size())
            edit.setMaxLength(static_cast<int>(value.size()));
        edit.setText(value);
    });
}

} // namespace radioset
