// The downloader's own pattern over a page like the site's: a few hundred KiB of markup and
// script, a decoy that begins like the track list, and the list near the end.
#include "tests/regex/engine/regex_test_support.h"

#include <string>

namespace {

constexpr std::u16string_view kTrackListPattern =
    u"var list=\\[\\{title:\"(.*?)\",artist:\"-\",m4a: s_str\\+\"(.*?).m4a\"\\}\\]";

std::u16string SitePage() {
    std::u16string page = u"<!DOCTYPE html>\n<html><head><title>\u821e\u66f2</title>\n";
    for (int i = 0; page.size() < 300 * 1024 / 2; ++i) {
        page += u"<div class=\"item\"><a href=\"/dance/play/" + std::u16string(1, u'0' + i % 10) +
                u".html\">\u4e0b\u8f7d DJ mix " + std::u16string(1, u'a' + i % 26) +
                u"</a></div>\r\n";
        if (i == 500) {
            page += u"<script>var list=[{title:\"decoy\",artist:\"x\"}];</script>\n";
        }
    }
    page += u"<script type=\"text/javascript\">\n"
            u"var s_str=\"http://mix.example\";\n"
            u"var list=[{title:\"\u4e2d\u6587 DJ \u821e\u66f2 2024\",artist:\"-\",m4a: "
            u"s_str+\"/2024/01/abc123.m4a\"}];\n"
            u"</script></body></html>\n";
    return page;
}

TEST(RegexEngineDownloaderPattern, FindsTitleAndPathNearTheEndOfALargePage) {
    const std::u16string page = SitePage();
    for (RegexEngine::Options options :
         {RegexEngine::Options{}, RegexEngine::Options{.ignoreCase = true, .multiline = true}}) {
        RegexEngineTest::Outcome outcome = RegexEngineTest::Exec(kTrackListPattern, page, options);
        EXPECT_EQ(outcome.text, "var list=[{title:\"\\u4E2D\\u6587 DJ \\u821E\\u66F2 2024\",artist:"
                                "\"-\",m4a: s_str+\"/2024/01/abc123.m4a\"}]|\\u4E2D\\u6587 DJ "
                                "\\u821E\\u66F2 2024|/2024/01/abc123");
        EXPECT_GT(outcome.captures.begin(0), static_cast<int32_t>(page.size() - 200));
    }
}

TEST(RegexEngineDownloaderPattern, PageWithoutTheListHasNoMatch) {
    std::u16string page = SitePage();
    page.resize(page.size() - 200);
    EXPECT_EQ(RegexEngineTest::Exec(kTrackListPattern, page).text, "NO MATCH");
}

} // namespace
