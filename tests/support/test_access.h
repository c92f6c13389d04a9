// Test-only access to the parser's components, for the one test that still reads it.
#ifndef ZEL_TESTS_TEST_ACCESS_H
#define ZEL_TESTS_TEST_ACCESS_H

#include "core/parser_access.h"

class CZelTestAccess {
public:
    static bool HasGrammar(const CZelParser& p) { return zel::ParserAccess::Of(p).grammar.Has(); }
};

#endif
