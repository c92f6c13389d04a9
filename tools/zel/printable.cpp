// Bytes shown to a person or a JSON reader.
#include "printable.h"

#include <cstdio>
#include <cstring>

namespace zeltool {

size_t Utf8SequenceLength(const unsigned char* text, size_t available)
{
    const unsigned char lead = text[0];
    size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;  // no overlong form
        else if (lead == 0xED)
            high = 0x9F;  // no surrogate
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;  // nothing above U+10FFFF
    } else
        return 0;
    if (available < length || text[1] < low || text[1] > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (text[i] < 0x80 || text[i] > 0xBF)
            return 0;
    return length;
}

std::string EscapeBytes(const std::string& text, const char* alsoEscaped, void (*escape)(unsigned char byte, std::string& out))
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::string escaped;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = bytes[i];
        if (c >= 0x20 && c < 0x7F && !std::strchr(alsoEscaped, c)) {
            escaped += static_cast<char>(c);
            ++i;
        } else if (const size_t length = c >= 0x80 ? Utf8SequenceLength(bytes + i, text.size() - i) : 0) {
            escaped.append(text, i, length);
            i += length;
        } else {
            escape(c, escaped);
            ++i;
        }
    }
    return escaped;
}

std::string EscapeForDisplay(const std::string& text)
{
    return EscapeBytes(text, "", [](unsigned char c, std::string& out) {
        char escaped[5];
        if (c == '\t' || c == '\n' || c == '\r')
            std::snprintf(escaped, sizeof escaped, "\\%c", c == '\t' ? 't' : c == '\n' ? 'n' : 'r');
        else
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
        out += escaped;
    });
}

std::string CutToLength(const std::string& text, size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    size_t end = maxBytes;
    // Back to the start of the sequence the cut falls into; a stray byte is a sequence of one.
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t start = end; start > 0 && start + 4 > end; --start) {
        const size_t length = Utf8SequenceLength(bytes + start - 1, text.size() - start + 1);
        if (length > 1 && start - 1 + length > end) {
            end = start - 1;
            break;
        }
    }
    return text.substr(0, end) + "...";
}

}  // namespace zeltool
