// Finding and loading a library by name in the system directory.
#include "runtime/dll_system_library.h"

std::wstring SystemLibraryFileName(const std::wstring &name) {
    if (name.empty() || name.find_first_of(L":\\/") != std::wstring::npos) {
        return {};
    }
    if (name.back() == L'.') {
        return name.substr(0, name.size() - 1);
    }
    return name.find(L'.') == std::wstring::npos ? name + L".dll" : name;
}

bool LoadSystemLibrary(const char *name, HMODULE *module) {
    const int wideCount = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name, -1, nullptr, 0);
    if (wideCount <= 1) {
        return false;
    }
    std::wstring wideName(static_cast<size_t>(wideCount), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name, -1, wideName.data(), wideCount);
    wideName.resize(static_cast<size_t>(wideCount - 1));
    const std::wstring file = SystemLibraryFileName(wideName);
    wchar_t folder[MAX_PATH];
    const UINT folderLength = GetSystemDirectoryW(folder, MAX_PATH);
    if (file.empty() || folderLength == 0 || folderLength >= MAX_PATH) {
        return false;
    }
    const std::wstring path = std::wstring(folder, folderLength) + L'\\' + file;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    // With the altered search path the library's own imports are looked for in the system
    // directory before the program's folder as well.
    *module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return true;
}
