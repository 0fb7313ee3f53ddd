// The segment layout: the id table, then per window its WindowRecord with the UnitList data.
#include "segment_writer.h"

#include <cstdint>

namespace {

void AppendWord(std::string &out, uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>(word >> shift));
    }
}

// bytes and text fields: length word, then the bytes.
void AppendCounted(std::string &out, const std::string &bytes) {
    AppendWord(out, static_cast<uint32_t>(bytes.size()));
    out += bytes;
}

void AppendZeroTerminated(std::string &out, const std::string &text) {
    out += text;
    out.push_back('\0');
}

std::string UnitRecordBody(const UnitDescription &unit) {
    std::string body;
    AppendWord(body, unit.type);
    AppendWord(body, unit.eventTarget);
    for (int i = 0; i < 4; ++i) {
        AppendWord(body, 0);
    }
    AppendZeroTerminated(body, unit.name);
    AppendZeroTerminated(body, unit.remark);
    if (unit.menuItem) {
        AppendWord(body, unit.shortcut);
        AppendWord(body, unit.menuValue);
        AppendWord(body, unit.menuFlags);
        AppendZeroTerminated(body, unit.caption);
        AppendWord(body, unit.menuHandlerOffset);
        return body;
    }
    AppendWord(body, 0); // live unit, set while the window is loaded
    AppendWord(body, static_cast<uint32_t>(unit.left));
    AppendWord(body, static_cast<uint32_t>(unit.top));
    AppendWord(body, static_cast<uint32_t>(unit.width));
    AppendWord(body, static_cast<uint32_t>(unit.height));
    AppendWord(body, 0); // live pointer
    AppendWord(body, unit.parent);
    AppendWord(body, static_cast<uint32_t>(unit.children.size()));
    for (uint32_t child : unit.children) {
        AppendWord(body, child);
    }
    AppendCounted(body, unit.mousePointer);
    AppendZeroTerminated(body, unit.tag);
    AppendWord(body, 0);
    AppendWord(body, unit.flags);
    AppendWord(body, static_cast<uint32_t>(unit.tabOrder));
    AppendWord(body, static_cast<uint32_t>(unit.bindings.size()));
    for (const auto &binding : unit.bindings) {
        AppendWord(body, static_cast<uint32_t>(binding.eventNumber));
        AppendWord(body, binding.handlerOffset);
    }
    for (int i = 0; i < 5; ++i) {
        AppendWord(body, 0);
    }
    body += unit.propertyBlock;
    return body;
}

std::string UnitListData(const WindowDescription &window) {
    std::string ids;
    std::string offsets;
    std::string records;
    for (const auto &unit : window.units) {
        AppendWord(ids, unit.unitId);
        AppendWord(offsets, static_cast<uint32_t>(records.size()));
        AppendCounted(records, UnitRecordBody(unit));
    }
    return ids + offsets + records;
}

} // namespace

std::string WriteTemplateSegment(const std::vector<WindowDescription> &windows) {
    std::string idTable;
    for (const auto &window : windows) {
        AppendWord(idTable, window.windowId);
    }
    // Placeholders for the window objects the loader creates.
    for (size_t i = 0; i < windows.size(); ++i) {
        AppendWord(idTable, 0);
    }
    std::string segment;
    AppendCounted(segment, idTable);
    for (const auto &window : windows) {
        AppendWord(segment, window.reserved1);
        AppendWord(segment, window.reserved2);
        AppendCounted(segment, ""); // the two texts nothing reads
        AppendCounted(segment, "");
        AppendWord(segment, static_cast<uint32_t>(window.units.size()));
        AppendCounted(segment, UnitListData(window));
    }
    return segment;
}
