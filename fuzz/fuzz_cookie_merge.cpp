// libFuzzer target: MergeCookies on a sent and a received list (the fuzzer's bytes up to the
// first NUL, then up to the next). Beyond memory safety and the heap balance: the variables are
// written back as stated, the merged list holds only items of the two lists, every cookie the
// server set (and each sent cookie it did not set) survives unless deleted, nothing repeats,
// and merging the merged list with itself changes nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/web/cookie_merge.h"
#include "fuzz/fuzz_support.h"
#include "tests/values/reference_commands.h"

namespace {

using Items = std::vector<std::string>;

Items Split(const std::string &list, const char *separator) {
    return Reference::SplitText(list, std::string(separator), std::nullopt);
}

std::string NameOf(const std::string &item) {
    const int32_t equals = Reference::FindText(item, "=", std::nullopt, 0);
    return Reference::TrimSpaces(equals == -1 ? item : item.substr(0, equals - 1));
}

bool IsDeleted(const std::string &item) {
    return item.ends_with("=deleted");
}

bool Holds(const Items &items, const std::string &item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

// The items that are cookies: all but the empty ones.
Items Cookies(Items items) {
    std::erase(items, std::string());
    return items;
}

struct Merged {
    std::string result, sentAfter, receivedAfter;
};

Merged Merge(const std::string &sent, const std::string &received) {
    fuzz::Variable s(sent);
    fuzz::Variable r(received);
    Merged merged;
    merged.result = fuzz::Take(MergeCookies(&s.value, &r.value));
    merged.sentAfter = s.str();
    merged.receivedAfter = r.str();
    return merged;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const fuzz::HeapBalance balance;
    const std::string sent = fuzz::TextOf(data, size);
    const size_t rest = std::min(size, sent.size() + 1);
    const std::string received = fuzz::TextOf(data + rest, size - rest);

    const Merged m = Merge(sent, received);
    fuzz::Check(m.sentAfter == m.result, "the sent variable does not hold the merged list");
    fuzz::Check(m.receivedAfter == Reference::RemoveAllSpaces(received),
                "the received variable is not the received list without blanks");

    const Items sentItems = Split(Reference::RemoveAllSpaces(sent), ";");
    const Items receivedItems = Split(m.receivedAfter, ";");
    const Items mergedItems = Split(m.result, "; ");
    std::set<std::string> seen;
    for (const std::string &item : mergedItems) {
        fuzz::Check(Holds(receivedItems, item) || Holds(sentItems, item),
                    "the merged list holds an item neither list had");
        fuzz::Check(!IsDeleted(item), "a deleted cookie was kept");
        fuzz::Check(seen.insert(item).second, "an item is repeated");
    }

    std::set<std::string> setNames;
    for (const std::string &item : receivedItems) {
        fuzz::Check(item.empty() || IsDeleted(item) || Holds(mergedItems, item),
                    "a cookie the server set is lost");
        setNames.insert(NameOf(item));
    }
    // The first sent item of each name the server did not set stands for that name. An empty item
    // is no cookie: a list of it alone merges to the empty text.
    for (const std::string &item : sentItems) {
        if (setNames.insert(NameOf(item)).second) {
            fuzz::Check(item.empty() || IsDeleted(item) || Holds(mergedItems, item),
                        "a sent cookie is lost");
        }
    }

    // Empty items may come and go (a list's trailing separator gives none); cookies may not.
    fuzz::Check(Cookies(Split(Merge(m.result, m.result).result, "; ")) == Cookies(mergedItems),
                "merging the merged list with itself changes it");
    return 0;
}
