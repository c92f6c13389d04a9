// The form writer: a tree back to form text on a stream or a named file.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "output/writer.h"

#include "core/allocation_guard.h"
#include "core/parser_access.h"
#include "output/item_text.h"
#include "tree/node_fields.h"
#include "zel/oid.h"

namespace zel {

namespace {

// Column of the stream writer's line wrapping, one per thread.
thread_local int t_column __attribute__((tls_model("initial-exec"))) = 0;
const int kWrapColumn = 60;
const size_t kFlushSize = 64 * 1024;

// One sibling chain of the tree writer, open while the forms above it are: the walk
// keeps one frame per open form and never one per sibling. The first node of a chain
// writes at the chain's level and leaves its changes to it; a later sibling writes at that
// level as well but keeps its changes to itself.
struct WriteFrame {
    const CZelOid* node;
    int level;          // the chain's level
    int nodeLevel;      // the level of node's own item and children
    bool withSiblings;  // the chain goes on after the first node
    bool first;         // node is the first node of the chain
    bool childrenDone;  // node's children have been written
};

}  // namespace

Writer::Writer(GrammarTables& grammar, const Lexer& lexer, bool annotate)
    : m_grammar(grammar), m_settings(WritingSettings(grammar, lexer)), m_annotate(annotate)
{
}

bool CanWriteText(CZelParser* parser, int type, const char* text, size_t length)
{
    if (!ParserAccess::Ready(parser))
        return false;
    ParserImpl& impl = ParserAccess::Of(*parser);
    return GuardAllocation(impl.reporter, false, [&] {
        const LexicalSettings settings = WritingSettings(impl.grammar, impl.lexer);
        return type == zelKW_IDENT ? SpellIdentifier(text, length, settings) != kSpellNone
                                   : CanWriteString(text, length, settings);
    });
}

void Writer::WriteItem(std::string& out, const CZelOid* node, int level)
{
    char annotation[32];
    const int type = m_grammar.ElementType(SemOf(node));
    if (type == zelKW_FORM) {
        t_column = 0;
        AppendFormHead(out, m_grammar.ElementName(SemOf(node)), level);
        if (m_annotate)
            out.append(annotation, static_cast<size_t>(std::snprintf(annotation, sizeof annotation, " [%p]",
                                                                       static_cast<const void*>(node))));
        if (!ChildOf(node))
            out += ')';
        return;
    }
    const size_t start = out.size();
    const int wrapLength = AppendValueText(out, type, ValueOf(node), m_grammar.ElementName(SemOf(node)), m_settings);
    if (out.size() == start)
        return;
    if (wrapLength >= 0) {
        t_column += wrapLength;
        if (t_column > kWrapColumn) {
            out.insert(start, 1, '\n');
            t_column = 0;
        }
    }
    if (m_annotate)
        out.append(annotation, static_cast<size_t>(std::snprintf(annotation, sizeof annotation, " [%p]",
                                                                   static_cast<const void*>(node))));
}

// The tree writer's walk, for a live node of this parser and an open stream. A failed
// write is 1; the caller sets the error state.
int Writer::WriteTree(FILE* stream, const CZelOid* node, int level, int withSiblings)
{

    // The text is gathered in a buffer and handed to the stream in large pieces.
    std::string out;
    out.reserve(kFlushSize + 4096);
    std::vector<WriteFrame> frames;
    frames.push_back({node, level, level, withSiblings != 0, true, false});
    int result = 0;  // result of the chain that finished last
    while (!frames.empty()) {
        if (out.size() >= kFlushSize) {
            if (std::fwrite(out.data(), 1, out.size(), stream) != out.size())
                return 1;
            out.clear();
        }
        WriteFrame& f = frames.back();
        bool nodeEndsChain = false;  // a first node whose level fell to 0 ends its chain
        if (!f.childrenDone) {
            if (!f.node || SemOf(f.node) < 0) {
                result = 1;
                frames.pop_back();
                continue;
            }
            f.nodeLevel = f.level;
            WriteItem(out, f.node, f.nodeLevel);
            if (ChildOf(f.node)) {
                if (m_grammar.ElementType(SemOf(f.node)) == zelKW_FORM)
                    ++f.nodeLevel;
                f.childrenDone = true;
                const WriteFrame children{ChildOf(f.node), f.nodeLevel, f.nodeLevel, true, true, false};
                frames.push_back(children);
                continue;
            }
        } else {
            f.childrenDone = false;
            if (result) {
                frames.pop_back();
                continue;
            }
            out += ')';
            nodeEndsChain = --f.nodeLevel == 0 && f.first;
        }
        if (f.first)
            f.level = f.nodeLevel;
        if (nodeEndsChain || !f.withSiblings || !NextOf(f.node)) {
            result = 0;
            frames.pop_back();
            continue;
        }
        f.node = NextOf(f.node);
        f.first = false;
    }
    if (std::fwrite(out.data(), 1, out.size(), stream) != out.size())
        return 1;
    return result;
}

void Writer::WriteHeader(FILE* stream, CStringList* header)
{
    if (!header)
        return;
    for (POSITION pos = header->GetHeadPosition(); pos;)
        std::fprintf(stream, ";; %s", static_cast<const char*>(header->GetNext(pos)));
}

}  // namespace zel
