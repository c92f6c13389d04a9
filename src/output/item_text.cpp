// Texts of single nodes, shared by the stream writer and the list writer.
#include "output/item_text.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "zel/oid.h"

namespace zel {

void AppendFormHead(std::string& out, const char* keyword, int level)
{
    out += '\n';
    out.append(static_cast<size_t>(level < 0 ? -level : level), ' ');
    out += '(';
    out += keyword;
}

int AppendValueText(std::string& out, const CZelOid* node)
{
    // Numbers are written as "%d" and "%lf" write them, through the exact conversions of
    // the standard library.
    char number[352] = {' ', ' '};
    switch (node->GetObjType()) {
    case zelKW_INTTOK: {
        const auto written = std::to_chars(number + 2, number + sizeof number, node->GetIntval());
        out.append(number, written.ptr);
        return -1;
    }
    case zelKW_REALTOK: {
        const auto written =
            std::to_chars(number + 2, number + sizeof number, node->GetRealval(), std::chars_format::fixed, 6);
        out.append(number, written.ptr);
        return -1;
    }
    case zelKW_STRTOK: {
        const char* text = node->GetStrval() ? node->GetStrval() : "";
        out += "  \"";
        out += text;
        out += '"';
        return static_cast<int>(std::strlen(text));
    }
    case zelKW_IDENT: {
        const char* text = node->GetIdent() ? node->GetIdent() : "";
        out += "  ";
        out += text;
        return static_cast<int>(std::strlen(text));
    }
    case zelKW_LIT:
        out += "  ";
        out += node->GetKeyword();
        return static_cast<int>(std::strlen(node->GetKeyword()));
    default:
        return -1;
    }
}

}  // namespace zel
