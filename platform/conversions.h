#pragma once

#include <QString>

namespace radioset {

// Text-to-number conversions with the syntax and error texts the operator
// knows from the original tool. Both raise EConvertError carrying the text as
// given; the general error box adds the full stop.
//
// A blank is the space character only; tabs and other white space are not
// skipped. Only the ASCII digits count as digits.

// Leading blanks, then either an optional sign and decimal digits that fit a
// signed 32-bit integer, or a hexadecimal prefix ("$", "x" or "0x", x in
// either case) and hexadecimal digits that fit 32 bits ("$FFFFFFFF" is -1).
// Nothing may follow the digits, not even a blank; a sign never goes with a
// hexadecimal prefix. Leading zeros do not count against the limits.
//
// The hexadecimal pairs of a frequency's digit text are read by passing
// "0x" + pair here: the error then names the text with its prefix, as the
// operator is used to.
int StrToInt(const QString& text);

// Optional blanks, an optional sign, digits with an optional point (".",
// whatever the locale), an optional exponent ("E" or "e", an optional sign,
// digits), optional blanks. The mantissa needs a digit on at least one side
// of the point, so ".5" and "5." are numbers and "." is not. No "inf", "nan"
// or hexadecimal forms. A value beyond the range of double is refused rather
// than returned as an infinity; one too small to represent becomes zero.
//
// Double precision is enough: callers compare against double limits, and
// the result can differ from an extended-precision reading only for texts
// with more than 17 significant digits, which are never valid frequency
// texts anyway.
double StrToFloat(const QString& text);

} // namespace radioset
