// The list writer: the writer's text as a list of strings, one per form head, value
// and closing parenthesis.
#include <string>
#include <vector>

#include "lex/spelling.h"
#include "core/allocation_guard.h"
#include "output/item_text.h"
#include "zel/oid.h"
#include "zel/parser.h"

namespace {

struct ListFrame {
    const CZelOid* node;
    int level;
    bool childrenDone;
};

}  // namespace

int CZelParser::WriteList(const CZelOid* node, int level, CStringList* list)
{
    if (!list || (node && !IsOwnNode(node)))
        return 1;
    return zel::GuardAllocation(*this, 1, [&] { return WriteListItems(node, level, list); });
}

int CZelParser::WriteListItems(const CZelOid* node, int level, CStringList* list)
{
    const zel::LexicalSettings settings = SpellingSettings();
    // Each frame walks one sibling chain; a frame is pushed per open form only.
    std::vector<ListFrame> frames;
    frames.push_back({node, level, false});
    int result = 0;
    std::string text;
    while (!frames.empty()) {
        ListFrame& f = frames.back();
        if (!f.childrenDone) {
            if (!f.node || f.node->m_sem < 0) {
                result = 1;
                frames.pop_back();
                continue;
            }
            text.clear();
            if (f.node->GetObjType() == zelKW_FORM) {
                zel::AppendFormHead(text, f.node->GetKeyword(), f.level);
                if (!f.node->Clink)
                    text += ')';
            } else {
                zel::AppendValueText(text, f.node->GetObjType(), f.node->Dlink, f.node->GetKeyword(), settings);
            }
            if (!text.empty())
                list->AddTail(text.c_str());
            if (f.node->Clink) {
                if (f.node->GetObjType() == zelKW_FORM)
                    ++f.level;
                f.childrenDone = true;
                const CZelOid* child = f.node->Clink;
                const int childLevel = f.level;
                frames.push_back({child, childLevel, false});
                continue;
            }
        } else {
            f.childrenDone = false;
            if (result) {
                frames.pop_back();
                continue;
            }
            list->AddTail(")");
            if (--f.level == 0) {
                result = 0;
                frames.pop_back();
                continue;
            }
        }
        // The next sibling continues on the same frame, at the same level.
        if (f.node->Nlink) {
            f.node = f.node->Nlink;
            continue;
        }
        result = 0;
        frames.pop_back();
    }
    return result;
}
