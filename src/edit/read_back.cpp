// Replays the children of a form as the form parser reads them back from the text the
// writer makes of them, one token per child: a child form is its opener (its content
// reads back by itself), a value or literal the token its written text reads as. The
// replay runs the recursive engine's level steps on the parse stack without recursion:
// a repeated group repeats on its own entry, so the stack holds one entry per grammar
// level entered and never one per child. Text in the line buffer can be read among the
// children; its nodes are made as the engine makes them, nested forms by the engine.
#include <cstring>

#include "edit/read_back.h"

#include "core/allocation_guard.h"
#include "core/grammar_tables.h"
#include "core/parser_access.h"
#include "lex/lexer.h"
#include "lex/spelling.h"
#include "parse/form_parser.h"
#include "parse/level_steps.h"
#include "tree/node_access.h"
#include "tree/node_fields.h"
#include "tree/node_store.h"

namespace zel {

namespace {

// Marks an entry in the resume word whose group has matched and runs again: its level
// then yields its status (recursive engine) or 0 (iterative engine).
const short kRepeatedRun = 0x100;

}  // namespace

// Sets the current token to what the written text of child reads as. False when no token
// reads back as the child: a free node, an identifier or word that no spelling carries, a literal
// whose name does not read as a word, or a kind of node that the writer leaves out.
bool ReadBack::SetChildToken(const CZelOid* child)
{
    if (SemOf(child) < 0)
        return false;
    const int type = m_grammar.ElementType(SemOf(child));
    switch (type) {
    case zelKW_FORM:
        m_lexer.SetTokenType(zelKW_FORM);
        m_lexer.SetToken(m_grammar.ElementName(SemOf(child)));
        return true;
    case zelKW_INTTOK:
    case zelKW_REALTOK:
    case zelKW_STRTOK:
        // Values of these kinds match by their type alone; reals are written with a period.
        m_lexer.SetTokenType(type);
        return true;
    case zelKW_LIT:
    case zelKW_IDENT: {
        // A literal is written as its name, an identifier as its spelling; either reads as
        // a word that the tokenizer turns into a literal when it names one.
        const char* text = type == zelKW_LIT ? m_grammar.ElementName(SemOf(child))
                                             : ValueOf(child) ? static_cast<const char*>(ValueOf(child)) : "";
        LexicalSettings settings = WritingSettings(m_grammar, m_lexer);
        if (type == zelKW_LIT)
            settings.names = nullptr;  // the scan of the name as a word alone
        const IdentifierSpelling spelling = SpellIdentifier(text, std::strlen(text), settings);
        if (spelling == kSpellNone || (type == zelKW_LIT && spelling != kSpellPlain))
            return false;
        m_lexer.SetToken(text);
        m_lexer.SetTokenType(zelKW_IDENT);
        m_lexer.ConvertToktyp();
        return true;
    }
    case zelKW_WORDTOK: {
        // A word reads as the token its spelling makes.
        const char* text = ValueOf(child) ? static_cast<const char*>(ValueOf(child)) : "";
        const WordSpelling spelling =
            SpellWord(text, std::strlen(text), WritingSettings(m_grammar, m_lexer), ValueOf(child) && WordMarked(text));
        if (spelling.spelling == kSpellNone)
            return false;
        m_lexer.SetToken(text);
        m_lexer.SetTokenType(spelling.tokenType);
        if (spelling.tokenType == zelKW_IDENT)
            m_lexer.ConvertToktyp();
        return true;
    }
    default:
        return false;
    }
}

// Reads the next token of the replay: the text where it stands, the children around it
// (leaving out the skipped one), then ")". False past the ")" and for text that closes a
// form it did not open or ends in a token that is not complete.
bool ReadBack::NextReplayToken(ChildReplay& replay)
{
    if (replay.withText && !replay.textDone && replay.next == replay.textAt) {
        if (m_lexer.Gettok() == 1) {
            if (m_lexer.TokenType() == zelKW_EOFORM)
                return false;
            if (m_lexer.TokenType() == zelKW_IDENT)
                m_lexer.ConvertToktyp();
            replay.current = nullptr;
            return true;
        }
        if (!m_lexer.InputEnded())
            return false;
        replay.textDone = true;
    }
    if (replay.next && replay.next == replay.skip)
        replay.next = NextOf(replay.next);
    if (replay.next) {
        replay.current = replay.next;
        replay.next = NextOf(replay.next);
        return SetChildToken(replay.current);
    }
    if (replay.closed)
        return false;
    replay.closed = true;
    replay.current = nullptr;
    m_lexer.SetTokenType(zelKW_EOFORM);
    m_lexer.SetToken(")");
    return true;
}

// The current token has matched element top.sem. A child must read back as its own
// keyword. A token of the text makes a node, as the engine's level makes it, with the
// content of a form parsed by the engine. False when the replay cannot go on.
bool ReadBack::TakeReplayToken(StackEntry& top, ChildReplay& replay)
{
    const int e = top.sem;
    top.status = 0;
    m_engines.SetNeedToken(true);
    if (replay.current)
        return m_grammar.ElementKeyword(e) == m_grammar.ElementKeyword(SemOf(replay.current));
    CZelOid* node = m_engines.MakeNode(e);
    if (!node)
        return false;
    if (replay.last)
        NextOf(replay.last) = node;
    else
        replay.first = node;
    replay.last = node;
    m_engines.SetCurrent(node);
    if (m_grammar.ElementType(e) != zelKW_FORM)
        return true;
    CZelOid* form = node;
    top.slot = &form;
    int r = kInternal;
    if (m_stack.Push(m_grammar.ElementHead(e), &ChildOf(node), kResumeCaller)) {
        r = m_engines.ParseFile();
        if (m_stack.Pop())
            r = kInternal;
    }
    const bool finished = r != kInternal && m_engines.FinishFormContent(top, r) != kStop;
    top.slot = nullptr;
    return finished && m_reporter.Errors() == 0;
}

// Replays the content of parent as the replay describes it and returns true when the
// form reads back without a message: every token is taken where a child reads back as
// itself, no required element is missed, and the content ends at the form's ")" with
// result 0. Reports nothing of its own; the stack and the current token are left as the
// replay leaves them.
bool ReadBack::ReplayContent(const CZelOid* parent, ChildReplay& replay)
{
    m_stack.Clear();
    m_engines.SetNeedToken(true);
    if (!m_stack.Push(m_grammar.ElementHead(SemOf(parent)), nullptr, kResumeCaller))
        return false;
    Phase phase = kTryElement;
    for (;;) {
        StackEntry& top = m_stack.Top();
        const int e = top.sem;
        const zelSemanticS& row = m_grammar.Row(e);
        int result = kUnmatched;
        switch (phase) {
        case kTryElement: {
            if (m_engines.NeedToken()) {
                if (!NextReplayToken(replay))
                    return false;
                m_engines.SetNeedToken(false);
            }
            const int m = m_engines.MatchToken(e);
            if (m == 2)
                return false;  // the engine skips the form here
            if (m == 1 && m_lexer.TokenType() == zelKW_EOFORM) {
                m_engines.SetNeedToken(true);
                result = m_engines.FormSatis(e);
                break;
            }
            if (m == 1 && !TakeReplayToken(top, replay))
                return false;
            if (m_grammar.ElementType(e) == zelKW_COMPOSITE) {
                if (!m_stack.Push(m_grammar.ElementHead(e), nullptr, kResumeComposite))
                    return false;
                continue;
            }
        }
            // fall through
        case kTryAlternative: {
            const AlternativeStep step = StepAtAlternative(row, top.status, (top.resume & kRepeatedRun) != 0);
            if (step == kTakeAlternative) {
                if (!m_stack.Push(row.alt, nullptr, kResumeAlternative))
                    return false;
                phase = kTryElement;
                continue;
            }
            if (step == kEndUnmatched) {
                result = top.status;
                break;
            }
        }
            // fall through
        case kRepeatOrNext:
            if ((row.semType & S_GRPHEAD) && (row.semType & S_REPG) && top.status == 0) {
                top.status = 1;
                top.resume |= kRepeatedRun;
                phase = kTryElement;
                continue;
            }
            if (row.next) {
                if (top.status == 1 && (row.semType & (S_REQ | S_REQG)))
                    return false;  // the engine reports the missing element
                if (!m_stack.Push(row.next, nullptr, kResumeSuccessor))
                    return false;
                phase = kTryElement;
                continue;
            }
            // fall through
        case kYieldStatus:
            result = top.status;
            break;
        }

        // The level at the top has its result.
        if (top.resume & kRepeatedRun)
            result = replay.iterative ? static_cast<int>(kMatched) : top.status;
        const short resume = static_cast<short>(top.resume & ~kRepeatedRun);
        if (resume == kResumeCaller)
            return result == kMatched && replay.closed;
        if (m_stack.Pop())
            return false;
        phase = HandOver(m_grammar.Row(m_stack.Top().sem), m_stack.Top().status, resume, result);
    }
}

// True when the children of parent, without skip, read back as the same keywords under
// the level results of both engines (they differ after a repeated group). The need-token
// flag is kept; the stack and the current token are the replay's.
bool ReadBack::ChildrenReadBack(const CZelOid* parent, const CZelOid* skip)
{
    if (!parent || SemOf(parent) < 0 || m_grammar.ElementType(SemOf(parent)) != zelKW_FORM || !m_stack.Allocate())
        return false;
    const bool needToken = m_engines.NeedToken();
    // Without memory for the keyword index that the spellings need, nothing is granted.
    const bool readsBack = GuardAllocation(m_reporter, false, [&] {
        bool both = true;
        for (int engine = 0; engine < 2 && both; ++engine) {
            ChildReplay replay;
            replay.next = ChildOf(parent);
            replay.skip = skip;
            replay.iterative = engine == 1;
            both = ReplayContent(parent, replay);
        }
        return both;
    });
    m_engines.SetNeedToken(needToken);
    return readsBack;
}

const CZelOid* ReadBack::KeepIfReadsBack(const CZelOid* node)
{
    if (!node)
        return nullptr;
    ParserImpl& parser = ParserAccess::Of(*OwnerOf(node));
    if (parser.ReadBackCheck().ChildrenReadBack(ParentOf(node)))
        return node;
    parser.store.Delete(const_cast<CZelOid*>(node));
    return nullptr;
}

}  // namespace zel
