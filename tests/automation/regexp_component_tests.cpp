// The automation commands against a regular-expression component: the platform's
// "VBScript.RegExp", or in the own-component run the program's own.
#include <windows.h>

#include <gtest/gtest.h>

#include "automation_test_support.h"
#include "tests/regex/component/component_selection.h"
#include "values/automation_commands.h"
#include "values/automation_status.h"

namespace {

using namespace AutomationTest;

ULONG ReferenceCount(IUnknown *object) {
    object->AddRef();
    return object->Release();
}

class RegExpComponent : public ApartmentTest {
protected:
    void SetUp() override {
        ApartmentTest::SetUp();
        ASSERT_TRUE(RegExpTest::CreateComponentUnderTest(regex_.get()));
    }

    // Sets Pattern and Global, executes over subject and returns the match collection.
    ComObject *Execute(const char *pattern, const char *subject) {
        char *patternVariable = const_cast<char *>(pattern);
        EXPECT_EQ(1u, Call(ObjectWriteProperty, {Object(regex_.get()), Text("Pattern"),
                                                 Reference(TC::kText, &patternVariable)})
                          .low);
        EXPECT_EQ(
            1u,
            Call(ObjectWriteProperty, {Object(regex_.get()), Text("Global"), Boolean(true)}).low);
        EXPECT_EQ(1u, Call(VariantAssign, {VariantValue(subject_.get()), Text(subject)}).low);
        ArgumentRecord matches =
            Call(ObjectCallObjectMethod,
                 {Object(regex_.get()), Text("Execute"), VariantValue(subject_.get())});
        EXPECT_EQ(kAutomationSucceeded, GetAutomationStatus());
        return reinterpret_cast<ComObject *>(matches.low);
    }

    std::string MatchValue(ComObject *matches, int index) {
        ObjectVariable item(reinterpret_cast<ComObject *>(
            Call(ObjectReadObjectProperty, {Object(matches), Text("Item"), Double(index)}).low));
        VariantVariable value(reinterpret_cast<VARIANT *>(
            Call(ObjectReadVariantProperty, {Object(item.get()), Text("Value")}).low));
        return TakeText(Call(VariantToText, {VariantValue(value.get())}));
    }

    ObjectVariable regex_;
    VariantVariable subject_;
};

TEST_F(RegExpComponent, CreateByProgIdHoldsTheOnlyReference) {
    ASSERT_NE(nullptr, regex_.get()->object);
    EXPECT_EQ(nullptr, regex_.get()->record);
    EXPECT_EQ(1u, ReferenceCount(regex_.get()->object));
    EXPECT_EQ(0u, Call(ObjectIsEmpty, {Object(regex_.get())}).low);
}

TEST_F(RegExpComponent, CreateByClassIdString) {
    CLSID classId{};
    ASSERT_TRUE(SUCCEEDED(CLSIDFromProgID(L"VBScript.RegExp", &classId)));
    wchar_t wide[64];
    ASSERT_GT(StringFromGUID2(classId, wide, 64), 0);
    char text[64];
    ASSERT_GT(WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr), 0);
    ObjectVariable other;
    // Without the platform's vbscript.dll the class is still registered but cannot be made.
    const bool expected = !RegExpTest::OwnComponentRun();
    EXPECT_EQ(expected ? 1u : 0u, Call(ObjectCreate, {Object(other.get()), Text(text)}).low);
    EXPECT_EQ(expected, other.get()->object != nullptr);
}

TEST_F(RegExpComponent, UnregisteredProgIdReturnsFalseAndLeavesTargetAsItWas) {
    ObjectVariable empty;
    EXPECT_EQ(0u, Call(ObjectCreate, {Object(empty.get()), Text("Zorvin.NoSuchClass")}).low);
    EXPECT_EQ(1u, Call(ObjectIsEmpty, {Object(empty.get())}).low);

    IUnknown *before = regex_.get()->object;
    EXPECT_EQ(0u, Call(ObjectCreate, {Object(regex_.get()), Text("Zorvin.NoSuchClass")}).low);
    EXPECT_EQ(before, regex_.get()->object);
    EXPECT_EQ(0u, Call(ObjectCreate, {Object(empty.get()), Text("{not a class id}")}).low);
}

