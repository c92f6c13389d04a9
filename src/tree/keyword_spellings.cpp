// The side table of keyword spellings.
#include "tree/keyword_spellings.h"

#include <new>
#include <string>

namespace zel {

bool KeywordSpellings::Keep(const CZelOid* node, const char* text, size_t length)
{
    try {
        m_spellings[node].assign(text, length);
        return true;
    } catch (const std::bad_alloc&) {
        m_spellings.erase(node);
        return false;
    }
}

bool KeywordSpellings::Copy(const CZelOid* original, const CZelOid* copy)
{
    // The map's entries stay where they are when it grows: spelling remains valid.
    const char* spelling = Of(original);
    return !spelling || Keep(copy, spelling, std::char_traits<char>::length(spelling));
}

}  // namespace zel
