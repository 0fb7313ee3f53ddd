// How the by-name calls pass arguments to our test component: by-reference out-parameters with
// write-back into program variables, variable argument lists and omitted arguments.
#include "component_test_support.h"

namespace {

using namespace ComponentTest;

char *NewText(const char *text) {
    const size_t length = std::strlen(text);
    auto *copy = static_cast<char *>(AllocateMemory(static_cast<uint32_t>(length + 1)));
    std::memcpy(copy, text, length + 1);
    return copy;
}

TEST_F(ProbeTest, OutParametersAreWrittenBackIntoProgramVariables) {
    char *head = NewText("old");
    int32_t length = -1;
    VariantVariable rest;
    VARIANT *restBlock = rest.get();
    EXPECT_EQ("", TakeText(Call(ObjectCallTextMethod,
                                {Object(probe_), Text("Split"), Text("中文 和 text"),
                                 Reference(TC::kText, &head), Reference(TC::kInteger, &length),
                                 Reference(TC::kVariant, &restBlock)})));
    EXPECT_EQ(kAutomationSucceeded, GetAutomationStatus());
    EXPECT_EQ("flags=1 args=4 named=0 8 16392 16387 16396", LastCall());
    EXPECT_STREQ("中文", head);
    EXPECT_EQ(9, length) << "characters, as the component counts them";
    EXPECT_EQ(VT_BSTR, V_VT(rest.get()));
    EXPECT_EQ("和 text", TakeText(Call(VariantToText, {VariantValue(rest.get())})));
    FreeMemory(head);
}

TEST_F(ProbeTest, ValuesPassedForOutParametersStayAsTheyWere) {
    char *head = NewText("old");
    VariantVariable rest;
    EXPECT_EQ("", TakeText(Call(ObjectCallTextMethod,
                                {Object(probe_), Text("Split"), Text("a b"), Text(head), Integer(0),
                                 VariantValue(rest.get())})));
    EXPECT_EQ(kAutomationSucceeded, GetAutomationStatus());
    EXPECT_EQ("flags=1 args=4 named=0 8 16392 16387 16396", LastCall());
    EXPECT_STREQ("old", head);
    EXPECT_EQ(VT_I4, V_VT(rest.get()));
    FreeMemory(head);
}

TEST_F(ProbeTest, InOutIntegerIsReadAndWrittenBack) {
    int32_t value = 21;
    Call(ObjectCallTextMethod, {Object(probe_), Text("Twice"), Reference(TC::kInteger, &value)});
    EXPECT_EQ(kAutomationSucceeded, GetAutomationStatus());
    EXPECT_EQ(42, value);
    // A short variable is converted to the declared long and back.
    int16_t shortValue = 300;
    Call(ObjectCallTextMethod, {Object(probe_), Text("Twice"), Reference(TC::kShort, &shortValue)});
    EXPECT_EQ(600, shortValue);
}

TEST_F(ProbeTest, VariableArgumentListPassesEveryExtraArgument) {
    EXPECT_EQ("a-2-中文-2.5", TakeText(Call(ObjectCallTextMethod,
                                            {Object(probe_), Text("Join"), Text("-"), Text("a"),
                                             Integer(2), Text("中文"), Double(2.5)})));
    EXPECT_EQ(kAutomationSucceeded, GetAutomationStatus());
    EXPECT_EQ("flags=1 args=5 named=0 8 8 3 8 5", LastCall());
    EXPECT_EQ("", TakeText(Call(ObjectCallTextMethod, {Object(probe_), Text("Join"), Text("-")})));
    EXPECT_EQ("flags=1 args=1 named=0 8", LastCall());
}

// A text Variant passed by value is handed to the component without a copy; the call must
// still leave the program's Variant holding its own string, even when one Variant fills two
// arguments of the same call.
TEST_F(ProbeTest, TextVariantArgumentsStayTheProgramsOwnAfterTheCall) {
    VariantVariable separator, part;
    ASSERT_EQ(1u, Call(VariantAssign, {VariantValue(separator.get()), Text("中")}).low);
    ASSERT_EQ(1u, Call(VariantAssign, {VariantValue(part.get()), Text("part")}).low);
    const BSTR separatorString = V_BSTR(separator.get());
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ("part中part中中",
                  TakeText(Call(ObjectCallTextMethod,
                                {Object(probe_), Text("Join"), VariantValue(separator.get()),
                                 VariantValue(part.get()), VariantValue(part.get()),
                                 VariantValue(separator.get())})));
        EXPECT_EQ(kAutomationSucceeded, GetAutomationStatus());
        EXPECT_EQ("flags=1 args=4 named=0 8 8 8 8", LastCall());
    }
    EXPECT_EQ(VT_BSTR, V_VT(separator.get()));
    EXPECT_EQ(separatorString, V_BSTR(separator.get()));
    EXPECT_EQ("中", TakeText(Call(VariantToText, {VariantValue(separator.get())})));
    EXPECT_EQ("part", TakeText(Call(VariantToText, {VariantValue(part.get())})));
}

