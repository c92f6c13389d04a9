// The form writer: a tree back to form text on a stream or a named file.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/allocation_guard.h"
#include "core/name_index.h"
#include "output/file_replace.h"
#include "output/item_text.h"
#include "zel/oid.h"
#include "zel/parser.h"

namespace {

// Column of the stream writer's line wrapping, one per thread.
thread_local int t_column __attribute__((tls_model("initial-exec"))) = 0;
const int kWrapColumn = 60;
const size_t kFlushSize = 64 * 1024;

// One sibling chain of the tree writer, open while the forms above it are: the walk
// keeps one frame per open form and never one per sibling. The first node of a chain
// writes at the chain's level and leaves its changes to it; a later sibling writes at that
// level as well but keeps its changes to itself.
struct WriteFrame {
    const CZelOid* node;
    int level;          // the chain's level
    int nodeLevel;      // the level of node's own item and children
    bool withSiblings;  // the chain goes on after the first node
    bool first;         // node is the first node of the chain
    bool childrenDone;  // node's children have been written
};

}  // namespace

zel::LexicalSettings CZelParser::SpellingSettings()
{
    // The text is written for a parser that reads it with the whole keyword index.
    if (m_names->Empty())
        LoadKeywords();  // a failed allocation ends the write through its guard
    return zel::LexicalSettings{m_extended != 0, m_esc, m_names};
}

bool CZelParser::CanWriteText(int type, const char* text, size_t length)
{
    return zel::GuardAllocation(*this, false, [&] {
        const zel::LexicalSettings settings = SpellingSettings();
        return type == zelKW_IDENT ? zel::SpellIdentifier(text, length, settings) != zel::kSpellNone
                                   : zel::CanWriteString(text, length, settings);
    });
}

void CZelParser::WriteItem(std::string& out, const CZelOid* node, int level, const zel::LexicalSettings& settings)
{
    char annotation[32];
    const int type = GetSemanticKeywordType(node->m_sem);
    if (type == zelKW_FORM) {
        t_column = 0;
        zel::AppendFormHead(out, GetSemanticKeyword(node->m_sem), level);
        if (m_trace == 2)
            out.append(annotation, static_cast<size_t>(std::snprintf(annotation, sizeof annotation, " [%p]",
                                                                       static_cast<const void*>(node))));
        if (!node->Clink)
            out += ')';
        return;
    }
    const size_t start = out.size();
    const int wrapLength = zel::AppendValueText(out, type, node->Dlink, GetSemanticKeyword(node->m_sem), settings);
    if (out.size() == start)
        return;
    if (wrapLength >= 0) {
        t_column += wrapLength;
        if (t_column > kWrapColumn) {
            out.insert(start, 1, '\n');
            t_column = 0;
        }
    }
    if (m_trace == 2)
        out.append(annotation, static_cast<size_t>(std::snprintf(annotation, sizeof annotation, " [%p]",
                                                                   static_cast<const void*>(node))));
}

int CZelParser::WriteFile(FILE* stream, const CZelOid* node, int level, int withSiblings)
{
    if (!IsOwnNode(node) || node->m_sem < 0)
        return 1;
    if (!stream) {
        m_errno = 4;
        return 2;
    }
    m_errno = 0;
    const int result = zel::GuardAllocation(*this, 1, [&] { return WriteTree(stream, node, level, withSiblings); });
    if (result != 0)
        m_errno = 4;
    return result;
}

