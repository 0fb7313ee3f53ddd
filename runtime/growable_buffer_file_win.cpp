// GrowableBuffer file load and save through the Windows file API (sharing modes matter here).
#include <windows.h>

#include <algorithm>

#include "runtime/growable_buffer.h"

int32_t GrowableBuffer::LoadFromFile(const char *path, int32_t length) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Free();
        return -1;
    }
    if (length == -1) {
        const DWORD fileSize = GetFileSize(file, nullptr);
        length = fileSize > 0x7FFFFFFF ? -2 : static_cast<int32_t>(fileSize);
    }
    if (length <= 0) {
        CloseHandle(file);
        Free();
        return length == -2 ? -1 : 0;
    }
    DWORD read = 0;
    const bool ok = Resize(static_cast<uint32_t>(length)) != nullptr &&
                    ReadFile(file, Data(), static_cast<DWORD>(length), &read, nullptr);
    CloseHandle(file);
    if (!ok) {
        Free();
        return -1;
    }
    Resize(read);
    return static_cast<int32_t>(read);
}

bool GrowableBuffer::SaveToFile(const char *path, int32_t length, bool shared) const {
    const DWORD share = shared ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const uint32_t count = length < 0 ? Size() : std::min<uint32_t>(Size(), length);
    DWORD written = 0;
    const bool ok =
        count == 0 || (WriteFile(file, Data(), count, &written, nullptr) && written == count);
    CloseHandle(file);
    return ok;
}
