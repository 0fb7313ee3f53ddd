// Benchmark of the program's own regular-expression component against the platform's
// "VBScript.RegExp" in the same run, both driven through IDispatch as the program drives them.
//   regex_component_bench [RUNS] [LIMIT_SECONDS]
// 1. The downloader's track-list pattern (IgnoreCase, Multiline, Global, as the program sets
//    them) over a 4 MiB page whose list stands at its very end: Execute plus reading every
//    match and group; median, minimum and maximum of RUNS runs (default 7) for each component.
// 2. The pathological pattern (a*)*b over runs of the letter a with no b: ours at 30 to 30,000
//    letters, median of RUNS runs (linear time shows as a steady time per letter); the
//    platform's once at 30 letters on a
//    thread of its own, reported as "> LIMIT s" when it has not answered within LIMIT_SECONDS
//    (default 20).
#include <windows.h>

#include <oaidl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "regex/component/regexp_component.h"
#include "regex/engine/regex_engine.h"
#include "tests/regex/component/regexp_instances.h"

namespace {

using RegExpTest::CallByName;

// The downloader's TrackListPattern as the component receives it.
constexpr wchar_t kTrackListPattern[] =
    L"var list=\\[\\{title:\"(.*?)\",artist:\"-\",m4a: s_str\\+\"(.*?).m4a\"\\}\\]";
constexpr size_t kPageBytes = 4 * 1024 * 1024;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Configure(IDispatch *regex, const wchar_t *pattern, bool flags) {
    VARIANT value;
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = SysAllocString(pattern);
    CallByName(regex, L"Pattern", DISPATCH_PROPERTYPUT, &value, 1, nullptr);
    VariantClear(&value);
    for (const wchar_t *option : {L"IgnoreCase", L"Multiline", L"Global"}) {
        V_VT(&value) = VT_BOOL;
        V_BOOL(&value) = flags ? VARIANT_TRUE : VARIANT_FALSE;
        CallByName(regex, option, DISPATCH_PROPERTYPUT, &value, 1, nullptr);
    }
}

// Execute over subject and read every match's value, position and groups, as the program
// does; the number of matches, or -1 when Execute failed.
long ExecuteAndRead(IDispatch *regex, BSTR subject) {
    VARIANT argument;
    V_VT(&argument) = VT_BSTR;
    V_BSTR(&argument) = subject;
    VARIANT matches;
    VariantInit(&matches);
    if (FAILED(CallByName(regex, L"Execute", DISPATCH_METHOD, &argument, 1, &matches)) ||
        V_VT(&matches) != VT_DISPATCH) {
        VariantClear(&matches);
        return -1;
    }
    VARIANT count;
    VariantInit(&count);
    CallByName(V_DISPATCH(&matches), L"Count", DISPATCH_PROPERTYGET, nullptr, 0, &count);
    const long found = V_VT(&count) == VT_I4 ? V_I4(&count) : -1;
    for (long i = 0; i < found; ++i) {
        VARIANT index;
        V_VT(&index) = VT_I4;
        V_I4(&index) = i;
        VARIANT match, value, first, groups;
        VariantInit(&match);
        VariantInit(&value);
        VariantInit(&first);
        VariantInit(&groups);
        CallByName(V_DISPATCH(&matches), L"Item", DISPATCH_PROPERTYGET, &index, 1, &match);
        if (V_VT(&match) == VT_DISPATCH) {
            CallByName(V_DISPATCH(&match), L"Value", DISPATCH_PROPERTYGET, nullptr, 0, &value);
            CallByName(V_DISPATCH(&match), L"FirstIndex", DISPATCH_PROPERTYGET, nullptr, 0, &first);
            CallByName(V_DISPATCH(&match), L"SubMatches", DISPATCH_PROPERTYGET, nullptr, 0,
                       &groups);
        }
        VariantClear(&groups);
        VariantClear(&first);
        VariantClear(&value);
        VariantClear(&match);
    }
    VariantClear(&matches);
    return found;
}

// The large play page of the end-to-end tests: filler paragraphs, then the track list.
std::wstring LargePage() {
    std::wstring line = L"<p>";
    for (int i = 0; i < 7; ++i) {
        line += L"0123456789abcdef";
    }
    line += L"</p>\n";
    std::wstring page = L"<html><head><title>Play</title></head>\n<body>\n";
    while (page.size() + line.size() < kPageBytes) {
        page += line;
    }
    page += L"<script>\nvar s_str=\"http://mix.zorvin.cn/mix\";\n"
            L"var list=[{title:\"Large Page\",artist:\"-\",m4a: s_str+\"/2024/03/large.m4a\"}];"
            L"\n</script>\n</body></html>\n";
    return page;
}

struct Summary {
    double median, minimum, maximum;
    long matches;
};

Summary TimeTrackList(IDispatch *regex, BSTR page, int runs) {
    Configure(regex, kTrackListPattern, true);
    std::vector<double> times;
    long matches = ExecuteAndRead(regex, page); // untimed warm-up
    for (int run = 0; run < runs; ++run) {
        const double start = Now();
        matches = ExecuteAndRead(regex, page);
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front(), times.back(), matches};
}

// The engine's own count of matcher steps for one search of (a*)*b over letters: a measure of
// its work that the machine's load does not disturb.
uint64_t PathologicalSteps(size_t letters) {
    const RegexEngine::CompileResult compiled = RegexEngine::Compile(u"(a*)*b", {});
    const std::u16string subject(letters, u'a');
    RegexEngine::Captures captures;
    RegexEngine::SearchStats stats;
    RegexEngine::Search(*compiled.program, subject, 0, captures, {}, &stats);
    return stats.steps;
}

// Milliseconds of one Execute of (a*)*b over letters, or -1 when it failed.
double PathologicalOnce(IDispatch *regex, size_t letters, long *matches) {
    Configure(regex, L"(a*)*b", false);
    BSTR subject = SysAllocString(std::wstring(letters, L'a').c_str());
    const double start = Now();
    *matches = ExecuteAndRead(regex, subject);
    const double elapsed = Now() - start;
    SysFreeString(subject);
    return elapsed;
}

struct PlatformRun {
    double milliseconds = -1;
    long matches = -1;
};

DWORD WINAPI RunPlatformPathological(void *parameter) {
    auto *run = static_cast<PlatformRun *>(parameter);
    CoInitialize(nullptr);
    IDispatch *platform = RegExpTest::NewPlatformRegExp();
    if (platform != nullptr) {
        run->milliseconds = PathologicalOnce(platform, 30, &run->matches);
        platform->Release();
    }
    CoUninitialize();
    return 0;
}

void PrintTrackList(const char *name, const Summary &summary) {
    std::printf("  %-9s median %8.2f ms  min %8.2f  max %8.2f  (%ld match)\n", name, summary.median,
                summary.minimum, summary.maximum, summary.matches);
}

} // namespace

