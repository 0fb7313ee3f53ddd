// A small library for the DLL binding tests: stdcall exports with fixed ordinals.
#include <windows.h>

extern "C" __declspec(dllexport) int __stdcall AddTwo(int a, int b) {
    return a + b;
}
extern "C" __declspec(dllexport) int __stdcall Answer() {
    return 42;
}
