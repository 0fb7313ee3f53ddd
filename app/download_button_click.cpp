// DownloadButtonClick: the click handler of the "我要下载" button. It fetches the play page
// whose address is in the URL box, finds the page's track list with the regular-expression
// class and writes the title and the m4a and mp3 download addresses into the output box.
#include "app/download_button_click.h"

#include <cstdint>
#include <cstring>

#include "app/regex/regex_object.h"
#include "app/web/fetch_page.h"
#include "program_constants.h"
#include "runtime/program_calls.h"
#include "values/code_helpers.h"
#include "values/kernel_calls.h"

namespace {

constexpr uint32_t kMainWindowId = 0x52010001;
constexpr uint32_t kUrlBoxId = 0x16010002;
constexpr uint32_t kOutputBoxId = 0x16010006;
constexpr int32_t kContentProperty = 8;
constexpr int32_t kWholeValue = -1;
constexpr int32_t kMethodGet = 0;
constexpr int32_t kTitleGroup = 1;
constexpr int32_t kPathGroup = 2;
constexpr uint32_t kLeftOut = 0;

// A by-reference optional parameter left out: the address of the caller's own variable, with
// the flag saying it was not supplied.
OptionalArgument LeftOut(void *variable) {
    return OptionalArgument{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(variable)), kLeftOut};
}
// A by-value optional parameter left out.
constexpr OptionalArgument kLeftOutValue{0, kLeftOut};

// The click's fetch: the URL and, since FetchPage may write into its by-reference outputs even
// when they are left out, an empty variable of the handler's own for each, freed afterwards.
struct PageRequest {
    Text url;
    Text postText, cookies, receivedCookies, headers, responseHeaders, proxy;
    ByteSet postBytes;
};

uint32_t FetchRequestedPage(void *request) {
    auto *r = static_cast<PageRequest *>(request);
    ByteSet body =
        FetchPage(&r->url, kMethodGet, LeftOut(&r->postText), LeftOut(&r->cookies),
                  LeftOut(&r->receivedCookies), LeftOut(&r->headers), LeftOut(&r->responseHeaders),
                  kLeftOutValue, LeftOut(&r->postBytes), LeftOut(&r->proxy));
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(body));
}

// The fetched body as the page's text: its bytes up to the first zero byte, not re-encoded, as
// ToText gives them. The text is made inside the body's own block, which the handler owns and
// would otherwise free at once: the bytes move to the front of the block and end with a zero. A
// page of several MiB is thus not copied into a new block only for the old one to be freed.
Text PageTextOf(ByteSet body) {
    const uint32_t count = body != nullptr ? body->byteCount : 0;
    const uint8_t *bytes = count > 0 ? ByteSetBytes(body) : nullptr;
    const void *zero = count > 0 ? std::memchr(bytes, 0, count) : nullptr;
    const uint32_t length =
        zero == nullptr ? count : static_cast<uint32_t>(static_cast<const uint8_t *>(zero) - bytes);
    if (length == 0) {
        ProgramCall::FreeMemory(body);
        return nullptr;
    }
    char *text = reinterpret_cast<char *>(body);
    std::memmove(text, bytes, length);
    text[length] = '\0';
    return text;
}

// The page at the address in the URL box, as text: the bytes up to the first zero byte, not
// re-encoded; the empty text when the fetch failed.
Text FetchTypedPage() {
    Text url = reinterpret_cast<Text>(static_cast<uintptr_t>(
        ProgramCall::ReadUnitProperty(kMainWindowId, kUrlBoxId, kContentProperty, kWholeValue)));
    PageRequest request{url, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    // The fetch may wait on the network for long: it runs beside the window, which stays alive
    // (and refuses input) meanwhile.
    ByteSet body = reinterpret_cast<ByteSet>(
        static_cast<uintptr_t>(ProgramCall::RunBlockingRoutine(&FetchRequestedPage, &request)));
    ProgramCall::FreeMemory(request.url);
    for (void *temporary :
         {static_cast<void *>(request.postText), static_cast<void *>(request.cookies),
          static_cast<void *>(request.receivedCookies), static_cast<void *>(request.headers),
          static_cast<void *>(request.responseHeaders), static_cast<void *>(request.postBytes),
          static_cast<void *>(request.proxy)}) {
        ProgramCall::FreeMemory(temporary);
    }
    return PageTextOf(body);
}

// The three output lines of one match: the title, the m4a address and the mp3 address.
Text ComposeOutput(const char *title, const char *pathA, const char *pathB) {
    const char *lineBreak = ConstantText(Constant::LineBreak);
    return CodeConcatTexts(9, title, lineBreak, ConstantText(Constant::MixAddressStart), pathA,
                           ConstantText(Constant::M4aSuffix), lineBreak,
                           ConstantText(Constant::Mp3AddressStart), pathB,
                           ConstantText(Constant::Mp3Suffix));
}

// A text as the concatenation receives it: the constant empty text in place of null.
const char *Arg(const char *text) {
    return text != nullptr ? text : ConstantText(Constant::EmptyText);
}

} // namespace

extern "C" void DownloadButtonClick() {
    RegexObject *regex = Regex::NewInstance();
    Regex::Initialize(&regex);

    Text page = FetchTypedPage();
    Text pattern = const_cast<Text>(ConstantText(Constant::TrackListPattern));
    // Every option left out: case ignored, multi-line and global on, no quote marker.
    Regex::Create(&regex, &pattern, &page, kLeftOutValue, kLeftOutValue, kLeftOutValue,
                  kLeftOutValue);
    const int32_t count = Regex::MatchCount(&regex);
    for (int32_t i = 1; i <= count; ++i) {
        Text title = Regex::SubMatchText(&regex, i, kTitleGroup, kLeftOutValue);
        Text pathA = Regex::SubMatchText(&regex, i, kPathGroup, kLeftOutValue);
        Text pathB = Regex::SubMatchText(&regex, i, kPathGroup, kLeftOutValue);
        Text output = ComposeOutput(Arg(title), Arg(pathA), Arg(pathB));
        ProgramCall::FreeMemory(title);
        ProgramCall::FreeMemory(pathA);
        ProgramCall::FreeMemory(pathB);
        // The property service keeps its own copy; each match replaces the box's whole content.
        ProgramCall::WriteUnitProperty(kMainWindowId, kOutputBoxId, kContentProperty, kWholeValue,
                                       static_cast<uint32_t>(reinterpret_cast<uintptr_t>(output)),
                                       0);
        ProgramCall::FreeMemory(output);
    }

    ProgramCall::FreeMemory(page);
    regex->operations->dispose(regex);
    ProgramCall::FreeMemory(regex);
}
