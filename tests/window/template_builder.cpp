// Test template builder: serialises unit records and property blocks.
#include "tests/window/template_builder.h"

#include "framework/archive.h"
#include "window/property_block.h"
#include "window/template_ids.h"
#include "window/template_reader.h"
#include "window/unit_type.h"

namespace {

constexpr uint32_t kNoHandler = 0xFFFFFFFF;

void WriteZText(ArchiveWriter &out, const std::string &text) {
    out.WriteBytes(text.data(), text.size());
    out.WriteByte(0);
}

std::vector<uint8_t> RecordBody(const UnitSpec &unit) {
    ArchiveWriter out;
    out.WriteWord(unit.type);
    out.WriteWord(unit.eventTarget);
    for (int i = 0; i < 4; ++i)
        out.WriteWord(0);
    WriteZText(out, unit.name);
    WriteZText(out, "");
    if (IsMenuItemId(unit.unitId)) {
        out.WriteWord(unit.shortcut);
        out.WriteWord(unit.menuValue);
        out.WriteWord(unit.menuFlags);
        WriteZText(out, unit.caption);
        out.WriteWord(unit.menuHandler != nullptr ? reinterpret_cast<uint32_t>(unit.menuHandler)
                                                  : kNoHandler);
        return out.Bytes();
    }
    for (uint32_t word : {0u, static_cast<uint32_t>(unit.left), static_cast<uint32_t>(unit.top),
                          static_cast<uint32_t>(unit.width), static_cast<uint32_t>(unit.height), 0u,
                          unit.parent, static_cast<uint32_t>(unit.children.size())})
        out.WriteWord(word);
    for (uint32_t child : unit.children)
        out.WriteWord(child);
    if (unit.pointer.empty()) {
        out.WriteWord(4);
        out.WriteWord(0);
    } else {
        WriteBlockBytes(out, unit.pointer);
    }
    WriteZText(out, unit.tag);
    out.WriteWord(0);
    out.WriteWord(unit.flags);
    out.WriteWord(static_cast<uint32_t>(unit.tabOrder));
    out.WriteWord(static_cast<uint32_t>(unit.bindings.size()));
    for (const auto &[event, handler] : unit.bindings) {
        out.WriteWord(static_cast<uint32_t>(event));
        out.WriteWord(handler != nullptr ? reinterpret_cast<uint32_t>(handler) : kNoHandler);
    }
    for (int i = 0; i < 5; ++i)
        out.WriteWord(0);
    out.WriteBytes(unit.propertyBlock.data(), unit.propertyBlock.size());
    return out.Bytes();
}

} // namespace

WindowTemplateList BuildWindow(uint32_t windowId, const std::vector<UnitSpec> &units) {
    ArchiveWriter ids, offsets, records;
    for (const UnitSpec &unit : units) {
        ids.WriteWord(unit.unitId);
        offsets.WriteWord(static_cast<uint32_t>(records.Bytes().size()));
        const std::vector<uint8_t> body = RecordBody(unit);
        records.WriteWord(static_cast<uint32_t>(body.size()));
        records.WriteBytes(body.data(), body.size());
    }
    ArchiveWriter segment;
    // The id table: the WindowId and its placeholder word.
    segment.WriteWord(8);
    segment.WriteWord(windowId);
    segment.WriteWord(0);
    // The WindowRecord: two reserved words, two empty texts, U and the UnitList data.
    for (uint32_t word : {1u, 1u, 0u, 0u, static_cast<uint32_t>(units.size())})
        segment.WriteWord(word);
    segment.WriteWord(static_cast<uint32_t>(ids.Bytes().size() + offsets.Bytes().size() +
                                            records.Bytes().size()));
    for (const ArchiveWriter *part : {&ids, &offsets, &records})
        segment.WriteBytes(part->Bytes().data(), part->Bytes().size());
    WindowTemplateList windows =
        ReadWindowTemplates(segment.Bytes().data(), static_cast<uint32_t>(segment.Bytes().size()));
    for (auto &window : windows)
        window->RelocateHandlers(0);
    return windows;
}

UnitSpec MenuItemSpec(uint32_t unitId, const std::string &caption, uint32_t menuFlags,
                      const void *handler, uint32_t shortcut) {
    UnitSpec unit;
    unit.unitId = unitId;
    unit.type = kMenuItemUnitType;
    unit.name = caption;
    unit.caption = caption;
    unit.menuFlags = menuFlags;
    unit.menuHandler = handler;
    unit.shortcut = shortcut;
    return unit;
}

std::vector<uint8_t> WindowBlock(const std::string &title, uint32_t shape, uint32_t colour,
                                 uint32_t startPosition) {
    ArchiveWriter out;
    for (uint32_t word : {6u, 2u, 1u, colour, 0u, 1u, 1u, startPosition, 1u, 0u, 0u, 1u, 0u, 0u, 1u,
                          0u, shape, 0u, 0u})
        out.WriteWord(word);
    WriteBlockText(out, "");
    WriteBlockBytes(out, {});
    WriteBlockBytes(out, {});
    WriteBlockBytes(out, {});
    WriteBlockText(out, title);
    WriteBlockText(out, "");
    return out.Bytes();
}

std::vector<uint8_t> ButtonBlock(const std::string &caption, uint32_t type) {
    ArchiveWriter out;
    for (uint32_t word : {1u, type, 1u, 1u})
        out.WriteWord(word);
    WriteBlockBytes(out, {});
    WriteBlockBytes(out, {});
    WriteBlockText(out, caption);
    return out.Bytes();
}
