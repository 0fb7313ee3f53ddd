// Reading the cookies a response set from its raw header block.
#include <gtest/gtest.h>

#include <string>

#include "app/web/received_cookies.h"
#include "tests/web/heap_checked_test.h"
#include "tests/web/web_test_values.h"

namespace {

struct Received {
    std::string cookies;
    std::string headersAfter; // the block as the caller's variable holds it afterwards
};

Received Read(const std::string &block) {
    TextVar headers(block.c_str());
    std::string cookies = Take(ReadReceivedCookies(&headers.value));
    return {cookies, headers.str()};
}

TEST_F(Web, EverySetCookieLineGivesItsFirstPairInLineOrder) {
    const Received r = Read("HTTP/1.1 200 OK\r\n"
                            "set-cookie: s=abc; path=/\r\n"
                            "Content-Type: text/html\r\n"
                            "SET-COOKIE: t=def; Path=/; HttpOnly\r\n"
                            "\r\n");
    EXPECT_EQ(r.cookies, "s=abc; t=def");
    EXPECT_EQ(r.headersAfter, "HTTP/1.1 200 OK\r\n"
                              "Set-Cookie: s=abc; path=/\r\n"
                              "Content-Type: text/html\r\n"
                              "Set-Cookie: t=def; Path=/; HttpOnly\r\n"
                              "\r\n");
}

TEST_F(Web, ACookieWithoutAttributesIsTakenWholeAndTrimmed) {
    EXPECT_EQ(Read("HTTP/1.1 200 OK\r\nSet-Cookie:   flag  \r\n\r\n").cookies, "flag");
    EXPECT_EQ(Read("Set-Cookie:\xA1\xA1w=1\xA1\xA1;x").cookies, "w=1");
    // The last line needs no line break behind it.
    EXPECT_EQ(Read("Set-Cookie: a=1").cookies, "a=1");
}

TEST_F(Web, NoSetCookieLineGivesTheEmptyText) {
    EXPECT_EQ(Read("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n").cookies, "");
    EXPECT_EQ(Read("").cookies, "");
    // The 5,000 spaces left in place when the header query fails.
    EXPECT_EQ(Read(std::string(5000, ' ')).cookies, "");
}

TEST_F(Web, AnEmptySetCookieValueStillCountsAsAnItem) {
    EXPECT_EQ(Read("Set-Cookie: a=1\r\nSet-Cookie: ; path=/\r\nSet-Cookie: b=2\r\n").cookies,
              "a=1; ; b=2");
}

TEST_F(Web, HeadersThatOnlyMentionSetCookieSetNoCookie) {
    const Received r = Read("HTTP/1.1 200 OK\r\n"
                            "Cache-Control: private, no-cache=\"set-cookie\"\r\n"
                            "Vary: Accept-Encoding, Set-Cookie\r\n"
                            "Access-Control-Expose-Headers: Set-Cookie\r\n"
                            "X-Set-Cookie-Trace: id=7; seen\r\n"
                            "Set-Cookie2: old=1; Version=1\r\n"
                            "Set-Cookie: real=1; path=/\r\n"
                            "\r\n");
    EXPECT_EQ(r.cookies, "real=1");
    // Their text is still normalised like every other occurrence.
    EXPECT_NE(r.headersAfter.find("no-cache=\"Set-Cookie\""), std::string::npos);
}

TEST_F(Web, ALoneLeadByteDoesNotSwallowTheLineBreakBehindIt) {
    // 0xD6 is a lead byte of code page 936; as text it would pair with the CR behind it.
    EXPECT_EQ(Read("X-Name: \xD6\r\nSet-Cookie: a=1\r\nX-Other: \xD6\r\nSet-Cookie: b=2").cookies,
              "a=1; b=2");
    // The lone lead byte ends the value and, being no whole character, is trimmed with the blanks.
    EXPECT_EQ(Read("Set-Cookie: a=\xD6\r\nInjected: yes\r\n").cookies, "a=");
}

TEST_F(Web, NoCookieHoldsALineBreak) {
    EXPECT_EQ(Read("Set-Cookie: a=1\nInjected: yes\rSet-Cookie: b=2\r\r\n").cookies, "a=1; b=2");
}

TEST_F(Web, ASemicolonInsideADoubleByteCharacterDoesNotEndTheCookie) {
    // 0x81 0x3B is one character whose trail byte is ";".
    EXPECT_EQ(Read("Set-Cookie: n=\x81;v; path=/\r\n").cookies, "n=\x81;v");
}

} // namespace
