// The word-at-a-time scanning helpers, with every lane of a word and the byte tail behind the
// last whole word covered: character starts, finding bytes and the letter-case copy.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "values/character_scan.h"

#if !defined(_WIN32)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

const uint8_t *Bytes(const std::string &text) {
    return reinterpret_cast<const uint8_t *>(text.c_str());
}

std::string LowerCaseCopy(const std::string &text) {
    std::string out(text.size(), '?');
    CopyWithLowerCaseLetters(Bytes(text), static_cast<uint32_t>(text.size()),
                             reinterpret_cast<uint8_t *>(out.data()));
    return out;
}

TEST(CharacterScan, HighByteRunStopsAtALowByteOrAtTheFloor) {
    //                        0    1    2    3    4    5    6    7    8    9
    const std::string text = "ab\xB0\xB1\xB2\xB3\xB4\xB5\xB6"
                             "c";
    EXPECT_EQ(HighByteRunBefore(Bytes(text), 0, 9), 7u);
    EXPECT_EQ(HighByteRunBefore(Bytes(text), 0, 6), 4u);
    EXPECT_EQ(HighByteRunBefore(Bytes(text), 0, 3), 1u);
    EXPECT_EQ(HighByteRunBefore(Bytes(text), 0, 2), 0u);
    EXPECT_EQ(HighByteRunBefore(Bytes(text), 5, 9), 4u);
    EXPECT_EQ(HighByteRunBefore(Bytes(text), 9, 9), 0u);
    EXPECT_EQ(HighByteRunBefore(Bytes(text), 0, 10), 0u);
}

TEST(CharacterScan, HighByteRunCrossesManyWords) {
    const std::string text = "a" + std::string(37, '\xC1') + "z";
    for (uint32_t at = 1; at <= 38; ++at) {
        EXPECT_EQ(HighByteRunBefore(Bytes(text), 0, at), at - 1) << at;
        EXPECT_EQ(StartsCharacter(Bytes(text), 0, at), (at - 1) % 2 == 0) << at;
    }
    // From a known start inside the run the pairs are counted from there.
    EXPECT_TRUE(StartsCharacter(Bytes(text), 4, 10));
    EXPECT_FALSE(StartsCharacter(Bytes(text), 4, 11));
}

// Runs longer and shorter than the sixteen bytes the scan may take at a step, ending at every
// offset of such a step, and floors inside them.
TEST(CharacterScan, HighByteRunAgreesWithAPlainLoopAcrossEveryStep) {
    std::string text(80, '\xC1');
    for (uint32_t low : {0, 5, 22, 23, 40, 57}) {
        text[low] = 'a';
    }
    for (uint32_t floor = 0; floor <= text.size(); ++floor) {
        for (uint32_t at = floor; at <= text.size(); ++at) {
            uint32_t start = at;
            while (start > floor && text[start - 1] != 'a') {
                --start;
            }
            ASSERT_EQ(HighByteRunBefore(Bytes(text), floor, at), at - start)
                << "floor " << floor << " at " << at;
        }
    }
}

TEST(CharacterScan, TrailBytesBelow0x80DoNotStartCharacters) {
    // B0 41 is one character: its trail byte 'A' begins nothing; the 'A' behind it does.
    const std::string text = "x\xB0"
                             "AA";
    EXPECT_TRUE(StartsCharacter(Bytes(text), 0, 1));
    EXPECT_FALSE(StartsCharacter(Bytes(text), 0, 2));
    EXPECT_TRUE(StartsCharacter(Bytes(text), 0, 3));
}

