#pragma once

// The frequency plan file's layout, shared by the window's Save/Read config
// and radioset-cli: a company entry first, then sections TX and RX with keys
// TX<n>/RX<n>; a load asks for "Tx"/"Rx" (names compare without case) and
// puts "000000" where the file names no frequency.

#include <QString>

#include <functional>

namespace radioset {

class IniFile;

inline constexpr int PlanChannelCount = 32;

// Not a frequency on purpose: writing a plan stops at such a channel with
// the range message instead of sending something the operator never chose.
inline const QString MissingPlanFrequency = QStringLiteral("000000");

// Visits the 64 plan texts in the order a save writes them: channels 1..16
// (transmit, then receive), then channels 17..32 likewise.
void ForEachPlanEntry(const std::function<void(bool transmit, int channel)>& visit);

// Writes the company entry and every non-empty text from `text`. An empty
// text writes nothing, so a key already in the file keeps its older value.
// Only the copy in memory changes; the caller saves with UpdateFile().
void WritePlanEntries(IniFile& ini, const std::function<QString(bool transmit, int channel)>& text);

// The text a load gives for one channel and direction.
QString ReadPlanEntry(const IniFile& ini, bool transmit, int channel);

} // namespace radioset
