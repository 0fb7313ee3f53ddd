// The window unit's PropertyBlock and its property table: reads, writes and their clamps.
#include <algorithm>

#include "runtime/program_text_wide.h"
#include "window/property_block.h"
#include "window/units/unit_property_values.h"
#include "window/units/window/win_form_unit.h"

namespace {

enum WindowProperty : int32_t {
    kTitle = 0,            // 8
    kBorderStyle = 1,      // 9
    kBackgroundColour = 2, // 10
    kBackgroundPicture = 3,
    kPictureMode = 4,
    kBackgroundMusic = 5,
    kMusicPlayMode = 6,
    kControlBox = 7,
    kMaximiseBox = 8,
    kMinimiseBox = 9,
    kStartPosition = 10,
    kMovable = 11,
    kIcon = 12,
    kEnterMovesFocus = 13,
    kEscCloses = 14,
    kF1OpensHelp = 15,
    kHelpFile = 16,
    kHelpTopic = 17,
    kShowInTaskbar = 18,
    kDragByClientArea = 19,
    kShape = 20,
    kAlwaysOnTop = 21,
    kKeepTitleBarActive = 22,
    kClassName = 23,
};

constexpr uint32_t kMaxBorderStyle = 6;
constexpr uint32_t kMaxPictureMode = 3;
constexpr uint32_t kMaxMusicPlayMode = 2;
constexpr uint32_t kMaxStartPosition = 3;
constexpr uint32_t kMaxShape = 29;

uint32_t ClampPick(uint32_t value, uint32_t maximum) {
    return std::min(static_cast<uint32_t>(std::max(static_cast<int32_t>(value), 0)), maximum);
}

std::string TextOf(const PropertyValue &value) {
    return value.low != 0 ? std::string(reinterpret_cast<const char *>(value.low)) : std::string();
}

std::vector<uint8_t> BytesOf(const PropertyValue &value) {
    const auto *bytes = reinterpret_cast<const uint8_t *>(value.low);
    return bytes != nullptr ? std::vector<uint8_t>(bytes, bytes + value.high)
                            : std::vector<uint8_t>();
}

} // namespace

bool ReadWindowProperties(const uint8_t *block, uint32_t size, WindowProperties *properties,
                          const uint8_t **iconAt) {
    *properties = WindowProperties{};
    if (block == nullptr || size == 0)
        return true;
    try {
        ArchiveReader in(block, size);
        WindowProperties &p = *properties;
        const uint32_t version = in.ReadWord();
        if (version > kWindowBlockVersion)
            return false;
        p.borderStyle = in.ReadWord();
        p.pictureMode = in.ReadWord();
        p.backgroundColour = in.ReadWord();
        p.maximiseBox = in.ReadWord();
        p.minimiseBox = in.ReadWord();
        p.controlBox = in.ReadWord();
        p.startPosition = in.ReadWord();
        p.movable = in.ReadWord();
        p.musicPlayMode = in.ReadWord();
        p.enterMovesFocus = in.ReadWord();
        p.escCloses = in.ReadWord();
        p.f1OpensHelp = in.ReadWord();
        p.helpTopic = in.ReadWord();
        if (version >= 2)
            p.showInTaskbar = in.ReadWord();
        if (version >= 3) {
            p.dragByClientArea = in.ReadWord();
            p.shape = in.ReadWord();
        }
        if (version >= 4)
            p.alwaysOnTop = in.ReadWord();
        if (version >= 5)
            p.keepTitleBarActive = in.ReadWord();
        if (version >= 6)
            p.className = ReadBlockText(in);
        p.backgroundPicture = ReadBlockBytes(in);
        if (iconAt != nullptr)
            *iconAt = block + (size - in.Remaining()) + 4;
        p.icon = ReadBlockBytes(in);
        p.backgroundMusic = ReadBlockBytes(in);
        p.title = ReadBlockText(in);
        p.helpFile = ReadBlockText(in);
        // Out-of-range picks from a block are held to the same ranges as written ones.
        p.borderStyle = ClampPick(p.borderStyle, kMaxBorderStyle);
        p.pictureMode = ClampPick(p.pictureMode, kMaxPictureMode);
        p.startPosition = ClampPick(p.startPosition, kMaxStartPosition);
        p.shape = ClampPick(p.shape, kMaxShape);
        return true;
    } catch (const ArchiveException &) {
        return false;
    }
}

HGLOBAL SaveWindowProperties(const WindowProperties &p) {
    ArchiveWriter out;
    for (uint32_t word :
         {kWindowBlockVersion, p.borderStyle, p.pictureMode, p.backgroundColour, p.maximiseBox,
          p.minimiseBox, p.controlBox, p.startPosition, p.movable, p.musicPlayMode,
          p.enterMovesFocus, p.escCloses, p.f1OpensHelp, p.helpTopic, p.showInTaskbar,
          p.dragByClientArea, p.shape, p.alwaysOnTop, p.keepTitleBarActive})
        out.WriteWord(word);
    WriteBlockText(out, p.className);
    WriteBlockBytes(out, p.backgroundPicture);
    WriteBlockBytes(out, p.icon);
    WriteBlockBytes(out, p.backgroundMusic);
    WriteBlockText(out, p.title);
    WriteBlockText(out, p.helpFile);
    return ToMovableBlock(out);
}

