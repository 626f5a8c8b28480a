#pragma once

// The text and wire forms of a channel frequency, without any window.

namespace radioset {

inline constexpr double FreqMinMHz = 100.0;
inline constexpr double FreqMaxMHz = 1000.0;

} // namespace radioset
