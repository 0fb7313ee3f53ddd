// Differential test of the program's own regular-expression component against the platform's
// "VBScript.RegExp": random patterns and subjects from a seed, each run through Execute (with
// Global, IgnoreCase and Multiline chosen at random) and Replace on both, comparing Count, each
// match's Value, FirstIndex, Length and SubMatches, and the replaced text.
//   regexp_differential [--seed N] [--cases N] [--floor N] [--limit-ms N] [--trace]
//   regexp_differential --pattern P [--subject S] [--replacement R] [--global] [--ignore-case]
//                       [--multiline]
// --trace prints each case before running it, to find one that does not finish; --pattern runs
// one case given in ASCII (escapes such as \n as the component reads them) and prints both
// outcomes, to narrow a difference down.
// Prints one line per difference and a summary; exits 1 when any difference is not one of the
// platform deviations (platform_deviations.cpp) in its form, when the platform's component gave
// no answer within --limit-ms (default 5000) for more than 1 % of the cases, or when fewer than
// --floor cases (default: nine in ten) compared equal, so that a run that compared little
// cannot pass.
#include <windows.h>

#include <oaidl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <memory>
#include <optional>

#include "tests/regex/component/differential_outcome.h"
#include "tests/regex/component/platform_worker.h"
#include "tests/regex/component/random_pattern.h"
#include "tests/regex/component/regexp_instances.h"

