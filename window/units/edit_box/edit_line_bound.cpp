// Cutting the over-long lines of a text written into an edit box.
#include "window/units/edit_box/edit_line_bound.h"

#include <algorithm>
#include <cstdint>

#include "runtime/program_text_wide.h"

namespace {

// The bytes of the first `characters` characters of line (all of it when it is shorter).
size_t BytesOfCharacters(std::string_view line, size_t characters) {
    size_t offset = 0;
    for (size_t counted = 0; counted < characters && offset < line.size(); ++counted) {
        const bool pair =
            IsProgramLeadByte(static_cast<uint8_t>(line[offset])) && offset + 1 < line.size();
        offset += pair ? 2 : 1;
    }
    return offset;
}

} // namespace

std::string_view BoundEditLines(std::string_view text, std::string &storage) {
    bool cut = false;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t feed = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, feed - start);
        // A carriage return before the line feed belongs to the break, not to the line.
        const bool returnBefore = feed < text.size() && !line.empty() && line.back() == '\r';
        if (returnBefore) {
            line.remove_suffix(1);
        }
        const size_t kept = line.size() > kEditLineCharacters
                                ? BytesOfCharacters(line, kEditLineCharacters)
                                : line.size();
        if (kept < line.size() && !cut) {
            cut = true;
            storage.assign(text.substr(0, start));
        }
        if (cut) {
            storage.append(line.substr(0, kept));
            storage.append(text.substr(start + line.size(), feed - start - line.size()));
            if (feed < text.size()) {
                storage.push_back('\n');
            }
        }
        start = feed + 1;
    }
    return cut ? std::string_view(storage) : text;
}
