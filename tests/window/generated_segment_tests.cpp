// The generated template segment of the main window, parsed here with a reader of its own (not
// the window engine's, not the generator's) and checked field by field.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "image/window/window_template_segment.h"

namespace {

// A minimal little-endian cursor that fails the test instead of reading past the end.
class Cursor {
public:
    Cursor(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    uint32_t Word() {
        Need(4);
        uint32_t word = 0;
        for (int i = 3; i >= 0; --i) {
            word = word << 8 | data_[at_ + i];
        }
        at_ += 4;
        return word;
    }
    std::string Bytes(size_t count) {
        Need(count);
        std::string bytes(reinterpret_cast<const char *>(data_ + at_), count);
        at_ += count;
        return bytes;
    }
    std::string Counted() { return Bytes(Word()); }
    std::string ZeroTerminated() {
        std::string text;
        for (char c = static_cast<char>(Bytes(1)[0]); c != 0; c = static_cast<char>(Bytes(1)[0])) {
            text.push_back(c);
        }
        return text;
    }
    size_t At() const { return at_; }
    size_t Left() const { return size_ - at_; }

private:
    void Need(size_t count) {
        if (count > size_ - at_) {
            throw std::out_of_range("read past the end");
        }
    }
    const uint8_t *data_;
    size_t size_;
    size_t at_ = 0;
};

struct Record {
    uint32_t unitId = 0;
    uint32_t length = 0;
    uint32_t type = 0;
    uint32_t eventTarget = 0;
    std::string name, remark, mousePointer, tag;
    int32_t left = 0, top = 0, width = 0, height = 0;
    uint32_t liveUnit = 1, livePointer = 1, parent = 1, childCount = 1, flags = 0;
    int32_t tabOrder = -1;
    std::vector<std::pair<uint32_t, uint32_t>> bindings;
    std::string propertyBlock;
};

struct Segment {
    uint32_t idTableLength = 0;
    uint32_t windowId = 0;
    uint32_t reserved1 = 0, reserved2 = 0;
    std::string text1, text2;
    uint32_t unitCount = 0;
    uint32_t unitListLength = 0;
    std::vector<uint32_t> offsets;
    std::vector<Record> records;
    size_t parsedBytes = 0;
};

Segment Parse() {
    Segment s;
    Cursor top(kWindowTemplateSegment, kWindowTemplateSegmentSize);
    s.idTableLength = top.Word();
    Cursor ids(reinterpret_cast<const uint8_t *>(kWindowTemplateSegment + top.At()),
               s.idTableLength);
    s.windowId = ids.Word();
    top.Bytes(s.idTableLength);
    s.reserved1 = top.Word();
    s.reserved2 = top.Word();
    s.text1 = top.Counted();
    s.text2 = top.Counted();
    s.unitCount = top.Word();
    s.unitListLength = top.Word();
    const std::string list = top.Bytes(s.unitListLength);
    s.parsedBytes = top.At();
    const auto *data = reinterpret_cast<const uint8_t *>(list.data());
    Cursor tables(data, list.size());
    std::vector<uint32_t> unitIds;
    for (uint32_t i = 0; i < s.unitCount; ++i) {
        unitIds.push_back(tables.Word());
    }
    for (uint32_t i = 0; i < s.unitCount; ++i) {
        s.offsets.push_back(tables.Word());
    }
    const size_t recordsStart = tables.At();
    for (uint32_t i = 0; i < s.unitCount; ++i) {
        Cursor at(data + recordsStart + s.offsets[i], list.size() - recordsStart - s.offsets[i]);
        Record r;
        r.unitId = unitIds[i];
        r.length = at.Word();
        const std::string bodyBytes = at.Bytes(r.length);
        Cursor body(reinterpret_cast<const uint8_t *>(bodyBytes.data()), bodyBytes.size());
        r.type = body.Word();
        r.eventTarget = body.Word();
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(body.Word(), 0u);
        }
        r.name = body.ZeroTerminated();
        r.remark = body.ZeroTerminated();
        r.liveUnit = body.Word();
        r.left = static_cast<int32_t>(body.Word());
        r.top = static_cast<int32_t>(body.Word());
        r.width = static_cast<int32_t>(body.Word());
        r.height = static_cast<int32_t>(body.Word());
        r.livePointer = body.Word();
        r.parent = body.Word();
        r.childCount = body.Word();
        body.Bytes(4 * r.childCount);
        r.mousePointer = body.Counted();
        r.tag = body.ZeroTerminated();
        EXPECT_EQ(body.Word(), 0u);
        r.flags = body.Word();
        r.tabOrder = static_cast<int32_t>(body.Word());
        const uint32_t bindingCount = body.Word();
        for (uint32_t k = 0; k < bindingCount; ++k) {
            const uint32_t event = body.Word();
            r.bindings.push_back({event, body.Word()});
        }
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(body.Word(), 0u);
        }
        r.propertyBlock = body.Bytes(body.Left());
        s.records.push_back(r);
    }
    return s;
}

