// Creating our test component by ProgID and through its type library, put-by-reference of
// object properties, records, and the fallback for objects without type information.
#include "component_test_support.h"

namespace {

using namespace ComponentTest;

const ::testing::Environment *const kRegistration =
    ::testing::AddGlobalTestEnvironment(new ComponentRegistration);

TEST_F(ProbeTest, CreatedByProgIdHoldsTheOnlyReference) {
    EXPECT_EQ(1u, ReferenceCount(probe_->object));
    EXPECT_EQ(nullptr, probe_->record);
    EXPECT_EQ(5.0, AsDouble(Call(ObjectReadNumberProperty,
                                 {Object(probe_), Text("Add"), Integer(2), Integer(3)})));
    EXPECT_EQ(kAutomationSucceeded, GetAutomationStatus());
    EXPECT_EQ(1, ComponentRegistration::References());
}

TEST_F(ProbeTest, TypeLibraryRouteCreatesTheClassNamedInTheLibrary) {
    const std::string library = ComponentPathText();
    ObjectVariable made;
    ASSERT_EQ(1u,
              Call(ObjectCreate, {Object(made.get()), Text("ZvProbe"), Text(library.c_str())}).low);
    EXPECT_EQ(2, ComponentRegistration::References());
    EXPECT_EQ(7.0, AsDouble(Call(ObjectReadNumberProperty,
                                 {Object(made.get()), Text("Add"), Integer(3), Integer(4)})));
    // The file name holds a backslash, so the library was registered; take that back.
    ITypeLib *registered = nullptr;
    EXPECT_EQ(S_OK, LoadRegTypeLib(ZvTestComponent::kLibraryId, 1, 0, 0, &registered));
    if (registered != nullptr) {
        registered->Release();
    }
    EXPECT_EQ(S_OK, UnRegisterTypeLib(ZvTestComponent::kLibraryId, 1, 0, 0, SYS_WIN32));
}

TEST_F(ProbeTest, TypeLibraryWithoutTheNameFallsBackToTheClassRoute) {
    const std::string library = ComponentPathText();
    ObjectVariable byProgId;
    EXPECT_EQ(1u, Call(ObjectCreate,
                       {Object(byProgId.get()), Text("Zorvin.TestProbe"), Text(library.c_str())})
                      .low);
    EXPECT_NE(nullptr, byProgId.get()->object);
    ObjectVariable unknown;
    EXPECT_EQ(0u, Call(ObjectCreate,
                       {Object(unknown.get()), Text("ZvNoSuchClass"), Text(library.c_str())})
                      .low);
    EXPECT_EQ(nullptr, unknown.get()->object);
}

TEST_F(ProbeTest, ObjectPropertyIsPutByReference) {
    ObjectVariable other;
    ASSERT_EQ(1u, Call(ObjectCreate, {Object(other.get()), Text("Zorvin.TestProbe")}).low);
    EXPECT_EQ(1u,
              Call(ObjectWriteProperty, {Object(probe_), Text("Target"), Object(other.get())}).low);
    EXPECT_EQ("flags=8 args=1 named=-3 9", LastCall());
    EXPECT_EQ(2u, ReferenceCount(other.get()->object)) << "the probe holds the target";

    ObjectVariable read(reinterpret_cast<ComObject *>(
        Call(ObjectReadObjectProperty, {Object(probe_), Text("Target")}).low));
    EXPECT_EQ(other.get()->object, read.get()->object);
    EXPECT_EQ(3u, ReferenceCount(other.get()->object));
    EmptyComObject(read.get());
    EXPECT_EQ(2u, ReferenceCount(other.get()->object));
}

TEST_F(ProbeTest, VariablesArePutByValueOrByReferenceByTheirType) {
    EXPECT_EQ(1u, Call(ObjectWriteProperty, {Object(probe_), Text("Counter"), Integer(7)}).low);
    EXPECT_EQ("flags=4 args=1 named=-3 3", LastCall());
    EXPECT_EQ(7.0, AsDouble(Call(ObjectReadNumberProperty, {Object(probe_), Text("Counter")})));

    ObjectVariable partner;
    ASSERT_EQ(1u, Call(ObjectCreate, {Object(partner.get()), Text("Zorvin.TestProbe")}).low);
    EXPECT_EQ(
        1u,
        Call(ObjectWriteProperty, {Object(probe_), Text("Partner"), Object(partner.get())}).low);
    EXPECT_EQ("flags=8 args=1 named=-3 9", LastCall());
    EXPECT_EQ(2u, ReferenceCount(partner.get()->object));
}

TEST_F(ProbeTest, RecordObjectTravelsAsARecord) {
    ITypeLib *library = nullptr;
    ASSERT_EQ(S_OK, LoadTypeLibEx(ComponentPath().c_str(), REGKIND_NONE, &library));
    ITypeInfo *pointType = nullptr;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(ZvTestComponent::kPointRecordId, &pointType));
    IRecordInfo *recordInfo = nullptr;
    ASSERT_EQ(S_OK, GetRecordInfoFromTypeInfo(pointType, &recordInfo));
    pointType->Release();
    library->Release();

