// RuntimeNotify: the entry through which support-library code calls back into the runtime,
// by code with two 32-bit arguments.
#pragma once

#include <cstdint>

enum RuntimeNotifyCode : int32_t {
    kNotifyProgramIcons = 1000,
    kNotifyWindowCollection = 1001,
    kNotifyUnitTypeDescriptor = 1002,
    kNotifyAnswerOne = 1004,
    kNotifyVersionWord = 1005,
    kNotifyNewWindowObject = 1007,
    kNotifyDeleteObject = 1008,
    kNotifyDetachWindowObject = 1009,
    kNotifyWindowObjectHandle = 1010,
    kNotifyAttachWindowObject = 1011,
    kNotifyAddIdleCallback = 1012,
    kNotifyRemoveIdleCallback = 1013,
    kNotifyIsLiveUnitWindow = 1014,
    kNotifyUnitDestroyed = 2000,
    kNotifyNumericToInteger = 2001,
    kNotifyAnswerZero = 2002,
    kNotifyProgramDirectory = 2003,
    kNotifyProgramFileName = 2004,
    kNotifyLoadWindow = 2005,
    kNotifyFindUnit = 2006,
    kNotifyFindUnitOrReport = 2007,
    kNotifyFireEvent = 2008,
    kNotifyPumpAndSuppress = 2009,
    kNotifyPumpAndResume = 2010,
    kNotifyRegisteredByte = 2011,
    kNotifyRegisterObject = 2012,
    kNotifyUnregisterObject = 2013,
    kNotifyStopRegisteredObjects = 2014,
    kNotifyRunningEvent = 2017,
    kNotifyPumpMessages = 2018,
    kNotifyUnitType = 2022,
    kNotifyFreeArray = 2023,
    kNotifyAllocate = 2024,
    kNotifyFree = 2025,
    kNotifyReallocate = 2026,
    kNotifyReportError = 2027,
    kNotifyExitProgram = 2028,
    kNotifyEventKind = 2029,
    kNotifyProgramKind = 2030,
    kNotifyFireTypedEvent = 2031,
    kNotifyWindowCount = 2032,
    kNotifyWindowHandle = 2033,
    kNotifyDescribeValueType = 2036,
    kNotifyMarkWindowMenu = 2037,
    kNotifyShowCurrentPage = 2039,
    kNotifyRebuildWindowMenu = 2040,
};

// Defined by the wiring (wiring/runtime_notify.cpp), which answers the memory, error, exit and
// idle callback codes itself; every other code goes to WindowEngineNotify. Codes not listed
// above answer 0.
int32_t __attribute__((stdcall))
RuntimeNotify(int32_t code, uint32_t argument1, uint32_t argument2);
