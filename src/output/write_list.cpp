// The list writer: the writer's text as a list of strings, one per form head, value
// and closing parenthesis.
#include <string>
#include <vector>

#include "output/item_text.h"
#include "output/writer.h"
#include "tree/node_fields.h"
#include "zel/oid.h"

namespace zel {

namespace {

struct ListFrame {
    const CZelOid* node;
    int level;
    bool childrenDone;
};

}  // namespace

int Writer::WriteList(const CZelOid* node, int level, CStringList* list)
{
    // Each frame walks one sibling chain; a frame is pushed per open form only.
    std::vector<ListFrame> frames;
    frames.push_back({node, level, false});
    int result = 0;
    std::string text;
    while (!frames.empty()) {
        ListFrame& f = frames.back();
        if (!f.childrenDone) {
            if (!f.node || SemOf(f.node) < 0) {
                result = 1;
                frames.pop_back();
                continue;
            }
            text.clear();
            if (f.node->GetObjType() == zelKW_FORM) {
                AppendFormHead(text, f.node->GetKeyword(), f.level);
                if (!ChildOf(f.node))
                    text += ')';
            } else {
                AppendValueText(text, f.node->GetObjType(), ValueOf(f.node), f.node->GetKeyword(), m_settings);
            }
            if (!text.empty())
                list->AddTail(text.c_str());
            if (ChildOf(f.node)) {
                if (f.node->GetObjType() == zelKW_FORM)
                    ++f.level;
                f.childrenDone = true;
                const CZelOid* child = ChildOf(f.node);
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
        if (NextOf(f.node)) {
            f.node = NextOf(f.node);
            continue;
        }
        result = 0;
        frames.pop_back();
    }
    return result;
}

}  // namespace zel
