// libFuzzer target: the fetch's header and cookie handling after a response, at the sizes a
// hostile server can send. The input holds five texts separated by NUL bytes: a raw response
// header block (repeated as often as its first byte says, up to 2^19 times or about 1 MiB, the
// fetch's header bound), the cookies the caller sent, the caller's header block, a Location value
// and the address it answers. Beyond memory safety, the heap balance and the time limit: the
// received cookies merge with the sent ones into a list without repeats; a hop that leaves the
// caller's host or steps down to plain HTTP gets no Cookie, Referer or Authorization line and only
// lines the caller wrote; a followed Location is an http or https address.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "app/web/cookie_merge.h"
#include "app/web/received_cookies.h"
#include "app/web/redirect_hop.h"
#include "fuzz/fuzz_support.h"

namespace {

constexpr size_t kMaxHeaderBytes = 1u << 20;

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char &c : lower) {
        c = static_cast<char>(FoldAsciiLetter(static_cast<uint8_t>(c)));
    }
    return lower;
}

// The NUL-separated texts of the input, in order; missing ones are empty.
struct Texts {
    const uint8_t *data;
    size_t size;
    std::string Next() {
        std::string text = fuzz::TextOf(data, size);
        const size_t used = std::min(size, text.size() + 1);
        data += used;
        size -= used;
        return text;
    }
};

void CheckCookies(const std::string &block, const std::string &sent) {
    fuzz::Variable headers(block);
    fuzz::Variable received(fuzz::Take(ReadReceivedCookies(&headers.value)));
    fuzz::Variable sentList(sent);
    const std::string merged = fuzz::Take(MergeCookies(&sentList.value, &received.value));
    fuzz::Check(sentList.str() == merged, "the sent variable does not hold the merged list");
    std::set<std::string_view> items;
    for (size_t start = 0; !merged.empty() && start <= merged.size();) {
        const size_t end = std::min(merged.find("; ", start), merged.size());
        fuzz::Check(items.insert(std::string_view(merged).substr(start, end - start)).second ||
                        end == start,
                    "a merged item is repeated");
        start = end + 2;
    }
}

void CheckHop(const std::string &callerHeaders, const std::string &location,
              const std::string &address) {
    fuzz::Variable base(address);
    Text next = web::RedirectAddress(&base.value, location.c_str());
    if (next == nullptr) {
        return;
    }
    const std::string lower = Lower(fuzz::Bytes(next));
    fuzz::Check(lower.starts_with("http://") || lower.starts_with("https://"),
                "a followed Location is no http or https address");
    const bool keeps = web::KeepsCallerCredentials(&base.value, &next);
    FreeMemory(next);
    if (keeps) {
        return;
    }
    const std::string stripped = fuzz::Take(web::HeadersWithoutCredentials(callerHeaders.c_str()));
    for (size_t start = 0; start < stripped.size();) {
        const size_t end = std::min(stripped.find("\r\n", start), stripped.size());
        const std::string_view line = std::string_view(stripped).substr(start, end - start);
        fuzz::Check(callerHeaders.find(line) != std::string::npos, "a header line nobody wrote");
        std::string name = Lower(line.substr(0, line.find(':')));
        name.erase(name.find_last_not_of(" \t") + 1);
        name.erase(0, name.find_first_not_of(" \t"));
        fuzz::Check(line.find(':') == std::string_view::npos ||
                        (name != "cookie" && name != "referer" && name != "authorization"),
                    "a credential line goes to another host");
        start = end + 2;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const fuzz::HeapBalance balance;
    // Mostly a few copies, so that the fuzzer explores; one input in sixteen goes large.
    const size_t repeats = size_t{1} << (data[0] < 240 ? data[0] % 4 : data[0] - 236);
    Texts texts{data + 1, size - 1};
    const std::string piece = texts.Next();
    std::string block;
    for (size_t i = 0; i < repeats && block.size() + piece.size() <= kMaxHeaderBytes; ++i) {
        block += piece;
    }
    const std::string sent = texts.Next();
    const std::string callerHeaders = texts.Next();
    const std::string location = texts.Next();
    const std::string address = texts.Next();
    CheckCookies(block, sent);
    CheckHop(callerHeaders, location, address);
    return 0;
}
