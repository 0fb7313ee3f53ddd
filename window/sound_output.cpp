// The platform's players: waves through PlaySound from a copy held until the next piece or the
// stop, standard MIDI files through an MCI sequencer opened on a temporary file (MCI plays
// sequences only from files), restarted from the window's notification when they repeat.
#include "window/sound_output.h"

#include <mmsystem.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "window/system_routine.h"

namespace {

// The multimedia library's two calls, looked up when a window first plays music.
struct MultimediaRoutines {
    BOOL(WINAPI *playSound)(LPCSTR, HMODULE, DWORD);
    MCIERROR(WINAPI *sendCommand)(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR);
};

const MultimediaRoutines &Multimedia() {
    static const MultimediaRoutines routines{
        SystemRoutine<decltype(MultimediaRoutines::playSound)>("winmm", "PlaySoundA"),
        SystemRoutine<decltype(MultimediaRoutines::sendCommand)>("winmm", "mciSendCommandA")};
    return routines;
}

BOOL PlayWaveSound(LPCSTR sound, HMODULE module, DWORD flags) {
    const auto play = Multimedia().playSound;
    return play != nullptr && play(sound, module, flags);
}

MCIERROR SendMciCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters) {
    const auto send = Multimedia().sendCommand;
    return send != nullptr ? send(device, message, flags, parameters) : MCIERR_DEVICE_NOT_INSTALLED;
}

constexpr size_t kShortestWave = 12;
constexpr size_t kShortestMidi = 5;

class PlatformSound final : public SoundOutput {
public:
    void PlayWave(std::span<const uint8_t> wave, bool repeat) override {
        StopWave();
        wave_.assign(wave.begin(), wave.end());
        const UINT flags = SND_MEMORY | SND_ASYNC | SND_NODEFAULT | (repeat ? SND_LOOP : 0);
        if (!PlayWaveSound(reinterpret_cast<LPCSTR>(wave_.data()), nullptr, flags))
            wave_.clear();
    }

    void StopWave() override {
        // The stop returns once the player no longer reads the bytes.
        PlayWaveSound(nullptr, nullptr, 0);
        wave_.clear();
    }

    void PlayMidi(HWND window, std::span<const uint8_t> midi, bool repeat) override {
        StopMidi(window);
        MidiSession session;
        session.repeat = repeat;
        if (!WriteTemporaryFile(midi, &session.file))
            return;
        MCI_OPEN_PARMSA open = {};
        open.lpstrDeviceType = "sequencer";
        open.lpstrElementName = session.file.c_str();
        if (SendMciCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT,
                           reinterpret_cast<DWORD_PTR>(&open)) != 0) {
            DeleteFileA(session.file.c_str());
            return;
        }
        session.device = open.wDeviceID;
        midi_[window] = session;
        PlayFromStart(window, session.device);
    }

    void StopMidi(HWND window) override {
        const auto found = midi_.find(window);
        if (found == midi_.end())
            return;
        const MidiSession session = found->second;
        midi_.erase(found);
        SendMciCommand(session.device, MCI_STOP, 0, 0);
        SendMciCommand(session.device, MCI_CLOSE, 0, 0);
        DeleteFileA(session.file.c_str());
    }

    void MidiNotified(HWND window, WPARAM flags, LPARAM device) override {
        const auto found = midi_.find(window);
        if (found == midi_.end() || found->second.device != static_cast<MCIDEVICEID>(device) ||
            flags != MCI_NOTIFY_SUCCESSFUL || !found->second.repeat)
            return;
        PlayFromStart(window, found->second.device);
    }

private:
    struct MidiSession {
        MCIDEVICEID device = 0;
        bool repeat = false;
        std::string file;
    };

    static void PlayFromStart(HWND window, MCIDEVICEID device) {
        SendMciCommand(device, MCI_SEEK, MCI_SEEK_TO_START, 0);
        MCI_PLAY_PARMS play = {};
        play.dwCallback = reinterpret_cast<DWORD_PTR>(window);
        SendMciCommand(device, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play));
    }

    static bool WriteTemporaryFile(std::span<const uint8_t> bytes, std::string *path) {
        char folder[MAX_PATH], name[MAX_PATH];
        const DWORD length = GetTempPathA(sizeof folder, folder);
        if (length == 0 || length >= sizeof folder || GetTempFileNameA(folder, "zvm", 0, name) == 0)
            return false;
        HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_TEMPORARY, nullptr);
        DWORD written = 0;
        const bool ok =
            file != INVALID_HANDLE_VALUE &&
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        if (!ok) {
            DeleteFileA(name);
            return false;
        }
        *path = name;
        return true;
    }

    std::vector<uint8_t> wave_;        // the piece PlaySound reads while it plays
    std::map<HWND, MidiSession> midi_; // each window's MIDI player
};

SoundOutput *&InstalledOutput() {
    static SoundOutput *installed = nullptr;
    return installed;
}

} // namespace

MusicKind MusicKindOf(std::span<const uint8_t> music) {
    if (music.size() >= kShortestWave && std::memcmp(music.data(), "RIFF", 4) == 0 &&
        std::memcmp(music.data() + 8, "WAVE", 4) == 0)
        return MusicKind::kWave;
    if (music.size() >= kShortestMidi && std::memcmp(music.data(), "MThd", 4) == 0)
        return MusicKind::kMidi;
    return MusicKind::kNone;
}

SoundOutput &Sound() {
    static PlatformSound platform;
    SoundOutput *installed = InstalledOutput();
    return installed != nullptr ? *installed : platform;
}

void ReplaceSoundOutput(SoundOutput *output) {
    InstalledOutput() = output;
}
