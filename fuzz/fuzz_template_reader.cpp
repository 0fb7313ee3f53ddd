// libFuzzer target: the window template reader on arbitrary segments. A segment is either
// rejected with ArchiveException or every record it yields can be walked inside its bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "framework/archive.h"
#include "window/template_reader.h"

namespace {

constexpr uint32_t kCodeBase = 0x00401004;

uint32_t WalkRecord(const UnitRecordView &record) {
    uint32_t sum = static_cast<uint32_t>(std::strlen(record.Name()) + std::strlen(record.Remark()));
    if (record.IsMenuItem()) {
        return sum + static_cast<uint32_t>(std::strlen(record.Caption())) + record.MenuHandler();
    }
    for (uint32_t k = 0; k < record.ChildCount(); ++k) {
        sum += record.Child(k);
    }
    for (uint32_t k = 0; k < record.BindingCount(); ++k) {
        sum += record.Binding(k).handler;
    }
    for (uint8_t byte : record.MousePointer()) {
        sum += byte;
    }
    for (uint8_t byte : record.PropertyBlock()) {
        sum += byte;
    }
    return sum + static_cast<uint32_t>(std::strlen(record.Tag())) + record.Flags();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    WindowTemplateList windows;
    try {
        windows = ReadWindowTemplates(data, static_cast<uint32_t>(size));
    } catch (const ArchiveException &) {
        return 0;
    }
    volatile uint32_t sink = 0;
    for (auto &window : windows) {
        window->RelocateHandlers(kCodeBase);
        window->KeepPristineCopy();
        for (uint32_t i = 0; i < window->UnitCount(); ++i) {
            UnitRecordView record = window->RecordAt(i);
            sink = sink + WalkRecord(record);
            if (!record.IsMenuItem()) {
                record.SetLiveUnit(i);
            }
            sink = sink + static_cast<uint32_t>(window->IndexOfUnit(window->UnitIdAt(i)));
        }
        window->RestorePristineCopy();
    }
    return 0;
}