TEST(CharacterScan, FindEitherByteFindsTheFirstInEveryLane) {
    for (uint32_t at = 0; at < 19; ++at) {
        std::string text(19, 'x');
        text[at] = ' ';
        if (at + 3 < text.size()) {
            text[at + 3] = '\xA1';
        }
        EXPECT_EQ(FindEitherByte(Bytes(text), 0, 19, ' ', 0xA1), at) << at;
        text[at] = '\xA1';
        EXPECT_EQ(FindEitherByte(Bytes(text), 0, 19, ' ', 0xA1), at) << at;
        EXPECT_EQ(FindEitherByte(Bytes(text), 0, at, ' ', 0xA1), at) << "end is exclusive";
    }
}

// Long texts go sixteen bytes a step where the processor allows, then word by word, then byte
// by byte: every start, end and hit position across those steps gives the first hit.
TEST(CharacterScan, FindEitherByteAgreesWithAPlainLoopAcrossEveryStep) {
    std::string text(80, '.');
    for (uint32_t hit : {3, 21, 40, 41, 63, 79}) {
        text[hit] = hit % 2 == 0 ? 'z' : 'Z';
    }
    for (uint32_t from = 0; from <= text.size(); ++from) {
        for (uint32_t end = from; end <= text.size(); ++end) {
            uint32_t expected = from;
            while (expected < end && text[expected] != 'z' && text[expected] != 'Z') {
                ++expected;
            }
            ASSERT_EQ(FindEitherByte(Bytes(text), from, end, 'z', 'Z'), expected)
                << "from " << from << " end " << end;
        }
    }
    const std::string none(70, '.');
    EXPECT_EQ(FindEitherByte(Bytes(none), 0, 70, 'z', 'Z'), 70u);
    EXPECT_EQ(FindEitherByte(Bytes(none), 0, 70, 0xFF, 0x80), 70u) << "high bytes as well";
}

#if defined(__i386__) && defined(_WIN32)
// Calls run(context) with the stack pointer 4, 8 or 12 bytes off the 16-byte alignment that the
// compiler keeps, as a 32-bit Windows thread may call in (the Linux ABI, and the sanitizers'
// frames, keep 16): SSE2 code that keeps vectors in aligned stack slots must align its own frame.
extern "C" void ZvCallWithStackShift(void (*run)(void *), void *context, uint32_t shift);
__asm__(".text\n"
        ".globl _ZvCallWithStackShift\n"
        "_ZvCallWithStackShift:\n"
        "  pushl %ebp\n"
        "  movl %esp, %ebp\n"
        "  movl 16(%ebp), %ecx\n"
        "  andl $-16, %esp\n"
        "  subl %ecx, %esp\n"
        "  subl $12, %esp\n"
        "  pushl 12(%ebp)\n"
        "  call *8(%ebp)\n"
        "  movl %ebp, %esp\n"
        "  popl %ebp\n"
        "  ret\n");

// Every scan once over a text long enough for the sixteen-byte steps.
struct ScanResults {
    uint32_t found = 0, run = 0, walked = 0;
    std::string lowered;
    bool operator==(const ScanResults &) const = default;
};
void RunScans(void *context) {
    auto *results = static_cast<ScanResults *>(context);
    std::string text(100, 'A');
    text[70] = 'z';
    text[90] = static_cast<char>(0xB0);
    results->found = FindEitherByte(Bytes(text), 0, 100, 'z', 'y');
    results->run = HighByteRunBefore(Bytes(text), 0, 91);
    uint32_t offsets[100];
    results->walked = WalkByteMatches(Bytes(text), 0, 'A', 'a', 100, offsets, 100).count;
    results->lowered = LowerCaseCopy(text);
    std::string replaced(300, '?');
    replaced.resize(CopyReplacingByteMatches(Bytes(text), 0, 100, 'A', 'z', 90, Bytes("bc"), 2,
                                             reinterpret_cast<uint8_t *>(replaced.data())));
    results->lowered += replaced;
}

TEST(CharacterScan, ScansEnteredWithAStackAlignedToFourBytesGiveTheSameResults) {
    ScanResults aligned;
    RunScans(&aligned);
    for (uint32_t shift : {4u, 8u, 12u}) {
        ScanResults shifted;
        ZvCallWithStackShift(&RunScans, &shifted, shift);
        EXPECT_EQ(shifted, aligned) << "shift " << shift;
    }
}
#endif

