// The form writer: a tree back to form text on a stream or a named file.
#include <cstdio>
#include <cstring>

#include "output/writer.h"

#include "core/allocation_guard.h"
#include "core/parser_access.h"
#include "output/tree_walk.h"
#include "tree/comment_table.h"

namespace zel {

Writer::Writer(GrammarTables& grammar, const Lexer& lexer, const KeywordSpellings& spellings,
               const CommentTable& comments, bool annotate)
    : m_grammar(grammar),
      m_settings(WritingSettings(grammar, lexer)),
      m_spellings(spellings.Empty() ? nullptr : &spellings),
      m_comments(comments.Empty() ? nullptr : &comments),
      m_annotate(annotate)
{
}

bool CanWriteText(CZelParser* parser, int type, const char* text, size_t length)
{
    if (!ParserAccess::Ready(parser))
        return false;
    ParserImpl& impl = ParserAccess::Of(*parser);
    return GuardAllocation(impl.reporter, false, [&] {
        const LexicalSettings settings = WritingSettings(impl.grammar, impl.lexer);
        if (type == zelKW_IDENT)
            return SpellIdentifier(text, length, settings) != kSpellNone;
        if (type == zelKW_WORDTOK)
            return SpellWord(text, length, settings, false).spelling != kSpellNone;
        return CanWriteString(text, length, settings);
    });
}

// The tree writer's walk, for a live node of this parser and an open stream. A failed
// write is 1; the caller sets the error state.
int Writer::WriteTree(FILE* stream, const CZelOid* node, int level, int withSiblings)
{
    return WriteTreeText(stream, node, level, withSiblings != 0, m_annotate, {&m_grammar.Tables(), m_settings, m_spellings, m_comments});
}

void Writer::WriteHeader(FILE* stream, CStringList* header)
{
    if (!header)
        return;
    for (POSITION pos = header->GetHeadPosition(); pos;)
        std::fprintf(stream, ";; %s", static_cast<const char*>(header->GetNext(pos)));
}

}  // namespace zel
