// The form parser: the two engines that match tokens against the grammar and build the
// tree, and the steps of one level that they (and the read-back replay) share.
#ifndef ZEL_PARSE_FORM_PARSER_H
#define ZEL_PARSE_FORM_PARSER_H

#include "core/grammar_tables.h"
#include "diag/reporter.h"
#include "lex/lexer.h"
#include "parse/comment_collector.h"
#include "parse/match_element.h"
#include "parse/stack.h"
#include "tree/block_pool.h"
#include "tree/node_store.h"

class CZelOid;

namespace zel {

class GrammarTables;
class Lexer;
class NodeStore;
class Reporter;

class FormParser {
public:
    // The engines own their parse stack of stackCapacity entries.
    FormParser(const GrammarTables& grammar, Lexer& lexer, NodeStore& store, Reporter& reporter, int stackCapacity)
        : m_tables(grammar.Tables()),
          m_names(grammar.Names()),
          m_lexer(lexer),
          m_stack(reporter, stackCapacity),
          m_store(store),
          m_reporter(reporter),
          m_keepKeywordCase((lexer.Options() & zelLEX_KEEP_KEYWORD_CASE) != 0),
          m_afterMake(m_keepKeywordCase)
    {
    }

    // The recursive engine: parses the element at the top of the stack. Returns a level
    // result (kMatched, kUnmatched, kStop, kInternal).
    int ParseFile();
    // The iterative engine: the same steps in one loop.
    int ParseFile2();
    // Skips tokens to the end of the current form. Returns 1 when the end was found, 0
    // when the input ended first.
    int GotoEoform();
    // Reads tokens until the form depth is at most depth (none when it already is).
    // Returns 1 when it got there, 0 when the input ended first.
    int SkipTo(int depth);

    // When on, a problem in a form's content is reported, the rest of that form is
    // skipped up to its own ")", and the parse goes on with the form's next sibling. The
    // parse entry points switch it on for their run only: an edit reads all or nothing.
    void SetRecovery(bool on) { m_recovery = on; }

    // The steps the engines share with the read-back replay.
    // Matches the current token against element e (see MatchElement).
    __attribute__((always_inline)) int MatchToken(int e) { return MatchElement(m_tables, m_names, m_lexer.Current(), e); }
    // 1 when a required element follows e in its sequence.
    int FormSatis(int e) const;
    // After the content of the matched form at top has been parsed with result r.
    int FinishFormContent(StackEntry& top, int r);
    // Makes the node of element e from the current token; a number that changes on
    // reading is reported. A word keeps whether it is written marked to read back as a
    // token of the same type; with zelLEX_KEEP_KEYWORD_CASE a form or literal keeps the
    // letter case of its keyword. The node keeps the line where its token started. Null
    // when memory ran out (reported).
    __attribute__((always_inline)) CZelOid* MakeNode(int e)
    {
        NumberFaults faults;
        const Token& token = m_lexer.Current();
        const int type = TypeOf(e);
        CZelOid* node = m_store.Make(e, type, token.text, token.length, &faults, type == zelKW_WORDTOK && WordTokenMarked());
        if (node) {
            SetBlockLine(node, m_lexer.TokenLine());
            m_reporter.ReadIntoTree();
        }
        if (faults.malformed || faults.range != zelERR_NONE)
            WarnNumber(e, faults);
        if (__builtin_expect(m_afterMake, 0))
            return AfterMake(node, e);
        return node;
    }

    // The parse stack, which the grammar searches and the read-back replay use as well.
    ParseStack& Stack() { return m_stack; }

    // A token must be read before the next match.
    bool NeedToken() const { return m_needToken; }
    void SetNeedToken(bool need) { m_needToken = need; }
    // The node the last match made or finished.
    CZelOid* Current() const { return m_current; }
    void SetCurrent(CZelOid* node) { m_current = node; }
    // When on, the top-level forms enter the goal table.
    void SetRecordGoals(bool on) { m_recordGoals = on; }
    // The nodes made go to comments (null: no comments are kept).
    void SetCommentCollector(CommentCollector* comments)
    {
        m_comments = comments;
        m_afterMake = m_keepKeywordCase || comments;
    }

private:
    int ParseFileLevel(int depth);
    int SubParse(int sem, CZelOid** slot, int depth);
    int ParseAlternatives(int alt, CZelOid** slot, int depth);
    int MatchStep(StackEntry& top);
    void AdoptChildren(CZelOid* form);
    int RecoverFormEnd(StackEntry& top, int r);
    bool ResumeAfterStop();
    // Where a level of the recursive engine ends with its status: in recovery a repeated
    // group that matched yields 0 whatever its last attempt gave, as in the iterative engine.
    int LevelEnd(int status, int runs) const { return runs > 1 && m_recovery ? kMatched : status; }
    bool RepeatsAgain(const StackEntry& top) const;
    CZelOid** SuccessorSlot(const StackEntry& top) const;
    bool MissingRequired(const StackEntry& top);
    void WarnNumber(int e, const NumberFaults& faults);
    bool WordTokenMarked() const;
    CZelOid* KeepKeywordCase(CZelOid* node, int e);
    CZelOid* AfterMake(CZelOid* node, int e);

    // The grammar's rows, read in the inner loops without a further indirection; the
    // tables of a parser never change after its construction.
    const zelSemanticS& Row(int e) const { return m_tables.semTable[e]; }
    int TypeOf(int e) const { return m_tables.kwTable[m_tables.semTable[e].keywordId].type; }
    int HeadOf(int e) const { return m_tables.kwTable[m_tables.semTable[e].keywordId].semanticId; }

    const zelParserS m_tables;
    const NameIndex& m_names;
    Lexer& m_lexer;
    ParseStack m_stack;
    NodeStore& m_store;
    Reporter& m_reporter;
    bool m_needToken = true;
    CZelOid* m_current = nullptr;
    bool m_recordGoals = true;
    bool m_recovery = false;
    // Recovery: the problem that stopped a form's content has been reported where it arose.
    bool m_problemReported = false;
    // The form depth inside the innermost form whose content is being read: set when a
    // form's content starts and when a form ends.
    int m_formDepth = 0;
    const bool m_keepKeywordCase;  // zelLEX_KEEP_KEYWORD_CASE
    bool m_afterMake;              // a made node goes to KeepKeywordCase or m_comments
    CommentCollector* m_comments = nullptr;
};

}  // namespace zel

#endif
