// The read-back check: a replay of one form's children as the form parser reads them back
// from the text the writer makes of them, with text optionally read among them.
#ifndef ZEL_EDIT_READ_BACK_H
#define ZEL_EDIT_READ_BACK_H

class CZelOid;

namespace zel {

class FormParser;
class GrammarTables;
class Lexer;
class ParseStack;
class Reporter;
struct StackEntry;

// Where a replay stands in the token stream of one form's content: the children as the
// writer writes them, optionally with the text of the line buffer read in front of one of
// them, and the form's ")".
struct ChildReplay {
    const CZelOid* next = nullptr;     // the next child to be read
    const CZelOid* current = nullptr;  // the child whose token is current; null for a token of the text
    const CZelOid* textAt = nullptr;   // the child in front of which the text is read; null: after the last
    const CZelOid* skip = nullptr;     // a child left out of the stream, or null
    bool withText = false;             // the line buffer holds text to read at textAt
    bool textDone = false;             // the text has been read to its end
    bool closed = false;               // the form's ")" has been read
    bool iterative = false;            // levels yield as the iterative engine's do
    CZelOid* first = nullptr;          // nodes made from the text, in order
    CZelOid* last = nullptr;
};

class ReadBack {
public:
    ReadBack(GrammarTables& grammar, Lexer& lexer, ParseStack& stack, FormParser& engines, Reporter& reporter)
        : m_grammar(grammar), m_lexer(lexer), m_stack(stack), m_engines(engines), m_reporter(reporter)
    {
    }

    // True when the children of parent, without skip, read back as the same keywords under
    // the level results of both engines (they differ after a repeated group). The
    // need-token flag is kept; the stack and the current token are the replay's.
    bool ChildrenReadBack(const CZelOid* parent, const CZelOid* skip = nullptr);
    // Replays the content of parent as replay describes it; true when the form reads back
    // without a message. Reports nothing of its own.
    bool ReplayContent(const CZelOid* parent, ChildReplay& replay);
    // node when its parent's children read back with it, else null after deleting node.
    static const CZelOid* KeepIfReadsBack(const CZelOid* node);

private:
    bool SetChildToken(const CZelOid* child);
    bool NextReplayToken(ChildReplay& replay);
    bool TakeReplayToken(StackEntry& top, ChildReplay& replay);

    GrammarTables& m_grammar;
    Lexer& m_lexer;
    ParseStack& m_stack;
    FormParser& m_engines;
    Reporter& m_reporter;
};

}  // namespace zel

#endif
