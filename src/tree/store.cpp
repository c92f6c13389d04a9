// Object store: the node factory, release of subtrees, deletion, and the parser's
// keeping of released nodes until FullInit or its own destruction.
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "core/counter.h"
#include "core/allocation_guard.h"
#include "lex/char_class.h"
#include "tree/block_pool.h"
#include "tree/node_access.h"
#include "zel/oid.h"
#include "zel/parser.h"

namespace zel {

char* CopyText(const char* text, size_t length)
{
    char* block = static_cast<char*>(std::malloc(length + 1));
    if (block) {
        std::memcpy(block, text, length);
        block[length] = '\0';
    }
    return block;
}

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

CZelOid* CZelParser::AddObj(int sem)
{
    CZelOid* node = new (std::nothrow) CZelOid(this);
    if (!node) {
        WriteMsg("Error allocating from heap.\n");
        return nullptr;
    }
    node->m_sem = sem;
    void* value = nullptr;
    bool failed = false;
    switch (GetSemanticKeywordType(sem)) {
    case zelKW_INTTOK: {
        bool outOfRange = false;
        bool malformed = false;
        const int number = zel::TextToInt(m_tok, outOfRange, &malformed);
        if (malformed || outOfRange)
            WarnNumber(sem, malformed, outOfRange ? zelERR_INT_RANGE : zelERR_NONE);
        if ((value = zel::AllocateNumberBlock()))
            *static_cast<int*>(value) = number;
        failed = !value;
        break;
    }
    case zelKW_REALTOK: {
        bool outOfRange = false;
        bool malformed = false;
        const double number = zel::TextToDouble(m_tok, &outOfRange, &malformed);
        if (malformed || outOfRange)
            WarnNumber(sem, malformed, outOfRange ? zelERR_REAL_RANGE : zelERR_NONE);
        if ((value = zel::AllocateNumberBlock()))
            *static_cast<double*>(value) = number;
        failed = !value;
        break;
    }
    case zelKW_STRTOK:
    case zelKW_IDENT: {
        const size_t length = std::strlen(m_tok);
        value = zel::CopyText(m_tok, length);
        failed = !value;
        if (value && m_statistics)
            zel::CountAdd(m_stringBytes, length + 1);
        break;
    }
    default:
        break;
    }
    if (failed) {
        WriteMsg("Error allocating from heap.\n");
        node->m_sem = -1;
        delete node;
        return nullptr;
    }
    node->Dlink = value;
    return node;
}

// Warns about the number token of a node that the parse makes: one that is not well formed,
// one out of range (range is its code, or zelERR_NONE). The nodes that editing makes by
// keyword take whatever the token text holds and get their value afterwards: no warning.
__attribute__((noinline, cold)) void CZelParser::WarnNumber(int sem, bool malformed, zelErrCode range)
{
    if (!m_parsingStream && !m_fromText)
        return;
    if (malformed)
        ReportError(zelERR_NUMBER_TEXT, sem);
    if (range != zelERR_NONE)
        ReportError(range, sem);
}

void CZelParser::RetainReleased(CZelOid* node)
{
    // Without memory to keep it, the free node is left to the client that may hold it.
    try {
        m_released.insert(node);
        node->m_sem = zel::kRetainedSem;
    } catch (const std::bad_alloc&) {
        WriteMsg("Error allocating from heap.\n");
    }
}

void CZelParser::ForgetReleased(const CZelOid* node) { m_released.erase(node); }

// A node stored through a parse entry's scratch cell that did not become a goal (a form
// read while an earlier form was left open, or one past the goal limit) is kept for
// deletion with the released nodes.
void CZelParser::KeepOrphan(CZelOid* node)
{
    // The top-level nodes that follow it go too, up to a goal, which takes its followers
    // along when it goes.
    while (node && !IsGoal(node)) {
        CZelOid* next = node->Nlink;
        try {
            m_released.insert(node);
        } catch (const std::bad_alloc&) {
            // No client can reach it: without memory to keep it, it goes at once.
            node->Nlink = nullptr;
            DeleteTree(node);
        }
        node = next;
    }
}

void CZelParser::DeleteReleased()
{
    std::unordered_set<const CZelOid*> released;
    released.swap(m_released);
    // A released node is free and has no children; a top-level node the goal table did
    // not take goes with its subtree.
    for (const CZelOid* node : released) {
        CZelOid* owned = const_cast<CZelOid*>(node);
        if (owned->m_sem == zel::kRetainedSem) {
            owned->m_sem = -1;
            delete owned;
        } else {
            DeleteTree(owned);
        }
    }
}

// Operations that take a node work only on nodes of this parser: another parser's node
// lives in that parser's trees and goal table, which this one must not change.
bool CZelParser::IsOwnNode(const CZelOid* node) const { return node && node->m_parser == this; }

bool CZelParser::IsGoal(const CZelOid* node) const
{
    for (int i = 0; i < m_goalCount; ++i)
        if (m_goals[i] == node)
            return true;
    return false;
}

// Finds the link (a parent's Clink or a sibling's Nlink) that holds node in the tree.
// A node without a parent link is looked for in every goal tree.
CZelOid** CZelParser::FindLinkTo(const CZelOid* node)
{
    if (CZelOid* parent = node->Plink) {
        if (parent->Clink == node)
            return &parent->Clink;
        for (CZelOid* c = parent->Clink; c; c = c->Nlink)
            if (c->Nlink == node)
                return &c->Nlink;
        return nullptr;
    }
    std::vector<CZelOid*> parents;
    for (int i = 0; i < m_goalCount; ++i) {
        for (CZelOid* n = m_goals[i]; n; n = n->Nlink) {
            if (n->Nlink == node)
                return &n->Nlink;
            if (n->Clink)
                parents.push_back(n);
        }
    }
    while (!parents.empty()) {
        CZelOid* parent = parents.back();
        parents.pop_back();
        if (parent->Clink == node)
            return &parent->Clink;
        for (CZelOid* c = parent->Clink; c; c = c->Nlink) {
            if (c->Nlink == node)
                return &c->Nlink;
            if (c->Clink)
                parents.push_back(c);
        }
    }
    return nullptr;
}

namespace {

// Visits first, its later siblings and all their subtrees, every node after its children,
// without recursion. Invariant: pending heads the chain of nodes still to visit; a node
// with children is put back behind its last child. visit may free or delete the node.
template <typename Visit>
void VisitChainPostOrder(CZelOid* first, CZelOid* CZelOid::*clink, CZelOid* CZelOid::*nlink, Visit visit)
{
    CZelOid* pending = first;
    while (pending) {
        CZelOid* node = pending;
        if (CZelOid* child = node->*clink) {
            CZelOid* last = child;
            while (last->*nlink)
                last = last->*nlink;
            last->*nlink = node;
            pending = child;
            node->*clink = nullptr;
            continue;
        }
        pending = node->*nlink;
        visit(node);
    }
}

}  // namespace

// Releases first, its later siblings and all their subtrees; the parser keeps them.
void CZelParser::ReleaseChain(CZelOid* first)
{
    VisitChainPostOrder(first, &CZelOid::Clink, &CZelOid::Nlink, [this](CZelOid* node) {
        if (node->m_sem >= 0) {
            node->FreeData();
            RetainReleased(node);
        }
    });
}

// The search of a node's link without a parent link may need memory; false when it ran
// out (reported), and nothing has changed then.
bool CZelParser::FindLink(const CZelOid* node, CZelOid**& link)
{
    return zel::GuardAllocation(*this, false, [&] {
        link = FindLinkTo(node);
        return true;
    });
}

bool CZelParser::ReleaseHead(CZelOid* node)
{
    CZelOid** link = nullptr;
    if (!FindLink(node, link))
        return false;
    const bool goal = IsGoal(node);
    if (!link && !goal) {
        // Not part of any tree (a client's own copy): only its own value goes.
        node->FreeData();
        return true;
    }
    if (link)
        *link = node->Nlink;
    ForgetSymbol(node);
    if (CZelOid* children = node->Clink) {
        node->Clink = nullptr;
        ReleaseChain(children);
    }
    node->FreeData();
    if (!goal)
        RetainReleased(node);
    return true;
}

// Deletes first, its later siblings and all their subtrees as objects.
void CZelParser::DeleteChain(CZelOid* first)
{
    VisitChainPostOrder(first, &CZelOid::Clink, &CZelOid::Nlink, [](CZelOid* n) { delete n; });
}

// Deletes node and its subtree as objects; node's own siblings are left alone.
void CZelParser::DeleteTree(CZelOid* node)
{
    CZelOid* children = node->Clink;
    node->Clink = nullptr;
    DeleteChain(children);
    delete node;
}

bool CZelParser::DropGoal(const CZelOid* node)
{
    for (int i = 0; i < m_goalCount; ++i) {
        if (m_goals[i] == node) {
            for (int j = i + 1; j < m_goalCount; ++j)
                m_goals[j - 1] = m_goals[j];
            m_goals[--m_goalCount] = nullptr;
            return true;
        }
    }
    return false;
}

// The node always leaves the chain that holds it, whatever the unlink flag says and also
// without a parent link: a link left pointing at a deleted node would be followed by the
// next walk of the tree or by the parser's teardown.
int CZelParser::DeleteObject(const CZelOid* node, int /*unlink*/)
{
    if (!node)
        return 1;
    if (!IsOwnNode(node))
        return 0;
    // A destroyed node never stays on a chain or in the goal table, whatever unlink says:
    // a link left pointing at it would lead to freed memory.
    CZelOid* target = const_cast<CZelOid*>(node);
    CZelOid** link = nullptr;
    if (!IsGoal(target) && !FindLink(target, link))
        return 0;
    ForgetSymbol(target);
    if (!DropGoal(target) && link)
        *link = target->Nlink;
    DeleteTree(target);
    return 1;
}

void CZelParser::DeleteAllObjects()
{
    CZelOid* goals[kMaxGoals];
    const int count = m_goalCount;
    for (int i = 0; i < count; ++i) {
        goals[i] = m_goals[i];
        m_goals[i] = nullptr;
    }
    m_goalCount = 0;
    auto isGoal = [&](const CZelOid* n) {
        for (int i = 0; i < count; ++i)
            if (goals[i] == n)
                return true;
        return false;
    };
    for (int i = 0; i < count; ++i) {
        if (!goals[i])
            continue;
        // Top-level nodes that follow a goal without being goals themselves go with it.
        CZelOid* next = goals[i]->Nlink;
        DeleteTree(goals[i]);
        while (next && !isGoal(next)) {
            CZelOid* after = next->Nlink;
            DeleteTree(next);
            next = after;
        }
    }
}
