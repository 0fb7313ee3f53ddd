// DownloadButtonClick: the click handler of the "我要下载" button. It fetches the play page
// whose address is in the URL box, finds the page's track list with the regular-expression
// class and writes the title and the m4a and mp3 download addresses into the output box.
#include "app/download_button_click.h"

#include <cstdint>

#include "app/program_code.h"
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

// The fetched body as the page's text: its bytes up to the first zero byte, not re-encoded, as
// ToText gives them. Read in place, behind the zero byte that FetchPage leaves after a body's
// bytes, so that a page of several MiB is not copied; the text lives as long as the body. The
// empty text when the fetch failed.
Text PageTextIn(ByteSet body) {
    return body != nullptr ? reinterpret_cast<Text>(body + 1) : nullptr;
}

// The page at the address in the URL box: its body, or the empty byte set when the fetch failed.
ByteSet FetchTypedPage() {
    Text url = reinterpret_cast<Text>(static_cast<uintptr_t>(
        ProgramCall::ReadUnitProperty(kMainWindowId, kUrlBoxId, kContentProperty, kWholeValue)));
    PageRequest r{url, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    // The fetch waits on the network with the window alive (refusing input) meanwhile; a close
    // asked for during it ends it as a failed fetch, and the window closes after the click.
    ByteSet body =
        FetchPage(&r.url, kMethodGet, LeftOut(&r.postText), LeftOut(&r.cookies),
                  LeftOut(&r.receivedCookies), LeftOut(&r.headers), LeftOut(&r.responseHeaders),
                  kLeftOutValue, LeftOut(&r.postBytes), LeftOut(&r.proxy));
    ProgramCall::FreeMemory(r.url);
    for (void *temporary : {static_cast<void *>(r.postText), static_cast<void *>(r.cookies),
                            static_cast<void *>(r.receivedCookies), static_cast<void *>(r.headers),
                            static_cast<void *>(r.responseHeaders),
                            static_cast<void *>(r.postBytes), static_cast<void *>(r.proxy)}) {
        ProgramCall::FreeMemory(temporary);
    }
    return body;
}

// The three output lines of one match: the title, the m4a address and the mp3 address.
Text ComposeOutput(const char *title, const char *pathA, const char *pathB) {
    const char *lineBreak = ConstantText(Constant::LineBreak);
    return CodeConcatTexts(9, title, lineBreak, ConstantText(Constant::MixAddressStart), pathA,
                           ConstantText(Constant::M4aSuffix), lineBreak,
                           ConstantText(Constant::Mp3AddressStart), pathB,
                           ConstantText(Constant::Mp3Suffix));
}

} // namespace

extern "C" void DownloadButtonClick() {
    RegexObject *regex = Regex::NewInstance();
    Regex::Initialize(&regex);

    ByteSet body = FetchTypedPage();
    Text page = PageTextIn(body);
    Text pattern = const_cast<Text>(ConstantText(Constant::TrackListPattern));
    // Every option left out: case ignored, multi-line and global on, no quote marker.
    Regex::Create(&regex, &pattern, &page, kLeftOutValue, kLeftOutValue, kLeftOutValue,
                  kLeftOutValue);
    // The regular-expression object keeps its own copy of the subject: the page is not needed
    // any more, and a page of many MiB is not held beside the output made from it.
    ProgramCall::FreeMemory(body); // and the page's text with it
    // Each match's lines replace the box's whole content, so only the last match's are ever
    // seen: only those are read and written, whatever the number of matches on the page.
    const int32_t count = Regex::MatchCount(&regex);
    if (count > 0) {
        Text title = Regex::SubMatchText(&regex, count, kTitleGroup, kLeftOutValue);
        Text pathA = Regex::SubMatchText(&regex, count, kPathGroup, kLeftOutValue);
        Text pathB = Regex::SubMatchText(&regex, count, kPathGroup, kLeftOutValue);
        Text output = ComposeOutput(Arg(title), Arg(pathA), Arg(pathB));
        ProgramCall::FreeMemory(title);
        ProgramCall::FreeMemory(pathA);
        ProgramCall::FreeMemory(pathB);
        // The property service keeps its own copy.
        ProgramCall::WriteUnitProperty(kMainWindowId, kOutputBoxId, kContentProperty, kWholeValue,
                                       static_cast<uint32_t>(reinterpret_cast<uintptr_t>(output)),
                                       0);
        ProgramCall::FreeMemory(output);
    }

    regex->operations->dispose(regex);
    ProgramCall::FreeMemory(regex);
}
