// The form parser: the two engines that match tokens against the grammar and build the
// tree, and the steps of one level that they (and the read-back replay) share.
#ifndef ZEL_PARSE_FORM_PARSER_H
#define ZEL_PARSE_FORM_PARSER_H

#include "parse/match_element.h"
#include "parse/stack.h"

class CZelOid;

namespace zel {

class GrammarTables;
class Lexer;
class NodeStore;
class Reporter;

class FormParser {
public:
    FormParser(const GrammarTables& grammar, Lexer& lexer, ParseStack& stack, NodeStore& store, Reporter& reporter)
        : m_grammar(grammar), m_lexer(lexer), m_stack(stack), m_store(store), m_reporter(reporter)
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

    // The steps the engines share with the read-back replay.
    // Matches the current token against element e (see MatchElement).
    int MatchToken(int e) { return MatchElement(m_grammar, m_lexer.Current(), e); }
    // 1 when a required element follows e in its sequence.
    int FormSatis(int e) const;
    // After the content of the matched form at top has been parsed with result r.
    int FinishFormContent(StackEntry& top, int r);
    // Makes the node of element e from the current token; a number that changes on
    // reading is reported. Null when memory ran out (reported).
    CZelOid* MakeNode(int e);

    // A token must be read before the next match.
    bool NeedToken() const { return m_needToken; }
    void SetNeedToken(bool need) { m_needToken = need; }
    // The node the last match made or finished.
    CZelOid* Current() const { return m_current; }
    void SetCurrent(CZelOid* node) { m_current = node; }
    // When on, the top-level forms enter the goal table.
    void SetRecordGoals(bool on) { m_recordGoals = on; }

private:
    int ParseFileLevel(int depth);
    int SubParse(int sem, CZelOid** slot, int depth);
    int ParseAlternatives(int alt, CZelOid** slot, int depth);
    int MatchStep(StackEntry& top);
    bool RepeatsAgain(const StackEntry& top) const;
    CZelOid** SuccessorSlot(const StackEntry& top) const;
    bool MissingRequired(const StackEntry& top);

    const GrammarTables& m_grammar;
    Lexer& m_lexer;
    ParseStack& m_stack;
    NodeStore& m_store;
    Reporter& m_reporter;
    bool m_needToken = true;
    CZelOid* m_current = nullptr;
    bool m_recordGoals = true;
};

}  // namespace zel

#endif