std::string Word(uint32_t word) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<char>(word >> (8 * i)));
    }
    return bytes;
}

std::string Counted(const std::string &bytes) {
    return Word(static_cast<uint32_t>(bytes.size())) + bytes;
}

// A LOGFONTA with height, weight, the GB2312 character set and a face name.
std::string Font(int32_t height, int32_t weight, const std::string &face) {
    std::string font(60, '\0');
    std::memcpy(font.data(), Word(static_cast<uint32_t>(height)).data(), 4);
    std::memcpy(font.data() + 16, Word(static_cast<uint32_t>(weight)).data(), 4);
    font[23] = static_cast<char>(134);
    std::memcpy(font.data() + 28, face.data(), face.size());
    return font;
}

std::string Words(std::initializer_list<uint32_t> words) {
    std::string bytes;
    for (uint32_t w : words) {
        bytes += Word(w);
    }
    return bytes;
}

std::string LabelBlock(uint32_t textColour, uint32_t horizontal, const std::string &font,
                       const std::string &caption) {
    return Words({2, 0, 8, 0, 0x808080, 0xFFFFFF, 0x808080, textColour, 0xFF000000, 1, 0, 0x808080,
                  0xFFFFFF, 0x808080, horizontal, 1, 0}) +
           Counted(font) + Counted("") + Counted(caption) + Counted("") + Counted("");
}

class GeneratedSegment : public ::testing::Test {
protected:
    static void SetUpTestSuite() { segment_ = new Segment(Parse()); }
    static void TearDownTestSuite() { delete segment_; }
    static const Segment &S() { return *segment_; }
    static const Record &R(size_t i) { return segment_->records.at(i); }
    static Segment *segment_;
};

Segment *GeneratedSegment::segment_ = nullptr;

TEST_F(GeneratedSegment, HasTheSizeAndHeadOfTheMainWindow) {
    EXPECT_EQ(kWindowTemplateSegmentSize, 0x171du);
    EXPECT_EQ(S().parsedBytes, 0x171du);
    EXPECT_EQ(S().idTableLength, 8u);
    EXPECT_EQ(S().windowId, 0x52010001u);
    EXPECT_NE(S().reserved1, 0u);
    EXPECT_NE(S().reserved2, 0u);
    EXPECT_TRUE(S().text1.empty());
    EXPECT_TRUE(S().text2.empty());
    EXPECT_EQ(S().unitCount, 7u);
    EXPECT_EQ(S().unitListLength, 0x16f9u);
}

TEST_F(GeneratedSegment, RecordsFollowEachOtherInListOrder) {
    const std::vector<uint32_t> lengths = {0x11a0, 0xf4, 0x13b, 0xfc, 0x98, 0xd4, 0x6e};
    const std::vector<uint32_t> ids = {0x06010000, 0x16011f0e, 0x16011f0c, 0x16010006,
                                       0x16010005, 0x16010004, 0x16010002};
    const std::vector<uint32_t> types = {0x00010001, 0x0001000a, 0x0001000a, 0x00010005,
                                         0x0001000b, 0x0001000a, 0x00010005};
    const std::vector<std::string> names = {"",      "标签3", "标签2",  "编辑框2",
                                            "按钮1", "标签1", "编辑框1"};
    ASSERT_EQ(S().records.size(), 7u);
    uint32_t offset = 0;
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(S().offsets[i], offset) << i;
        EXPECT_EQ(R(i).length, lengths[i]) << i;
        EXPECT_EQ(R(i).unitId, ids[i]) << i;
        EXPECT_EQ(R(i).type, types[i]) << i;
        EXPECT_EQ(R(i).name, names[i]) << i;
        offset += 4 + lengths[i];
    }
}

