// The platform the program is tested on: Wine must present code page 936 as the ANSI code page,
// or every text test of the Windows build would test the wrong bytes.
#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(TestPlatform, AnsiCodePageIs936) { EXPECT_EQ(GetACP(), 936u); }

TEST(TestPlatform, ChineseLiteralsAreCodePage936Bytes) {
    const char* text = "错误";
    wchar_t wide[8] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, wide, 8), 3);
    EXPECT_EQ(wide[0], 0x9519);
    EXPECT_EQ(wide[1], 0x8BEF);
}

} // namespace
