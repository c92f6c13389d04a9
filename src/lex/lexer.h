// The line reader and tokenizer: reads physical lines from an input stream (or takes a
// text as the whole input) and cuts them into typed tokens under the plain or extended
// rules. It owns the line and token buffers, the scan position and the counters of lines,
// tokens and form depth.
#ifndef ZEL_LEX_LEXER_H
#define ZEL_LEX_LEXER_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "lex/comment_sink.h"
#include "lex/spelling.h"
#include "lex/text_buffer.h"
#include "zel/diag.h"
#include "zel/grammar.h"

namespace zel {

class NameIndex;
class Reporter;

// Name of a token not yet looked up in the keyword index.
const int kNameUnknown = -2;

// The current token: its text, its zelTokTyp, and the keyword whose name it spells.
struct Token {
    char* text;
    size_t length;
    int type;
    int name;  // keyword id of the name in any letter case, -1 for none, kNameUnknown until looked up
};

// A place in the input: line and column, 1-based, the column in bytes of the physical
// line; 0,0 for no place.
struct TextPosition {
    int line;
    int column;
};

class Lexer {
public:
    enum { kLineBufferSize = 2048, kTokenBufferSize = 512 };
    // The deepest form whose "(" is remembered; deeper forms answer no place.
    static const size_t kMaxRecordedDepth = 1 << 16;

    // Reports go to reporter; names is the keyword index that decides literal keywords;
    // options are zelLexOption bits.
    Lexer(Reporter& reporter, const NameIndex& names, char escape, bool extended, int options = 0);
    ~Lexer();
    Lexer(const Lexer&) = delete;
    Lexer& operator=(const Lexer&) = delete;

    // The stream lines are read from (null: none). Its read-ahead is dropped.
    void SetInput(FILE* in);
    FILE* Input() const { return m_in; }
    // Resets the reading: empty line, counters and token cleared, reading not ended.
    void Reset();
    // Makes text the line buffer's content, read from its start.
    void SetText(const char* text);
    // When on, the line buffer holds the whole input: no further line is read. The
    // positions in such a text count its lines from 1 (the line counter counts them from
    // 0) and its columns in bytes from the start of the text.
    void SetTextOnly(bool on)
    {
        m_textOnly = on;
        m_lineBase = on ? 1 : 0;
        AnchorPlaces();
    }
    // The longest line or token, in characters (256 MiB by default).
    void SetTextLimit(size_t limit) { m_textLimit = limit; }
    // The comments passed over go to sink (null: they are dropped).
    void SetCommentSink(CommentSink* sink) { m_commentSink = sink; }

    // Cuts the next token. Returns 1 for a token, 0 at the end of the input or when the
    // reading stopped on a fault (reported).
    int Gettok();
    // Turns an identifier token that spells a literal keyword into a literal token.
    void ConvertToktyp();
    // The keyword whose name the token spells in any letter case, or -1.
    int TokenName();

    Token& Current() { return m_tok; }
    const char* TokenText() const { return m_tok.text; }
    size_t TokenLength() const { return m_tok.length; }
    int TokenType() const { return m_tok.type; }
    void SetTokenType(int type) { m_tok.type = type; }
    // Makes the token the given text (type unchanged).
    void SetToken(const char* text);

    int LineNo() const { return m_lineNo; }
    int TokenCount() const { return m_tokenCount; }
    // Open forms: "(" counts up, ")" down.
    int Depth() const { return m_depth; }
    void SetDepth(int depth) { m_depth = depth; }
    // Where the current token starts: its first byte (the opening quote of a quoted text,
    // the first "(" of the "((" that opens "ch").
    TextPosition TokenPosition() const { return Placed(m_tokPlace); }
    // The line of TokenPosition (0 for no place), read without a branch for each node made.
    int TokenLine() const { return static_cast<int>(m_tokPlace >> 32); }
    // Tells apart the "(" that opened the form now counted at depth from every other "(":
    // equal while that form is the one at depth, different once another "(" opened a form
    // there; 0 where no place is kept.
    std::uint64_t OpenMark(int depth) const
    {
        return depth > 0 && static_cast<size_t>(depth) < m_opensCapacity ? m_opens[depth] : 0;
    }
    // The place the end of the input is charged to: the token the input ended inside (a
    // quoted text left open, or a "(" with nothing after it), else the "(" of the innermost
    // form still open, else the last token.
    TextPosition EndPosition() const;
    // Sets the line and token counters (a reader that takes over from another).
    void SetCounters(int lineNo, int tokenCount)
    {
        m_lineNo = lineNo;
        m_tokenCount = tokenCount;
        AnchorPlaces();
    }
    // No further token: the end of the input, or a stop on a fault.
    bool InputEnded() const { return m_inputEnded; }
    // The reading ended on a fault; nothing more is read.
    bool ReadStopped() const { return m_readStopped; }

