// Attaches the comments a parse passes over to the nodes it makes: a comment goes with the
// node behind it, or with the node whose token (value, form head or ")") ends in front of
// it on the same line; one in front of a ")" goes with that form, in front of its ")";
// those after the last form go behind the last goal.
#ifndef ZEL_PARSE_COMMENT_COLLECTOR_H
#define ZEL_PARSE_COMMENT_COLLECTOR_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lex/comment_sink.h"
#include "tree/comment_table.h"

class CZelOid;

namespace zel {

class Lexer;
class Reporter;

class CommentCollector : public CommentSink {
public:
    CommentCollector(const Lexer& lexer, CommentTable& table, Reporter& reporter)
        : m_lexer(lexer), m_table(table), m_reporter(reporter)
    {
    }

    // Starts a parse: nothing waits, no form is open.
    void Begin();
    void Comment(const char* text, size_t length, bool sameLine) override;
    // The parse made node for the current token.
    void NodeMade(const CZelOid* node, bool form);
    // Ends a parse: the comments still waiting go behind lastGoal (dropped when null).
    void Finish(const CZelOid* lastGoal);

    // The text of a comment: without its marks, one blank after them and the line end.
    static std::string Text(const char* text, size_t length);

private:
    struct Waiting {
        std::string text;
        int depth;  // the open forms around it
        bool sameLine;
    };
    struct OpenForm {
        const CZelOid* node;
        int depth;           // the open forms inside it, itself included
        std::uint64_t mark;  // its "(" (Lexer::OpenMark): a form skipped without a node replaces it
    };

    // The waiting comments deeper than depth stood in front of the ")" of their form.
    void CloseDeeper(int depth);
    void PopDeeper(int depth);
    // The node of the form open at depth, unless it closed and another opened there since.
    const CZelOid* OpenAt(int depth) const;
    void Attach(const CZelOid* node, CommentPlace place, bool ownLine, const std::string& text);

    const Lexer& m_lexer;
    CommentTable& m_table;
    Reporter& m_reporter;
    std::vector<Waiting> m_waiting;
    std::vector<OpenForm> m_open;
    const CZelOid* m_last = nullptr;  // the node made last
    bool m_lastIsForm = false;
    int m_lastToken = -1;  // the token count when it was made
};

}  // namespace zel

#endif
