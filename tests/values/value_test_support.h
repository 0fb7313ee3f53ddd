// Helpers for the value tests: argument records from test data, results taken into std::string
// (and freed), and a fixture that proves every test returns every heap block it was given.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/heap.h"
#include "runtime/heap_instrumentation.h"
#include "values/kernel_calls.h"

// Takes ownership of a returned text: its bytes, then the block is freed.
inline std::string TakeText(Text text) {
    std::string bytes = text == nullptr ? std::string() : std::string(text);
    FreeMemory(text);
    return bytes;
}

inline std::string TakeByteSet(ByteSet set) {
    std::string bytes;
    if (set != nullptr) {
        EXPECT_EQ(set->dimensionCount, 1u);
        EXPECT_NE(set->byteCount, 0u) << "an empty byte set must be null";
        bytes.assign(reinterpret_cast<const char *>(ByteSetBytes(set)), set->byteCount);
    }
    FreeMemory(set);
    return bytes;
}

inline std::vector<std::string> TakeTextArray(TextArrayHeader *array) {
    std::vector<std::string> pieces;
    EXPECT_NE(array, nullptr);
    if (array == nullptr) {
        return pieces;
    }
    EXPECT_EQ(array->dimensionCount, 1u);
    for (uint32_t i = 0; i < array->elementCount; ++i) {
        const Text element = TextArrayElements(array)[i];
        EXPECT_TRUE(element == nullptr || element[0] != '\0') << "empty pieces must be null";
        pieces.push_back(element == nullptr ? std::string() : std::string(element));
    }
    FreeTextArray(array);
    return pieces;
}

// Checks after each test that the heap holds exactly the blocks it held before.
class HeapBalanceTest : public ::testing::Test {
protected:
    void SetUp() override { liveBefore_ = HeapInstrumentation::LiveBlocks(); }
    void TearDown() override { EXPECT_EQ(HeapInstrumentation::LiveBlocks(), liveBefore_); }

private:
    int32_t liveBefore_ = 0;
};

inline ArgumentRecord DoubleArgument(double value, TypeCode type = kTypeDouble) {
    uint64_t bits;
    static_assert(sizeof bits == sizeof value);
    __builtin_memcpy(&bits, &value, sizeof bits);
    return ArgumentRecord{static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), type};
}