int main(int argc, char **argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const double limitSeconds = argc > 2 ? std::atof(argv[2]) : 20.0;
    CoInitialize(nullptr);
    IDispatch *platform = RegExpTest::NewPlatformRegExp();
    IDispatch *own = RegExpTest::NewOwnRegExp();
    if (own == nullptr) {
        std::printf("the program's own component cannot be created\n");
        return 1;
    }

    const std::wstring pageText = LargePage();
    BSTR page = SysAllocStringLen(pageText.data(), static_cast<UINT>(pageText.size()));
    std::printf("Track-list pattern over a %.1f MiB page (%zu characters), list at the end, "
                "%d runs:\n",
                static_cast<double>(pageText.size()) / (1024.0 * 1024.0), pageText.size(), runs);
    const Summary ours = TimeTrackList(own, page, runs);
    PrintTrackList("own", ours);
    if (platform != nullptr) {
        const Summary theirs = TimeTrackList(platform, page, runs);
        PrintTrackList("platform", theirs);
        std::printf("  own / platform (medians): %.2f\n", ours.median / theirs.median);
    } else {
        std::printf("  platform: not available\n");
    }
    SysFreeString(page);

    std::printf("(a*)*b over letters a without b:\n");
    for (size_t letters : {30u, 300u, 3000u, 30000u}) {
        long matches = 0;
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            times.push_back(PathologicalOnce(own, letters, &matches));
        }
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        const uint64_t steps = PathologicalSteps(letters);
        std::printf("  own      %6zu letters  median %9.3f ms  %7.3f us/letter  %8llu steps "
                    "(%.1f/letter)  (%ld match)\n",
                    letters, median, median * 1000.0 / static_cast<double>(letters),
                    static_cast<unsigned long long>(steps),
                    static_cast<double>(steps) / static_cast<double>(letters), matches);
    }
    PlatformRun run;
    HANDLE thread = CreateThread(nullptr, 0, RunPlatformPathological, &run, 0, nullptr);
    const DWORD waited = WaitForSingleObject(thread, static_cast<DWORD>(limitSeconds * 1000.0));
    if (waited == WAIT_OBJECT_0) {
        std::printf("  platform %6d letters  %9.3f ms  (%ld match)\n", 30, run.milliseconds,
                    run.matches);
    } else {
        std::printf("  platform %6d letters  > %.0f s (no answer within the limit)\n", 30,
                    limitSeconds);
    }
    std::fflush(stdout);
    own->Release();
    if (platform != nullptr) {
        platform->Release();
    }
    // A platform search still running cannot be stopped; the process ends around it.
    ExitProcess(0);
}
