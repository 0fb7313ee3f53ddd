// The automation test component's identities, shared by the component and its tests: class,
// interface and record GUIDs as the type library declares them, the ProgID and member ids.
#pragma once

#include <windows.h>

namespace ZvTestComponent {

// {5a1c0e6e-3d0b-4f6b-9a51-7e2f1c9d0a1x}
inline constexpr GUID kLibraryId = {
    0x5a1c0e6e, 0x3d0b, 0x4f6b, {0x9a, 0x51, 0x7e, 0x2f, 0x1c, 0x9d, 0x0a, 0x10}};
inline constexpr GUID kPointRecordId = {
    0x5a1c0e6e, 0x3d0b, 0x4f6b, {0x9a, 0x51, 0x7e, 0x2f, 0x1c, 0x9d, 0x0a, 0x11}};
inline constexpr GUID kProbeInterfaceId = {
    0x5a1c0e6e, 0x3d0b, 0x4f6b, {0x9a, 0x51, 0x7e, 0x2f, 0x1c, 0x9d, 0x0a, 0x12}};
inline constexpr GUID kProbeClassId = {
    0x5a1c0e6e, 0x3d0b, 0x4f6b, {0x9a, 0x51, 0x7e, 0x2f, 0x1c, 0x9d, 0x0a, 0x13}};
inline constexpr wchar_t kProbeClassIdText[] = L"{5A1C0E6E-3D0B-4F6B-9A51-7E2F1C9D0A13}";
inline constexpr wchar_t kProgId[] = L"Zorvin.TestProbe";

// The record type ZvPoint.
struct Point {
    LONG x;
    LONG y;
};

enum MemberId : DISPID {
    kSplit = 1,
    kTarget = 2,
    kJoin = 3,
    kFail = 4,
    kWord = 5,
    kOrigin = 6,
    kMeasure = 7,
    kAdd = 8,
    kLastCall = 9,
    kCounter = 10,
    kPartner = 11,
    kOpaque = 12,
    kTwice = 13,
    kDescribe = 14,
};

// Exported by the component: the references held on all its live objects together.
using ReferenceTotalRoutine = LONG(WINAPI *)();
inline constexpr char kReferenceTotalExport[] = "ZvTestComponentReferences";

} // namespace ZvTestComponent
