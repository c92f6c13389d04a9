// Grammar tables: the records a client lays out to describe its file language.
#ifndef ZEL_GRAMMAR_H
#define ZEL_GRAMMAR_H

// Type of a keyword, and of a token cut by the tokenizer.
enum zelTokTyp {
    zelKW_DUMMY = 0,      // keyword: none; token: a word the plain rules do not take as identifier
    zelKW_FORM = 1,       // a form keyword; token: "(" with the keyword after it
    zelKW_EOFORM = 2,     // token: ")"
    zelKW_COMPOSITE = 3,  // a rule made of other elements, entered through its head
    zelKW_INTTOK = 4,     // an integer value
    zelKW_REALTOK = 5,    // a real value
    zelKW_STRTOK = 6,     // a double-quoted string value
    zelKW_IDENT = 7,      // an identifier value
    zelKW_LIT = 8,        // a literal keyword written as a bare word
    zelKW_EOFILE = 9,     // token: end of input
    zelKW_EMPTYFORM = 10, // token: "()"
    zelKW_LITIDENT = 11,  // token only: a literal keyword under the extended rules
    zelKW_WORDTOK = 12    // a value that keeps the text of any bare word exactly as written:
                          // an integer, real, identifier, literal or zelKW_DUMMY token,
                          // without conversion or range check. Under the plain rules the
                          // "&" of "&x" is not part of the text; a word that reads back as
                          // another kind of token without it is written with it again.
};

// Lexical options of a parser, beyond the choice of rule set and escape character.
enum zelLexOption {
    zelLEX_QUOTE_OPENS_STRING = 0x01,  // a double quote always opens a string, also before a
                                       // space or ")" under the extended rules
    zelLEX_ESCAPE_ESCAPES = 0x02,      // the escape character escapes itself: a quote ends a
                                       // string unless an odd run of escapes stands before it
    zelLEX_KEEP_KEYWORD_CASE = 0x04    // a form or literal keyword read in a letter case other
                                       // than the grammar's is written back as it was read
};

// Flag bits of a semantic row's semType.
enum {
    S_DUMMY = 0x00,
    S_REQ = 0x01,     // required element
    S_OPT = 0x02,     // optional element
    S_LIT = 0x04,     // literal element
    S_ONCE = 0x08,    // may occur at most once (not enforced)
    S_REQG = 0x10,    // member of a required group
    S_OPTG = 0x20,    // member of an optional group
    S_REPG = 0x40,    // member of a repeating group
    S_GRPHEAD = 0x80  // head of its group
};

// One row of the keyword table.
struct zelKeywordS {
    char name[256];  // the keyword as written in the input
    int accept;      // nonzero: a matching form or literal is always taken
    int type;        // a zelTokTyp
    int semanticId;  // semantic row where this keyword's own rule begins
};

// One row of the semantic table: an element of a grammar rule.
struct zelSemanticS {
    int keywordId;         // keyword row this element stands for
    int semType;           // S_ flag bits
    int attributes;        // 0x100: identifiers of this element are hashed into symbol maps
    int alt;               // alternative element tried when this one does not match; 0 = none
    int next;              // element that follows in the sequence; 0 = none
    char* (*idProc)(void); // procedure stored by symbol registration; never called
};

// The grammar descriptor handed to the parser. The tables stay the client's and
// must outlive every parser built on them; the semantic table must be writable.
struct zelParserS {
    zelSemanticS* semTable;
    int semCount;
    zelKeywordS* kwTable;
    int kwCount;
};

#endif
