// The fixture of the web routines' tests: every test leaves the runtime heap as it found it.
#pragma once

#include <gtest/gtest.h>

#include "runtime/heap_instrumentation.h"

#ifdef ZV_HEAP_INSTRUMENTATION
class Web : public ::testing::Test {
protected:
    void SetUp() override { before = HeapInstrumentation::LiveBlocks(); }
    void TearDown() override { EXPECT_EQ(HeapInstrumentation::LiveBlocks(), before); }
    int32_t before = 0;
};
#else
class Web : public ::testing::Test {};
#endif
