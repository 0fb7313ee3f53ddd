// UTF-8 to code page 936 through iconv(3).
#include "code_page.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#include <vector>

std::string ToCodePage936(std::string_view utf8) {
    iconv_t converter = iconv_open("CP936", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("iconv has no UTF-8 to CP936 conversion");
    }
    // A code page 936 character never needs more bytes than its UTF-8 form.
    std::vector<char> out(utf8.size() + 1);
    std::vector<char> in(utf8.begin(), utf8.end());
    char *inNext = in.data();
    size_t inLeft = in.size();
    char *outNext = out.data();
    size_t outLeft = out.size();
    const size_t result = iconv(converter, &inNext, &inLeft, &outNext, &outLeft);
    iconv_close(converter);
    if (result == static_cast<size_t>(-1) || inLeft != 0) {
        throw std::runtime_error("text has no code page 936 form: " + std::string(utf8));
    }
    return std::string(out.data(), outNext);
}
