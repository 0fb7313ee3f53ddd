// The built ZorvinDownloader.exe as Windows sees it: version information, manifest, icon, and a
// statically linked 32-bit GUI executable that imports no MinGW runtime DLL.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// Set by the build: the executable under test, as a Windows path.
const wchar_t *const kExe = ZV_DOWNLOADER_EXE;

std::vector<char> VersionBlock() {
    const DWORD size = GetFileVersionInfoSizeW(kExe, nullptr);
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoW(kExe, 0, size, block.data())) {
        block.clear();
    }
    return block;
}

std::wstring VersionString(const std::vector<char> &block, const wchar_t *name) {
    void *value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    if (!VerQueryValueW(block.data(), key.c_str(), &value, &length) || length == 0) {
        return L"<missing>";
    }
    return std::wstring(static_cast<const wchar_t *>(value)); // length counts the NUL
}

struct ResourceModule {
    HMODULE module =
        LoadLibraryExW(kExe, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ~ResourceModule() {
        if (module != nullptr) {
            FreeLibrary(module);
        }
    }
};

std::string ResourceBytes(HMODULE module, const wchar_t *name, const wchar_t *type) {
    HRSRC found = FindResourceW(module, name, type);
    if (found == nullptr) {
        return {};
    }
    const auto *data = static_cast<const char *>(LockResource(LoadResource(module, found)));
    return std::string(data, SizeofResource(module, found));
}

std::vector<unsigned char> FileBytes() {
    std::ifstream file(kExe, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), {});
}

// The PE headers of the file and the file offset of any relative virtual address.
struct PeFile {
    std::vector<unsigned char> bytes = FileBytes();
    const IMAGE_NT_HEADERS32 *nt = nullptr;

    PeFile() {
        const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(bytes.data());
        if (bytes.size() > sizeof(IMAGE_DOS_HEADER) && dos->e_magic == IMAGE_DOS_SIGNATURE &&
            bytes.size() > dos->e_lfanew + sizeof(IMAGE_NT_HEADERS32)) {
            nt = reinterpret_cast<const IMAGE_NT_HEADERS32 *>(bytes.data() + dos->e_lfanew);
        }
    }
    const unsigned char *At(DWORD rva) const {
        const IMAGE_SECTION_HEADER *section = IMAGE_FIRST_SECTION(nt);
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
            if (rva >= section->VirtualAddress &&
                rva < section->VirtualAddress + section->SizeOfRawData) {
                return bytes.data() + section->PointerToRawData + (rva - section->VirtualAddress);
            }
        }
        return nullptr;
    }
    std::set<std::string> ImportedDlls() const {
        std::set<std::string> names;
        const IMAGE_DATA_DIRECTORY &imports =
            nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        const auto *entry =
            reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(At(imports.VirtualAddress));
        for (; entry != nullptr && entry->Name != 0; ++entry) {
            std::string name = reinterpret_cast<const char *>(At(entry->Name));
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            names.insert(name);
        }
        return names;
    }
};

TEST(ExeVersion, NumbersAreTheProjectVersion) {
    const std::vector<char> block = VersionBlock();
    ASSERT_FALSE(block.empty());
    VS_FIXEDFILEINFO *info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void **>(&info), &length));
    EXPECT_EQ(info->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(info->dwFileVersionLS, 0u);
    EXPECT_EQ(info->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(info->dwProductVersionLS, 0u);
    EXPECT_EQ(info->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST(ExeVersion, StringsNameAndDescribeTheProduct) {
    const std::vector<char> block = VersionBlock();
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(VersionString(block, L"ProductName"), L"ZorvinDownloader");
    EXPECT_EQ(VersionString(block, L"FileDescription"), L"Zorvin网音乐下载器");
    EXPECT_EQ(VersionString(block, L"ProductVersion"), L"1.0.0");
    EXPECT_EQ(VersionString(block, L"FileVersion"), L"1.0.0");
    EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"ZorvinDownloader.exe");
    EXPECT_EQ(VersionString(block, L"LegalCopyright"),
              L"Copyright (c) 2026 the ZorvinDownloader authors. MIT License.");
}

TEST(ExeManifest, AsksForCommonControls6AndListsSupportedWindows) {
    ResourceModule exe;
    ASSERT_NE(exe.module, nullptr);
    const std::string manifest =
        ResourceBytes(exe.module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_FALSE(manifest.empty());
    const size_t controls = manifest.find("name=\"Microsoft.Windows.Common-Controls\"");
    ASSERT_NE(controls, std::string::npos);
    const size_t identityEnd = manifest.find("/>", controls);
    EXPECT_NE(manifest.substr(controls, identityEnd - controls).find("version=\"6.0.0.0\""),
              std::string::npos);
    for (const char *windows : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",    // 7
                                "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",    // 8
                                "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",    // 8.1
                                "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) { // 10, 11
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + windows + "\"/>"),
                  std::string::npos)
            << windows;
    }
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}

TEST(ExeManifest, DeclaresPerMonitorV2AwarenessWithPerMonitorAndSystemFallbacks) {
    ResourceModule exe;
    ASSERT_NE(exe.module, nullptr);
    const std::string manifest =
        ResourceBytes(exe.module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                            "WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"),
              std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/"
                            "WindowsSettings\">true/pm</dpiAware>"),
              std::string::npos);
}

