// One walk over a tree for both writers; a sink turns its items into stream text or into
// list strings.
#include "output/tree_walk.h"

#include <string>
#include <vector>

#include "output/item_text.h"
#include "tree/comment_table.h"
#include "tree/keyword_spellings.h"
#include "tree/node_fields.h"
#include "zel/platform.h"

namespace zel {

namespace {

const int kWrapColumn = 60;
const size_t kFlushSize = 64 * 1024;

// How a sibling chain follows the levels of its nodes. A node with children closes at its
// own level, but a value node with children one level below it; a node that closes at
// level 0 ends its chain. The stream writer lets only the first node of a chain change the
// chain's level or end it; the list writer lets every node.
struct ChainRules {
    bool withSiblings;    // the top chain goes on after its first node
    bool everyNodeLeads;  // every node, not only the first, sets the chain's level
};

// One sibling chain, open while the forms above it are: the walk keeps one frame per
// open form and never one per sibling.
struct WalkFrame {
    const CZelOid* node;
    int level;          // the chain's level
    int nodeLevel;      // the level of node's own item and children
    bool withSiblings;  // the chain goes on after its first node
    bool leads;         // node sets the chain's level and may end it
    bool childrenDone;  // node's children have been written
    const NodeComments* comments;  // node's, null for none
    int itemLevel;      // the level of node's own item
};

// Hands the sink node's comments of one place: behind the node those that stood on its
// line, on lines of their own the others.
template <class Sink>
void WriteComments(Sink& sink, const NodeComments* comments, CommentPlace place, int level)
{
    if (!comments)
        return;
    const bool behind = place == kCommentAfterHead || place == kCommentAfter;
    for (const NodeComment& c : *comments) {
        if (c.place != place)
            continue;
        if (behind && !c.ownLine)
            sink.CommentBehind(c.text, level);
        else
            sink.CommentLine(c.text, level);
    }
}

// True when a form without children holds comments that go inside it.
bool CommentsInside(const NodeComments* comments)
{
    if (comments)
        for (const NodeComment& c : *comments)
            if (c.place == kCommentAfterHead || c.place == kCommentBeforeClose)
                return true;
    return false;
}

// Hands the sink, in writing order, each node's item (FormHead or Value), its children and,
// for a node with children, a Close. frames.back() is the innermost open chain. Before
// every step the sink may Drain its text; a failed drain ends the walk with result 1, and
// so does a null or free node (no ")" is written for the forms around it).
template <class Sink>
int Walk(Sink& sink, const CZelOid* node, int level, const ChainRules& rules, const WriteOptions& options)
{
    const zelParserS& grammar = *options.grammar;
    std::vector<WalkFrame> frames;
    frames.push_back({node, level, level, rules.withSiblings, true, false, nullptr, level});
    int result = 0;  // result of the chain that finished last
    while (!frames.empty()) {
        if (!sink.Drain())
            return 1;
        WalkFrame& f = frames.back();
        bool nodeEndsChain = false;
        if (!f.childrenDone) {
            if (!f.node || SemOf(f.node) < 0) {
                result = 1;
                frames.pop_back();
                continue;
            }
            f.nodeLevel = f.level;
            const CZelOid* child = ChildOf(f.node);
            const zelKeywordS& keyword = grammar.kwTable[grammar.semTable[SemOf(f.node)].keywordId];
            const int type = keyword.type;
            const char* name = keyword.name;
            if (options.spellings && (type == zelKW_FORM || type == zelKW_LIT))
                if (const char* spelling = options.spellings->Of(f.node))
                    name = spelling;
            f.comments = options.comments ? options.comments->Of(f.node) : nullptr;
            f.itemLevel = f.nodeLevel;
            WriteComments(sink, f.comments, kCommentBefore, f.itemLevel);
            // A form without children that holds comments inside it is closed after them.
            const bool open = type == zelKW_FORM && (child || CommentsInside(f.comments));
            if (type == zelKW_FORM)
                sink.FormHead(f.node, name, f.nodeLevel, !open);
            else
                sink.Value(f.node, type, name, f.itemLevel);
            WriteComments(sink, f.comments, kCommentAfterHead, f.itemLevel);
            if (child) {
                if (type == zelKW_FORM)
                    ++f.nodeLevel;
                f.childrenDone = true;
                const WalkFrame children{child, f.nodeLevel, f.nodeLevel, true, true, false, nullptr, f.nodeLevel};
                frames.push_back(children);
                continue;
            }
            if (open) {
                WriteComments(sink, f.comments, kCommentBeforeClose, f.itemLevel + 1);
                sink.Close(f.itemLevel);
            }
            WriteComments(sink, f.comments, kCommentAfter, f.itemLevel);
        } else {
            f.childrenDone = false;
            if (result) {
                frames.pop_back();
                continue;
            }
            WriteComments(sink, f.comments, kCommentBeforeClose, f.nodeLevel);
            sink.Close(f.itemLevel);
            WriteComments(sink, f.comments, kCommentAfter, f.itemLevel);
            nodeEndsChain = --f.nodeLevel == 0 && f.leads;
        }
        if (f.leads)
            f.level = f.nodeLevel;
        const CZelOid* next = NextOf(f.node);
        if (nodeEndsChain || !f.withSiblings || !next) {
            result = 0;
            frames.pop_back();
            continue;
        }
        f.node = next;
        f.leads = rules.everyNodeLeads;
    }
    return sink.Finish() ? result : 1;
}

// Gathers the text in a buffer and hands it to the stream in large pieces; keeps the
// column for line wrapping, which a form head sets back to 0.
class StreamSink {
public:
    StreamSink(FILE* stream, bool annotate, const LexicalSettings& settings)
        : m_stream(stream), m_annotate(annotate), m_settings(settings)
    {
        m_out.reserve(kFlushSize + 4096);
    }
    void FormHead(const CZelOid* node, const char* keyword, int level, bool closed)
    {
        m_column = 0;
        m_breakDue = false;
        AppendFormHead(m_out, keyword, level);
        Annotate(node);
        if (closed)
            m_out += ')';
    }
    void Value(const CZelOid* node, int type, const char* keyword, int level)
    {
        const size_t lineStart = m_out.size();
        if (m_breakDue) {
            AppendLineBreak(m_out, level);
            m_column = 0;
        }
        const size_t start = m_out.size();
        const int wrapLength = AppendValueText(m_out, type, ValueOf(node), keyword, m_settings);
        if (m_out.size() == start) {
            m_out.resize(lineStart);
            return;
        }
        m_breakDue = false;
        if (wrapLength >= 0) {
            m_column += wrapLength;
            if (m_column > kWrapColumn) {
                m_out.insert(start, 1, '\n');
                m_column = 0;
            }
        }
        Annotate(node);
    }
    void Close(int level)
    {
        BreakIfDue(level);
        m_out += ')';
    }
    void CommentLine(const std::string& text, int level)
    {
        AppendLineBreak(m_out, level);
        AppendComment(m_out, text);
        m_breakDue = true;
    }
    void CommentBehind(const std::string& text, int level)
    {
        if (m_breakDue)
            return CommentLine(text, level);
        m_out += ' ';
        AppendComment(m_out, text);
        m_breakDue = true;
    }
    // Hands a full buffer to the stream; false when the write fails.
    bool Drain() { return m_out.size() < kFlushSize || Flush(); }
    bool Finish()
    {
        if (m_breakDue)
            m_out += '\n';
        return Flush();
    }

private:
    // A comment runs to the end of its line: what follows it starts a new one.
    void BreakIfDue(int level)
    {
        if (!m_breakDue)
            return;
        AppendLineBreak(m_out, level);
        m_breakDue = false;
        m_column = 0;
    }
    void Annotate(const CZelOid* node)
    {
        if (!m_annotate)
            return;
        char text[32];
        const int length = std::snprintf(text, sizeof text, " [%p]", static_cast<const void*>(node));
        m_out.append(text, static_cast<size_t>(length));
    }
    // Every write is checked; the buffer is emptied for the next piece.
    bool Flush()
    {
        const bool written = std::fwrite(m_out.data(), 1, m_out.size(), m_stream) == m_out.size();
        m_out.clear();
        return written;
    }

