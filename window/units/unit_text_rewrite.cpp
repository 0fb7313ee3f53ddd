// Text rewriting of a PropertyBlock's texts and font face names through the engine's callback.
#include "window/units/unit_text_rewrite.h"

#include <cstring>

void RewriteBlockText(std::string &text, TextRewriteCallback callback, void *context) {
    const char *rewritten = callback(text.c_str(), context);
    text = rewritten != nullptr ? rewritten : "";
}

void RewriteFontFace(std::vector<uint8_t> &font, TextRewriteCallback callback, void *context) {
    if (font.size() != sizeof(LOGFONTA))
        return;
    auto *logical = reinterpret_cast<LOGFONTA *>(font.data());
    char face[LF_FACESIZE + 1] = {};
    std::memcpy(face, logical->lfFaceName, LF_FACESIZE);
    const char *rewritten = callback(face, context);
    // The face name keeps its terminating NUL inside the 32-byte field.
    std::memset(logical->lfFaceName, 0, LF_FACESIZE);
    if (rewritten != nullptr)
        std::memcpy(logical->lfFaceName, rewritten, strnlen(rewritten, LF_FACESIZE - 1));
}