TEST(ExeIcon, DefaultIconHoldsOne32By32ImageAt32Bits) {
    ResourceModule exe;
    ASSERT_NE(exe.module, nullptr);
    // Resource type 14: RT_GROUP_ICON.
    const std::string group = ResourceBytes(exe.module, L"DEFAULT_ICON", MAKEINTRESOURCEW(14));
    // GRPICONDIR: reserved, type 1, count; then 14-byte entries.
    ASSERT_EQ(group.size(), 6u + 14u);
    const auto *bytes = reinterpret_cast<const unsigned char *>(group.data());
    EXPECT_EQ(bytes[2] | bytes[3] << 8, 1);
    EXPECT_EQ(bytes[4] | bytes[5] << 8, 1);
    EXPECT_EQ(bytes[6], 32);                   // width
    EXPECT_EQ(bytes[7], 32);                   // height
    EXPECT_EQ(bytes[12] | bytes[13] << 8, 32); // bits per pixel
}

TEST(ExeIcon, HandPointerIsCursor0x408Of32By32WithItsHotSpotOnTheFingertip) {
    ResourceModule exe;
    ASSERT_NE(exe.module, nullptr);
    // Resource type 12: RT_GROUP_CURSOR.
    const std::string group =
        ResourceBytes(exe.module, MAKEINTRESOURCEW(0x408), MAKEINTRESOURCEW(12));
    // CURSORDIR: reserved, type 2, count; then 14-byte entries (width, height, planes, bits).
    ASSERT_EQ(group.size(), 6u + 14u);
    const auto *bytes = reinterpret_cast<const unsigned char *>(group.data());
    EXPECT_EQ(bytes[2] | bytes[3] << 8, 2);
    EXPECT_EQ(bytes[4] | bytes[5] << 8, 1);
    EXPECT_EQ(bytes[6] | bytes[7] << 8, 32);  // width
    EXPECT_EQ(bytes[8] | bytes[9] << 8, 64);  // height of the XOR and AND bitmaps
    EXPECT_EQ(bytes[12] | bytes[13] << 8, 1); // bits per pixel
    const unsigned cursorId = bytes[18] | bytes[19] << 8;
    // The cursor itself begins with its hot spot: the tip of the index finger.
    const std::string cursor =
        ResourceBytes(exe.module, MAKEINTRESOURCEW(cursorId), MAKEINTRESOURCEW(1));
    ASSERT_GE(cursor.size(), 4u);
    const auto *hotSpot = reinterpret_cast<const unsigned char *>(cursor.data());
    EXPECT_EQ(hotSpot[0] | hotSpot[1] << 8, 7);
    EXPECT_EQ(hotSpot[2] | hotSpot[3] << 8, 0);
}

TEST(ExeImage, IsA32BitGuiProgram) {
    const PeFile pe;
    ASSERT_NE(pe.nt, nullptr);
    EXPECT_EQ(pe.nt->Signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE));
    EXPECT_EQ(pe.nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_EQ(pe.nt->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
    EXPECT_EQ(pe.nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    EXPECT_EQ(pe.nt->FileHeader.Characteristics & IMAGE_FILE_DLL, 0);
}

TEST(ExeImage, ImportsOnlySystemDllsAndNeverWinInet) {
    const PeFile pe;
    ASSERT_NE(pe.nt, nullptr);
    const std::set<std::string> dlls = pe.ImportedDlls();
    ASSERT_TRUE(dlls.count("kernel32.dll")) << "the import table was not read";
    for (const std::string &dll : dlls) {
        EXPECT_EQ(dll.find("libgcc"), std::string::npos) << dll;
        EXPECT_EQ(dll.find("libstdc++"), std::string::npos) << dll;
        EXPECT_EQ(dll.find("libwinpthread"), std::string::npos) << dll;
    }
    // WinInet is reached only through the program's DLL commands, bound at first use.
    EXPECT_EQ(dlls.count("wininet.dll"), 0u);
}

} // namespace
