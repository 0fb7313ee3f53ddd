// Field tables of the window, edit box, label and button PropertyBlocks.
#include "property_blocks.h"

#include <span>
#include <stdexcept>

#include "code_page.h"

namespace {

enum class FieldKind { Word, Short, Text, Bytes };

struct Field {
    const char *name;
    FieldKind kind;
    uint32_t defaultNumber;
    const char *defaultText; // UTF-8
};

constexpr uint32_t kButtonFace = 0xFF000000;

constexpr Field kWindowFields[] = {
    {"border_style", FieldKind::Word, 2, nullptr},
    {"picture_mode", FieldKind::Word, 1, nullptr},
    {"background_colour", FieldKind::Word, kButtonFace, nullptr},
    {"maximise_box", FieldKind::Word, 0, nullptr},
    {"minimise_box", FieldKind::Word, 1, nullptr},
    {"control_box", FieldKind::Word, 1, nullptr},
    {"start_position", FieldKind::Word, 1, nullptr},
    {"movable", FieldKind::Word, 1, nullptr},
    {"music_mode", FieldKind::Word, 0, nullptr},
    {"enter_moves_focus", FieldKind::Word, 0, nullptr},
    {"esc_closes", FieldKind::Word, 1, nullptr},
    {"f1_opens_help", FieldKind::Word, 0, nullptr},
    {"help_topic", FieldKind::Word, 0, nullptr},
    {"show_in_taskbar", FieldKind::Word, 1, nullptr},
    {"drag_by_client_area", FieldKind::Word, 0, nullptr},
    {"shape", FieldKind::Word, 0, nullptr},
    {"always_on_top", FieldKind::Word, 0, nullptr},
    {"keep_title_bar_active", FieldKind::Word, 0, nullptr},
    {"class_name", FieldKind::Text, 0, ""},
    {"background_picture", FieldKind::Bytes, 0, ""},
    {"icon", FieldKind::Bytes, 0, ""},
    {"background_music", FieldKind::Bytes, 0, ""},
    {"title", FieldKind::Text, 0, ""},
    {"help_file", FieldKind::Text, 0, ""},
};

constexpr Field kEditBoxFields[] = {
    {"border", FieldKind::Word, 1, nullptr},
    {"text_colour", FieldKind::Word, 0, nullptr},
    {"background_colour", FieldKind::Word, 0xFFFFFF, nullptr},
    {"hide_selection", FieldKind::Word, 1, nullptr},
    {"maximum_length", FieldKind::Word, 0, nullptr},
    {"multi_line", FieldKind::Word, 0, nullptr},
    {"scroll_bars", FieldKind::Word, 0, nullptr},
    {"alignment", FieldKind::Word, 0, nullptr},
    {"input_mode", FieldKind::Word, 0, nullptr},
    {"password_character", FieldKind::Short, '*', nullptr},
    {"case_conversion", FieldKind::Word, 0, nullptr},
    {"spin_button", FieldKind::Word, 0, nullptr},
    {"spin_minimum", FieldKind::Word, 0, nullptr},
    {"spin_maximum", FieldKind::Word, 100, nullptr},
    {"selection_start", FieldKind::Word, 0, nullptr},
    {"selection_length", FieldKind::Word, 0, nullptr},
    {"font", FieldKind::Bytes, 0, ""},
    {"content", FieldKind::Text, 0, ""},
    {"data_source", FieldKind::Text, 0, ""},
    {"data_column", FieldKind::Text, 0, ""},
};

constexpr Field kLabelFields[] = {
    {"lettering_effect", FieldKind::Word, 0, nullptr},
    {"frame_width", FieldKind::Word, 8, nullptr},
    {"border", FieldKind::Word, 0, nullptr},
    {"frame_colour_1", FieldKind::Word, 0x808080, nullptr},
    {"frame_colour_2", FieldKind::Word, 0xFFFFFF, nullptr},
    {"frame_colour_3", FieldKind::Word, 0x808080, nullptr},
    {"text_colour", FieldKind::Word, 0, nullptr},
    {"background_colour", FieldKind::Word, kButtonFace, nullptr},
    {"picture_mode", FieldKind::Word, 1, nullptr},
    {"gradient_style", FieldKind::Word, 0, nullptr},
    {"gradient_colour_1", FieldKind::Word, 0x808080, nullptr},
    {"gradient_colour_2", FieldKind::Word, 0xFFFFFF, nullptr},
    {"gradient_colour_3", FieldKind::Word, 0x808080, nullptr},
    {"horizontal_alignment", FieldKind::Word, 0, nullptr},
    {"vertical_alignment", FieldKind::Word, 1, nullptr},
    {"word_wrap", FieldKind::Word, 0, nullptr},
    {"font", FieldKind::Bytes, 0, ""},
    {"picture", FieldKind::Bytes, 0, ""},
    {"caption", FieldKind::Text, 0, "标签"},
    {"data_source", FieldKind::Text, 0, ""},
    {"data_column", FieldKind::Text, 0, ""},
};

constexpr Field kButtonFields[] = {
    {"type", FieldKind::Word, 0, nullptr},
    {"horizontal_alignment", FieldKind::Word, 1, nullptr},
    {"vertical_alignment", FieldKind::Word, 1, nullptr},
    {"picture", FieldKind::Bytes, 0, ""},
    {"font", FieldKind::Bytes, 0, ""},
    {"caption", FieldKind::Text, 0, "按钮"},
};

struct UnitTypeSchema {
    const char *keyword;
    uint32_t unitType;
    uint32_t saveVersion;
    std::span<const Field> fields;
};

const UnitTypeSchema kSchemas[] = {
    {"window", 0x00010001, 6, kWindowFields},
    {"editbox", 0x00010005, 2, kEditBoxFields},
    {"label", 0x0001000a, 2, kLabelFields},
    {"button", 0x0001000b, 1, kButtonFields},
};

void AppendWord(std::string &out, uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>(word >> shift));
    }
}

