// What both click modes of the minimal downloader share: the code page conversion of a found
// text and the output box's three lines.
#include <windows.h>

#include "bench/minimal_downloader/track_links.h"

namespace {

constexpr char kMixAddressStart[] = "http://mix.zorvin.cn/mix";
constexpr char kMp3AddressStart[] = "http://mp3.zorvin.cn/mp3";

} // namespace

std::string AnsiText(const wchar_t *wide, int length) {
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, length, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::string ComposeTrackLines(const std::string &title, const std::string &path) {
    return title + "\r\n" + kMixAddressStart + path + ".m4a\r\n" + kMp3AddressStart + path + ".mp3";
}