TEST_F(ProbeTest, TrailingOmittedArgumentsAreNotPassed) {
    EXPECT_EQ("3", TakeText(Call(ObjectCallTextMethod,
                                 {Object(probe_), Text("Describe"), Integer(5), Omitted()})));
    EXPECT_EQ("flags=1 args=1 named=0 3", LastCall());
}

TEST_F(ProbeTest, OmittedArgumentBeforeAGivenOneIsParamNotFound) {
    EXPECT_EQ("ERROR:80020004 3",
              TakeText(Call(ObjectCallTextMethod,
                            {Object(probe_), Text("Describe"), Omitted(), Integer(5)})));
}

TEST_F(ProbeTest, EmptyVariantArgumentIsPassedAsParamNotFound) {
    VariantVariable empty;
    V_VT(empty.get()) = VT_EMPTY;
    EXPECT_EQ("ERROR:80020004 8",
              TakeText(Call(ObjectCallTextMethod, {Object(probe_), Text("Describe"),
                                                   VariantValue(empty.get()), Text("x")})));
}

// An object reaches a parameter that can hold one (an interface, a Variant, an extra argument
// of a variable list); a parameter of another type receives a null VT_UNKNOWN instead.
TEST_F(ProbeTest, ObjectReachesOnlyParametersThatCanHoldOne) {
    ObjectVariable other;
    ASSERT_EQ(1u, Call(ObjectCreate, {Object(other.get()), Text("Zorvin.TestProbe")}).low);
    Call(ObjectReadNumberProperty, {Object(probe_), Text("Add"), Object(other.get()), Integer(1)});
    EXPECT_EQ("flags=1 args=2 named=0 13(null) 3", LastCall());
    TakeText(Call(ObjectCallTextMethod, {Object(probe_), Text("Describe"), Object(other.get())}));
    EXPECT_EQ("flags=1 args=1 named=0 13", LastCall());
    TakeText(
        Call(ObjectCallTextMethod, {Object(probe_), Text("Join"), Text("-"), Object(other.get())}));
    EXPECT_EQ("flags=1 args=2 named=0 8 13", LastCall());
    EXPECT_EQ(
        1u, Call(ObjectWriteProperty, {Object(probe_), Text("Partner"), Object(other.get())}).low);
    EXPECT_EQ("flags=8 args=1 named=-3 9", LastCall());
}

TEST_F(ProbeTest, EveryCallLeavesTheReferencesAsItFoundThem) {
    ObjectVariable other;
    ASSERT_EQ(1u, Call(ObjectCreate, {Object(other.get()), Text("Zorvin.TestProbe")}).low);
    const LONG before = ComponentRegistration::References();
    EXPECT_EQ("13", TakeText(Call(ObjectCallTextMethod,
                                  {Object(probe_), Text("Describe"), Object(other.get())})))
        << "an object travels VT_UNKNOWN";
    Call(ObjectReadNumberProperty, {Object(probe_), Text("Add"), Object(other.get()), Integer(1)});
    Call(ObjectCallTextMethod, {Object(probe_), Text("Join"), Text(","), Object(other.get())});
    EXPECT_EQ(before, ComponentRegistration::References());
}

} // namespace