TEST_F(RegExpComponent, UnknownPropertyWriteFailsWithStatusMinus3AndChangesNothing) {
    char *pattern = const_cast<char *>("a+");
    Call(ObjectWriteProperty,
         {Object(regex_.get()), Text("Pattern"), Reference(TC::kText, &pattern)});
    const ULONG references = ReferenceCount(regex_.get()->object);
    EXPECT_EQ(
        0u,
        Call(ObjectWriteProperty, {Object(regex_.get()), Text("Singleline"), Boolean(true)}).low);
    EXPECT_EQ(kAutomationNameNotBound, GetAutomationStatus());
    EXPECT_EQ("a+",
              TakeText(Call(ObjectReadTextProperty, {Object(regex_.get()), Text("Pattern")})));
    EXPECT_EQ(kAutomationSucceeded, GetAutomationStatus());
    EXPECT_EQ(references, ReferenceCount(regex_.get()->object));
}

TEST_F(RegExpComponent, ExecuteCountsItemsAndValuesThroughTheCollection) {
    ObjectVariable matches(Execute("X", "aXbXc"));
    ASSERT_NE(nullptr, matches.get()->object);
    EXPECT_EQ(2.0,
              AsDouble(Call(ObjectReadNumberProperty, {Object(matches.get()), Text("Count")})));
    EXPECT_EQ("X", MatchValue(matches.get(), 1));
    ObjectVariable second(reinterpret_cast<ComObject *>(
        Call(ObjectReadObjectProperty, {Object(matches.get()), Text("Item"), Double(1)}).low));
    EXPECT_EQ(3.0,
              AsDouble(Call(ObjectReadNumberProperty, {Object(second.get()), Text("FirstIndex")})));
}

TEST_F(RegExpComponent, EveryCallLeavesTheReferenceCountsWhereTheyWere) {
    ObjectVariable matches(Execute("(b)", "abcabc"));
    const ULONG regexReferences = ReferenceCount(regex_.get()->object);
    const ULONG matchReferences = ReferenceCount(matches.get()->object);
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ("b", MatchValue(matches.get(), 0));
        AsDouble(Call(ObjectReadNumberProperty, {Object(matches.get()), Text("Count")}));
        TakeText(Call(ObjectReadTextProperty, {Object(regex_.get()), Text("Pattern")}));
        Call(ObjectWriteProperty, {Object(regex_.get()), Text("Singleline"), Boolean(true)});
        Call(ObjectReadNumberProperty, {Object(matches.get()), Text("Count"), Integer(1)});
    }
    EXPECT_EQ(regexReferences, ReferenceCount(regex_.get()->object));
    EXPECT_EQ(matchReferences, ReferenceCount(matches.get()->object));
}

TEST_F(RegExpComponent, ReadsOnAnEmptyObjectGiveNewEmptyResultsAndStatusMinus1) {
    ObjectVariable empty;
    ObjectVariable result(reinterpret_cast<ComObject *>(
        Call(ObjectReadObjectProperty, {Object(empty.get()), Text("Item")}).low));
    ASSERT_NE(nullptr, result.get());
    EXPECT_EQ(nullptr, result.get()->object);
    EXPECT_EQ(kAutomationObjectEmpty, GetAutomationStatus());
    VariantVariable variant(reinterpret_cast<VARIANT *>(
        Call(ObjectReadVariantProperty, {Object(empty.get()), Text("Value")}).low));
    ASSERT_NE(nullptr, variant.get());
    EXPECT_EQ(VT_EMPTY, V_VT(variant.get()));
    EXPECT_EQ(0u, Call(ObjectReadTextProperty, {Object(empty.get()), Text("Pattern")}).low);
}

TEST_F(RegExpComponent, TooManyArgumentsGiveStatusMinus5) {
    EXPECT_EQ(
        0u, Call(ObjectReadTextProperty, {Object(regex_.get()), Text("Pattern"), Integer(1)}).low);
    EXPECT_EQ(kAutomationTooManyArguments, GetAutomationStatus());
}

TEST_F(RegExpComponent, TrailingOmittedArgumentsAreNotPassed) {
    char *pattern = const_cast<char *>("X");
    Call(ObjectWriteProperty,
         {Object(regex_.get()), Text("Pattern"), Reference(TC::kText, &pattern)});
    Call(ObjectWriteProperty, {Object(regex_.get()), Text("Global"), Boolean(true)});
    EXPECT_EQ("a-b-c", TakeText(Call(ObjectCallTextMethod,
                                     {Object(regex_.get()), Text("Replace"), Text("aXbXc"),
                                      Text("-"), Omitted(), Omitted()})));
    EXPECT_EQ(kAutomationSucceeded, GetAutomationStatus());
}