const UnitTypeSchema &SchemaFor(uint32_t unitType) {
    for (const auto &schema : kSchemas) {
        if (schema.unitType == unitType) {
            return schema;
        }
    }
    throw std::runtime_error("no property block layout for this unit type");
}

void EncodeField(std::string &out, const Field &field, const PropertyValue *given) {
    const bool numeric = field.kind == FieldKind::Word || field.kind == FieldKind::Short;
    if (given != nullptr && given->isNumber != numeric) {
        throw std::runtime_error(std::string("property ") + field.name +
                                 (numeric ? " takes a number" : " takes a text or bytes"));
    }
    switch (field.kind) {
    case FieldKind::Word:
        AppendWord(out, given ? static_cast<uint32_t>(given->number) : field.defaultNumber);
        break;
    case FieldKind::Short: {
        const uint32_t value = given ? static_cast<uint32_t>(given->number) : field.defaultNumber;
        out.push_back(static_cast<char>(value));
        out.push_back(static_cast<char>(value >> 8));
        break;
    }
    case FieldKind::Text:
    case FieldKind::Bytes: {
        const std::string bytes = given ? given->bytes : ToCodePage936(field.defaultText);
        AppendWord(out, static_cast<uint32_t>(bytes.size()));
        out += bytes;
        break;
    }
    }
}

} // namespace

uint32_t UnitTypeForKeyword(const std::string &keyword) {
    for (const auto &schema : kSchemas) {
        if (keyword == schema.keyword) {
            return schema.unitType;
        }
    }
    throw std::runtime_error("unknown unit type " + keyword);
}

std::string EncodePropertyBlock(uint32_t unitType,
                                const std::map<std::string, PropertyValue> &values) {
    const UnitTypeSchema &schema = SchemaFor(unitType);
    for (const auto &[name, value] : values) {
        bool known = false;
        for (const Field &field : schema.fields) {
            known = known || name == field.name;
        }
        if (!known) {
            throw std::runtime_error(std::string("a ") + schema.keyword + " has no property " +
                                     name);
        }
    }
    std::string block;
    AppendWord(block, schema.saveVersion);
    for (const Field &field : schema.fields) {
        const auto found = values.find(field.name);
        EncodeField(block, field, found == values.end() ? nullptr : &found->second);
    }
    return block;
}
