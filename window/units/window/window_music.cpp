// The window's background music and the players of its units, stopped with the window.
#include "window/units/window/win_form_unit.h"
#include "window/window_collection.h"

void CWinFormUnit::StartMusic() {
    const bool repeat = properties.musicPlayMode == 0;
    if (childWindow || properties.musicPlayMode > 1)
        return;
    const std::span<const uint8_t> music = properties.backgroundMusic;
    musicPlaying_ = MusicKindOf(music);
    if (musicPlaying_ == MusicKind::kWave)
        Sound().PlayWave(music, repeat);
    else if (musicPlaying_ == MusicKind::kMidi)
        Sound().PlayMidi(m_hWnd, music, repeat);
}

void CWinFormUnit::StopMusic() {
    if (musicPlaying_ == MusicKind::kWave)
        Sound().StopWave();
    else if (musicPlaying_ == MusicKind::kMidi)
        Sound().StopMidi(m_hWnd);
    musicPlaying_ = MusicKind::kNone;
}

void CWinFormUnit::StopUnitPlayers() {
    // A stop, not a close: the unit stays until the window's destruction reaches it.
    WindowTemplate *window = FindWindowTemplate(windowId);
    for (uint32_t i = 1; window != nullptr && i < window->UnitCount(); ++i) {
        const UnitRecordView record = window->RecordAt(i);
        CWnd *unit = record.IsMenuItem() ? nullptr : LiveUnitAt(*window, i);
        const UnitTypeDescriptor *descriptor =
            unit != nullptr ? FindUnitTypeDescriptor(record.Type()) : nullptr;
        if (descriptor != nullptr && (descriptor->flags & kTypeHoldsPlayer))
            SendMessageA(unit->m_hWnd, kStopPlayerMessage, 0, 0);
    }
}
