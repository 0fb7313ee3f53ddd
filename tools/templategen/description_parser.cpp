// Tokens, statements and values of the window description format.
#include "description_parser.h"

#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "code_page.h"
#include "property_blocks.h"

namespace {

// LOGFONTA: five LONGs, eight BYTEs, a 32-byte face name.
constexpr size_t kLogFontBytes = 60;
constexpr size_t kLogFontFaceOffset = 28;
constexpr size_t kLogFontFaceBytes = 32;
constexpr size_t kLogFontCharSetOffset = 23;
constexpr uint8_t kGb2312CharSet = 134;

struct Token {
    std::string text;
    bool quoted = false;
};

std::vector<Token> Tokenize(const std::string &line) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            ++i;
        } else if (line[i] == '"') {
            Token token{"", true};
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    ++i;
                }
                token.text.push_back(line[i]);
            }
            if (i == line.size()) {
                throw std::runtime_error("unterminated text");
            }
            ++i;
            tokens.push_back(token);
        } else {
            const size_t end = line.find_first_of(" \t\r\"", i);
            tokens.push_back({line.substr(i, end - i), false});
            i = end == std::string::npos ? line.size() : end;
        }
    }
    return tokens;
}

int64_t Number(const Token &token) {
    if (token.quoted || token.text.empty()) {
        throw std::runtime_error("expected a number, found \"" + token.text + "\"");
    }
    size_t used = 0;
    int64_t value = 0;
    try {
        value = std::stoll(token.text, &used, 0);
    } catch (const std::exception &) {
        used = 0;
    }
    if (used != token.text.size() || value < INT32_MIN || value > UINT32_MAX) {
        throw std::runtime_error("expected a 32-bit number, found " + token.text);
    }
    return value;
}

std::string Text(const Token &token) {
    if (!token.quoted) {
        throw std::runtime_error("expected a quoted text, found " + token.text);
    }
    return ToCodePage936(token.text);
}

