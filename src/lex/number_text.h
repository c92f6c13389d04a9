// Number conversion of token texts: the values that number tokens and number texts read as.
#ifndef ZEL_LEX_NUMBER_TEXT_H
#define ZEL_LEX_NUMBER_TEXT_H

namespace zel {

// Converts a number text the way atoi does, keeping the nearest 32-bit value when the
// number is out of range; sets outOfRange then. When malformed is given, it is set to
// whether the text is anything but an optional sign and digits (after leading whitespace).
int TextToInt(const char* text, bool& outOfRange, bool* malformed = nullptr);

// Converts a number text the way atof does (the longest prefix that reads as a number;
// 0 when none), with the same correctly rounded result; a value beyond the double range
// keeps the nearest finite value, and a nonzero text below it reads as 0: both set
// *outOfRange when given. *malformed, when given, is set when the text is not one whole
// real (optional sign, digits with at most one period, optional exponent); it is left
// alone otherwise.
double TextToDouble(const char* text, bool* outOfRange = nullptr, bool* malformed = nullptr);

}  // namespace zel

#endif