TEST_F(RegExpComponent, ArgumentWithoutVariantFormGivesStatusMinus7) {
    const uint32_t byteSet[3] = {1, 1, 0x41};
    EXPECT_EQ(0u, Call(ObjectCallTextMethod, {Object(regex_.get()), Text("Replace"),
                                              Address(TC::kByteSet, byteSet), Text("-")})
                      .low);
    EXPECT_EQ(kAutomationArgumentWithoutVariantForm, GetAutomationStatus());
}

TEST_F(RegExpComponent, ChineseTextReachesTheComponentAsTheSameCharacters) {
    // "中文" in the pattern, "这是中文字" as the subject: code page 936 in, UTF-16 inside.
    ObjectVariable matches(Execute("中文(.)", "这是中文字"));
    EXPECT_EQ("中文字", MatchValue(matches.get(), 0));
    ObjectVariable item(reinterpret_cast<ComObject *>(
        Call(ObjectReadObjectProperty, {Object(matches.get()), Text("Item"), Double(0)}).low));
    // The component counts characters: two characters stand before the match.
    EXPECT_EQ(2.0,
              AsDouble(Call(ObjectReadNumberProperty, {Object(item.get()), Text("FirstIndex")})));
    EXPECT_EQ("中文(.)",
              TakeText(Call(ObjectReadTextProperty, {Object(regex_.get()), Text("Pattern")})));
}

TEST_F(RegExpComponent, CopyThenClearOfTheCopyLeavesTheSourceUsable) {
    const ULONG before = ReferenceCount(regex_.get()->object);
    ObjectVariable copy;
    Call(ObjectCopy, {Object(copy.get()), Object(regex_.get())});
    EXPECT_EQ(regex_.get()->object, copy.get()->object);
    EXPECT_EQ(before + 1, ReferenceCount(regex_.get()->object));
    Call(ObjectClear, {Object(copy.get())});
    EXPECT_EQ(1u, Call(ObjectIsEmpty, {Object(copy.get())}).low);
    EXPECT_EQ(before, ReferenceCount(regex_.get()->object));
    ObjectVariable matches(Execute("c", "abc"));
    EXPECT_EQ("c", MatchValue(matches.get(), 0));
}

// A copy onto a target releases what the target held; a copy of an object or a Variant onto
// itself keeps it with its reference count.
TEST_F(RegExpComponent, CopiesReleaseTheTargetsOldValueAndKeepASelfCopy) {
    ObjectVariable other;
    ASSERT_TRUE(RegExpTest::CreateComponentUnderTest(other.get()));
    IUnknown *held = other.get()->object;
    held->AddRef();
    Call(ObjectCopy, {Object(other.get()), Object(regex_.get())});
    EXPECT_EQ(regex_.get()->object, other.get()->object);
    EXPECT_EQ(0u, held->Release()) << "the target released the object it held";

    const ULONG before = ReferenceCount(regex_.get()->object);
    IUnknown *object = regex_.get()->object;
    Call(ObjectCopy, {Object(regex_.get()), Object(regex_.get())});
    EXPECT_EQ(object, regex_.get()->object);
    EXPECT_EQ(before, ReferenceCount(regex_.get()->object));

    VariantVariable holding;
    EXPECT_EQ(1u, Call(VariantAssign, {VariantValue(holding.get()), Object(regex_.get())}).low);
    EXPECT_EQ(before + 1, ReferenceCount(regex_.get()->object));
    Call(VariantDuplicate, {VariantValue(holding.get()), VariantValue(holding.get())});
    EXPECT_EQ(VT_UNKNOWN, V_VT(holding.get()));
    EXPECT_EQ(before + 1, ReferenceCount(regex_.get()->object));
    VariantVariable text;
    Call(VariantAssign, {VariantValue(text.get()), Text("abc")});
    Call(VariantDuplicate, {VariantValue(holding.get()), VariantValue(text.get())});
    EXPECT_EQ(before, ReferenceCount(regex_.get()->object));
}

TEST_F(RegExpComponent, ReferenceArgumentsAreReadThroughTheirAddress) {
    int32_t ignoreCase = 1;
    EXPECT_EQ(1u, Call(ObjectWriteProperty, {Object(regex_.get()), Text("IgnoreCase"),
                                             Reference(TC::kBoolean, &ignoreCase)})
                      .low);
    EXPECT_EQ("-1",
              TakeText(Call(ObjectReadTextProperty, {Object(regex_.get()), Text("IgnoreCase")})));
}

} // namespace
