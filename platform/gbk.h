#pragma once

#include <QByteArray>
#include <QString>

namespace radioset {

// Code page 936 is the system's external encoding: the plan file is stored in
// it. Conversion goes through iconv, never through a table of our own.
// `ok` (when given) turns false when a character has no GBK form (it is
// written as '?') or when bytes are not valid GBK (they decode to U+FFFD).
QByteArray ToGbk(const QString& text, bool* ok = nullptr);
QString FromGbk(const QByteArray& bytes, bool* ok = nullptr);

} // namespace radioset
