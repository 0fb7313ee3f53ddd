// CEditBoxUnit: the edit box unit over the platform's "EDIT" class, with its own borders,
// colours, vertical centring of single-line text, input modes and an optional spin button.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "window/accessibility/unit_accessible.h"
#include "window/unit_type.h"
#include "window/unit_wnd.h"

// The edit box's properties in the order of its PropertyBlock (version 2).
struct EditBoxProperties {
    uint32_t border = 1;                  // 0 none .. 5 single line
    uint32_t textColour = 0;              // COLORREF
    uint32_t backgroundColour = 0xFFFFFF; // COLORREF; 0xFF000000: the button-face colour
    uint32_t hideSelection = 1;           // 0 adds ES_NOHIDESEL
    uint32_t maximumLength = 0;           // bytes; 0 leaves the platform's limit
    uint32_t multiLine = 0;
    uint32_t scrollBars = 0;         // 0 none, 1 horizontal, 2 vertical, 3 both
    uint32_t alignment = 0;          // 0 left, 1 centred, 2 right
    uint32_t inputMode = 0;          // 0 normal .. 11 date-time (EditInputMode)
    uint16_t passwordCharacter = 42; // its low byte is shown in password mode
    uint32_t caseConversion = 0;     // 0 none, 1 lower, 2 upper
    uint32_t spinMode = 0;           // 0 none, 1 automatic, 2 manual
    int32_t spinMinimum = 0;
    int32_t spinMaximum = 100;
    int32_t selectionStart = 0;  // byte offset
    int32_t selectionLength = 0; // bytes
    std::vector<uint8_t> font;   // a 60-byte LOGFONTA, or empty for the default
    std::string content;
    std::string dataSource; // from version 2; stored only
    std::string dataColumn; // from version 2; stored only
};

constexpr uint32_t kEditBoxBlockVersion = 2;

// Reads a block into properties (defaults for an empty block); false for a version above 2 or
// a block that ends early. Out-of-range choices are clamped as property writes clamp them.
bool ReadEditBoxProperties(const uint8_t *block, uint32_t size, EditBoxProperties *properties);
HGLOBAL SaveEditBoxProperties(const EditBoxProperties &properties);

// A selection in bytes of the program's text.
struct EditSelection {
    int32_t start;
    int32_t length;
};

class CEditBoxUnit : public CUnitWnd {
public:
    EditBoxProperties properties;

    static CWnd *Create(const UnitCreateArguments &arguments);
    // Property operations (index counted from 8); 1 asks for re-creation.
    int32_t SetProperty(int32_t index, const PropertyValue &value);
    void GetProperty(int32_t index, PropertyValue *value);
    // The properties with the content and the selection as the control has them now.
    EditBoxProperties CurrentProperties() const;
    // The key hook: true when the edit box takes the key itself (Enter in a writable
    // multi-line box).
    bool TakesKey(uint32_t keyCode) const;
    // The spin button window, or null.
    HWND SpinButton() const { return spin_; }
    // A press of the spin button: delta is the position change.
    void OnSpin(int32_t delta);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) override;
    void PostNcDestroy() override;

private:
    bool SingleLine() const { return properties.multiLine == 0; }
    // Creates the font from the property (or takes DEFAULT_GUI_FONT), raises a single-line box
    // to the height of one line of text plus its edges, and applies the font.
    void ApplyFont();
    void RemakeBrush();
    void CreateSpinButton(HWND parent, uint32_t controlId, bool disabled);
    // Gives the spin button the range from the smaller to the larger of minimum and maximum.
    void ApplySpinRange();
    // A thin sunken edge for borders 0, 1 and 3, none otherwise.
    void ApplySpinEdge();
    // Right of the edit box, 18 pixels wide, its top and height, directly behind it, shown or
    // hidden with it.
    void PlaceSpinButton();
    // Selects from byte start for length bytes (all after start when negative) and scrolls the
    // caret into view.
    void Select(int32_t start, int32_t length);
    // The current selection in bytes of the text.
    EditSelection Selection() const;
    // The byte offset of a control position, and the control position of a byte offset.
    int32_t PositionToByte(DWORD position) const;
    DWORD ByteToPosition(int32_t byte) const;
    // The window text, read afresh.
    std::string WindowText() const;
    // Replaces the window text without raising event 0.
    void SetTextQuietly(std::string_view text);
    std::string SelectedText() const;
    // The text length in the control's own positions.
    int32_t TextLength() const;
    void ReleaseResources();

    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    void OnNcPaint();
    LRESULT OnNcHitTest(LPARAM lParam);
    LRESULT OnChar(WPARAM wParam);
    LRESULT OnKillFocus();
    // The maximum length counts bytes of the program's code page (the platform control counts
    // UTF-16 units): a typed character (WM_CHAR, WM_IME_CHAR) that does not fit is refused, and
    // pasted text is cut to what fits.
    LRESULT TypeWithinLimit(wchar_t typed);
    void PasteWithinLimit();
    // The bytes the text may still grow by when the selection is replaced.
    uint32_t RoomInBytes() const;

    HBRUSH brush_ = nullptr;      // solid, from the background colour
    HFONT font_ = nullptr;        // created from the font property, or null for DEFAULT_GUI_FONT
    int lineHeight_ = 0;          // height of "W" in the current font: the single-line band
    HWND spin_ = nullptr;         // the "msctls_updown32" window, or null
    bool suppressChange_ = false; // set while the unit itself replaces the text
    std::string scratch_;         // the text a read hands out, valid until the next read
    UnitAccessible accessible_{AccessibleUnitKind::kLabelledBox}; // what a screen reader reads
};

// The edit box's UnitInterface (descriptor in the kernel unit types).
void *EditBoxUnitInterface(int32_t operationCode);
