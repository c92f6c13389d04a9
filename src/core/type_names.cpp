// The text of a flag word, from the flag names.
#include "core/type_names.h"

#include <cstring>

namespace zel {

namespace {

// Scratch text of FlagsText, one per thread: long enough for every flag name.
thread_local char t_flagsText[512];

}  // namespace

const char* FlagsText(int flags)
{
    char* out = t_flagsText;
    std::strcpy(out, "S_DUMMY");
    for (int bit = 0; bit < kFlagCount; ++bit) {
        if (flags & (1 << bit)) {
            std::strcat(out, " | ");
            std::strcat(out, kFlagNames[bit]);
        }
    }
    return out;
}

}  // namespace zel
