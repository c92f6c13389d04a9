// The grammar a parser works under: check at first use, lookups and the keyword index.
#include "core/grammar_tables.h"

#include <cstdint>
#include <new>

#include "core/allocation_guard.h"
#include "core/conventions.h"
#include "core/grammar_check.h"
#include "diag/reporter.h"

namespace zel {

GrammarTables::GrammarTables(const zelParserS* descriptor)
    : m_tables(), m_state(descriptor ? kUnchecked : kNone), m_keywords(10)
{
    if (descriptor)
        m_tables = *descriptor;
}

bool GrammarTables::Has() const
{
    if (m_state == kUnchecked)
        Check();
    return m_state == kValid;
}

// The tables are checked at their first use rather than at construction, so that the
// report of malformed tables reaches the message hooks of a derived parser.
__attribute__((noinline, cold)) void GrammarTables::Check() const
{
    // Without memory for the check the tables stay unchecked: the next use tries again.
    try {
        m_state = CheckGrammarTables(m_tables, m_fault, m_semRows) ? kValid : kMalformed;
    } catch (const std::bad_alloc&) {
        m_fault.clear();
    }
}

bool GrammarTables::Use(Reporter& reporter)
{
    if (Has())
        return true;
    if (m_state == kUnchecked)
        reporter.OutOfMemory();
    if (m_state == kMalformed) {
        if (!m_reported) {
            m_reported = true;
            reporter.Report(zelERR_GRAMMAR_TABLES, -1);
        }
        reporter.SetState(kStateGrammar);
    }
    return false;
}

void GrammarTables::LoadKeywords()
{
    if (!Has())
        return;
    try {
        for (int k = 0; k < m_tables.kwCount; ++k) {
            const zelKeywordS& row = m_tables.kwTable[k];
            CString key(row.name);
            if (row.type == zelKW_LIT)
                key.MakeUpper();
            else
                key.MakeLower();
            m_keywords[key] = reinterpret_cast<void*>(static_cast<intptr_t>(k));
        }
        m_names.Build(m_tables.kwTable, m_tables.kwCount);
    } catch (const std::bad_alloc&) {
        ClearKeywords();
        throw;
    }
}

bool GrammarTables::EnsureKeywords(Reporter& reporter)
{
    if (KeywordsLoaded())
        return true;
    return GuardAllocation(reporter, false, [&] {
        LoadKeywords();
        return true;
    });
}

void GrammarTables::ClearKeywords()
{
    m_keywords.RemoveAll();
    m_names.Clear();
}

bool GrammarTables::IsKeywordKey(const char* text) const
{
    void* unused = nullptr;
    return m_keywords.Lookup(text, unused);
}

const char* GrammarTables::KeywordName(int keyword) const
{
    if (!Has() || keyword < 0 || keyword >= m_tables.kwCount)
        return "";
    return m_tables.kwTable[keyword].name;
}

int GrammarTables::GroupHead(int element) const
{
    const int groupBits = S_REQG | S_OPTG | S_REPG;
    if (!Has() || element < 0 || element >= m_semRows || !(m_tables.semTable[element].semType & groupBits))
        return -1;
    for (int row = element; row >= 0; --row)
        if (m_tables.semTable[row].semType & S_GRPHEAD)
            return row;
    return -1;
}

}  // namespace zel
