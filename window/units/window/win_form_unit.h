// CWinFormUnit: the window unit, the top-level window that hosts a template's units.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "window/dpi_scale.h"
#include "window/picture.h"
#include "window/sound_output.h"
#include "window/unit_type.h"
#include "window/unit_wnd.h"
#include "window/units/window/notification_icon.h"

// The window's properties in the order of its PropertyBlock (version 6).
struct WindowProperties {
    uint32_t borderStyle = 2;               // 0 none .. 6 client edge
    uint32_t pictureMode = 1;               // 0 top-left, 1 tiled, 2 centred, 3 stretched
    uint32_t backgroundColour = 0xFF000000; // 0xFF000000: the button-face colour
    uint32_t maximiseBox = 0;
    uint32_t minimiseBox = 1;
    uint32_t controlBox = 1;
    uint32_t startPosition = 1; // 0 normal, 1 centred, 2 minimised, 3 maximised
    uint32_t movable = 1;
    uint32_t musicPlayMode = 0; // 0 repeat, 1 once, 2 never
    uint32_t enterMovesFocus = 0;
    uint32_t escCloses = 1;
    uint32_t f1OpensHelp = 0;
    uint32_t helpTopic = 0;
    uint32_t showInTaskbar = 1;      // from version 2
    uint32_t dragByClientArea = 0;   // from version 3
    uint32_t shape = 0;              // from version 3; 0..29
    uint32_t alwaysOnTop = 0;        // from version 4
    uint32_t keepTitleBarActive = 0; // from version 5
    std::string className;           // from version 6; empty: "KVWindow"
    std::vector<uint8_t> backgroundPicture;
    std::vector<uint8_t> icon;            // an .ico file
    std::vector<uint8_t> backgroundMusic; // a wave or standard MIDI file
    std::string title;
    std::string helpFile;
};

constexpr uint32_t kWindowBlockVersion = 6;

// Reads a block into properties; false for a version above 6 or a short block. iconAt, when
// given, receives the address of the icon bytes inside the block.
bool ReadWindowProperties(const uint8_t *block, uint32_t size, WindowProperties *properties,
                          const uint8_t **iconAt = nullptr);
HGLOBAL SaveWindowProperties(const WindowProperties &properties);

class CWinFormUnit : public CUnitWnd {
public:
    WindowProperties properties;
    bool childWindow = false;        // created inside another window
    bool keep = false;               // the load's keep flag
    bool modal = false;              // loaded as a modal window
    bool activatedOnce = false;      // event 8 raised
    bool firstShowPending = false;   // set by the load, cleared by show-after-load
    bool shownFirst = false;         // shown by its start position (once, by the engine)
    bool helpOpened = false;         // F1 opened the help viewer, which closes with the window
    HWND focusToRestore = nullptr;   // the child that had the focus at the last deactivation
    bool inActivationEvents = false; // events 8, 5 or 6 are being raised
    bool focusGainedRaised = false;  // the window raised -7 for itself and no -8 since
    bool closePending = false;       // a close asked for during a wait, not yet carried out
    bool logOffQueried = false;      // a log-off query answered during a wait: WM_ENDSESSION
                                     // closes or forgets
    // Windows a modal load disabled, with their previous enabled state.
    std::vector<std::pair<HWND, bool>> disabledByModal;

    static CWnd *Create(const UnitCreateArguments &arguments);
    // First show: maximised, minimised or normal by the start position.
    void ShowAtStartPosition();
    // A start position written while the window is visible: 0 restores a minimised or maximised
    // window, 1 restores it and centres it on the screen, 2 minimises, 3 maximises.
    void ApplyStartPosition();
    // Takes the accelerator table the menu builder made and destroys the one before.
    void ReplaceAccelerators(HACCEL accelerators);
    // Shows the window's icon in the notification area (event 9 reports its clicks); the
    // window takes it out again when it is destroyed.
    bool ShowNotificationIcon(HICON icon, const std::string &tip) {
        return notificationIcon_.Show(m_hWnd, icon, tip);
    }
    // Event -7 of the window itself; the next focus loss of the window then raises -8.
    void RaiseFocusGained();
    // The close itself: events 12 and 1 may refuse it; else the window is destroyed.
    void CarryOutClose();
    // Property operations (index counted from 8).
    int32_t SetProperty(int32_t index, const PropertyValue &value);
    void GetProperty(int32_t index, PropertyValue *value);

    // Rebuilds the window region of the current shape.
    void ApplyShape();
    void ApplyFrameStyles();
    void ApplyAlwaysOnTop();
    void ApplyIcons();
    void ApplyMovable();
    void Maximise();
    HACCEL Accelerators() const { return accelerators_; }
    // The keyboard and mouse handling of the window and its units.
    BOOL PreTranslateMessage(MSG *message) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Moves and resizes (the last of each), activation and focus wait for after the handler.
    WaitDeferral DeferralDuringWait(int32_t event) const override;
    // Also the commands of the window's menus.
    bool RefusesMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    // Event 0 of the n-th menu item of the window's list.
    void RaiseMenuItemEvent(uint32_t item);
    // The pointer a set-cursor message for target shows, or null for the platform's choice.
    HCURSOR UnitPointer(HWND target, int hitTest);
    void OnPaint();
    // Paints the background into dc over rect (client coordinates of this window).
    void PaintBackground(HDC dc, const RECT &rect);
    // True when a close arrived during a wait: the window is marked for after the handler.
    bool DeferredForWait();
    void OnClose();
    LRESULT OnQueryEndSession();
    void OnEndSession(bool ending);
    void OnDestroy();
    void RestoreModalDisabled();
    void ReleaseResources();
    // Background music, top-level windows only: a wave through the runtime's wave player, a
    // MIDI file through the window's own player; play mode 0 repeats, 1 plays once, 2 never.
    void StartMusic();
    // Stops the music this window started.
    void StopMusic();
    // Stops the players of the units whose type holds one.
    void StopUnitPlayers();
    // Stacks the bar units along the top and bottom edges of the client area.
    void LayOutBarUnits();
    // The window's DPI became dpi: units, fonts and icons anew, the window placed in suggested.
    void OnDpiChanged(int dpi, RECT suggested);
    // The outer size the window wants at dpi: its size in units at that DPI (the system's own
    // guess scales the frame with the client area).
    SIZE SizeAtDpi(int dpi);

    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    DecodedPicture picture_;
    HACCEL accelerators_ = nullptr;
    bool barLayoutOn_ = false; // the loader asked for the bar layout (message 0x8004)
    // The DPI the window's pixels are at: set at creation, then by each change of DPI (during
    // which the platform already answers the new one).
    int dpi_ = kUnitDpi;
    MusicKind musicPlaying_ = MusicKind::kNone; // the player this window's music went to
    NotificationIcon notificationIcon_;
};

// Loads the program's default big and small icons (resource "DEFAULT_ICON") into the window
// engine once; shutdown destroys them.
void LoadProgramIcons();
// Destroys the program's icons if they were loaded (at shutdown).
void DestroyProgramIcons();

// The WindowShapeTable outline of shape n (4 to 29): points in 0..32767 ended by 65535.
const uint16_t *WindowShapeOutline(uint32_t shape);
// The region of a shape over a window of the given size, or null for shape 0.
HRGN CreateShapeRegion(uint32_t shape, int width, int height);
