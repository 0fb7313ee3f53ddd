// A library planted beside a test program under the name of a system library (wininet.dll),
// and also built under a name of its own: it exports InternetAttemptConnect like the system's,
// but answers with a mark that the system's never returns.
#include <windows.h>

extern "C" __declspec(dllexport) DWORD __stdcall InternetAttemptConnect(DWORD) {
    return 7;
}
