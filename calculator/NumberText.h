#pragma once

#include <QString>
#include <cstdint>

// The number texts the calculator reads and writes.
namespace NumberText {

// Blanks skipped wherever they stand, an optional minus sign, then the decimal digits up to
// the first other character; no digits give 0. Saturates at the 32-bit limits.
int32_t leadingValue(const QString &text);

// "5", "-7".
QString plain(int32_t value);

// " 5", " 0", "-7": how raw frame counts are shown.
QString signedText(int32_t value);

// The pattern "00:00:00:00" applied to a text up to its first NUL: digits alone become four
// pairs joined by colons (zero-padded to eight digits, extra leading digits kept in the
// first pair); any other text is returned as it stands.
QString formatPattern(const QString &text);

// The text as it is shown: up to its first NUL.
QString shown(const QString &text);

} // namespace NumberText
