// The library's access from a parser's front to the state behind it.
#ifndef ZEL_CORE_PARSER_ACCESS_H
#define ZEL_CORE_PARSER_ACCESS_H

#include "core/parser_impl.h"
#include "zel/parser.h"

namespace zel {

struct ParserAccess {
    static ParserImpl& Of(const CZelParser& parser) { return *parser.m_impl; }
    static bool Ready(const CZelParser* parser) { return parser && parser->m_impl; }
};

}  // namespace zel

#endif