void ExpectCount(const std::vector<Token> &tokens, size_t count) {
    if (tokens.size() != count) {
        throw std::runtime_error(tokens[0].text + " takes " + std::to_string(count - 1) +
                                 " value(s)");
    }
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string LogFont(const std::vector<Token> &tokens) {
    ExpectCount(tokens, 5);
    const std::string face = Text(tokens[2]);
    if (face.size() >= kLogFontFaceBytes) {
        throw std::runtime_error("font face name longer than 31 bytes");
    }
    std::string font(kLogFontBytes, '\0');
    const auto height = static_cast<uint32_t>(Number(tokens[3]));
    const auto weight = static_cast<uint32_t>(Number(tokens[4]));
    for (int i = 0; i < 4; ++i) {
        font[i] = static_cast<char>(height >> (8 * i));
        font[16 + i] = static_cast<char>(weight >> (8 * i));
    }
    font[kLogFontCharSetOffset] = static_cast<char>(kGb2312CharSet);
    std::memcpy(font.data() + kLogFontFaceOffset, face.data(), face.size());
    return font;
}

PropertyValue Value(const std::vector<Token> &tokens, const std::string &directory) {
    PropertyValue value;
    const Token &first = tokens[1];
    if (first.quoted) {
        ExpectCount(tokens, 2);
        value.bytes = Text(first);
    } else if (first.text == "none") {
        ExpectCount(tokens, 2);
    } else if (first.text == "file") {
        ExpectCount(tokens, 3);
        value.bytes = ReadFile(directory + "/" + tokens[2].text);
    } else if (first.text == "font") {
        value.bytes = LogFont(tokens);
    } else {
        ExpectCount(tokens, 2);
        value.isNumber = true;
        value.number = Number(first);
    }
    return value;
}

uint32_t Flags(const std::vector<Token> &tokens) {
    uint32_t flags = 0;
    for (size_t i = 1; i < tokens.size(); ++i) {
        const std::string &name = tokens[i].text;
        if (name == "visible") {
            flags |= 0x1;
        } else if (name == "disabled") {
            flags |= 0x2;
        } else if (name == "tabstop") {
            flags |= 0x4;
        } else {
            flags |= static_cast<uint32_t>(Number(tokens[i]));
        }
    }
    return flags;
}

constexpr uint32_t kMenuItemType = 0x00010003;
constexpr uint32_t kIdKindClassMask = 0xFF000000;
constexpr uint32_t kMenuItemKindClass = 0x26000000;
constexpr uint32_t kMenuLevelShift = 4;

uint32_t Bit(const Token &token, std::initializer_list<std::pair<const char *, uint32_t>> names) {
    for (const auto &[name, bit] : names) {
        if (token.text == name) {
            return bit;
        }
    }
    throw std::runtime_error("unknown word " + token.text);
}

class Parser {
public:
    Parser(const std::string &directory, const std::map<std::string, uint32_t> &handlers)
        : directory_(directory), handlers_(handlers) {}

    void Statement(const std::vector<Token> &tokens, int line);
    std::vector<WindowDescription> Finish();

private:
    void FinishUnit();
    UnitDescription &CurrentUnit(const std::string &keyword);
    void UnitStatement(const std::vector<Token> &tokens);
    bool MenuItemStatement(UnitDescription &unit, const std::vector<Token> &tokens) const;
    uint32_t Handler(const Token &name) const;

    const std::string &directory_;
    const std::map<std::string, uint32_t> &handlers_;
    std::vector<WindowDescription> windows_;
    bool inUnit_ = false;
    bool emptyBlock_ = false;
    std::map<std::string, PropertyValue> properties_;
};

UnitDescription &Parser::CurrentUnit(const std::string &keyword) {
    if (!inUnit_) {
        throw std::runtime_error(keyword + " outside a unit");
    }
    return windows_.back().units.back();
}

void Parser::FinishUnit() {
    if (!inUnit_) {
        return;
    }
    UnitDescription &unit = windows_.back().units.back();
    if (unit.menuItem) {
        if (emptyBlock_ || !properties_.empty()) {
            throw std::runtime_error("a menuitem has no property block");
        }
        inUnit_ = false;
        return;
    }
    if (emptyBlock_ && !properties_.empty()) {
        throw std::runtime_error("unit with an empty property block also sets properties");
    }
    unit.propertyBlock = emptyBlock_ ? std::string() : EncodePropertyBlock(unit.type, properties_);
    inUnit_ = false;
    emptyBlock_ = false;
    properties_.clear();
}

void Parser::Statement(const std::vector<Token> &tokens, int line) {
    const std::string &keyword = tokens[0].text;
    if (keyword == "window") {
        ExpectCount(tokens, 2);
        FinishUnit();
        windows_.push_back({});
        windows_.back().windowId = static_cast<uint32_t>(Number(tokens[1]));
        return;
    }
    if (windows_.empty()) {
        throw std::runtime_error(keyword + " before the first window");
    }
    if (keyword == "reserved") {
        ExpectCount(tokens, 3);
        windows_.back().reserved1 = static_cast<uint32_t>(Number(tokens[1]));
        windows_.back().reserved2 = static_cast<uint32_t>(Number(tokens[2]));
    } else if (keyword == "unit") {
        ExpectCount(tokens, 4);
        FinishUnit();
        UnitDescription unit;
        unit.unitId = static_cast<uint32_t>(Number(tokens[1]));
        unit.menuItem = tokens[2].text == "menuitem";
        if (unit.menuItem && (unit.unitId & kIdKindClassMask) != kMenuItemKindClass) {
            throw std::runtime_error("a menuitem needs a UnitId of kind 6 and class 2");
        }
        unit.type = unit.menuItem ? kMenuItemType : UnitTypeForKeyword(tokens[2].text);
        unit.name = Text(tokens[3]);
        unit.line = line;
        windows_.back().units.push_back(unit);
        inUnit_ = true;
    } else {
        UnitStatement(tokens);
    }
}

void Parser::UnitStatement(const std::vector<Token> &tokens) {
    const std::string &keyword = tokens[0].text;
    UnitDescription &unit = CurrentUnit(keyword);
    if (keyword == "position") {
        ExpectCount(tokens, 5);
        unit.left = static_cast<int32_t>(Number(tokens[1]));
        unit.top = static_cast<int32_t>(Number(tokens[2]));
        unit.width = static_cast<int32_t>(Number(tokens[3]));
        unit.height = static_cast<int32_t>(Number(tokens[4]));
    } else if (keyword == "flags") {
        unit.flags = Flags(tokens);
    } else if (keyword == "tab_order") {
        ExpectCount(tokens, 2);
        unit.tabOrder = static_cast<int32_t>(Number(tokens[1]));
    } else if (keyword == "parent") {
        ExpectCount(tokens, 2);
        unit.parent = static_cast<uint32_t>(Number(tokens[1]));
    } else if (keyword == "event_target") {
        ExpectCount(tokens, 2);
        unit.eventTarget = static_cast<uint32_t>(Number(tokens[1]));
    } else if (keyword == "children") {
        for (size_t i = 1; i < tokens.size(); ++i) {
            unit.children.push_back(static_cast<uint32_t>(Number(tokens[i])));
        }
    } else if (keyword == "remark") {
        ExpectCount(tokens, 2);
        unit.remark = Text(tokens[1]);
    } else if (keyword == "tag") {
        ExpectCount(tokens, 2);
        unit.tag = Text(tokens[1]);
    } else if (keyword == "mouse_pointer") {
        ExpectCount(tokens, 2);
        const auto number = static_cast<uint32_t>(Number(tokens[1]));
        unit.mousePointer.assign(reinterpret_cast<const char *>(&number), 4);
    } else if (keyword == "event") {
        ExpectCount(tokens, 3);
        unit.bindings.push_back({static_cast<int32_t>(Number(tokens[1])), Handler(tokens[2])});
    } else if (unit.menuItem && MenuItemStatement(unit, tokens)) {
        return;
    } else if (keyword == "properties") {
        if (tokens.size() != 2 || tokens[1].text != "empty") {
            throw std::runtime_error("properties takes the word empty");
        }
        emptyBlock_ = true;
    } else if (tokens.size() < 2) {
        throw std::runtime_error(keyword + " needs a value");
    } else if (!properties_.emplace(keyword, Value(tokens, directory_)).second) {
        throw std::runtime_error("property " + keyword + " given twice");
    }
}

uint32_t Parser::Handler(const Token &name) const {
    const auto handler = handlers_.find(name.text);
    if (handler == handlers_.end()) {
        throw std::runtime_error("no handler " + name.text + " in the handler list");
    }
    return handler->second;
}

// The statements of a menu item; false for any other keyword.
bool Parser::MenuItemStatement(UnitDescription &unit, const std::vector<Token> &tokens) const {
    const std::string &keyword = tokens[0].text;
    if (keyword == "menu") {
        if (tokens.size() < 3) {
            throw std::runtime_error("menu needs a caption and a level");
        }
        unit.caption = Text(tokens[1]);
        unit.menuFlags = static_cast<uint32_t>(Number(tokens[2])) << kMenuLevelShift;
        for (size_t i = 3; i < tokens.size(); ++i) {
            unit.menuFlags |=
                Bit(tokens[i], {{"hidden", 0x1}, {"disabled", 0x2}, {"checked", 0x4}});
        }
    } else if (keyword == "shortcut") {
        if (tokens.size() < 2) {
            throw std::runtime_error("shortcut needs a key");
        }
        unit.shortcut = static_cast<uint32_t>(Number(tokens[1])) & 0xFFFF;
        for (size_t i = 2; i < tokens.size(); ++i) {
            unit.shortcut |=
                Bit(tokens[i], {{"ctrl", 0x10000}, {"shift", 0x20000}, {"alt", 0x40000}});
        }
    } else if (keyword == "menu_value") {
        ExpectCount(tokens, 2);
        unit.menuValue = static_cast<uint32_t>(Number(tokens[1]));
    } else if (keyword == "handler") {
        ExpectCount(tokens, 2);
        unit.menuHandlerOffset = Handler(tokens[1]);
    } else {
        return false;
    }
    return true;
}

std::vector<WindowDescription> Parser::Finish() {
    FinishUnit();
    return std::move(windows_);
}

bool IsBlankOrComment(const std::vector<Token> &tokens) {
    return tokens.empty() || (!tokens[0].quoted && tokens[0].text[0] == '#');
}

} // namespace

std::vector<WindowDescription>
ParseWindowDescription(const std::string &text, const std::string &directory,
                       const std::map<std::string, uint32_t> &handlerOffsets) {
    Parser parser(directory, handlerOffsets);
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        try {
            const std::vector<Token> tokens = Tokenize(line);
            if (!IsBlankOrComment(tokens)) {
                parser.Statement(tokens, number);
            }
        } catch (const std::runtime_error &error) {
            throw std::runtime_error("line " + std::to_string(number) + ": " + error.what());
        }
    }
    return parser.Finish();
}

std::map<std::string, uint32_t> ParseHandlerList(const std::string &text) {
    std::map<std::string, uint32_t> offsets;
    std::istringstream lines(text);
    std::string line;
    uint32_t entry = 0;
    while (std::getline(lines, line)) {
        const std::vector<Token> tokens = Tokenize(line);
        if (IsBlankOrComment(tokens)) {
            continue;
        }
        if (tokens.size() != 1 ||
            !offsets.emplace(tokens[0].text, entry * kEntryTableEntryBytes).second) {
            throw std::runtime_error("handler list: bad or repeated entry " + tokens[0].text);
        }
        ++entry;
    }
    return offsets;
}