    // The zelLexOption bits.
    int Options() const { return m_options; }
    // The settings that decide how a text reads, with the given keyword index.
    LexicalSettings Settings(const NameIndex* names) const { return LexicalSettings{m_extended, m_esc, names, m_options}; }

private:
    char* GetLine();
    int Nexttok();
    int NextLine(char* p);
    void PassComment(const char* mark, bool lineRead);
    int CutToken();
    int CutOpeners();
    int CutWord(unsigned startType, bool ampersand);
    int CutString();
    int CutApostrophe();
    bool QuoteEscaped() const;
    void ClearToken();
    bool SetTokenRange(const char* text, size_t length);
    bool GrowToken(size_t length);
    bool AppendTokenChar(char c);
    bool FillBlock();
    bool GrowLine(size_t needed);
    void StopReading(zelErrCode code);
    int EndInsideToken();
    // The tokenizer keeps each place as it finds it, in one word: the line as positions
    // count it in the high 32 bits, the byte offset in the line buffer in the low 32 bits (the
    // longest line is far below 4 GiB); 0 for no place (positions count lines from 1). The
    // place of the scan position is then the scan pointer less m_placeBase, which
    // AnchorPlaces sets whenever the line buffer, the line counter or the line base change.
    using RawPlace = std::uint64_t;
    static RawPlace MakePlace(unsigned line, size_t offset) { return RawPlace(line) << 32 | offset; }
    void AnchorPlaces()
    {
        m_placeBase = reinterpret_cast<std::uintptr_t>(m_lineBuffer.Data()) -
                      MakePlace(static_cast<unsigned>(m_lineNo) + static_cast<unsigned>(m_lineBase), 0);
    }
    RawPlace ScanPlace() const { return reinterpret_cast<std::uintptr_t>(m_scan) - m_placeBase; }
    static TextPosition Placed(RawPlace place)
    {
        return place ? TextPosition{static_cast<int>(place >> 32), static_cast<int>(place & 0xffffffffu) + 1}
                     : TextPosition{0, 0};
    }
    void RecordOpen(size_t depth, RawPlace at);
    bool GrowOpens(size_t depth);

    Reporter& m_reporter;
    const NameIndex& m_names;
    const char m_esc;
    const bool m_extended;
    const int m_options;  // zelLexOption bits: a quote always opens a string; escapes escape themselves
    FILE* m_in = nullptr;
    TextBuffer<kLineBufferSize> m_lineBuffer;
    TextBuffer<kTokenBufferSize> m_tokBuffer;
    char* m_scan;            // the next character to cut; null once the input has ended
    Token m_tok;             // its text is m_tokBuffer's
    int m_lineNo = 0;
    int m_tokenCount = 0;
    int m_depth = 0;
    int m_lineBase = 0;          // added to the line counter in positions
    std::uintptr_t m_placeBase;  // the scan pointer less this is the scan position's place
    RawPlace m_tokPlace = 0;     // where the current token starts
    bool m_endedInsideToken = false;
    // The place of the "(" of each open form by depth (entry d: the form that depth d
    // counts), up to kMaxRecordedDepth; the array grows with the depth only.
    RawPlace* m_opens = nullptr;
    size_t m_opensCapacity = 0;
    bool m_inputEnded = false;
    bool m_textOnly = false;
    bool m_readStopped = false;
    size_t m_textLimit;
    char* m_block = nullptr;  // read-ahead of the input stream, filled in large blocks
    size_t m_blockLength = 0;
    size_t m_blockPos = 0;
    size_t m_blockNul = 0;    // offset of the first NUL byte in the read-ahead, or its length
    CommentSink* m_commentSink = nullptr;
};

}  // namespace zel

#endif
