// MergeCookies and its list routines, written as program code over the kernel commands.
#include "app/web/cookie_merge.h"

#include <algorithm>
#include <string_view>

#include "app/web/joined_text.h"
#include "app/web/program_text.h"
#include "values/kernel_calls.h"
#include "values/program_conventions.h"

using namespace web;

namespace {

const char *const kItemSeparator = ConstantText(Constant::Semicolon);
const char *const kListSeparator = ConstantText(Constant::CookieSeparator);
const char *const kEquals = ConstantText(Constant::EqualsSign);
const std::string_view kDeletedSuffix = ConstantText(Constant::DeletedSuffix);

// Element index (1-based) of a text list, bounds-checked as program code indexes arrays.
Text *ElementAt(TextArrayHeader *list, int32_t index) {
    return static_cast<Text *>(CheckedElementAddress(list, index, sizeof(Text)));
}

int32_t CountOf(TextArrayHeader *list) {
    return static_cast<int32_t>(CodeArrayCountOrZero(list).count);
}

// Which of a list's texts is the first of the texts equal to it (CodeCompareTexts: the empty
// text equals null). Their indexes sorted by text, and by index among equal texts, put every
// text's equals side by side with the first one in front: n log n comparisons, where searching
// the list for each text would take n squared.
class FirstOccurrences {
public:
    FirstOccurrences(const Text *texts, uint32_t count)
        : first_(static_cast<bool *>(AllocateMemory(count + 1))) {
        auto *order = static_cast<uint32_t *>(AllocateMemory((count + 1) * sizeof(uint32_t)));
        for (uint32_t i = 0; i < count; ++i) {
            order[i] = i;
        }
        std::sort(order, order + count, [texts](uint32_t a, uint32_t b) {
            const int32_t compared = CodeCompareTexts(texts[a], texts[b]);
            return compared != 0 ? compared < 0 : a < b;
        });
        for (uint32_t i = 0; i < count; ++i) {
            first_[order[i]] = i == 0 || !TextsEqual(texts[order[i - 1]], texts[order[i]]);
        }
        FreeMemory(order);
    }
    FirstOccurrences(const FirstOccurrences &) = delete;
    FirstOccurrences &operator=(const FirstOccurrences &) = delete;
    ~FirstOccurrences() { FreeMemory(first_); }

    bool IsFirst(uint32_t index) const { return first_[index]; }

private:
    bool *first_;
};

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
    const uint32_t count = CodeArrayCountOrZero(pieces).count;
    const Text *items = count != 0 ? TextArrayElements(pieces) : nullptr;
    FirstOccurrences first(items, count);
    JoinedText result(Arg(*delimiter));
    for (uint32_t i = 0; i < count; ++i) {
        if (first.IsFirst(i)) {
            result.Add(Arg(items[i]));
        }
    }
    Text joined = result.Finish();
    FreeTextArray(pieces);
    Text copy = CopyText(joined);
    FreeMemory(joined);
    return copy;
}

// Received items first, then each sent item whose name no received item and no earlier sent
// item has, in n log n of the number of items: the names of both lists are sorted together, so
// that the owners of a name stand side by side with the earliest in front.
Text MergeCookies(Text *sent, Text *received) {
    Store(sent, Kernel::RemoveAllSpaces(Arg(*sent)));
    Store(received, Kernel::RemoveAllSpaces(Arg(*received)));
    TextArrayHeader *sentItems = Kernel::SplitText(Arg(*sent), kItemSeparator, {});
    TextArrayHeader *receivedItems = Kernel::SplitText(Arg(*received), kItemSeparator, {});
    const uint32_t sentCount = CodeArrayCountOrZero(sentItems).count;
    const uint32_t receivedCount = CodeArrayCountOrZero(receivedItems).count;

    // The names of the received items, then those of the sent ones.
    TextArrayHeader *names = NewTextArray(receivedCount + sentCount);
    Text *name = TextArrayElements(names);
    for (uint32_t i = 1; i <= receivedCount; ++i) {
        *name++ = CookieName(ElementAt(receivedItems, static_cast<int32_t>(i)));
    }
    for (uint32_t i = 1; i <= sentCount; ++i) {
        *name++ = CookieName(ElementAt(sentItems, static_cast<int32_t>(i)));
    }
    FirstOccurrences firstName(TextArrayElements(names), receivedCount + sentCount);

    JoinedText merged(kListSeparator);
    auto addUnlessDeleted = [&merged](const char *item) {
        const std::string_view bytes(Arg(item));
        if (!bytes.ends_with(kDeletedSuffix)) {
            merged.Add(bytes);
        }
    };
    for (uint32_t i = 1; i <= receivedCount; ++i) {
        addUnlessDeleted(*ElementAt(receivedItems, static_cast<int32_t>(i)));
    }
    for (uint32_t i = 1; i <= sentCount; ++i) {
        if (firstName.IsFirst(receivedCount + i - 1)) {
            addUnlessDeleted(*ElementAt(sentItems, static_cast<int32_t>(i)));
        }
    }
    Store(sent, merged.Finish());
    Text separator = CopyText(kListSeparator);
    Store(sent, RemoveDuplicateItems(sent, &separator));
    FreeMemory(separator);
    FreeTextArray(names);
    FreeTextArray(sentItems);
    FreeTextArray(receivedItems);
    return CopyText(*sent);
}
