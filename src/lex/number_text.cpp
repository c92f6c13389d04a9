// Number conversion of token texts.
#include "lex/number_text.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "lex/char_class.h"

namespace zel {

int TextToInt(const char* text, bool& outOfRange, bool* malformed)
{
    outOfRange = false;
    while (IsSpace(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    const char* digits = text;
    long long value = 0;
    for (; IsDigit(*text); ++text) {
        if (value <= static_cast<long long>(INT_MAX) + 1)
            value = value * 10 + (*text - '0');
    }
    if (malformed)
        *malformed = text == digits || *text != '\0';
    if (negative)
        value = -value;
    if (value > INT_MAX) {
        outOfRange = true;
        return INT_MAX;
    }
    if (value < INT_MIN) {
        outOfRange = true;
        return INT_MIN;
    }
    return static_cast<int>(value);
}

namespace {

// The end of the longest leading part of text that reads as a real (leading whitespace, an optional sign,
// digits with at most one period and at least one digit, and an optional exponent of E or
// e, an optional sign and digits), or text itself when none does: the part that the
// conversions read. Sets nonzero when that part has a nonzero digit before its exponent.
const char* RealPrefixEnd(const char* text, bool& nonzero)
{
    nonzero = false;
    const char* p = text;
    while (IsSpace(*p))
        ++p;
    if (*p == '+' || *p == '-')
        ++p;
    bool digits = false;
    for (; IsDigit(*p); ++p) {
        digits = true;
        nonzero = nonzero || *p != '0';
    }
    if (*p == '.') {
        for (++p; IsDigit(*p); ++p) {
            digits = true;
            nonzero = nonzero || *p != '0';
        }
    }
    if (!digits) {
        nonzero = false;
        return text;
    }
    if (*p == 'E' || *p == 'e') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-')
            ++q;
        if (IsDigit(*q)) {
            while (IsDigit(*q))
                ++q;
            p = q;
        }
    }
    return p;
}

// Digits at p as a whole number; p is left at the first other character.
inline unsigned long long ReadDigits(const char*& p, unsigned long long mantissa)
{
    for (unsigned digit; (digit = static_cast<unsigned char>(*p) - static_cast<unsigned>('0')) < 10; ++p)
        mantissa = mantissa * 10 + digit;
    return mantissa;
}

// The runtime's conversion of a real text, correctly rounded: the fast one, and anything it
// does not take goes to the general one.
double ConvertReal(const char* text)
{
    const char* p = *text == '-' ? text + 1 : text;
    if ((*p >= '0' && *p <= '9') || *p == '.') {
        double value = 0.0;
        const auto parsed = std::from_chars(text, text + std::strlen(text), value);
        if (parsed.ec == std::errc())
            return value;
    }
    return std::atof(text);
}

// Real texts other than short plain decimals. A value beyond the largest finite double
// keeps the nearest finite one: an infinity would be written as text that does not read
// back as a number. A nonzero value below the smallest double reads as 0 and is out of
// range too. Only here is the text checked for being well formed: the short plain decimals
// of the fast path are, by their construction.
__attribute__((noinline)) double GeneralTextToDouble(const char* text, bool* outOfRange, bool* malformed)
{
    double value = ConvertReal(text);
    bool beyond = std::isinf(value);
    if (beyond)
        value = std::copysign(DBL_MAX, value);
    if (outOfRange || malformed) {
        bool nonzero = false;
        const char* end = RealPrefixEnd(text, nonzero);
        beyond = beyond || (value == 0.0 && nonzero);
        if (malformed && (end == text || *end != '\0'))
            *malformed = true;
    }
    if (beyond && outOfRange)
        *outOfRange = true;
    return value;
}

}  // namespace

double TextToDouble(const char* text, bool* outOfRange, bool* malformed)
{
    // A plain decimal of at most 15 digits is an exact integer divided by an exact power
    // of ten, which IEEE division rounds correctly: the same double the runtime gives.
    static const double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const bool negative = *text == '-';
    const char* p = negative ? text + 1 : text;
    const char* digits = p;
    unsigned long long mantissa = ReadDigits(p, 0);
    size_t count = static_cast<size_t>(p - digits);
    size_t decimals = 0;
    if (*p == '.') {
        const char* fraction = ++p;
        mantissa = ReadDigits(p, mantissa);
        decimals = static_cast<size_t>(p - fraction);
        count += decimals;
    }
    if (*p != '\0' || count == 0 || count > 15)
        return GeneralTextToDouble(text, outOfRange, malformed);
    const double value = static_cast<double>(mantissa) / kPowers[decimals];
    return negative ? -value : value;
}

}  // namespace zel
