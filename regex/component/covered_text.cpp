// CoveredText: one copy of the part of a subject that a search's matches cover.
#include "regex/component/covered_text.h"

#include <algorithm>
#include <new>

#include "runtime/heap.h"
#include "runtime/program_text_wide.h"

namespace RegExpComponent {
namespace {

constexpr char16_t kFirstWideUnit = 0x100;
constexpr char16_t kFirstNonAsciiUnit = 0x80;

} // namespace

CoveredText::CoveredText(std::u16string_view subject, size_t from, size_t to)
    : from_(from), isNarrow_(true) {
    const std::u16string_view part = subject.substr(from, to - from);
    isNarrow_ =
        std::all_of(part.begin(), part.end(), [](char16_t unit) { return unit < kFirstWideUnit; });
    if (isNarrow_) {
        narrow_.resize(part.size());
        std::transform(part.begin(), part.end(), narrow_.begin(),
                       [](char16_t unit) { return static_cast<char>(unit); });
    } else {
        wide_.assign(part);
    }
}

BSTR CoveredText::NewBstr(size_t begin, size_t end) const {
    const size_t count = end - begin;
    BSTR copy = SysAllocStringLen(nullptr, static_cast<UINT>(count));
    if (copy == nullptr) {
        throw std::bad_alloc();
    }
    if (isNarrow_) {
        const char *units = narrow_.data() + (begin - from_);
        std::transform(units, units + count, copy, [](char unit) {
            return static_cast<OLECHAR>(static_cast<unsigned char>(unit));
        });
    } else {
        std::copy_n(wide_.data() + (begin - from_), count, copy);
    }
    return copy;
}

char *CoveredText::NewProgramText(size_t begin, size_t end) const {
    size_t count = end - begin;
    // Two bytes a unit at most, and the NUL; only the bytes written are touched.
    const size_t capacity = count * 2 + 1;
    if (isNarrow_) {
        const std::string_view units = std::string_view(narrow_).substr(begin - from_, count);
        count = std::min(units.find('\0'), count);
        if (count == 0) {
            return nullptr;
        }
        auto *text = static_cast<char *>(AllocateMemory(static_cast<uint32_t>(capacity)));
        size_t written = 0;
        for (const char unit : units.substr(0, count)) {
            if (static_cast<unsigned char>(unit) < kFirstNonAsciiUnit) {
                text[written++] = unit;
            } else {
                const wchar_t wide = static_cast<unsigned char>(unit);
                written += static_cast<size_t>(
                    std::max(WideToProgramText(std::wstring_view(&wide, 1), text + written, 2), 0));
            }
        }
        text[written] = '\0';
        return text;
    }
    const std::u16string_view units = std::u16string_view(wide_).substr(begin - from_, count);
    count = std::min(units.find(u'\0'), count);
    if (count == 0) {
        return nullptr;
    }
    auto *text = static_cast<char *>(AllocateMemory(static_cast<uint32_t>(capacity)));
    const int written =
        WideToProgramText(std::wstring_view(reinterpret_cast<const wchar_t *>(units.data()), count),
                          text, static_cast<int>(capacity - 1));
    if (written <= 0) {
        FreeMemory(text);
        return nullptr;
    }
    text[written] = '\0';
    return text;
}

} // namespace RegExpComponent
