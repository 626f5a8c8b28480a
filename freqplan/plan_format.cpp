#include "freqplan/plan_format.h"

#include "platform/inifile.h"

namespace radioset {

void ForEachPlanEntry(const std::function<void(bool transmit, int channel)>& visit)
{
    // The window's two groups of sixteen, each listing its transmit edits
    // before its receive edits; keys land in their sections in this order.
    for (int first : {1, PlanChannelCount / 2 + 1})
        for (bool transmit : {true, false})
            for (int channel = first; channel < first + PlanChannelCount / 2; ++channel)
                visit(transmit, channel);
}

void WritePlanEntries(IniFile& ini, const std::function<QString(bool transmit, int channel)>& text)
{
    ini.WriteString(QStringLiteral("公司"), QStringLiteral("名称"), QStringLiteral("Kelvorin"));
    ForEachPlanEntry([&](bool transmit, int channel) {
        const QString value = text(transmit, channel);
        if (value.isEmpty())
            return;
        const QString section = transmit ? QStringLiteral("TX") : QStringLiteral("RX");
        ini.WriteString(section, section + QString::number(channel), value);
    });
}

QString ReadPlanEntry(const IniFile& ini, bool transmit, int channel)
{
    const QString section = transmit ? QStringLiteral("Tx") : QStringLiteral("Rx");
    return ini.ReadString(section, section + QString::number(channel), MissingPlanFrequency);
}

} // namespace radioset
