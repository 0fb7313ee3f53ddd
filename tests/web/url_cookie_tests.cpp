// URL decomposition, cookie merging and the fetch's text routines, with every value freed.
#include <gtest/gtest.h>

#include "app/web/cookie_merge.h"
#include "app/web/redirect_hop.h"
#include "app/web/text_between.h"
#include "app/web/url_parts.h"
#include "runtime/heap_instrumentation.h"
#include "tests/web/heap_checked_test.h"
#include "tests/web/web_test_values.h"

namespace {

struct Url {
    std::string host, path;
    int32_t port;
};

Url Decompose(const char *address) {
    TextVar url(address);
    return {Take(UrlHost(&url.value)), Take(UrlPath(&url.value)), UrlPort(&url.value)};
}

TEST_F(Web, UrlWithoutSchemeGetsHttp) {
    const Url u = Decompose("a.b/x");
    EXPECT_EQ(u.host, "a.b");
    EXPECT_EQ(u.port, 80);
    EXPECT_EQ(u.path, "/x");
}

TEST_F(Web, HostIsLowerCasedPathKeepsItsCase) {
    const Url u = Decompose("HTTP://A.B/X");
    EXPECT_EQ(u.host, "a.b");
    EXPECT_EQ(u.path, "/X");
}

TEST_F(Web, NoSlashAfterHostGivesRootPath) {
    EXPECT_EQ(Decompose("http://a.b").path, "/");
}

TEST_F(Web, PortAndQuery) {
    const Url u = Decompose("http://Example.COM:8080/x?y=1");
    EXPECT_EQ(u.host, "example.com");
    EXPECT_EQ(u.port, 8080);
    EXPECT_EQ(u.path, "/x?y=1");
}

TEST_F(Web, HttpsDefaultsTo443) {
    EXPECT_EQ(Decompose("https://a.b/x").port, 443);
    EXPECT_EQ(Decompose("HTTPS://a.b/x").port, 443);
    EXPECT_EQ(Decompose("httpsa.b/x").port, 443);
}

TEST_F(Web, QueryWithoutPathStaysInTheHost) {
    const Url u = Decompose("http://a.b?x=1");
    EXPECT_EQ(u.host, "a.b?x=1");
    EXPECT_EQ(u.path, "/");
}

TEST_F(Web, FragmentStaysInThePath) {
    EXPECT_EQ(Decompose("http://a.b/p#frag").path, "/p#frag");
}

TEST_F(Web, ThePathBeginsBehindTheHostEvenWhenTheHostAlsoStandsEarlier) {
    // Hosts that are also text of the scheme, or of what stands before it.
    EXPECT_EQ(Decompose("http://t/x").path, "/x");
    EXPECT_EQ(Decompose("HTTP://H:8080/x?y=1").path, "/x?y=1");
    EXPECT_EQ(Decompose("https://s/x").path, "/x");
    EXPECT_EQ(Decompose("http://http/x").path, "/x");
    EXPECT_EQ(Decompose("c.x/see http://c/d").path, "/d");
    // An empty host: the path is still what follows it, never the scheme's slashes.
    EXPECT_EQ(Decompose("https://").path, "/");
    EXPECT_EQ(Decompose("http:///x").path, "/x");
}

TEST_F(Web, PortOutsideSixteenBitsIsReportedAsWritten) {
    EXPECT_EQ(Decompose("http://127.0.0.1:99999/x").port, 99999);
    EXPECT_EQ(Decompose("http://127.0.0.1:-1/x").port, -1);
    EXPECT_EQ(Decompose("http://127.0.0.1:/x").port, 0);
    EXPECT_EQ(Decompose("http://127.0.0.1:abc/x").port, 0);
}

TEST_F(Web, MainDomainKeepsTheLastTwoLabels) {
    TextVar url("http://x.a.b:81/p");
    EXPECT_EQ(Take(UrlHost(&url.value, Given(1), kOmitted, kOmitted)), "a.b");
    EXPECT_EQ(Take(UrlHost(&url.value, Given(1), Given(1), kOmitted)), "a.b:81");
    TextVar single("http://localhost/p");
    EXPECT_EQ(Take(UrlHost(&single.value, Given(1), kOmitted, kOmitted)), "localhost");
}

TEST_F(Web, LevelFormCountsDotsFromTheEnd) {
    // "w.x.a.b": dots at 2, 4 and 6; each step finds the nearest dot wholly before the last.
    TextVar url("http://w.x.a.b/p");
    EXPECT_EQ(Take(UrlHost(&url.value, kOmitted, kOmitted, Given(0))), "a.b");
    EXPECT_EQ(Take(UrlHost(&url.value, Given(1), kOmitted, Given(0))), "b");
    EXPECT_EQ(Take(UrlHost(&url.value, Given(1), kOmitted, Given(1))), "a.b");
}

TEST_F(Web, TextBetweenMarkers) {
    TextVar text("say \"hi\" and \"bye\"");
    TextVar left("#引号");
    TextVar right("#引号");
    EXPECT_EQ(Take(TextBetween(&text.value, &left.value, &right.value, kOmitted, kOmitted)), "hi");
    EXPECT_EQ(left.str(), "\"");
    TextVar upper("A");
    TextVar end("d");
    TextVar lower("xaBcd");
    EXPECT_EQ(Take(TextBetween(&lower.value, &upper.value, &end.value, kOmitted, kOmitted)), "");
    EXPECT_EQ(Take(TextBetween(&lower.value, &upper.value, &end.value, kOmitted, Given(1))), "Bc");
    TextVar missing("zz");
    EXPECT_EQ(Take(TextBetween(&lower.value, &missing.value, &end.value, kOmitted, kOmitted)), "");
}

TEST_F(Web, TextAfterColonIsTrimmed) {
    TextVar line("user-agent:  Bot/1 ");
    EXPECT_EQ(Take(TextAfterColon(&line.value)), "Bot/1");
    TextVar none("no colon");
    EXPECT_EQ(Take(TextAfterColon(&none.value)), "");
}

std::string Merge(const char *sent, const char *received, std::string *sentAfter = nullptr) {
    TextVar s(sent);
    TextVar r(received);
    std::string merged = Take(MergeCookies(&s.value, &r.value));
    EXPECT_EQ(s.str(), merged);
    if (sentAfter) {
        *sentAfter = s.str();
    }
    return merged;
}

TEST_F(Web, ReceivedCookiesComeFirstThenUnsetSentOnes) {
    EXPECT_EQ(Merge("a=1; b=2", "b=3"), "b=3; a=1");
}

TEST_F(Web, DeletedCookieIsDropped) {
    EXPECT_EQ(Merge("a=1", "a=deleted"), "");
}

TEST_F(Web, CookieNamesAreCaseSensitive) {
    EXPECT_EQ(Merge("SID=1", "sid=2"), "sid=2; SID=1");
}

TEST_F(Web, BlanksAreRemovedEvenInsideValues) {
    EXPECT_EQ(Merge("x=hello world", ""), "x=helloworld");
}

TEST_F(Web, RepeatedItemsAreKeptOnce) {
    EXPECT_EQ(Merge("", "a=1; a=1"), "a=1");
    EXPECT_EQ(Merge("", "a=1; a=2"), "a=1; a=2");
}

TEST_F(Web, EmptyListsMergeToEmpty) {
    EXPECT_EQ(Merge("", ""), "");
}

// 58,000 cookies, about what fits under the fetch's 1 MiB header bound: merged in heap requests
// proportional to their number (merging them item against item made billions), with the
// received first, replaced and deleted names honoured and repeats kept once.
TEST_F(Web, FiftyEightThousandCookiesMergeInLinearWork) {
    constexpr int kEach = 29'000;
    std::string sent, received;
    for (int i = 0; i < kEach; ++i) {
        sent += "s" + std::to_string(i) + "=1; ";
        received += "r" + std::to_string(i) + "=2; ";
    }
    sent += "r7=old; s3=again";
    received += "r5=2; s1=deleted";
#ifdef ZV_HEAP_INSTRUMENTATION
    HeapInstrumentation::FailAllocationNumber(0);
#endif
    const std::string merged = Merge(sent.c_str(), received.c_str());
#ifdef ZV_HEAP_INSTRUMENTATION
    EXPECT_LT(HeapInstrumentation::AllocationsMade(), 20u * 2 * kEach);
#endif
    std::string expected;
    for (int i = 0; i < kEach; ++i) {
        expected += "r" + std::to_string(i) + "=2; ";
    }
    for (int i = 0; i < kEach; ++i) {
        if (i != 1) {
            expected += "s" + std::to_string(i) + "=1; ";
        }
    }
    expected.resize(expected.size() - 2);
    EXPECT_EQ(merged, expected);
}

TEST_F(Web, CookieNameAndListSearch) {
    TextVar item(" sid = 5");
    EXPECT_EQ(Take(CookieName(&item.value)), "sid");
    TextVar flag("flag");
    EXPECT_EQ(Take(CookieName(&flag.value)), "flag");

    TextArrayHeader *list = nullptr;
    AppendListItem(&list, "a=1");
    AppendListItem(&list, "b=2");
    TextVar b("b");
    TextVar c("c");
    EXPECT_TRUE(ListHasCookie(&list, &b.value));
    EXPECT_FALSE(ListHasCookie(&list, &c.value));
    TextVar second("b=2");
    EXPECT_EQ(FindItem(&list, &second.value), 2);
    EXPECT_EQ(FindItem(&list, &c.value), -1);
    FreeTextArray(list);
}

TEST_F(Web, RemoveDuplicateItemsKeepsFirstOccurrences) {
    TextVar text("x,y,x,,z,y");
    TextVar comma(",");
    EXPECT_EQ(Take(RemoveDuplicateItems(&text.value, &comma.value)), "x,y,,z");
}

// The fetch's own redirects: where a Location leads, and what of the caller's headers goes along.
TEST_F(Web, RedirectAddressResolvesAgainstTheAddressItAnswers) {
    struct Case {
        const char *base, *location, *expected; // null: not followed
    };
    for (const Case &c : {
             Case{"http://a.b/x/y?q=1", "HTTPS://c.d/e", "HTTPS://c.d/e"},
             Case{"https://a.b:444/x", "//c.d/e", "https://c.d/e"},
             Case{"http://A.b:81/x/y?q=1", "/z?w=2", "http://a.b:81/z?w=2"},
             Case{"http://a.b/x/y?q=/1", "z", "http://a.b/x/z"},
             Case{"http://a.b/x/y?q=1#f", "?r=2", "http://a.b/x/y?r=2"},
             Case{"http://a.b/x?q=1#f", "#g", "http://a.b/x?q=1#g"},
             Case{"a.b", "z", "http://a.b/z"},
             Case{"http://a.b/x", " /z ", "http://a.b/z"},
             Case{"http://a.b/x", "y/z:1", "http://a.b/y/z:1"},
             Case{"http://a.b/x", "", nullptr},
             Case{"http://a.b/x", "ftp://c.d/e", nullptr},
             Case{"http://a.b/x", "javascript:alert(1)", nullptr},
         }) {
        SCOPED_TRACE(std::string(c.base) + " + " + c.location);
        TextVar base(c.base);
        Text address = web::RedirectAddress(&base.value, c.location);
        EXPECT_EQ(address == nullptr, c.expected == nullptr);
        if (c.expected != nullptr) {
            EXPECT_EQ(Take(address), c.expected);
        }
    }
}

TEST_F(Web, CredentialsStayWithTheHostAndOffPlainHttpAfterHttps) {
    struct Case {
        const char *from, *to;
        bool keeps;
    };
    for (const Case &c :
         {Case{"http://a.b/x", "http://A.B:81/y", true},
          Case{"http://a.b/x", "https://a.b/y", true}, Case{"https://a.b/x", "https://a.b/y", true},
          Case{"https://a.b/x", "http://a.b/y", false},
          Case{"http://a.b/x", "http://c.a.b/y", false},
          Case{"http://a.b/x", "http://a.b.c/y", false}}) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        TextVar from(c.from);
        TextVar to(c.to);
        EXPECT_EQ(web::KeepsCallerCredentials(&from.value, &to.value), c.keeps);
    }
    EXPECT_EQ(Take(web::HeadersWithoutCredentials(
                  "Accept: */*\r\nReferer: http://a.b/x\r\n\tCOOKIE : a=1\r\nAuthorization: "
                  "Basic eA==\r\nX-Cookie: 2\nAccept-Language: zh-cn\r\nCookie: b=2")),
              "Accept: */*\r\nX-Cookie: 2\r\nAccept-Language: zh-cn");
}

} // namespace
