// File search, array copy-out and exit routine registration for program code.
#include "wiring/internal_commands.h"

#include <cstring>

#include "runtime/array_block.h"
#include "runtime/heap.h"
#include "runtime/runtime_app.h"

namespace {

// Read-only, hidden, system, directory and archive.
constexpr DWORD kSearchableAttributes = 0x37;

char *NewText(const char *name) {
    const size_t length = std::strlen(name);
    if (length == 0) {
        return nullptr;
    }
    auto *text = static_cast<char *>(AllocateMemory(static_cast<uint32_t>(length + 1)));
    std::memcpy(text, name, length + 1);
    return text;
}

} // namespace

bool FileSearchAccepts(uint32_t attributes, uint32_t mask, bool directoriesExcluded) {
    if (directoriesExcluded) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }
    const DWORD reduced = mask & kSearchableAttributes;
    return reduced == 0 ? attributes == 0 : (attributes & reduced) != 0;
}

char *FileSearchStep(const char *pattern, uint32_t mask, int32_t directoriesExcluded,
                     HANDLE *searchSlot) {
    if (searchSlot == nullptr) {
        return nullptr;
    }
    WIN32_FIND_DATAA entry;
    bool found;
    if (pattern != nullptr && pattern[0] != '\0') {
        FileSearchClose(*searchSlot);
        *searchSlot = FindFirstFileA(pattern, &entry);
        if (*searchSlot == INVALID_HANDLE_VALUE) {
            *searchSlot = nullptr;
        }
        found = *searchSlot != nullptr;
    } else {
        found = *searchSlot != nullptr && FindNextFileA(*searchSlot, &entry);
    }
    while (found && !FileSearchAccepts(entry.dwFileAttributes, mask, directoriesExcluded != 0)) {
        found = FindNextFileA(*searchSlot, &entry) != FALSE;
    }
    if (!found) {
        FileSearchClose(*searchSlot);
        *searchSlot = nullptr;
        return nullptr;
    }
    return NewText(entry.cFileName);
}

void FileSearchClose(HANDLE search) {
    if (search != nullptr && search != INVALID_HANDLE_VALUE) {
        FindClose(search);
    }
}

void MakeArrayWritable(uint32_t elementSize, void **arrayVariable) {
    if (arrayVariable == nullptr || !IsConstantAddress(*arrayVariable)) {
        return;
    }
    const uint32_t length = ConstantArrayLength(*arrayVariable, elementSize);
    if (length == 0) {
        return;
    }
    void *copy = AllocateMemory(length);
    std::memcpy(copy, *arrayVariable, length);
    *arrayVariable = copy;
}

void RegisterExitRoutine(uint32_t routine) {
    GrowableBuffer &list = Runtime().exitRoutines;
    if (list.FindWord(routine, list.WordCount()) < 0) {
        list.AppendWord(routine);
    }
}