// The tree writer's walk, for a live node of this parser and an open stream. A failed
// write is 1; the caller sets the error state.
int CZelParser::WriteTree(FILE* stream, const CZelOid* node, int level, int withSiblings)
{
    const zel::LexicalSettings settings = SpellingSettings();

    // The text is gathered in a buffer and handed to the stream in large pieces.
    std::string out;
    out.reserve(kFlushSize + 4096);
    std::vector<WriteFrame> frames;
    frames.push_back({node, level, level, withSiblings != 0, true, false});
    int result = 0;  // result of the chain that finished last
    while (!frames.empty()) {
        if (out.size() >= kFlushSize) {
            if (std::fwrite(out.data(), 1, out.size(), stream) != out.size())
                return 1;
            out.clear();
        }
        WriteFrame& f = frames.back();
        bool nodeEndsChain = false;  // a first node whose level fell to 0 ends its chain
        if (!f.childrenDone) {
            if (!f.node || f.node->m_sem < 0) {
                result = 1;
                frames.pop_back();
                continue;
            }
            f.nodeLevel = f.level;
            WriteItem(out, f.node, f.nodeLevel, settings);
            if (f.node->Clink) {
                if (GetSemanticKeywordType(f.node->m_sem) == zelKW_FORM)
                    ++f.nodeLevel;
                f.childrenDone = true;
                const WriteFrame children{f.node->Clink, f.nodeLevel, f.nodeLevel, true, true, false};
                frames.push_back(children);
                continue;
            }
        } else {
            f.childrenDone = false;
            if (result) {
                frames.pop_back();
                continue;
            }
            out += ')';
            nodeEndsChain = --f.nodeLevel == 0 && f.first;
        }
        if (f.first)
            f.level = f.nodeLevel;
        if (nodeEndsChain || !f.withSiblings || !f.node->Nlink) {
            result = 0;
            frames.pop_back();
            continue;
        }
        f.node = f.node->Nlink;
        f.first = false;
    }
    if (std::fwrite(out.data(), 1, out.size(), stream) != out.size())
        return 1;
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
    return zel::GuardAllocation(*this, 1, [&] { return WriteSubtreeFile(fileName, node, level, header); });
}

int CZelParser::WriteSubtreeFile(const char* fileName, const CZelOid* node, int level, CStringList* header)
{
    if (node && !IsOwnNode(node))
        return 1;
    if (fileName && *fileName)
        m_ofname = fileName;
    if (m_out) {
        // A stream opened for reading and writing is the input stream as well.
        if (m_in == m_out)
            m_in = nullptr;
        std::fclose(m_out);
        m_out = nullptr;
    }
    zel::FileReplacement file;
    if (!file.Begin(m_ofname, false)) {
        m_errno = 4;
        return 1;
    }
    WriteHeader(file.Stream(), header);
    const int result = WriteFile(file.Stream(), node, level, 1);
    if (result != 0)
        return result;
    if (!file.Commit()) {
        m_errno = 4;
        return 1;
    }
    return 0;
}

int CZelParser::WriteFile(FILE* stream)
{
    int result = WriteFile(stream, m_goalCount > 0 ? m_goals[0] : nullptr, 0, 1);
    if (stream && (std::fflush(stream) != 0 || std::ferror(stream)) && result == 0) {
        m_errno = 4;
        result = 1;
    }
    return result;
}

// Writes the first goal, or every goal, to the named file through a replacement, after
// the resets and with the names that Open gives for the mode. A mode that opens for
// reading only goes through Open and leaves no output stream, as before.
int CZelParser::ReplaceOutputFile(const char* name, const char* mode, bool everyGoal)
{
    const CString fileName(name);  // name may be one of the parser's own names
    const bool readWrite = std::strcmp(mode, "rw") == 0;
    const bool both = readWrite || (mode[0] && mode[1] == '+');
    if (!both && mode[0] == 'r')
        return Open(fileName, mode) ? WriteFile(m_out) : 1;
    Close();
    ReinitParser();
    if (!HasGrammar()) {
        Report(zelERR_OPEN_FILE, 0, fileName);
        return 1;
    }
    LoadKeywords();
    m_ofname = fileName;
    if (both)
        m_ifname = fileName;
    zel::FileReplacement file;
    if (!file.Begin(fileName, mode[0] == 'a')) {
        Report(zelERR_OPEN_FILE, 0, fileName);
        m_errno = 4;
        return 1;
    }
    int result = 0;
    if (!everyGoal || m_goalCount == 0) {
        result = WriteFile(file.Stream(), m_goalCount > 0 ? m_goals[0] : nullptr, 0, 1);
    } else {
        for (int i = 0; i < m_goalCount && result == 0; ++i)
            result = WriteFile(file.Stream(), m_goals[i], 0, 1);
    }
    if (result != 0)
        return 1;
    if (!file.Commit()) {
        m_errno = 4;
        return 1;
    }
    return 0;
}

int CZelParser::WriteFile(const char* fileName, const char* mode)
{
    if (!fileName || !*fileName) {
        m_errno = 4;
        return 1;
    }
    if (!mode) {
        Open(fileName, mode);  // refuses the call and reports it
        return 1;
    }
    return zel::GuardAllocation(*this, 1, [&] { return ReplaceOutputFile(fileName, mode, false); });
}

int CZelParser::Save()
{
    if (m_ofname.IsEmpty()) {
        m_errno = 4;
        return 1;
    }
    return zel::GuardAllocation(*this, 1, [&] { return ReplaceOutputFile(m_ofname, "w", true); });
}
