// MergeCookies and its list routines, written as program code over the kernel commands.
#include "app/web/cookie_merge.h"

#include "app/web/program_text.h"
#include "values/kernel_calls.h"
#include "values/program_conventions.h"

using namespace web;

namespace {

const char *const kItemSeparator = ConstantText(Constant::Semicolon);
const char *const kListSeparator = ConstantText(Constant::CookieSeparator);
const char *const kEquals = ConstantText(Constant::EqualsSign);
const char *const kDeletedSuffix = ConstantText(Constant::DeletedSuffix);
constexpr int32_t kDeletedSuffixBytes = 8;

// Element index (1-based) of a text list, bounds-checked as program code indexes arrays.
Text *ElementAt(TextArrayHeader *list, int32_t index) {
    return static_cast<Text *>(CheckedElementAddress(list, index, sizeof(Text)));
}

int32_t CountOf(TextArrayHeader *list) {
    return static_cast<int32_t>(CodeArrayCountOrZero(list).count);
}

// Drops the last count bytes of a text (an empty text stays empty).
void DropTail(Text *text, int32_t count) {
    const double kept = static_cast<double>(Kernel::TextLength(Arg(*text))) - count;
    Store(text, Kernel::LeftText(Arg(*text), Whole(kept)));
}

} // namespace

void AppendListItem(TextArrayHeader **list, const char *item) {
    const uint32_t count = CodeArrayCountOrZero(*list).count;
    auto *grown = static_cast<TextArrayHeader *>(
        ReallocateMemory(*list, sizeof(TextArrayHeader) + (count + 1) * sizeof(Text)));
    grown->dimensionCount = 1;
    grown->elementCount = count + 1;
    TextArrayElements(grown)[count] = CopyText(item);
    *list = grown;
}

Text CookieName(Text *item) {
    const int32_t p = Kernel::FindText(Arg(*item), kEquals, {}, false);
    Text name =
        p != -1 ? Kernel::LeftText(Arg(*item), Whole(static_cast<double>(p) - 1)) : CopyText(*item);
    Text trimmed = Kernel::TrimSpaces(Arg(name));
    FreeMemory(name);
    return trimmed;
}

bool ListHasCookie(TextArrayHeader **list, Text *name) {
    const int32_t count = CountOf(*list);
    for (int32_t i = 1; i <= count; ++i) {
        Text itemName = CookieName(ElementAt(*list, i));
        const bool same = TextsEqual(itemName, *name);
        FreeMemory(itemName);
        if (same) {
            return true;
        }
    }
    return false;
}

int32_t FindItem(TextArrayHeader **array, Text *text) {
    const int32_t count = CountOf(*array);
    for (int32_t i = 1; i <= count; ++i) {
        if (TextsEqual(*ElementAt(*array, i), *text)) {
            return i;
        }
    }
    return -1;
}

Text RemoveDuplicateItems(Text *text, Text *delimiter) {
    TextArrayHeader *pieces = Kernel::SplitText(Arg(*text), Arg(*delimiter), {});
    TextArrayHeader *unique = nullptr;
    Text result = nullptr;
    const int32_t count = CountOf(pieces);
    for (int32_t i = 1; i <= count; ++i) {
        Text *item = ElementAt(pieces, i);
        if (FindItem(&unique, item) == -1) {
            AppendListItem(&unique, Arg(*item));
            Store(&result, CodeConcatTexts(3, Arg(result), Arg(*item), Arg(*delimiter)));
        }
    }
    DropTail(&result, Kernel::TextLength(Arg(*delimiter)));
    FreeTextArray(unique);
    FreeTextArray(pieces);
    Text copy = CopyText(result);
    FreeMemory(result);
    return copy;
}

Text MergeCookies(Text *sent, Text *received) {
    Store(sent, Kernel::RemoveAllSpaces(Arg(*sent)));
    Store(received, Kernel::RemoveAllSpaces(Arg(*received)));
    TextArrayHeader *sentItems = Kernel::SplitText(Arg(*sent), kItemSeparator, {});
    TextArrayHeader *merged = Kernel::SplitText(Arg(*received), kItemSeparator, {});

    const int32_t sentCount = CountOf(sentItems);
    for (int32_t i = 1; i <= sentCount; ++i) {
        Text *item = ElementAt(sentItems, i);
        Text name = CookieName(item);
        if (!ListHasCookie(&merged, &name)) {
            AppendListItem(&merged, Arg(*item));
        }
        FreeMemory(name);
    }

    Store(sent, nullptr);
    const int32_t mergedCount = CountOf(merged);
    for (int32_t i = 1; i <= mergedCount; ++i) {
        Text *item = ElementAt(merged, i);
        Text tail = Kernel::RightText(Arg(*item), kDeletedSuffixBytes);
        if (!TextsEqual(tail, kDeletedSuffix)) {
            Store(sent, CodeConcatTexts(3, Arg(*sent), Arg(*item), kListSeparator));
        }
        FreeMemory(tail);
    }
    DropTail(sent, 2);
    Text separator = CopyText(kListSeparator);
    Store(sent, RemoveDuplicateItems(sent, &separator));
    FreeMemory(separator);
    FreeTextArray(sentItems);
    FreeTextArray(merged);
    return CopyText(*sent);
}
