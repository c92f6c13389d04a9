// Random grammars that the greedy left-to-right parser reads unambiguously, and random
// documents of a compiled grammar, valid by construction, each with the tree it must read
// as and with mutations of it that the grammar refuses.
#ifndef ZEL_TESTS_DOCUMENT_GENERATOR_H
#define ZEL_TESTS_DOCUMENT_GENERATOR_H

#include <string>
#include <vector>

#include "zel/zel.h"

namespace zeltest {

class Rng;

// A grammar text of forms, choices, groups, values, literals and the modifiers ?, * and +,
// in which the first tokens of the elements of one rule never meet (so alternatives and
// optional or repeated elements never compete for a token), and a composite alternative
// either starts with a required element or is optional elements and one required last.
std::string GenerateUnambiguousGrammar(Rng& s);

struct GeneratedDocument {
    std::string text;                  // empty when the grammar gave no document within the depth limit
    std::string tree;                  // the TreeText it must read as
    std::vector<std::string> refused;  // mutated texts that the grammar does not accept
};

// A document of one to three goal forms of the compiled grammar: every alternative,
// optional and repeated element is taken at random, values are fresh. The mutations drop an
// element of a form whose rule is a fixed list of single items, empty a form that needs
// content, and put into a form an unknown form or a value of a kind that its rule takes
// nowhere.
GeneratedDocument GenerateValidDocument(const zelParserS& grammar, Rng& s);

// One line per node of the parser's goals: depth, keyword row, type and value (integers
// and reals as %.17g; forms and literals have none).
std::string TreeText(const CZelParser& parser);

// Reads the document, then each mutation, through file with the rules and engine given.
// Returns "" when the document reads without a message as its tree and every mutation is
// refused, or else an account of the first failure.
std::string CheckDocument(zelParserS* grammar, const GeneratedDocument& document, int extended, int engine,
                          const std::string& file);

}  // namespace zeltest

#endif
