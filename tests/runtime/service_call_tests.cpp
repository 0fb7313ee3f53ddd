// Calls through the service table as compiled code makes them: kernel commands through slot 3,
// internal commands through slot 12, the heap slots and RuntimeNotify's memory codes.
#include <gtest/gtest.h>

#include <cstring>

#include "program_constants.h"
#include "runtime/heap.h"
#include "runtime/program_calls.h"
#include "runtime/runtime_notify.h"
#include "wiring/service_table.h"

extern "C" uint64_t ProgramCallInternalCommand(int32_t index, uint32_t wordCount,
                                               const uint32_t *words);

namespace {

struct SeenCall {
    ArgumentRecord resultOnEntry;
    int32_t count;
    const ArgumentRecord *args;
    ArgumentRecord first;
    ArgumentRecord second;
};
SeenCall gSeen;

void RecordingCommand(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    gSeen.resultOnEntry = *result;
    gSeen.count = count;
    gSeen.args = args;
    if (count >= 2) {
        gSeen.first = args[0];
        gSeen.second = args[1];
    }
    *result = ArgumentRecord{0x11111111, 0x22222222, 0x80000401};
}

void DirtyResultCommand(ArgumentRecord *result, int32_t, ArgumentRecord *) {
    result->low = 0xDEADBEEF;
}

TEST(CallKernelCommand, CountZeroPassesTheFirstRecordsPlaceAndAZeroedResult) {
    // A previous call leaves garbage where the next result record will lie.
    InvokeKernelCommand(&DirtyResultCommand, 0, nullptr);
    gSeen = SeenCall{};
    const int stackMarker = 0;
    const ArgumentRecord result = InvokeKernelCommand(&RecordingCommand, 0, nullptr);
    EXPECT_EQ(gSeen.count, 0);
    EXPECT_EQ(gSeen.resultOnEntry.low, 0u);
    EXPECT_EQ(gSeen.resultOnEntry.high, 0u);
    EXPECT_EQ(gSeen.resultOnEntry.type, 0u);
    // The records would start right behind the count word, below this frame on the stack.
    const auto place = reinterpret_cast<uintptr_t>(gSeen.args);
    const auto frame = reinterpret_cast<uintptr_t>(&stackMarker);
    EXPECT_LT(place, frame);
    EXPECT_GT(place, frame - 256);
    EXPECT_EQ(result.low, 0x11111111u);
    EXPECT_EQ(result.high, 0x22222222u);
    EXPECT_EQ(result.type, 0x80000401u);
}

TEST(CallKernelCommand, RecordsArriveInArgumentOrder) {
    const ArgumentRecord args[2] = {{1, 2, 0x80000301}, {3, 4, 0x80000004}};
    InvokeKernelCommand(&RecordingCommand, 2, args);
    EXPECT_EQ(gSeen.count, 2);
    EXPECT_EQ(std::memcmp(&gSeen.first, &args[0], sizeof args[0]), 0);
    EXPECT_EQ(std::memcmp(&gSeen.second, &args[1], sizeof args[1]), 0);
    EXPECT_NE(gSeen.args, args) << "the command gets the records as pushed, not the caller's";
}

TEST(CallInternalCommand, AnIndexOutsideTheTableAnswersZero) {
    const uint32_t words[1] = {5};
    EXPECT_EQ(ProgramCallInternalCommand(kInternalCommandCount, 1, words), 0u);
    EXPECT_EQ(ProgramCallInternalCommand(-1, 1, words), 0u);
}

TEST(HeapSlots, ConstantsAreNeverFreedAndAreCopiedOutOnGrowth) {
    SetConstantSegment(ConstantSegment, kConstantSegmentSize);
    void *greeting = const_cast<char *>(ConstantText(Constant::Greeting));
    ProgramCall::FreeMemory(greeting);
    ProgramCall::FreeMemory(greeting);
    auto *grown = static_cast<char *>(ProgramCall::ReallocateMemory(greeting, 64));
    EXPECT_FALSE(IsConstantAddress(grown));
    EXPECT_STREQ(grown, "测试");
    ProgramCall::FreeMemory(grown);
    ForgetConstantSegment();
}

TEST(RuntimeNotifyMemory, PlainAllocationReturnsNullInsteadOfReporting) {
    EXPECT_EQ(RuntimeNotify(kNotifyAllocate, 0x7FFFFFF0, 1), 0);
    auto *block = reinterpret_cast<char *>(RuntimeNotify(kNotifyAllocate, 16, 0));
    ASSERT_NE(block, nullptr);
    std::strcpy(block, "abc");
    block = reinterpret_cast<char *>(
        RuntimeNotify(kNotifyReallocate, reinterpret_cast<uint32_t>(block), 4096));
    EXPECT_STREQ(block, "abc");
    EXPECT_EQ(RuntimeNotify(kNotifyFree, reinterpret_cast<uint32_t>(block), 0), 0);
}

TEST(RuntimeNotifyMemory, CodesOfOtherPartsAnswerZero) {
    EXPECT_EQ(RuntimeNotify(2029, 1, 2), 0);
}

} // namespace