TEST(CharacterScan, FindEitherByteHonoursItsRange) {
    const std::string text = "Z..............z.Z";
    EXPECT_EQ(FindEitherByte(Bytes(text), 1, 18, 'z', 'Z'), 15u);
    EXPECT_EQ(FindEitherByte(Bytes(text), 16, 18, 'z', 'Z'), 17u);
    EXPECT_EQ(FindEitherByte(Bytes(text), 1, 15, 'z', 'Z'), 15u) << "none before the end";
    EXPECT_EQ(FindEitherByte(Bytes(text), 3, 3, 'z', 'Z'), 3u);
    // A zero byte in the text is an ordinary byte inside the range.
    const std::string zeros("ab\0\0cdef\0z", 10);
    EXPECT_EQ(FindEitherByte(Bytes(zeros), 0, 10, 'z', 'y'), 9u);
    EXPECT_EQ(FindEitherByte(Bytes(zeros), 0, 10, 0, 'y'), 2u);
}

TEST(CharacterScan, LowerCaseCopyFoldsOnlyCapitalsThatBeginCharacters) {
    EXPECT_EQ(LowerCaseCopy("ABCDEFGHIJKLMNOPQRSTUVWXYZ@[`{"), "abcdefghijklmnopqrstuvwxyz@[`{");
    // Each trail byte 'A' stays, in every lane position.
    for (size_t before = 0; before < 9; ++before) {
        const std::string prefix(before, 'Q');
        EXPECT_EQ(LowerCaseCopy(prefix + "\xB0"
                                         "AZ\xC1\xC2"
                                         "B"),
                  std::string(before, 'q') + "\xB0"
                                             "Az\xC1\xC2"
                                             "b")
            << before;
    }
}

TEST(CharacterScan, LowerCaseCopyIsNotMisledByHighBytesBesideLetters) {
    // A byte from 0xC0 up in the lane below must not push '@' into the letters nor 'Z' out.
    EXPECT_EQ(LowerCaseCopy("\xC1\xFF@[\xFF\xFF@Z\xDB\xFFZ`"), "\xC1\xFF@[\xFF\xFF@z\xDB\xFFz`");
}

TEST(CharacterScan, LowerCaseCopyCarriesTheWalkAcrossWords) {
    // Runs of high bytes of every length before a capital: after an odd run the capital is the
    // trail byte of the run's last lead byte. The runs start at every offset of a sixteen-byte
    // step and cross its halves and its end; capitals behind them keep the last step full.
    for (size_t lead = 0; lead < 17; ++lead) {
        for (size_t run = 0; run < 40; ++run) {
            const std::string high(run, '\xB3');
            const std::string text =
                std::string(lead, 'Q') + "a" + high + "MN" + "RSTUVWXYZABCDEFG";
            const std::string expected = std::string(lead, 'q') + "a" + high +
                                         (run % 2 == 0 ? "m" : "M") + "n" + "rstuvwxyzabcdefg";
            ASSERT_EQ(LowerCaseCopy(text), expected) << "lead " << lead << " run " << run;
        }
    }
    // A lead byte in the last lane of a word makes lane 0 of the next word a trail byte.
    EXPECT_EQ(LowerCaseCopy("abc\xB0"
                            "Ddef\xB0"
                            "E"),
              "abc\xB0"
              "Ddef\xB0"
              "E");
    EXPECT_EQ(LowerCaseCopy("\xB0\xB0\xB0\xB0\xB0\xB0\xB0"
                            "AB"),
              "\xB0\xB0\xB0\xB0\xB0\xB0\xB0"
              "Ab");
}