TEST_F(GeneratedSegment, CommonFieldsOfEveryRecord) {
    const int32_t geometry[7][4] = {{50, 50, 796, 446}, {128, 64, 552, 32}, {8, 328, 776, 80},
                                    {8, 112, 776, 200}, {704, 16, 80, 32},  {16, 24, 112, 24},
                                    {128, 16, 552, 32}};
    const uint32_t flags[7] = {1, 1, 1, 5, 5, 1, 5};
    for (size_t i = 0; i < 7; ++i) {
        const Record &r = R(i);
        EXPECT_EQ(r.left, geometry[i][0]) << i;
        EXPECT_EQ(r.top, geometry[i][1]) << i;
        EXPECT_EQ(r.width, geometry[i][2]) << i;
        EXPECT_EQ(r.height, geometry[i][3]) << i;
        EXPECT_EQ(r.flags, flags[i]) << i;
        EXPECT_EQ(r.eventTarget, 0u);
        EXPECT_EQ(r.remark, "");
        EXPECT_EQ(r.liveUnit, 0u);
        EXPECT_EQ(r.livePointer, 0u);
        EXPECT_EQ(r.parent, 0u);
        EXPECT_EQ(r.childCount, 0u);
        EXPECT_EQ(r.mousePointer, std::string(4, '\0'));
        EXPECT_EQ(r.tag, "");
        EXPECT_EQ(r.tabOrder, 0);
        if (i == 4) {
            // 按钮1: event 0 runs DownloadButtonClick, entry 0 of the entry table.
            ASSERT_EQ(r.bindings.size(), 1u);
            EXPECT_EQ(r.bindings[0].first, 0u);
            EXPECT_EQ(r.bindings[0].second, 0u);
        } else {
            EXPECT_TRUE(r.bindings.empty()) << i;
        }
    }
}

TEST_F(GeneratedSegment, WindowPropertyBlock) {
    std::string icon(4286, '\0');
    std::string expected =
        Words({6, 2, 1, 0xFF000000, 0, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0});
    expected += Counted("");
    expected += Counted("");
    const std::string block = R(0).propertyBlock;
    ASSERT_EQ(block.size(), 0x1139u);
    EXPECT_EQ(block.substr(0, expected.size()), expected);
    const std::string iconField = block.substr(expected.size(), 4 + 4286);
    EXPECT_EQ(iconField.substr(0, 4), Word(4286));
    // An icon directory of one 32 x 32 image at 32 bits per pixel.
    EXPECT_EQ(iconField.substr(4, 6), std::string("\0\0\1\0\1\0", 6));
    EXPECT_EQ(static_cast<uint8_t>(iconField[10]), 32);
    EXPECT_EQ(static_cast<uint8_t>(iconField[11]), 32);
    EXPECT_EQ(iconField.substr(16, 2), std::string("\x20\0", 2));
    EXPECT_EQ(block.substr(expected.size() + 4 + 4286),
              Counted("") + Counted("Zorvin网音乐下载器-Varo") + Counted(""));
}

TEST_F(GeneratedSegment, LabelPropertyBlocks) {
    EXPECT_EQ(R(1).propertyBlock,
              LabelBlock(0, 0, "", "示例：http://dj.zorvin.cn/dance/play/348872.html"));
    const std::string notice = "Zorvin网音乐下载器，纯属练习学习，一切后果与作者无关！^_^ !";
    EXPECT_EQ(notice.size(), 59u);
    EXPECT_EQ(R(2).propertyBlock, LabelBlock(0x0000FF, 1, Font(-20, 400, "微软雅黑"), notice));
    EXPECT_EQ(R(5).propertyBlock, LabelBlock(0, 0, "", "输入下载歌曲地址"));
}

TEST_F(GeneratedSegment, EditBoxAndButtonPropertyBlocks) {
    const std::string outputBox = Words({2, 1, 0, 0xFFFFFF, 1, 0, 1, 2, 0, 0}) +
                                  std::string("*\0", 2) + Words({0, 0, 0, 100, 0, 0}) +
                                  Counted(Font(-21, 400, "微软雅黑")) + Counted("") + Counted("") +
                                  Counted("");
    EXPECT_EQ(R(3).propertyBlock, outputBox);
    EXPECT_EQ(R(4).propertyBlock,
              Words({1, 0, 1, 1}) + Counted("") + Counted("") + Counted("我要下载"));
    EXPECT_TRUE(R(6).propertyBlock.empty());
}

} // namespace
