// The AutomationStatus values of failing by-name calls, against our test component: too many
// arguments, arguments without a VARIANT form, results that cannot be converted, objects
// without a dispatch interface, and each failing HRESULT of Invoke.
#include "component_test_support.h"

namespace {

using namespace ComponentTest;

TEST_F(ProbeTest, EmptyObjectIsStatusMinusOne) {
    ObjectVariable empty;
    ObjectVariable result(reinterpret_cast<ComObject *>(
        Call(ObjectReadObjectProperty, {Object(empty.get()), Text("Target")}).low));
    EXPECT_EQ(kAutomationObjectEmpty, GetAutomationStatus());
    EXPECT_EQ(nullptr, result.get()->object);
}

TEST_F(ProbeTest, ObjectWithoutDispatchIsStatusMinusTwo) {
    IClassFactory *factory = nullptr;
    ASSERT_EQ(S_OK, CoGetClassObject(ZvTestComponent::kProbeClassId, CLSCTX_INPROC_SERVER, nullptr,
                                     IID_IClassFactory, reinterpret_cast<void **>(&factory)));
    ObjectVariable holder(NewComObjectHolding(factory));
    factory->Release();
    EXPECT_EQ(0.0, AsDouble(Call(ObjectReadNumberProperty, {Object(holder.get()), Text("Add")})));
    EXPECT_EQ(kAutomationNoDispatch, GetAutomationStatus());
    EXPECT_EQ(1u, ReferenceCount(holder.get()->object));
}

TEST_F(ProbeTest, TooManyArgumentsIsStatusMinusFiveAndNothingIsInvoked) {
    Call(ObjectWriteProperty, {Object(probe_), Text("Counter"), Integer(3)});
    EXPECT_EQ(0.0, AsDouble(Call(ObjectReadNumberProperty, {Object(probe_), Text("Add"), Integer(1),
                                                            Integer(2), Integer(3)})));
    EXPECT_EQ(kAutomationTooManyArguments, GetAutomationStatus());
    EXPECT_EQ(
        0u,
        Call(ObjectWriteProperty, {Object(probe_), Text("Counter"), Integer(1), Integer(2)}).low);
    EXPECT_EQ(kAutomationTooManyArguments, GetAutomationStatus());
    EXPECT_EQ("flags=4 args=1 named=-3 3", LastCall()) << "the last invocation was the first put";
    EXPECT_EQ(3.0, AsDouble(Call(ObjectReadNumberProperty, {Object(probe_), Text("Counter")})));
}

TEST_F(ProbeTest, ArgumentWithoutVariantFormIsStatusMinusSeven) {
    const uint8_t bytes[] = {1, 0, 0, 0, 2, 0, 0, 0, 'a', 'b'};
    Call(ObjectWriteProperty, {Object(probe_), Text("Counter"), Integer(3)});
    EXPECT_EQ("", TakeText(Call(ObjectCallTextMethod, {Object(probe_), Text("Join"), Text("-"),
                                                       Text("a"), Address(TC::kByteSet, bytes)})));
    EXPECT_EQ(kAutomationArgumentWithoutVariantForm, GetAutomationStatus());
    Call(ObjectCallTextMethod, {Object(probe_), Text("Join"), Text("-"), Word(0x00010001, 5)});
    EXPECT_EQ(kAutomationArgumentWithoutVariantForm, GetAutomationStatus());
    EXPECT_EQ("flags=4 args=1 named=-3 3", LastCall()) << "nothing was invoked";
}

// The allocator refuses the long text's string (and only requests that large): the call fails
// instead of passing an empty string.
TEST_F(ProbeTest, ArgumentStringThatCannotBeAllocatedFailsTheCallUninvoked) {
    const std::string longText(100000, 'x');
    Call(ObjectWriteProperty, {Object(probe_), Text("Counter"), Integer(3)});
    {
        RefusedTaskMemory refused(sizeof(wchar_t) * longText.size());
        ASSERT_TRUE(refused.Registered());
        EXPECT_EQ("", TakeText(Call(ObjectCallTextMethod, {Object(probe_), Text("Join"), Text("-"),
                                                           Text("a"), Text(longText.c_str())})));
        EXPECT_EQ(kAutomationInvokeFailed, GetAutomationStatus());
    }
    EXPECT_EQ("flags=4 args=1 named=-3 3", LastCall()) << "nothing was invoked";
}

TEST_F(ProbeTest, UnconvertibleResultIsStatusMinusEight) {
    EXPECT_EQ(0.0, AsDouble(Call(ObjectReadNumberProperty, {Object(probe_), Text("Word")})));
    EXPECT_EQ(kAutomationResultNotConvertible, GetAutomationStatus());
    EXPECT_EQ("abc", TakeText(Call(ObjectReadTextProperty, {Object(probe_), Text("Word")})));
    EXPECT_EQ(kAutomationSucceeded, GetAutomationStatus());
    ObjectVariable notAnObject(reinterpret_cast<ComObject *>(
        Call(ObjectReadObjectProperty, {Object(probe_), Text("Add"), Integer(1), Integer(2)}).low));
    EXPECT_EQ(kAutomationResultNotConvertible, GetAutomationStatus());
    EXPECT_EQ(nullptr, notAnObject.get()->object);
}

struct InvokeFailure {
    HRESULT result;
    int32_t status;
};

TEST_F(ProbeTest, FailingInvokeResultsMapToTheirStatus) {
    const InvokeFailure failures[] = {
        {DISP_E_BADPARAMCOUNT, kAutomationBadParamCount},
        {DISP_E_BADVARTYPE, kAutomationBadVarType},
        {DISP_E_EXCEPTION, kAutomationException},
        {DISP_E_MEMBERNOTFOUND, kAutomationMemberNotFound},
        {DISP_E_NONAMEDARGS, kAutomationNoNamedArgs},
        {DISP_E_OVERFLOW, kAutomationOverflow},
        {DISP_E_PARAMNOTFOUND, kAutomationParamNotFound},
        {DISP_E_TYPEMISMATCH, kAutomationTypeMismatch},
        {DISP_E_PARAMNOTOPTIONAL, kAutomationParamNotOptional},
        {E_FAIL, kAutomationInvokeFailed},
        {DISP_E_UNKNOWNNAME, kAutomationInvokeFailed},
    };
    for (const InvokeFailure &failure : failures) {
        EXPECT_EQ("", TakeText(Call(ObjectCallTextMethod,
                                    {Object(probe_), Text("Fail"),
                                     Integer(static_cast<int32_t>(failure.result))})));
        EXPECT_EQ(failure.status, GetAutomationStatus()) << std::hex << failure.result;
    }
    EXPECT_EQ(0u, Call(ObjectWriteProperty, {Object(probe_), Text("Word"), Text("x")}).low);
    EXPECT_EQ(kAutomationNameNotBound, GetAutomationStatus()) << "a read-only property";
}

} // namespace
