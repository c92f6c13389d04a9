// The report of a number token that changes on reading, the spellings kept by a word and
// by a keyword, the end-of-form test and the skips to the end of a form.
#include <cstring>

#include "diag/reporter.h"
#include "lex/lexer.h"
#include "lex/spelling.h"
#include "parse/form_parser.h"
#include "tree/node_store.h"
#include "zel/oid.h"

namespace zel {

__attribute__((noinline, cold)) void FormParser::WarnNumber(int e, const NumberFaults& faults)
{
    if (faults.malformed)
        m_reporter.Report(zelERR_NUMBER_TEXT, e);
    if (faults.range != zelERR_NONE)
        m_reporter.Report(faults.range, e);
}

// True when the current token, taken as a word, reads back as a token of its own type only
// with the marked spelling ("&1" under the plain rules, "'1'" under the extended rules).
__attribute__((noinline)) bool FormParser::WordTokenMarked() const
{
    const Token& token = m_lexer.Current();
    return WordNeedsMark(token.text, token.length, token.type, m_lexer.Settings(&m_names));
}

// A form or literal keyword read in a spelling other than the grammar's name keeps it for
// the writer; a keyword read as declared costs nothing. Returns node; null for a null node
// or when memory ran out (the node deleted, reported). Kept out of line so that the engines
// pay one test of the option per node.
CZelOid* FormParser::KeepKeywordCase(CZelOid* node, int e)
{
    const zelKeywordS& keyword = m_tables.kwTable[Row(e).keywordId];
    if (!node || (keyword.type != zelKW_FORM && keyword.type != zelKW_LIT))
        return node;
    const Token& token = m_lexer.Current();
    const char* name = keyword.name;
    if (std::strncmp(name, token.text, token.length) == 0 && name[token.length] == '\0')
        return node;
    if (m_store.KeepSpelling(node, token.text, token.length))
        return node;
    delete node;
    return nullptr;
}

// What a made node takes beyond its value: its keyword's letter case, its comments.
__attribute__((noinline)) CZelOid* FormParser::AfterMake(CZelOid* node, int e)
{
    if (m_keepKeywordCase)
        node = KeepKeywordCase(node, e);
    if (m_comments && node)
        m_comments->NodeMade(node, TypeOf(e) == zelKW_FORM);
    return node;
}

int FormParser::FormSatis(int e) const
{
    for (int n = Row(e).next; n; n = Row(n).next)
        if (Row(n).semType == S_REQ)
            return 1;
    return 0;
}

int FormParser::GotoEoform() { return SkipTo(m_lexer.Depth() - 1); }

int FormParser::SkipTo(int depth)
{
    while (m_lexer.Depth() > depth)
        if (m_lexer.Gettok() != 1)
            return 0;
    return 1;
}

}  // namespace zel
