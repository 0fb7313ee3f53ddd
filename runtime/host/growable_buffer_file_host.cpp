// GrowableBuffer file load and save for the host build, through the C library.
#include <algorithm>
#include <cstdio>

#include "runtime/growable_buffer.h"

int32_t GrowableBuffer::LoadFromFile(const char *path, int32_t length) {
    std::FILE *file = std::fopen(path, "rb");
    if (file == nullptr) {
        Free();
        return -1;
    }
    if (length == -1) {
        std::fseek(file, 0, SEEK_END);
        const long fileSize = std::ftell(file);
        std::fseek(file, 0, SEEK_SET);
        length = fileSize > 0x7FFFFFFF || fileSize < 0 ? -2 : static_cast<int32_t>(fileSize);
    }
    if (length <= 0) {
        std::fclose(file);
        Free();
        return length == -2 ? -1 : 0;
    }
    const bool ok = Resize(static_cast<uint32_t>(length)) != nullptr;
    const size_t read = ok ? std::fread(Data(), 1, static_cast<size_t>(length), file) : 0;
    const bool failed = !ok || std::ferror(file);
    std::fclose(file);
    if (failed) {
        Free();
        return -1;
    }
    Resize(static_cast<uint32_t>(read));
    return static_cast<int32_t>(read);
}

bool GrowableBuffer::SaveToFile(const char *path, int32_t length, bool /*shared*/) const {
    std::FILE *file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const uint32_t count =
        length < 0 ? Size() : std::min<uint32_t>(Size(), static_cast<uint32_t>(length));
    const bool ok = count == 0 || std::fwrite(Data(), 1, count, file) == count;
    return std::fclose(file) == 0 && ok;
}
