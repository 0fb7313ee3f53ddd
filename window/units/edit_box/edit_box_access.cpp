// The edit box's property reads and writes by index (8 to 28), with their clamps.
#include <algorithm>
#include <string>

#include "runtime/program_text_wide.h"
#include "window/units/edit_box/edit_box_unit.h"
#include "window/units/edit_box/edit_input.h"
#include "window/units/edit_box/edit_line_bound.h"
#include "window/units/edit_box/unit_border.h"
#include "window/units/unit_property_values.h"

namespace {

enum EditBoxProperty : int32_t {
    kContent = 0,          // 8
    kBorder = 1,           // 9
    kTextColour = 2,       // 10
    kBackgroundColour = 3, // 11
    kFont = 4,             // 12
    kHideSelection = 5,    // 13
    kMaximumLength = 6,    // 14
    kMultiLine = 7,        // 15
    kScrollBars = 8,       // 16
    kAlignment = 9,        // 17
    kInputMode = 10,       // 18
    kPasswordChar = 11,    // 19
    kCaseConversion = 12,  // 20
    kSpinMode = 13,        // 21
    kSpinMinimum = 14,     // 22
    kSpinMaximum = 15,     // 23
    kSelectionStart = 16,  // 24
    kSelectionLength = 17, // 25
    kSelectedText = 18,    // 26
    kDataSource = 19,      // 27
    kDataColumn = 20,      // 28
};

const char *TextOf(const PropertyValue &value) {
    return value.low != 0 ? reinterpret_cast<const char *>(value.low) : "";
}

// Stores a choice; 1 (re-create) when it changed.
int32_t StoreRecreating(uint32_t &field, uint32_t value) {
    const bool changed = field != value;
    field = value;
    return changed ? 1 : 0;
}

} // namespace

int32_t CEditBoxUnit::TextLength() const {
    return static_cast<int32_t>(GetWindowTextLengthW(m_hWnd));
}

void CEditBoxUnit::GetProperty(int32_t index, PropertyValue *value) {
    const EditBoxProperties &p = properties;
    switch (index) {
    case kContent:
        scratch_ = WindowText();
        *value = TextValue(scratch_);
        break;
    case kBorder:
        *value = {p.border, 0};
        break;
    case kTextColour:
        *value = {p.textColour, 0};
        break;
    case kBackgroundColour:
        *value = {p.backgroundColour, 0};
        break;
    case kFont:
        *value = BytesValue(p.font);
        break;
    case kHideSelection:
        *value = {p.hideSelection, 0};
        break;
    case kMaximumLength:
        *value = {p.maximumLength, 0};
        break;
    case kMultiLine:
        *value = {p.multiLine, 0};
        break;
    case kScrollBars:
        *value = {p.scrollBars, 0};
        break;
    case kAlignment:
        *value = {p.alignment, 0};
        break;
    case kInputMode:
        *value = {p.inputMode, 0};
        break;
    case kPasswordChar:
        scratch_.assign(1, static_cast<char>(p.passwordCharacter & 0xFF));
        if (scratch_[0] == '\0')
            scratch_.clear();
        *value = TextValue(scratch_);
        break;
    case kCaseConversion:
        *value = {p.caseConversion, 0};
        break;
    case kSpinMode:
        *value = {p.spinMode, 0};
        break;
    case kSpinMinimum:
        *value = {static_cast<uint32_t>(p.spinMinimum), 0};
        break;
    case kSpinMaximum:
        *value = {static_cast<uint32_t>(p.spinMaximum), 0};
        break;
    case kSelectionStart:
    case kSelectionLength: {
        const EditSelection selection = Selection();
        *value = {
            static_cast<uint32_t>(index == kSelectionStart ? selection.start : selection.length),
            0};
        break;
    }
    case kSelectedText:
        scratch_ = SelectedText();
        *value = TextValue(scratch_);
        break;
    case kDataSource:
        *value = TextValue(p.dataSource);
        break;
    case kDataColumn:
        *value = TextValue(p.dataColumn);
        break;
    default:
        break;
    }
}