    // The record object owns one reference on its record info and the record's data.
    ObjectVariable record;
    auto *point = static_cast<ZvTestComponent::Point *>(recordInfo->RecordCreate());
    point->x = 5;
    point->y = 6;
    recordInfo->AddRef();
    record.get()->object = recordInfo;
    record.get()->record = point;
    const ULONG infoReferences = ReferenceCount(recordInfo);

    EXPECT_EQ(11.0, AsDouble(Call(ObjectReadNumberProperty,
                                  {Object(probe_), Text("Measure"), Object(record.get())})));
    EXPECT_EQ(kAutomationSucceeded, GetAutomationStatus());
    EXPECT_EQ("flags=1 args=1 named=0 36", LastCall());
    EXPECT_EQ(infoReferences, ReferenceCount(recordInfo));

    EmptyComObject(record.get());
    EXPECT_EQ(nullptr, record.get()->record);
    EXPECT_EQ(1u, ReferenceCount(recordInfo)) << "the clear released the object's reference";
    recordInfo->Release();
}

TEST_F(ProbeTest, RecordResultIsRefused) {
    VariantVariable result(reinterpret_cast<VARIANT *>(
        Call(ObjectReadVariantProperty, {Object(probe_), Text("Origin")}).low));
    EXPECT_EQ(kAutomationResultNotConvertible, GetAutomationStatus());
    EXPECT_EQ(VT_EMPTY, V_VT(result.get()));
}

TEST_F(ProbeTest, ObjectWithoutTypeInformationIsBoundByItsDispatch) {
    ObjectVariable opaque(reinterpret_cast<ComObject *>(
        Call(ObjectCallObjectMethod, {Object(probe_), Text("Opaque")}).low));
    ASSERT_NE(nullptr, opaque.get()->object);
    EXPECT_EQ(2, ComponentRegistration::References());
    EXPECT_EQ(1u,
              Call(ObjectWriteProperty, {Object(opaque.get()), Text("Counter"), Integer(8)}).low);
    EXPECT_EQ(8.0,
              AsDouble(Call(ObjectReadNumberProperty, {Object(opaque.get()), Text("Counter")})));
    EXPECT_EQ("9", TakeText(Call(ObjectCallTextMethod,
                                 {Object(opaque.get()), Text("Add"), Integer(4), Integer(5)})));
    EXPECT_EQ(kAutomationSucceeded, GetAutomationStatus());
    Call(ObjectReadNumberProperty, {Object(opaque.get()), Text("Split")});
    EXPECT_EQ(kAutomationNoTypeInformation, GetAutomationStatus());
    // An object with type information never falls back to names it does not declare.
    Call(ObjectReadNumberProperty, {Object(probe_), Text("NoSuchMember")});
    EXPECT_EQ(kAutomationNameNotBound, GetAutomationStatus());
}

} // namespace
