#include "freqplan/plan_file.h"

#include "freqplan/channel_edits.h"
#include "freqplan/plan_format.h"
#include "platform/dialogs.h"
#include "platform/inifile.h"
#include "shell/form1.h"

#include <QGroupBox>
#include <QLineEdit>

namespace radioset {

namespace {

QLineEdit* FrequencyEdit(TForm1& form, bool transmit, int channel)
{
    return transmit ? TxFrequencyEdit(form, channel) : RxFrequencyEdit(form, channel);
}

} // namespace

void SavePlan(TForm1& form)
{
    const std::optional<QString> file = ExecuteFileDialog(&form, form.SaveDialog1);
    if (!file)
        return;
    IniFile ini(*file);
    WritePlanEntries(ini, [&](bool transmit, int channel) {
        const QLineEdit* edit = FrequencyEdit(form, transmit, channel);
        return edit ? edit->text() : QString();
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
    ForEachPlanEntry([&](bool transmit, int channel) {
        QLineEdit* edit = FrequencyEdit(form, transmit, channel);
        if (!edit)
            return;
        const QString value = ReadPlanEntry(ini, transmit, channel);
        // The typing limit must not cut what the file holds; a longer value
        // is loaded whole and the limit grows to it for this edit.
        if (edit->maxLength() < value.size())
            edit->setMaxLength(static_cast<int>(value.size()));
        edit->setText(value);
    });
}

} // namespace radioset
