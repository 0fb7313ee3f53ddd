// The track list of a play page found by the program's own regular-expression engine, called
// directly: no automation object, no by-name calls, the page converted to UTF-16 once.
#include <windows.h>

#include <string>

#include "regex/engine/regex_engine.h"
#include "bench/minimal_downloader/track_links.h"

namespace {

// The downloader's settings: ignore case, multi-line (and global, which the loop below does).
const RegexEngine::Program *TrackListProgram() {
    static const RegexEngine::CompileResult compiled =
        RegexEngine::Compile(reinterpret_cast<const char16_t *>(kTrackListPattern),
                             RegexEngine::Options{.ignoreCase = true, .multiline = true});
    return compiled.program.get();
}

std::string Group(const std::u16string &subject, const RegexEngine::Captures &captures,
                  uint32_t group) {
    if (captures.begin(group) < 0) {
        return {};
    }
    return AnsiText(reinterpret_cast<const wchar_t *>(subject.data()) + captures.begin(group),
                    captures.end(group) - captures.begin(group));
}

} // namespace

std::string TrackLinesOfPageDirectly(const std::string &page) {
    const RegexEngine::Program *program = TrackListProgram();
    if (program == nullptr || page.empty()) {
        return {};
    }
    const int length =
        MultiByteToWideChar(CP_ACP, 0, page.data(), static_cast<int>(page.size()), nullptr, 0);
    std::u16string subject(static_cast<size_t>(length), u'\0');
    MultiByteToWideChar(CP_ACP, 0, page.data(), static_cast<int>(page.size()),
                        reinterpret_cast<wchar_t *>(subject.data()), length);
    // Every match in turn, the last one kept, as the downloader's output box ends up showing.
    std::string lines;
    RegexEngine::Captures captures;
    for (size_t start = 0;
         start <= subject.size() && RegexEngine::Search(*program, subject, start, captures) ==
                                        RegexEngine::SearchResult::Found;) {
        lines = ComposeTrackLines(Group(subject, captures, 1), Group(subject, captures, 2));
        const auto end = static_cast<size_t>(captures.end(0));
        start = end > static_cast<size_t>(captures.begin(0)) ? end : end + 1;
    }
    return lines;
}
