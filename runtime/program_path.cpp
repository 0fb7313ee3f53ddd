// The multi-byte-aware split of the executable's path.
#include "runtime/program_path.h"

namespace {

// Lead bytes of code page 936 double-byte characters.
bool IsLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

} // namespace

ProgramPath SplitExecutablePath(const char *path, size_t length) {
    size_t lastSlash = length;
    for (size_t i = 0; i < length && path[i] != '\0'; ++i) {
        if (IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < length &&
            path[i + 1] != '\0') {
            ++i;
        } else if (path[i] == '\\') {
            lastSlash = i;
        }
    }
    std::string whole(path, length);
    whole.resize(whole.find('\0') == std::string::npos ? length : whole.find('\0'));
    if (lastSlash == length) {
        return {std::string(), whole};
    }
    return {whole.substr(0, lastSlash), whole.substr(lastSlash + 1)};
}