    FILE* m_stream;
    const bool m_annotate;
    const LexicalSettings& m_settings;
    std::string m_out;
    int m_column = 0;
    bool m_breakDue = false;  // a comment ends the text so far
};

// Appends each item to a list as a string of its own.
class ListSink {
public:
    ListSink(CStringList& list, const LexicalSettings& settings) : m_list(list), m_settings(settings) {}
    void FormHead(const CZelOid*, const char* keyword, int level, bool closed)
    {
        m_text.clear();
        m_breakDue = false;
        AppendFormHead(m_text, keyword, level);
        if (closed)
            m_text += ')';
        m_list.AddTail(m_text.c_str());
    }
    void Value(const CZelOid* node, int type, const char* keyword, int level)
    {
        m_text.clear();
        if (m_breakDue)
            AppendLineBreak(m_text, level);
        const size_t start = m_text.size();
        AppendValueText(m_text, type, ValueOf(node), keyword, m_settings);
        if (m_text.size() == start)
            return;
        m_breakDue = false;
        m_list.AddTail(m_text.c_str());
    }
    void Close(int level)
    {
        m_text.clear();
        if (m_breakDue)
            AppendLineBreak(m_text, level);
        m_breakDue = false;
        m_text += ')';
        m_list.AddTail(m_text.c_str());
    }
    void CommentLine(const std::string& text, int level)
    {
        m_text.clear();
        AppendLineBreak(m_text, level);
        AppendComment(m_text, text);
        m_list.AddTail(m_text.c_str());
        m_breakDue = true;
    }
    void CommentBehind(const std::string& text, int level)
    {
        if (m_breakDue)
            return CommentLine(text, level);
        m_text.assign(1, ' ');
        AppendComment(m_text, text);
        m_list.AddTail(m_text.c_str());
        m_breakDue = true;
    }
    bool Drain() { return true; }
    bool Finish()
    {
        if (m_breakDue)
            m_list.AddTail("\n");
        return true;
    }

private:
    CStringList& m_list;
    const LexicalSettings& m_settings;
    std::string m_text;
    bool m_breakDue = false;  // a comment ends the text so far
};

}  // namespace

int WriteTreeText(FILE* stream, const CZelOid* node, int level, bool withSiblings, bool annotate,
                  const WriteOptions& options)
{
    StreamSink sink(stream, annotate, options.settings);
    return Walk(sink, node, level, ChainRules{withSiblings, false}, options);
}

int WriteTreeList(CStringList& list, const CZelOid* node, int level, const WriteOptions& options)
{
    ListSink sink(list, options.settings);
    return Walk(sink, node, level, ChainRules{true, true}, options);
}

}  // namespace zel
