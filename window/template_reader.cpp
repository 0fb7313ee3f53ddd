// The segment reader and the start-up load that reports a bad segment.
#include "window/template_reader.h"

#include <new>

#include "framework/archive.h"
#include "runtime/error_report.h"
#include "window/template_words.h"

namespace {

constexpr char kTemplateSegmentError[] = "载入窗口模板数据段出错!";
// Each window has its WindowId and a placeholder word in the id table.
constexpr uint32_t kIdTableBytesPerWindow = 8;

WindowTemplateList ReadAllWindows(const void *segment, uint32_t size) {
    WindowTemplateList windows;
    if (size == 0) {
        return windows;
    }
    ArchiveReader reader(segment, size);
    const uint32_t idTableWord = reader.ReadWord();
    const uint32_t idTableLength = static_cast<int32_t>(idTableWord) < 0 ? 0 : idTableWord;
    const uint8_t *idTable = reader.Take(idTableLength);
    const uint32_t windowCount = idTableLength / kIdTableBytesPerWindow;
    windows.reserve(windowCount);
    for (uint32_t i = 0; i < windowCount; ++i) {
        windows.push_back(WindowTemplate::Read(reader, LoadTemplateWord(idTable + 4 * i)));
    }
    return windows;
}

} // namespace

WindowTemplateList ReadWindowTemplates(const void *segment, uint32_t size) {
    try {
        return ReadAllWindows(segment, size);
    } catch (const std::bad_alloc &) {
        throw ArchiveException("out of memory while reading the window templates");
    }
}

WindowTemplateList LoadWindowTemplates(const void *segment, uint32_t size, uint32_t codeBase) {
    WindowTemplateList windows;
    try {
        windows = ReadWindowTemplates(segment, size);
    } catch (const ArchiveException &) {
        ReportRuntimeError(kTemplateSegmentError, 0);
    }
    for (auto &window : windows) {
        window->RelocateHandlers(codeBase);
    }
    return windows;
}
