// The grammar language read into rules, before it becomes tables.
#ifndef ZEL_GRAMMAR_GRAMMAR_TEXT_H
#define ZEL_GRAMMAR_GRAMMAR_TEXT_H

#include <string>
#include <vector>

namespace zel {

struct Element;
using Sequence = std::vector<Element>;

// One element of a rule: a name, a quoted literal or a parenthesised group, with its
// modifier: 0 (required), '?', '*' or '+'.
struct Element {
    enum Kind { kName, kQuoted, kGroup } kind = kName;
    std::string name;
    std::vector<Sequence> alternatives;  // of a group
    char modifier = 0;
    int line = 0;
};

// A statement of the grammar: form, choice, value or literal.
struct Rule {
    enum Kind { kForm, kChoice, kValue, kLiteral } kind = kForm;
    std::string name;
    std::vector<Sequence> alternatives;  // of a form or choice
    bool hasRule = false;                // a form written with "="
    std::string valueType;               // of a value: ident, int, real or string
    int line = 0;
};

// The lexical settings a grammar states; each stays 0 when the grammar says nothing.
struct StatedSettings {
    char escape = 0;     // escape "C" ;
    int extended = 0;    // rules extended ;
    int options = 0;     // option NAME ; zelLexOption bits
    bool stated = false; // the grammar has a rules, escape or option statement
};

struct GrammarText {
    std::vector<std::pair<std::string, int>> goals;  // name and line
    std::vector<Rule> rules;
    StatedSettings settings;
};

// Reads grammar text into rules. Each error is appended as "line N: text".
GrammarText ReadGrammar(const char* text, std::vector<std::string>& errors);

}  // namespace zel

#endif
