// SoundOutput: the players that background music goes through: the runtime's one wave player
// and a MIDI player per window. The platform's players sit behind this interface so that a
// test can put one in that records what it was asked.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

// What a piece of music is, by its first bytes.
enum class MusicKind {
    kNone, // no sound this runtime plays
    kWave, // a RIFF file of form WAVE, more than 11 bytes
    kMidi, // a standard MIDI file ("MThd"), more than 4 bytes
};
MusicKind MusicKindOf(std::span<const uint8_t> music);

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // The runtime's wave player: one piece at a time for the whole process; a new piece
    // replaces the one playing. The player keeps its own copy of the bytes.
    virtual void PlayWave(std::span<const uint8_t> wave, bool repeat) = 0;
    virtual void StopWave() = 0;
    // The MIDI player of window: a new piece replaces the window's one. The window hands its
    // MM_MCINOTIFY messages to MidiNotified, which starts a repeating piece again.
    virtual void PlayMidi(HWND window, std::span<const uint8_t> midi, bool repeat) = 0;
    virtual void StopMidi(HWND window) = 0;
    virtual void MidiNotified(HWND window, WPARAM flags, LPARAM device) = 0;
};

// The platform's players, or the ones a test installed.
SoundOutput &Sound();
// Installs output (null: the platform's players again); the caller keeps ownership.
void ReplaceSoundOutput(SoundOutput *output);
