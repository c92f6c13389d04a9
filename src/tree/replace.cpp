// Value replacement: a node's value is replaced in place by a value of its own kind.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "tree/block_pool.h"
#include "core/parser_access.h"
#include "edit/read_back.h"
#include "diag/messages.h"
#include "lex/number_text.h"
#include "output/writer.h"
#include "tree/node_access.h"
#include "tree/node_fields.h"
#include "tree/symbols.h"
#include "zel/oid.h"

namespace {

// Gives a number node its value block when it has none; false when out of memory.
bool EnsureNumberBlock(void*& block, CZelParser* parser)
{
    if (!block)
        block = zel::PoolAllocate(zel::kNumberBlockSize);
    if (!block && parser)
        zel::WriteHeapMessage(*parser);
    return block != nullptr;
}

}  // namespace

int CZelOid::ReplaceData(int value) const
{
    if (m_sem < 0 || GetObjType() != zelKW_INTTOK || !EnsureNumberBlock(Dlink, m_parser))
        return 0;
    *static_cast<int*>(Dlink) = value;
    return 1;
}

int CZelOid::ReplaceData(double value) const
{
    if (m_sem < 0 || GetObjType() != zelKW_REALTOK || !std::isfinite(value) || !EnsureNumberBlock(Dlink, m_parser))
        return 0;
    *static_cast<double*>(Dlink) = value;
    return 1;
}

namespace {

// True when the children of node's parent read back with node's value as it stands.
bool SiblingsReadBack(const CZelOid* node)
{
    return zel::ParserAccess::Of(*zel::OwnerOf(node)).ReadBackCheck().ChildrenReadBack(zel::ParentOf(node));
}

// Replaces the text of a word node. The word is written as itself when the children of its
// parent then read back, else marked when they read back so; a word whose siblings do not
// read back even with its old value is written as itself. Results as ReplaceNodeText.
int ReplaceWordText(const CZelOid* node, const char* text, size_t length)
{
    if (!zel::CanWriteText(zel::OwnerOf(node), zelKW_WORDTOK, text, length))
        return -1;
    char* const old = static_cast<char*>(zel::ValueOf(node));
    char* chosen = nullptr;
    for (int marked = 0; marked < 2 && !chosen; ++marked) {
        char* block = zel::CopyWord(text, length, marked != 0);
        if (!block) {
            zel::WriteHeapMessage(*zel::OwnerOf(node));
            return -4;
        }
        zel::ValueOf(node) = block;
        bool fits = !zel::ParentOf(node) || SiblingsReadBack(node);
        zel::ValueOf(node) = old;
        // Siblings that did not read back with the old value either are no reason to refuse.
        if (!fits && !marked)
            fits = !SiblingsReadBack(node);
        if (fits)
            chosen = block;
        else
            std::free(block);
    }
    if (!chosen)
        return -1;
    zel::ForgetSymbol(node);
    zel::ValueOf(node) = chosen;
    std::free(old);
    zel::EnterSymbolIfHashed(node);
    return 1;
}

}  // namespace

int zel::ReplaceNodeText(const CZelOid* node, const char* text, size_t length)
{
    const int type = node->GetObjType();
    if (SemOf(node) < 0 || !text || (type != zelKW_STRTOK && type != zelKW_IDENT && type != zelKW_WORDTOK))
        return 0;
    if (type == zelKW_WORDTOK)
        return ReplaceWordText(node, text, length);
    if (!CanWriteText(OwnerOf(node), type, text, length))
        return -1;
    char* old = static_cast<char*>(ValueOf(node));
    char* block = old;
    if (!old || std::strlen(old) <= length) {
        block = static_cast<char*>(std::malloc(length + 1));
        if (!block) {
            WriteHeapMessage(*OwnerOf(node));
            return -4;
        }
    }
    ForgetSymbol(node);
    // The old block goes only after the text has been copied out of it.
    std::memmove(block, text, length);
    block[length] = '\0';
    if (block != old) {
        ValueOf(node) = block;
        std::free(old);
    }
    EnterSymbolIfHashed(node);
    return 1;
}

void zel::EnterSymbolIfHashed(const CZelOid* node)
{
    const zelSemanticS* row = SemanticRowOf(node);
    if (ParserAccess::Of(*OwnerOf(node)).symbolHashing && row && (row->attributes & kHashedSymbol))
        OwnerOf(node)->StoreSymbol(node, static_cast<const char*>(ValueOf(node)));
}

int CZelOid::ReplaceData(const char* text) const
{
    return zel::ReplaceNodeText(this, text, text ? std::strlen(text) : 0) == 1 ? 1 : 0;
}

int CZelOid::ReplaceData(const CString& text) const { return ReplaceData(static_cast<const char*>(text)); }

int CZelOid::ReplaceData(CStringList&) const { return 0; }

namespace zel {

int ReplaceValueText(const CZelOid* node, const char* text)
{
    bool outOfRange = false;
    switch (node->GetKeywordType()) {
    case zelKW_INTTOK:
        return node->ReplaceData(TextToInt(text, outOfRange)) ? 0 : -4;
    case zelKW_REALTOK: {
        const double value = TextToDouble(text);
        if (!std::isfinite(value))
            return -1;
        return node->ReplaceData(value) ? 0 : -4;
    }
    case zelKW_STRTOK:
    case zelKW_IDENT:
    case zelKW_WORDTOK: {
        const int result = ReplaceNodeText(node, text, std::strlen(text));
        return result < 0 ? result : 0;
    }
    default:
        return 0;
    }
}

}  // namespace zel
