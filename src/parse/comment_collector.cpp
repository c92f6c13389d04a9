// The comments of a parse, attached to the nodes around them.
#include "parse/comment_collector.h"

#include <new>

#include "diag/reporter.h"
#include "lex/char_class.h"
#include "lex/lexer.h"

namespace zel {

std::string CommentCollector::Text(const char* text, size_t length)
{
    size_t start = 0;
    while (start < length && (text[start] == ';' || text[start] == '#'))
        ++start;
    if (start < length && (text[start] == ' ' || text[start] == '\t'))
        ++start;
    while (length > start && IsSpace(text[length - 1]))
        --length;
    return std::string(text + start, length - start);
}

void CommentCollector::Begin()
{
    m_waiting.clear();
    m_open.clear();
    m_last = nullptr;
    m_lastIsForm = false;
    m_lastToken = -1;
}

void CommentCollector::Attach(const CZelOid* node, CommentPlace place, bool ownLine, const std::string& text)
{
    if (!m_table.Add(node, place, ownLine, text))
        m_reporter.OutOfMemory();
}

const CZelOid* CommentCollector::OpenAt(int depth) const
{
    for (auto it = m_open.rbegin(); it != m_open.rend() && it->depth >= depth; ++it)
        if (it->depth == depth)
            return it->mark == m_lexer.OpenMark(depth) ? it->node : nullptr;
    return nullptr;
}

void CommentCollector::PopDeeper(int depth)
{
    while (!m_open.empty() && m_open.back().depth > depth)
        m_open.pop_back();
}

void CommentCollector::CloseDeeper(int depth)
{
    // The waiting comments keep their order: those that stay move to the front.
    size_t kept = 0;
    for (Waiting& w : m_waiting) {
        const CZelOid* form = w.depth > depth ? OpenAt(w.depth) : nullptr;
        if (form) {
            Attach(form, kCommentBeforeClose, true, w.text);
            continue;
        }
        if (w.depth > depth)
            w.depth = depth;  // no form of its own: it goes with what follows
        if (&m_waiting[kept] != &w)
            m_waiting[kept] = std::move(w);
        ++kept;
    }
    m_waiting.resize(kept);
}

void CommentCollector::Comment(const char* text, size_t length, bool sameLine)
{
    const int depth = m_lexer.Depth();
    CloseDeeper(depth);
    try {
        const std::string body = Text(text, length);
        if (sameLine && m_lexer.TokenType() == zelKW_EOFORM) {
            if (const CZelOid* form = OpenAt(depth + 1)) {
                Attach(form, kCommentAfter, false, body);
                PopDeeper(depth);
                return;
            }
        } else if (sameLine && m_last && m_lastToken == m_lexer.TokenCount()) {
            Attach(m_last, m_lastIsForm ? kCommentAfterHead : kCommentAfter, false, body);
            return;
        }
        m_waiting.push_back(Waiting{body, depth, sameLine});
    } catch (const std::bad_alloc&) {
        m_reporter.OutOfMemory();
    }
}

void CommentCollector::NodeMade(const CZelOid* node, bool form)
{
    // A form's token has opened it already: its place is one form further out.
    const int depth = form ? m_lexer.Depth() - 1 : m_lexer.Depth();
    CloseDeeper(depth);
    for (const Waiting& w : m_waiting)
        Attach(node, kCommentBefore, true, w.text);
    m_waiting.clear();
    PopDeeper(depth);
    if (form) {
        try {
            m_open.push_back(OpenForm{node, depth + 1, m_lexer.OpenMark(depth + 1)});
        } catch (const std::bad_alloc&) {
            m_reporter.OutOfMemory();
        }
    }
    m_last = node;
    m_lastIsForm = form;
    m_lastToken = m_lexer.TokenCount();
}

void CommentCollector::Finish(const CZelOid* lastGoal)
{
    CloseDeeper(0);
    if (lastGoal)
        for (const Waiting& w : m_waiting)
            Attach(lastGoal, kCommentAfter, !w.sameLine, w.text);
    Begin();
}

}  // namespace zel
