// Variant assignment, conversion to text, duplication and reset.
#include <windows.h>

#include <gtest/gtest.h>

#include "automation_test_support.h"
#include "values/automation_commands.h"

namespace {

using namespace AutomationTest;

ArgumentRecord LongInteger(int64_t value) {
    return ArgumentRecord{static_cast<uint32_t>(value), static_cast<uint32_t>(value >> 32),
                          TC::kLong};
}

TEST(VariantAssign, TextComesBackAsTheSameBytes) {
    VariantVariable target;
    EXPECT_EQ(1u, Call(VariantAssign, {VariantValue(target.get()), Text("中文 text")}).low);
    EXPECT_EQ(VT_BSTR, V_VT(target.get()));
    EXPECT_EQ("中文 text", TakeText(Call(VariantToText, {VariantValue(target.get())})));
}

TEST(VariantAssign, TextBecomesAStringOfExactlyItsCharacters) {
    VariantVariable target;
    EXPECT_EQ(1u, Call(VariantAssign, {VariantValue(target.get()), Text("中文 ab")}).low);
    ASSERT_EQ(VT_BSTR, V_VT(target.get()));
    EXPECT_EQ(std::wstring(L"\u4E2D\u6587 ab"),
              std::wstring(V_BSTR(target.get()), SysStringLen(V_BSTR(target.get()))));
    // The empty text and a null text are a real, empty string, not a null one.
    for (const char *empty : {"", static_cast<const char *>(nullptr)}) {
        EXPECT_EQ(1u, Call(VariantAssign, {VariantValue(target.get()), Text(empty)}).low);
        ASSERT_EQ(VT_BSTR, V_VT(target.get()));
        ASSERT_NE(nullptr, V_BSTR(target.get()));
        EXPECT_EQ(0u, SysStringLen(V_BSTR(target.get())));
    }
}

TEST(VariantAssign, LongIntegerKeepsOnlyItsLowWord) {
    VariantVariable target;
    Call(VariantAssign, {VariantValue(target.get()), LongInteger(0x100000005LL)});
    EXPECT_EQ(VT_I4, V_VT(target.get()));
    EXPECT_EQ(5, V_I4(target.get()));
}

TEST(VariantAssign, ScalarTypesTakeTheirVariantForms) {
    VariantVariable target;
    Call(VariantAssign, {VariantValue(target.get()), Boolean(true)});
    EXPECT_EQ(VT_BOOL, V_VT(target.get()));
    EXPECT_EQ(VARIANT_TRUE, V_BOOL(target.get()));
    Call(VariantAssign, {VariantValue(target.get()), Double(2.5)});
    EXPECT_EQ(VT_R8, V_VT(target.get()));
    EXPECT_EQ("2.5", TakeText(Call(VariantToText, {VariantValue(target.get())})));
    Call(VariantAssign, {VariantValue(target.get()), Word(TC::kByte, 200)});
    EXPECT_EQ(VT_UI1, V_VT(target.get()));
    EXPECT_EQ("200", TakeText(Call(VariantToText, {VariantValue(target.get())})));
}

TEST(VariantAssign, UnsupportedTypeLeavesTheTargetEmptyAndReturnsFalse) {
    VariantVariable target;
    Call(VariantAssign, {VariantValue(target.get()), Text("old")});
    EXPECT_EQ(0u, Call(VariantAssign, {VariantValue(target.get()), Word(0x00010005, 7)}).low);
    EXPECT_EQ(VT_EMPTY, V_VT(target.get()));
}

TEST(VariantAssign, ByteSetBecomesAByteArrayWithLowerBoundOne) {
    const uint32_t header[2] = {1, 3};
    uint8_t block[11];
    std::memcpy(block, header, 8);
    block[8] = 'a';
    block[9] = 'b';
    block[10] = 'c';
    VariantVariable target;
    ASSERT_EQ(1u,
              Call(VariantAssign, {VariantValue(target.get()), Address(TC::kByteSet, block)}).low);
    ASSERT_EQ(VT_ARRAY | VT_UI1, V_VT(target.get()));
    LONG lower = 0, upper = 0;
    SafeArrayGetLBound(V_ARRAY(target.get()), 1, &lower);
    SafeArrayGetUBound(V_ARRAY(target.get()), 1, &upper);
    EXPECT_EQ(1, lower);
    EXPECT_EQ(3, upper);
    EXPECT_EQ("98", TakeText(Call(VariantToText, {VariantValue(target.get()), Integer(2)})));
}

// An array of three texts as program code holds it, the second element empty.
struct TextArray {
    uint32_t dimensions = 1;
    uint32_t size = 3;
    const char *elements[3] = {"one", nullptr, "三"};
};

TEST(VariantAssign, TextArrayElementsAreReadAndWrittenByOneBasedIndex) {
    TextArray array;
    VariantVariable target;
    ASSERT_EQ(1u, Call(VariantAssign, {VariantValue(target.get()),
                                       Address(TC::kText | TC::kArrayOrReferenceBit, &array)})
                      .low);
    EXPECT_EQ(VT_ARRAY | VT_BSTR, V_VT(target.get()));
    EXPECT_EQ("one", TakeText(Call(VariantToText, {VariantValue(target.get()), Integer(1)})));
    EXPECT_EQ("", TakeText(Call(VariantToText, {VariantValue(target.get()), Integer(2)})));
    EXPECT_EQ("三", TakeText(Call(VariantToText, {VariantValue(target.get()), Integer(3)})));
    EXPECT_EQ("", TakeText(Call(VariantToText, {VariantValue(target.get())})));

    EXPECT_EQ(1u, Call(VariantAssign, {VariantValue(target.get()), Integer(42), Integer(2)}).low);
    EXPECT_EQ("42", TakeText(Call(VariantToText, {VariantValue(target.get()), Integer(2)})));
    EXPECT_EQ(0u, Call(VariantAssign, {VariantValue(target.get()), Text("x"), Integer(4)}).low);
    EXPECT_EQ(0u, Call(VariantAssign, {VariantValue(target.get()), Text("x"), Integer(0)}).low);
    EXPECT_EQ("", TakeText(Call(VariantToText, {VariantValue(target.get()), Integer(4)})));
    // An array value is stored into an element only when the elements are variants.
    EXPECT_EQ(
        0u, Call(VariantAssign, {VariantValue(target.get()),
                                 Address(TC::kText | TC::kArrayOrReferenceBit, &array), Integer(1)})
                .low);
}

// A string the platform cannot allocate is a failed assignment, never an empty string. Only
// requests as large as the long text's string are refused: the platform's own small blocks
// (type information among them) must not fail under the test.
TEST(VariantAssign, TextWhoseStringCannotBeAllocatedFailsAndLeavesTheTargetEmpty) {
    const std::string longText(100000, 'x');
    struct {
        uint32_t dimensions = 1;
        uint32_t size = 2;
        const char *elements[2] = {"short", nullptr};
    } array;
    array.elements[1] = longText.c_str();
    VariantVariable target;
    {
        RefusedTaskMemory refused(sizeof(wchar_t) * longText.size());
        ASSERT_TRUE(refused.Registered());
        EXPECT_EQ(0u,
                  Call(VariantAssign, {VariantValue(target.get()), Text(longText.c_str())}).low);
        EXPECT_EQ(VT_EMPTY, V_VT(target.get()));
        Call(VariantAssign, {VariantValue(target.get()), Integer(7)});
        EXPECT_EQ(0u, Call(VariantAssign, {VariantValue(target.get()),
                                           Address(TC::kText | TC::kArrayOrReferenceBit, &array)})
                          .low);
        EXPECT_EQ(VT_EMPTY, V_VT(target.get()));
    }
    EXPECT_EQ(1u, Call(VariantAssign, {VariantValue(target.get()), Text(longText.c_str())}).low);
    EXPECT_EQ(longText, TakeText(Call(VariantToText, {VariantValue(target.get())})));
}

TEST(VariantAssign, ElementIndexNeedsAnArrayTarget) {
    VariantVariable target;
    EXPECT_EQ(0u, Call(VariantAssign, {VariantValue(target.get()), Integer(1), Integer(1)}).low);
    EXPECT_EQ(VT_I4, V_VT(target.get()));
}

TEST(VariantDuplicate, CopiesAndResetEmpties) {
    VariantVariable source;
    Call(VariantAssign, {VariantValue(source.get()), Text("copy me")});
    VariantVariable copy;
    Call(VariantDuplicate, {VariantValue(copy.get()), VariantValue(source.get())});
    EXPECT_EQ("copy me", TakeText(Call(VariantToText, {VariantValue(copy.get())})));
    EXPECT_NE(V_BSTR(source.get()), V_BSTR(copy.get()));
    Call(VariantReset, {VariantValue(copy.get())});
    const uint8_t zeros[sizeof(VARIANT)] = {};
    EXPECT_EQ(0, std::memcmp(zeros, copy.get(), sizeof(VARIANT)));
    EXPECT_EQ("copy me", TakeText(Call(VariantToText, {VariantValue(source.get())})));
}

TEST(VariantAssign, AVariantAssignedOrDuplicatedOntoItselfKeepsItsValue) {
    VariantVariable target;
    Call(VariantAssign, {VariantValue(target.get()), Text("keep me")});
    EXPECT_EQ(1u,
              Call(VariantAssign, {VariantValue(target.get()), VariantValue(target.get())}).low);
    EXPECT_EQ("keep me", TakeText(Call(VariantToText, {VariantValue(target.get())})));
    Call(VariantDuplicate, {VariantValue(target.get()), VariantValue(target.get())});
    EXPECT_EQ("keep me", TakeText(Call(VariantToText, {VariantValue(target.get())})));
}

TEST(VariantToText, FailedChangeGivesTheEmptyText) {
    VariantVariable target;
    V_VT(target.get()) = VT_NULL;
    EXPECT_EQ(0u, Call(VariantToText, {VariantValue(target.get())}).low);
}

} // namespace
