// FindCandidate: the first position at or after `from` where a match can begin, judged by the
// program's StartHint; subject.size() + 1 when there is none.
#pragma once

#include "regex/engine/compiled_program.h"

#include <string_view>

namespace RegexEngine {

size_t FindCandidate(const StartHint &hint, std::u16string_view subject, size_t from);

} // namespace RegexEngine
