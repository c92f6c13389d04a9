// Keyword index and the lookups through which every step reads the grammar tables.
#include <cstring>
#include <new>

#include "core/grammar_check.h"
#include "core/name_index.h"
#include "zel/parser.h"

namespace {

const char* const kTypeNames[] = {
    "zelKW_DUMMY", "zelKW_FORM",   "zelKW_EOFORM", "zelKW_COMPOSITE", "zelKW_INTTOK",   "zelKW_REALTOK",
    "zelKW_STRTOK", "zelKW_IDENT", "zelKW_LIT",    "zelKW_EOFILE",    "zelKW_EMPTYFORM"};

const char* const kFlagNames[] = {"S_REQ",  "S_OPT",  "S_LIT",  "S_ONCE",
                                  "S_REQG", "S_OPTG", "S_REPG", "S_GRPHEAD"};

// Scratch text of SemtypeToStr, one per thread.
thread_local char t_semtypeText[512];

}  // namespace

bool CZelParser::HasGrammar() const
{
    if (m_grammarState == kGrammarUnchecked)
        CheckGrammar();
    return m_grammarState == kGrammarValid;
}

// The tables are checked at their first use rather than at construction, so that the
// report of malformed tables reaches the message hooks of a derived class.
__attribute__((noinline, cold)) void CZelParser::CheckGrammar() const
{
    // Without memory for the check the tables stay unchecked: the next use tries again.
    try {
        m_grammarState = zel::CheckGrammarTables(m_grammar, m_grammarFault, m_semRows) ? kGrammarValid : kGrammarMalformed;
    } catch (const std::bad_alloc&) {
        m_grammarFault.clear();
    }
}

// HasGrammar for the operations that may make the first use of the tables: malformed
// tables are reported there, once, and every refusal sets the error state.
bool CZelParser::UseGrammar()
{
    if (HasGrammar())
        return true;
    if (m_grammarState == kGrammarUnchecked)
        WriteMsg("Error allocating from heap.\n");
    if (m_grammarState == kGrammarMalformed) {
        if (!m_grammarReported) {
            m_grammarReported = true;
            ReportError(zelERR_GRAMMAR_TABLES, -1);
        }
        m_errno = zelERRNO_GRAMMAR;
    }
    return false;
}

// A failed allocation leaves both indexes empty, never half built, and is passed on to
// the operation's own guard.
int CZelParser::LoadKeywords()
{
    if (!HasGrammar())
        return 1;
    try {
        for (int k = 0; k < m_grammar.kwCount; ++k) {
            const zelKeywordS& row = m_grammar.kwTable[k];
            CString key(row.name);
            if (row.type == zelKW_LIT)
                key.MakeUpper();
            else
                key.MakeLower();
            m_keywords[key] = reinterpret_cast<void*>(static_cast<intptr_t>(k));
        }
        m_names->Build(m_grammar.kwTable, m_grammar.kwCount);
    } catch (const std::bad_alloc&) {
        m_keywords.RemoveAll();
        m_names->Clear();
        throw;
    }
    return 1;
}

const char* CZelParser::SemtypeToStr(int flags)
{
    char* out = t_semtypeText;
    std::strcpy(out, "S_DUMMY");
    for (int bit = 0; bit < 8; ++bit) {
        if (flags & (1 << bit)) {
            std::strcat(out, " | ");
            std::strcat(out, kFlagNames[bit]);
        }
    }
    return out;
}

const char* CZelParser::KwtypeToStr(int type)
{
    if (type < zelKW_DUMMY || type > zelKW_EMPTYFORM)
        return "";
    return kTypeNames[type];
}

zelTokTyp CZelParser::GetSemanticKeywordType(int i) const
{
    return static_cast<zelTokTyp>(m_grammar.kwTable[m_grammar.semTable[i].keywordId].type);
}

int CZelParser::GetSemanticKeywordId(int i) const { return m_grammar.semTable[i].keywordId; }

const char* CZelParser::GetSemanticKeyword(int i) const
{
    if (i < 0)
        return nullptr;
    return m_grammar.kwTable[m_grammar.semTable[i].keywordId].name;
}

int CZelParser::GetKeywordSemanticId(int k) const
{
    if (k < 0)
        return -1;
    return m_grammar.kwTable[k].semanticId;
}

int CZelParser::GetSemanticHead(int i) const
{
    if (i < 0)
        return -1;
    return m_grammar.kwTable[m_grammar.semTable[i].keywordId].semanticId;
}

const char* CZelParser::GetKeyword(int k) const
{
    if (!HasGrammar() || k < 0 || k >= m_grammar.kwCount)
        return "";
    return m_grammar.kwTable[k].name;
}

int CZelParser::GetKeywordType(int k) const { return m_grammar.kwTable[k].type; }

int CZelParser::GetGroupHead(int i) const
{
    const int groupBits = S_REQG | S_OPTG | S_REPG;
    if (!HasGrammar() || i < 0 || i >= m_semRows || !(m_grammar.semTable[i].semType & groupBits))
        return -1;
    for (int row = i; row >= 0; --row)
        if (m_grammar.semTable[row].semType & S_GRPHEAD)
            return row;
    return -1;
}
