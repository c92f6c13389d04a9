// The form writer: a tree back to form text on a stream or a named file.
#include <cstdio>
#include <string>
#include <vector>

#include "output/item_text.h"
#include "zel/oid.h"
#include "zel/parser.h"

namespace {

// Column of the stream writer's line wrapping, one per thread.
thread_local int t_column = 0;
const int kWrapColumn = 60;

// One pending call of the tree writer. The walk keeps one frame per open form and never
// one per sibling.
struct WriteFrame {
    const CZelOid* node;
    int level;
    bool withSiblings;
    int state;  // 0 start, 1 children written, 2 next sibling, 3 sibling written
    const CZelOid* sibling;
};

}  // namespace

void CZelParser::WriteItem(FILE* stream, const CZelOid* node, int level)
{
    thread_local std::string text;  // reused: no allocation per item
    text.clear();
    if (node->GetObjType() == zelKW_FORM) {
        t_column = 0;
        zel::AppendFormHead(text, GetSemanticKeyword(node->m_sem), level);
        std::fwrite(text.data(), 1, text.size(), stream);
        if (m_trace == 2)
            std::fprintf(stream, " [%p]", static_cast<const void*>(node));
        if (!node->Clink)
            std::fputc(')', stream);
        return;
    }
    const int wrapLength = zel::AppendValueText(text, node);
    if (text.empty())
        return;
    if (wrapLength >= 0) {
        t_column += wrapLength;
        if (t_column > kWrapColumn) {
            std::fputc('\n', stream);
            t_column = 0;
        }
    }
    std::fwrite(text.data(), 1, text.size(), stream);
    if (m_trace == 2)
        std::fprintf(stream, " [%p]", static_cast<const void*>(node));
}

int CZelParser::WriteFile(FILE* stream, const CZelOid* node, int level, int withSiblings)
{
    if (!node || node->m_sem < 0)
        return 1;
    if (!stream) {
        m_errno = 4;
        return 2;
    }
    m_errno = 0;

    std::vector<WriteFrame> frames;
    frames.push_back({node, level, withSiblings != 0, 0, nullptr});
    int result = 0;  // result of the frame that finished last
    while (!frames.empty()) {
        const size_t i = frames.size() - 1;
        WriteFrame& f = frames[i];
        switch (f.state) {
        case 0:
            if (!f.node || f.node->m_sem < 0) {
                result = 1;
                frames.pop_back();
                continue;
            }
            WriteItem(stream, f.node, f.level);
            if (f.node->Clink) {
                if (f.node->GetObjType() == zelKW_FORM)
                    ++f.level;
                f.state = 1;
                frames.push_back({f.node->Clink, f.level, true, 0, nullptr});
                continue;
            }
            f.state = 2;
            f.sibling = f.withSiblings ? f.node->Nlink : nullptr;
            continue;
        case 1:
            if (result) {
                frames.pop_back();
                continue;
            }
            std::fputc(')', stream);
            if (--f.level == 0) {
                result = 0;
                frames.pop_back();
                continue;
            }
            f.state = 2;
            f.sibling = f.withSiblings ? f.node->Nlink : nullptr;
            continue;
        case 2:
            if (!f.sibling) {
                result = 0;
                frames.pop_back();
                continue;
            }
            f.state = 3;
            frames.push_back({f.sibling, f.level, false, 0, nullptr});
            continue;
        default:
            if (result) {
                frames.pop_back();
                continue;
            }
            f.sibling = f.sibling->Nlink;
            f.state = 2;
            continue;
        }
    }
    return result;
}

void CZelParser::WriteHeader(FILE* stream, CStringList* header)
{
    if (!header)
        return;
    for (POSITION pos = header->GetHeadPosition(); pos;)
        std::fprintf(stream, ";; %s", static_cast<const char*>(header->GetNext(pos)));
}

int CZelParser::WriteFile(const char* fileName, const CZelOid* node, int level, CStringList* header)
{
    if (fileName && *fileName)
        m_ofname = fileName;
    if (m_out) {
        // A stream opened for reading and writing is the input stream as well.
        if (m_in == m_out)
            m_in = nullptr;
        std::fclose(m_out);
        m_out = nullptr;
    }
    m_out = std::fopen(m_ofname, "w");
    if (!m_out) {
        m_errno = 4;
        return 1;
    }
    WriteHeader(m_out, header);
    return WriteFile(m_out, node, level, 1);
}

int CZelParser::WriteFile(FILE* stream)
{
    const int result = WriteFile(stream, m_goalCount > 0 ? m_goals[0] : nullptr, 0, 1);
    if (stream)
        std::fflush(stream);
    return result;
}

int CZelParser::WriteFile(const char* fileName, const char* mode)
{
    if (!fileName || !*fileName) {
        m_errno = 4;
        return 1;
    }
    if (!Open(fileName, mode))
        return 1;
    return WriteFile(m_out);
}

int CZelParser::Save()
{
    if (m_ofname.IsEmpty()) {
        m_errno = 4;
        return 1;
    }
    if (!Open(m_ofname, "w"))
        return 1;
    if (m_goalCount == 0)
        return WriteFile(m_out);
    // Every goal is written, in order, each as its own tree.
    int result = 0;
    for (int i = 0; i < m_goalCount; ++i)
        if (WriteFile(m_out, m_goals[i], 0, 1) != 0)
            result = 1;
    std::fflush(m_out);
    return result;
}
