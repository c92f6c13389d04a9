// Steps of one form-parser level shared by the recursive and the iterative engine.
#ifndef ZEL_PARSE_LEVEL_STEPS_H
#define ZEL_PARSE_LEVEL_STEPS_H

namespace zel {

// A step that does not end its level returns this instead of a level result.
const int kGoOn = -1;

// Level results.
enum LevelResult { kMatched = 0, kUnmatched = 1, kStop = 2, kInternal = 3 };

}  // namespace zel

#endif