void CWinFormUnit::GetProperty(int32_t index, PropertyValue *value) {
    const WindowProperties &p = properties;
    switch (index) {
    case kTitle:
        *value = TextValue(p.title);
        break;
    case kBorderStyle:
        *value = {p.borderStyle, 0};
        break;
    case kBackgroundColour:
        *value = {p.backgroundColour, 0};
        break;
    case kBackgroundPicture:
        *value = BytesValue(p.backgroundPicture);
        break;
    case kPictureMode:
        *value = {p.pictureMode, 0};
        break;
    case kBackgroundMusic:
        *value = BytesValue(p.backgroundMusic);
        break;
    case kMusicPlayMode:
        *value = {p.musicPlayMode, 0};
        break;
    case kControlBox:
        *value = {p.controlBox, 0};
        break;
    case kMaximiseBox:
        *value = {p.maximiseBox, 0};
        break;
    case kMinimiseBox:
        *value = {p.minimiseBox, 0};
        break;
    case kStartPosition:
        *value = {IsIconic(m_hWnd) ? 2u : IsZoomed(m_hWnd) ? 3u : 0u, 0};
        break;
    case kMovable:
        *value = {p.movable, 0};
        break;
    case kIcon:
        *value = BytesValue(p.icon);
        break;
    case kEnterMovesFocus:
        *value = {p.enterMovesFocus, 0};
        break;
    case kEscCloses:
        *value = {p.escCloses, 0};
        break;
    case kF1OpensHelp:
        *value = {p.f1OpensHelp, 0};
        break;
    case kHelpFile:
        *value = TextValue(p.helpFile);
        break;
    case kHelpTopic:
        *value = {p.helpTopic, 0};
        break;
    case kShowInTaskbar:
        *value = {p.showInTaskbar, 0};
        break;
    case kDragByClientArea:
        *value = {p.dragByClientArea, 0};
        break;
    case kShape:
        *value = {p.shape, 0};
        break;
    case kAlwaysOnTop:
        *value = {p.alwaysOnTop, 0};
        break;
    case kKeepTitleBarActive:
        *value = {p.keepTitleBarActive, 0};
        break;
    case kClassName:
        *value = TextValue(p.className);
        break;
    default:
        break;
    }
}

int32_t CWinFormUnit::SetProperty(int32_t index, const PropertyValue &value) {
    WindowProperties &p = properties;
    switch (index) {
    case kTitle:
        p.title = TextOf(value);
        SetWindowProgramText(m_hWnd, p.title);
        ApplyFrameStyles();
        break;
    case kBorderStyle:
        p.borderStyle = ClampPick(value.low, kMaxBorderStyle);
        ApplyFrameStyles();
        break;
    case kBackgroundColour:
        p.backgroundColour = value.low;
        InvalidateRect(m_hWnd, nullptr, TRUE);
        break;
    case kBackgroundPicture:
        p.backgroundPicture = BytesOf(value);
        picture_.Reset();
        InvalidateRect(m_hWnd, nullptr, TRUE);
        break;
    case kPictureMode:
        p.pictureMode = ClampPick(value.low, kMaxPictureMode);
        if (!p.backgroundPicture.empty())
            InvalidateRect(m_hWnd, nullptr, TRUE);
        break;
    case kBackgroundMusic:
        StopMusic();
        p.backgroundMusic = BytesOf(value);
        StartMusic();
        break;
    case kMusicPlayMode:
        StopMusic();
        p.musicPlayMode = ClampPick(value.low, kMaxMusicPlayMode);
        StartMusic();
        break;
    case kControlBox:
        p.controlBox = value.low;
        ApplyFrameStyles();
        break;
    case kMaximiseBox:
        p.maximiseBox = value.low;
        ApplyFrameStyles();
        break;
    case kMinimiseBox:
        p.minimiseBox = value.low;
        ApplyFrameStyles();
        break;
    case kStartPosition:
        p.startPosition = ClampPick(value.low, kMaxStartPosition);
        if (IsWindowVisible(m_hWnd))
            ApplyStartPosition();
        break;
    case kMovable:
        p.movable = value.low;
        ApplyMovable();
        break;
    case kIcon:
        p.icon = BytesOf(value);
        ApplyIcons();
        break;
    case kEnterMovesFocus:
        p.enterMovesFocus = value.low;
        break;
    case kEscCloses:
        p.escCloses = value.low;
        break;
    case kF1OpensHelp:
        p.f1OpensHelp = value.low;
        break;
    case kHelpFile:
        p.helpFile = TextOf(value);
        break;
    case kHelpTopic:
        p.helpTopic = value.low;
        break;
    case kShowInTaskbar:
        p.showInTaskbar = value.low;
        break;
    case kDragByClientArea:
        p.dragByClientArea = value.low;
        break;
    case kShape:
        p.shape = ClampPick(value.low, kMaxShape);
        ApplyShape();
        break;
    case kAlwaysOnTop:
        p.alwaysOnTop = value.low;
        ApplyAlwaysOnTop();
        break;
    case kKeepTitleBarActive:
        p.keepTitleBarActive = value.low;
        break;
    case kClassName:
        p.className = TextOf(value);
        break;
    default:
        break;
    }
    return 0;
}