// The walk from text[from] that the copies below take, one character at a time: a byte that is
// first or second where a character begins is replaced (at most limit of them, none a lead byte
// at the very end), and the byte behind it counts as beginning a character.
std::string PlainReplaced(const std::string &text, size_t from, char first, char second,
                          const std::string &replacement, uint32_t limit) {
    std::string out = text.substr(0, from);
    uint32_t replaced = 0;
    for (size_t at = from; at < text.size();) {
        const bool lead = (text[at] & 0x80) != 0;
        if (replaced < limit && (text[at] == first || text[at] == second) &&
            !(lead && at + 1 == text.size())) {
            out += replacement;
            ++replaced;
            ++at;
        } else {
            const size_t width = lead ? 2 : 1;
            out += text.substr(at, width);
            at += width;
        }
    }
    return out;
}

std::string PlainWithoutBlanks(const std::string &text) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        if (text[at] == ' ') {
            ++at;
        } else if (text.compare(at, 2, "\xA1\xA1") == 0) {
            at += 2;
        } else {
            const size_t width = (text[at] & 0x80) != 0 ? 2 : 1;
            out += text.substr(at, width);
            at += width;
        }
    }
    return out;
}

// The replacement as ReplaceSubtext makes it: the matches walked (their offsets kept in steps of
// room offsets, the walk going on behind each step as it does while ReplaceSubtext's list grows;
// only counted when room is 0), then the text copied with the replacements put in, either
// between the kept offsets or found again on the way.
std::string Replaced(const std::string &text, size_t from, char first, char second,
                     const std::string &replacement, uint32_t limit, uint32_t room) {
    const auto *bytes = Bytes(text);
    const auto length = static_cast<uint32_t>(text.size());
    std::vector<uint32_t> offsets;
    uint32_t count = 0;
    ByteMatchWalk walk{0, static_cast<uint32_t>(from), 0, true};
    while (walk.full) {
        std::vector<uint32_t> step(room);
        walk = WalkByteMatches(bytes, walk.end, static_cast<uint8_t>(first),
                               static_cast<uint8_t>(second), limit - count, step.data(), room);
        offsets.insert(offsets.end(), step.begin(), step.begin() + std::min(walk.count, room));
        count += walk.count;
    }
    EXPECT_EQ(walk.length, length);
    std::string out(length + count * replacement.size(), '?');
    auto *to = reinterpret_cast<uint8_t *>(out.data());
    std::memcpy(to, bytes, from);
    const auto *put = Bytes(replacement);
    const auto putLength = static_cast<uint32_t>(replacement.size());
    const uint32_t written =
        static_cast<uint32_t>(from) +
        (count <= offsets.size()
             ? CopyReplacingBytesAt(bytes, static_cast<uint32_t>(from), offsets.data(), count, put,
                                    putLength, to + from)
             : CopyReplacingByteMatches(bytes, static_cast<uint32_t>(from), length,
                                        static_cast<uint8_t>(first), static_cast<uint8_t>(second),
                                        count, put, putLength, to + from));
    return out.substr(0, written) + text.substr(walk.end);
}

