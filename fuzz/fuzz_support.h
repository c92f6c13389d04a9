// Shared pieces of the fuzz targets: the grammars under test and scratch files.
#ifndef ZEL_FUZZ_FUZZ_SUPPORT_H
#define ZEL_FUZZ_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "zel/zel.h"

namespace zelfuzz {

// The grammars the targets parse with: the compiled example grammars and the test
// grammars laid out by hand.
const std::vector<zelParserS*>& Grammars();

// Writes text to this process's scratch file number slot and returns its name.
std::string ScratchFile(const std::string& text, int slot = 0);


// Every node of every goal, in document order.
std::vector<const CZelOid*> AllNodes(const CZelParser& parser);

// Reads bytes off the fuzz input.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool Done() const { return m_pos >= m_size; }
    uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    std::string Text()
    {
        const size_t length = Byte();
        const size_t take = length < m_size - m_pos ? length : m_size - m_pos;
        std::string text(reinterpret_cast<const char*>(m_data + m_pos), take);
        m_pos += take;
        return text;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

}  // namespace zelfuzz

#endif