namespace {

using namespace RegExpTest;

// How long the platform's component may take over one case before it counts as never answering.
constexpr DWORD kPlatformLimitMs = 5000;
// The share of cases without an answer from the platform's component that a run may have, in
// hundredths, and the share of cases that must compare equal unless --floor says otherwise.
constexpr uint32_t kMostUnansweredPercent = 1;
constexpr uint32_t kDefaultFloorPercent = 90;

struct Settings {
    uint32_t seed = 20261207;
    uint32_t cases = 3000;
    std::optional<uint32_t> floor;
    DWORD limitMs = kPlatformLimitMs;
    bool trace = false;
    bool single = false;
    Case one;
};

std::wstring Widened(const char *text) {
    return std::wstring(text, text + std::strlen(text));
}

Settings ReadSettings(int argc, char **argv) {
    Settings settings;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--trace") == 0) {
            settings.trace = true;
        } else if (std::strcmp(argv[i], "--global") == 0) {
            settings.one.global = true;
        } else if (std::strcmp(argv[i], "--ignore-case") == 0) {
            settings.one.ignoreCase = true;
        } else if (std::strcmp(argv[i], "--multiline") == 0) {
            settings.one.multiline = true;
        } else if (i + 1 < argc && std::strcmp(argv[i], "--pattern") == 0) {
            settings.single = true;
            settings.one.pattern = Widened(argv[++i]);
        } else if (i + 1 < argc && std::strcmp(argv[i], "--subject") == 0) {
            settings.one.subject = Widened(argv[++i]);
        } else if (i + 1 < argc && std::strcmp(argv[i], "--replacement") == 0) {
            settings.one.replacement = Widened(argv[++i]);
        } else if (i + 1 < argc && std::strcmp(argv[i], "--seed") == 0) {
            settings.seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (i + 1 < argc && std::strcmp(argv[i], "--cases") == 0) {
            settings.cases = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (i + 1 < argc && std::strcmp(argv[i], "--floor") == 0) {
            settings.floor = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (i + 1 < argc && std::strcmp(argv[i], "--limit-ms") == 0) {
            settings.limitMs = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
        }
    }
    return settings;
}

// A text as a C-style literal in ASCII, for the report.
std::string Shown(const std::wstring &text) {
    std::string shown = "\"";
    for (wchar_t c : text) {
        char piece[12];
        if (c == L'"' || c == L'\\') {
            std::snprintf(piece, sizeof(piece), "\\%c", static_cast<char>(c));
        } else if (c >= 0x20 && c < 0x7F) {
            std::snprintf(piece, sizeof(piece), "%c", static_cast<char>(c));
        } else {
            std::snprintf(piece, sizeof(piece), "\\u%04X", static_cast<unsigned>(c));
        }
        shown += piece;
    }
    return shown + "\"";
}

} // namespace

int main(int argc, char **argv) {
    const Settings settings = ReadSettings(argc, argv);
    if (FAILED(CoInitialize(nullptr))) {
        std::printf("FAIL: COM could not be initialised\n");
        return 1;
    }
    IDispatch *own = NewOwnRegExp();
    auto platform = std::make_unique<PlatformWorker>();
    if (own == nullptr || !platform->Ready()) {
        std::printf("FAIL: the %s component cannot be created\n",
                    own == nullptr ? "program's own" : "platform's");
        return 1;
    }
    if (settings.single) {
        Case one = settings.one;
        Outcome actual = RunCase(own, one);
        if (one.global && HasEmptyMatch(actual)) {
            one.global = false;
        }
        bool withoutGlobal = false;
        Outcome expected;
        if (!platform->Run(one, settings.limitMs, withoutGlobal, expected)) {
            std::printf("own:      %s\nplatform: no answer within %lu ms\n",
                        Shown(Describe(actual)).c_str(), settings.limitMs);
            std::fflush(stdout);
            ExitProcess(0);
        }
        if (withoutGlobal || one.global != settings.one.global) {
            one.global = false;
            actual = RunCase(own, one);
            std::printf("(compared without Global: %s)\n", kGlobalEmptyMatchDeviation);
        }
        std::printf("own:      %s\nplatform: %s\n", Shown(Describe(actual)).c_str(),
                    Shown(Describe(expected)).c_str());
        own->Release();
        platform.reset();
        CoUninitialize();
        return 0;
    }
    RandomCases random(settings.seed);
    uint32_t equal = 0;
    uint32_t unexpected = 0;
    uint32_t globalEmptyMatches = 0;
    uint32_t neverAnswered = 0;
    std::vector<uint32_t> deviations(kPlatformDeviationCount, 0);
    // A worker left without an answer is still busy, and writes into itself if it ever ends: it
    // is given up and a new one takes its place.
    const auto giveUpWorker = [&platform] {
        static_cast<void>(platform.release());
        platform = std::make_unique<PlatformWorker>();
    };
    const Reruns again{[own](const Case &one) { return RunCase(own, one); },
                       [&](const Case &one) -> std::optional<Outcome> {
                           bool withoutGlobal = false;
                           Outcome outcome;
                           if (!platform->Run(one, settings.limitMs, withoutGlobal, outcome)) {
                               giveUpWorker();
                               return std::nullopt;
                           }
                           return withoutGlobal ? std::nullopt : std::optional<Outcome>(outcome);
                       }};
    for (uint32_t number = 0; number < settings.cases; ++number) {
        Case one;
        one.pattern = random.Pattern();
        one.subject = random.Subject();
        one.replacement = random.Replacement();
        one.global = random.Flip();
        one.ignoreCase = random.Flip();
        one.multiline = random.Flip();
        if (settings.trace) {
            std::printf("case %u: pattern %s subject %s\n", number, Shown(one.pattern).c_str(),
                        Shown(one.subject).c_str());
            std::fflush(stdout);
        }
        Outcome actual = RunCase(own, one);
        // The platform would never return from a Global Execute that meets an empty match:
        // such cases compare the first match only.
        Case platformCase = one;
        platformCase.global =
            one.global && !HasEmptyMatch(actual) && !HasLazyQuantifierAndLookahead(one.pattern);
        bool withoutGlobal = false;
        Outcome expected;
        if (!platform->Run(platformCase, settings.limitMs, withoutGlobal, expected)) {
            ++neverAnswered;
            std::printf("NO ANSWER case %u: the platform's component gave none within %lu ms: "
                        "pattern %s subject %s global %d ignoreCase %d multiline %d\n",
                        number, settings.limitMs, Shown(one.pattern).c_str(),
                        Shown(one.subject).c_str(), one.global, one.ignoreCase, one.multiline);
            giveUpWorker();
            continue;
        }
        if (one.global && (withoutGlobal || !platformCase.global)) {
            ++globalEmptyMatches;
            one.global = false;
            actual = RunCase(own, one);
        }
        if (expected == actual) {
            ++equal;
            continue;
        }
        const int deviation = KnownDeviation(one, expected, actual, again);
        if (deviation >= 0) {
            ++deviations[static_cast<size_t>(deviation)];
            continue;
        }
        ++unexpected;
        std::printf("DIFFERENT case %u: pattern %s subject %s replacement %s global %d "
                    "ignoreCase %d multiline %d\n  platform: %s\n  own:      %s\n",
                    number, Shown(one.pattern).c_str(), Shown(one.subject).c_str(),
                    Shown(one.replacement).c_str(), one.global, one.ignoreCase, one.multiline,
                    Shown(Describe(expected)).c_str(), Shown(Describe(actual)).c_str());
    }
    std::printf("seed %u: %u cases, %u equal, %u different, %u compared without Global (%s), "
                "%u without an answer from the platform",
                settings.seed, settings.cases, equal, unexpected, globalEmptyMatches,
                kGlobalEmptyMatchDeviation, neverAnswered);
    for (size_t i = 0; i < deviations.size(); ++i) {
        std::printf(", %u %s", deviations[i], kPlatformDeviations[i].name);
    }
    std::printf("\n");
    const uint32_t floor = settings.floor.value_or(settings.cases * kDefaultFloorPercent / 100);
    const bool fewAnswers = neverAnswered * 100 > settings.cases * kMostUnansweredPercent;
    if (fewAnswers) {
        std::printf("FAIL: the platform's component gave no answer for %u of %u cases, more than "
                    "%u %%\n",
                    neverAnswered, settings.cases, kMostUnansweredPercent);
    }
    if (equal < floor) {
        std::printf("FAIL: %u cases compared equal, fewer than the floor of %u\n", equal, floor);
    }
    std::fflush(stdout);
    own->Release();
    // A worker left looping in the platform's matcher cannot be stopped; the process ends
    // around it.
    ExitProcess(unexpected == 0 && !fewAnswers && equal >= floor ? 0 : 1);
}
