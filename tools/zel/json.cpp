// JSON output of the tool: strings and the parsed tree.
#include "json.h"

#include <cmath>
#include <cstdlib>

#include "core/type_names.h"
#include "printable.h"

namespace zeltool {

std::string JsonString(const std::string& text)
{
    return "\"" + EscapeBytes(text, "\"\\", [](unsigned char c, std::string& out) {
        char escaped[8];
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default:
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        }
    }) + "\"";
}

std::string JsonNumber(double value)
{
    if (!std::isfinite(value))
        return "null";
    char text[32];
    // The shortest of the usual precisions that reads back as the same value.
    for (int precision : {15, 16, 17}) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) == value)
            break;
    }
    return text;
}

namespace {

// The node's fields up to its value or the opening of its children.
void WriteNodeHead(const CZelOid* node, FILE* out)
{
    const int type = node->GetObjType();
    std::fprintf(out, "{\"keyword\":%s,\"type\":%s,\"line\":%d", JsonString(node->GetKeyword() ? node->GetKeyword() : "").c_str(),
                 JsonString(zel::KeywordTypeShortName(type)).c_str(), node->GetLine());
    const char* text = nullptr;
    switch (type) {
    case zelKW_INTTOK:
        std::fprintf(out, ",\"value\":%d", node->GetIntval());
        return;
    case zelKW_REALTOK:
        std::fprintf(out, ",\"value\":%s", JsonNumber(node->GetRealval()).c_str());
        return;
    case zelKW_STRTOK:
        text = node->GetStrval();
        break;
    case zelKW_IDENT:
    case zelKW_WORDTOK:
        text = node->GetName();
        break;
    default:
        if (node->GetFirstObj())
            std::fputs(",\"children\":[", out);
        else if (type == zelKW_FORM || type == zelKW_EMPTYFORM)
            std::fputs(",\"children\":[]", out);
        return;
    }
    std::fprintf(out, ",\"value\":%s", JsonString(text ? text : "").c_str());
}

}  // namespace

void WriteTreeJson(const CZelParser& parser, FILE* out)
{
    const char* separator = "[\n";
    for (int i = 0; i < parser.GetGoalCount(); ++i) {
        const CZelOid* goal = parser.GetGoalAt(i);
        if (!goal)
            continue;
        std::fputs(separator, out);
        separator = ",\n";
        // Down to the first child, else on to the next sibling, else up, closing each
        // form on the way, to the nearest ancestor below the goal that has one.
        for (const CZelOid* node = goal; node;) {
            WriteNodeHead(node, out);
            if (const CZelOid* child = node->GetFirstObj()) {
                node = child;
                continue;
            }
            std::fputs("}", out);
            while (node != goal && !node->GetNextObj()) {
                node = node->GetParent();
                std::fputs("]}", out);
            }
            node = node == goal ? nullptr : node->GetNextObj();
            if (node)
                std::fputs(",", out);
        }
    }
    std::fputs(*separator == '[' ? "[]\n" : "\n]\n", out);
}

}  // namespace zeltool