TEST(CharacterScan, CopiesAgreeWithAPlainWalkAcrossEveryStep) {
    // Runs of 0xA1 (blanks, leads and trails by turns) of every length before a space, a '#' and
    // a full-width blank, starting at every offset of a sixteen-byte step and reaching past one
    // or two steps, so that bytes found lie at each lane, behind runs that leave the step, and
    // within sixteen bytes of where a search began.
    for (size_t lead = 0; lead < 17; ++lead) {
        for (size_t run = 0; run < 36; ++run) {
            const std::string text = std::string(lead, 'q') + "a" + std::string(run, '\xA1') +
                                     " #\xA1\xA1#\xC1#" + std::string(run % 7, '\xB2') + "x#" +
                                     "abcdefghijklmnop";
            std::string out(text.size() + 1, '?');
            const uint32_t written =
                CopyWithoutBlanks(Bytes(text), static_cast<uint32_t>(text.size()),
                                  reinterpret_cast<uint8_t *>(out.data()));
            ASSERT_EQ(out.substr(0, written), PlainWithoutBlanks(text))
                << "lead " << lead << " run " << run;
            for (size_t from : {size_t{0}, lead + 1, lead + 2}) {
                for (const std::string replacement : {"$", "$$$", "<twenty bytes long!>"}) {
                    for (uint32_t limit : {UINT32_MAX, 1u, 3u}) {
                        for (uint32_t kept : {0u, 1u, 64u}) {
                            ASSERT_EQ(Replaced(text, from, '#', '#', replacement, limit, kept),
                                      PlainReplaced(text, from, '#', '#', replacement, limit))
                                << "lead " << lead << " run " << run << " from " << from;
                            ASSERT_EQ(Replaced(text, from, '\xA1', '#', replacement, limit, kept),
                                      PlainReplaced(text, from, '\xA1', '#', replacement, limit))
                                << "lead " << lead << " run " << run << " from " << from;
                        }
                    }
                }
            }
        }
    }
    // A lead byte at the very end is no match, and ends the walk.
    EXPECT_EQ(Replaced("ab\xC1", 0, '\xC1', '\xC1', "$", UINT32_MAX, 4), "ab\xC1");
}

// WalkByteMatches finds the NUL as it goes, reading aligned blocks whole: the text at every offset
// of a 64-byte line with its NUL in every lane, bytes in front of the text and behind its NUL
// that would match, a start within the text, and the NUL as the last byte of a page whose
// successor cannot be read.
TEST(CharacterScan, ByteMatchWalkFindsTheEndWhereverItLies) {
    std::vector<uint8_t> line(3 * 64, '#');
    const uintptr_t aligned = (reinterpret_cast<uintptr_t>(line.data()) + 63) & ~uintptr_t{63};
    auto *lineStart = line.data() + (aligned - reinterpret_cast<uintptr_t>(line.data()));
    for (uint32_t offset = 0; offset < 64; ++offset) {
        for (uint32_t length = 0; length <= 66; ++length) {
            std::fill(line.begin(), line.end(), '#');
            uint8_t *text = lineStart + offset;
            for (uint32_t i = 0; i < length; ++i) {
                text[i] = i % 3 == 2 ? '#' : 'x';
            }
            text[length] = 0;
            for (uint32_t from : {0u, length / 2}) {
                const ByteMatchWalk walk =
                    WalkByteMatches(text, from, '#', '#', UINT32_MAX, nullptr, 0);
                const uint32_t firstMatch = from + (2 - from % 3) % 3;
                const uint32_t count = length > firstMatch ? (length - firstMatch + 2) / 3 : 0;
                ASSERT_EQ(walk.length, length) << "offset " << offset << " from " << from;
                ASSERT_EQ(walk.count, count) << "offset " << offset << " length " << length;
                ASSERT_FALSE(walk.full);
            }
        }
    }
#if !defined(_WIN32)
    const auto page = static_cast<uint32_t>(sysconf(_SC_PAGESIZE));
    void *pages =
        mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(pages, MAP_FAILED);
    ASSERT_EQ(mprotect(static_cast<uint8_t *>(pages) + page, page, PROT_NONE), 0);
    for (uint32_t length = 0; length < 70; ++length) {
        uint8_t *text = static_cast<uint8_t *>(pages) + page - 1 - length;
        std::memset(text, 'x', length);
        text[length] = 0;
        if (length > 0) {
            text[length - 1] = '#';
        }
        const ByteMatchWalk walk = WalkByteMatches(text, 0, '#', '#', UINT32_MAX, nullptr, 0);
        ASSERT_EQ(walk.length, length);
        ASSERT_EQ(walk.count, length > 0 ? 1u : 0u);
    }
    munmap(pages, 2 * page);
#endif
}

} // namespace
