// Limits of the line reader and the tokenizer.
#ifndef ZEL_LEX_INPUT_LIMITS_H
#define ZEL_LEX_INPUT_LIMITS_H

#include <cstddef>

namespace zel {

// The longest line (with its line feed) and the longest token, in characters: 256 MiB. A
// longer line or token ends the parse with "Input buffer length exceeded.", so that endless
// input cannot take all memory.
const size_t kMaxInputText = size_t(256) << 20;

}  // namespace zel

#endif
