// Builds small template segments byte by byte for the reader's tests, independently of the
// build's generator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TestBinding {
    int32_t eventNumber;
    uint32_t handler;
};

// One record: the ordinary form unless menuItem is set.
struct TestRecord {
    uint32_t unitId;
    uint32_t type;
    std::string name;
    std::vector<uint32_t> children;
    std::vector<uint8_t> mousePointer = {0, 0, 0, 0};
    std::vector<TestBinding> bindings;
    std::vector<uint8_t> propertyBlock;
    bool menuItem = false;
    uint32_t menuHandler = 0xFFFFFFFF;
    std::string caption;
};

inline TestRecord MakeRecord(uint32_t unitId, uint32_t type, const std::string &name) {
    TestRecord record;
    record.unitId = unitId;
    record.type = type;
    record.name = name;
    return record;
}

class SegmentBuilder {
public:
    void Word(uint32_t word) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<uint8_t>(word >> shift));
        }
    }
    void Append(const std::vector<uint8_t> &more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
    }
    void ZeroTerminated(const std::string &text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back(0);
    }

    static std::vector<uint8_t> RecordBody(const TestRecord &record) {
        SegmentBuilder body;
        body.Word(record.type);
        body.Word(0);
        for (int i = 0; i < 4; ++i) {
            body.Word(0);
        }
        body.ZeroTerminated(record.name);
        body.ZeroTerminated("");
        if (record.menuItem) {
            body.Word(0x41); // shortcut
            body.Word(7);    // menu value
            body.Word(1);    // menu flags
            body.ZeroTerminated(record.caption);
            body.Word(record.menuHandler);
            return body.bytes;
        }
        for (uint32_t word : {0u, 10u, 20u, 30u, 40u, 0u, 0u}) {
            body.Word(word);
        }
        body.Word(static_cast<uint32_t>(record.children.size()));
        for (uint32_t child : record.children) {
            body.Word(child);
        }
        body.Word(static_cast<uint32_t>(record.mousePointer.size()));
        body.Append(record.mousePointer);
        body.ZeroTerminated("");
        body.Word(0);
        body.Word(5); // visible, tab stop
        body.Word(3); // tab order
        body.Word(static_cast<uint32_t>(record.bindings.size()));
        for (const auto &binding : record.bindings) {
            body.Word(static_cast<uint32_t>(binding.eventNumber));
            body.Word(binding.handler);
        }
        for (int i = 0; i < 5; ++i) {
            body.Word(0);
        }
        body.Append(record.propertyBlock);
        return body.bytes;
    }

    static std::vector<uint8_t> UnitList(const std::vector<TestRecord> &records) {
        SegmentBuilder ids, offsets, bodies;
        for (const auto &record : records) {
            ids.Word(record.unitId);
            offsets.Word(static_cast<uint32_t>(bodies.bytes.size()));
            const std::vector<uint8_t> body = RecordBody(record);
            bodies.Word(static_cast<uint32_t>(body.size()));
            bodies.Append(body);
        }
        ids.Append(offsets.bytes);
        ids.Append(bodies.bytes);
        return ids.bytes;
    }

    // A segment of one window per entry of windows.
    static std::vector<uint8_t>
    Segment(const std::vector<std::pair<uint32_t, std::vector<TestRecord>>> &windows) {
        SegmentBuilder segment;
        segment.Word(static_cast<uint32_t>(8 * windows.size()));
        for (const auto &window : windows) {
            segment.Word(window.first);
        }
        for (size_t i = 0; i < windows.size(); ++i) {
            segment.Word(0xDDDDDDDD);
        }
        for (const auto &window : windows) {
            segment.Word(0x11111111);
            segment.Word(0x22222222);
            segment.Word(0);
            segment.Word(0);
            segment.Word(static_cast<uint32_t>(window.second.size()));
            const std::vector<uint8_t> list = UnitList(window.second);
            segment.Word(static_cast<uint32_t>(list.size()));
            segment.Append(list);
        }
        return segment.bytes;
    }

    std::vector<uint8_t> bytes;
};