int32_t CEditBoxUnit::SetProperty(int32_t index, const PropertyValue &value) {
    EditBoxProperties &p = properties;
    const auto *bytes = reinterpret_cast<const uint8_t *>(value.low);
    const int32_t number = static_cast<int32_t>(value.low);
    switch (index) {
    case kContent: {
        // Set straight from the value: the control holds the text, and a copy kept here would
        // hold a page-sized text for as long as the box shows it.
        std::string cut;
        SetTextQuietly(BoundEditLines(TextOf(value), cut));
        RaiseEvent(0);
        break;
    }
    case kBorder:
        p.border = Clamp(value.low, kLastWindowBorder);
        ApplyUnitBorder(m_hWnd, p.border);
        ApplySpinEdge();
        break;
    case kTextColour:
        p.textColour = value.low;
        InvalidateRect(m_hWnd, nullptr, TRUE);
        break;
    case kBackgroundColour:
        p.backgroundColour = value.low;
        RemakeBrush();
        RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
        break;
    case kFont:
        p.font.assign(bytes, bytes != nullptr ? bytes + value.high : bytes);
        ApplyFont();
        break;
    case kHideSelection:
        return StoreRecreating(p.hideSelection, value.low != 0);
    case kMaximumLength:
        p.maximumLength = static_cast<uint32_t>(std::max(number, 0));
        SendMessageA(m_hWnd, EM_LIMITTEXT, p.maximumLength, 0);
        break;
    case kMultiLine:
        return StoreRecreating(p.multiLine, value.low != 0);
    case kScrollBars:
        return StoreRecreating(p.scrollBars, Clamp(value.low, 3));
    case kAlignment:
        return StoreRecreating(p.alignment, Clamp(value.low, 2));
    case kInputMode:
        p.inputMode = Clamp(value.low, kLastInputMode);
        SendMessageW(
            m_hWnd, EM_SETPASSWORDCHAR,
            p.inputMode == kInputPassword ? ProgramCharacterToWide(p.passwordCharacter & 0xFF) : 0,
            0);
        SendMessageA(m_hWnd, EM_SETREADONLY, p.inputMode == kInputReadOnly, 0);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        break;
    case kPasswordChar:
        // An empty text keeps the character: it must not turn masking off.
        if (TextOf(value)[0] == '\0')
            break;
        p.passwordCharacter = static_cast<uint8_t>(TextOf(value)[0]);
        if (p.inputMode == kInputPassword) {
            SendMessageW(m_hWnd, EM_SETPASSWORDCHAR, ProgramCharacterToWide(p.passwordCharacter),
                         0);
            InvalidateRect(m_hWnd, nullptr, TRUE);
        }
        break;
    case kCaseConversion:
        return StoreRecreating(p.caseConversion, Clamp(value.low, 2));
    case kSpinMode:
        return StoreRecreating(p.spinMode, Clamp(value.low, 2));
    case kSpinMinimum:
        p.spinMinimum = number;
        ApplySpinRange();
        break;
    case kSpinMaximum:
        p.spinMaximum = number;
        ApplySpinRange();
        break;
    case kSelectionStart:
        if (number == -1) {
            p.selectionStart = static_cast<int32_t>(WindowText().size());
            p.selectionLength = 0;
        } else {
            p.selectionStart = std::max(number, 0);
            p.selectionLength = Selection().length;
        }
        Select(p.selectionStart, p.selectionLength);
        break;
    case kSelectionLength:
        if (number == -1) {
            p.selectionStart = 0;
            p.selectionLength = static_cast<int32_t>(WindowText().size());
        } else {
            p.selectionStart = Selection().start;
            p.selectionLength = std::max(number, 0);
        }
        Select(p.selectionStart, p.selectionLength);
        break;
    case kSelectedText:
        SendMessageW(m_hWnd, EM_REPLACESEL, TRUE,
                     reinterpret_cast<LPARAM>(ProgramTextToWide(TextOf(value)).c_str()));
        break;
    case kDataSource:
        p.dataSource = TextOf(value);
        break;
    case kDataColumn:
        p.dataColumn = TextOf(value);
        break;
    default:
        break;
    }
    return 0;
}

EditBoxProperties CEditBoxUnit::CurrentProperties() const {
    EditBoxProperties current = properties;
    current.content = WindowText();
    const EditSelection selection = Selection();
    current.selectionStart = selection.start;
    current.selectionLength = selection.length;
    return current;
}

std::string CEditBoxUnit::SelectedText() const {
    // The control counts its positions in characters: slice the wide text, then convert.
    DWORD start = 0, end = 0;
    SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    std::wstring wide(static_cast<size_t>(TextLength()) + 1, L'\0');
    wide.resize(
        static_cast<size_t>(GetWindowTextW(m_hWnd, wide.data(), static_cast<int>(wide.size()))));
    end = std::min<DWORD>(end, static_cast<DWORD>(wide.size()));
    start = std::min(start, end);
    return WideToProgramText(std::wstring_view(wide).substr(start, end - start));
}
