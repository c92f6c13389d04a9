// The receiver of the comments the tokenizer passes over, for a parser that keeps them.
#ifndef ZEL_LEX_COMMENT_SINK_H
#define ZEL_LEX_COMMENT_SINK_H

#include <cstddef>

namespace zel {

class CommentSink {
public:
    // text runs from the comment mark to the end of its line (line end included).
    // sameLine: a token of the line stands in front of it, other than a form's "(".
    virtual void Comment(const char* text, size_t length, bool sameLine) = 0;

protected:
    ~CommentSink() = default;
};

}  // namespace zel

#endif
