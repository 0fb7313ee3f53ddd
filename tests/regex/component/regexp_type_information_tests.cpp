// The component's type information: what ITypeComp::Bind finds for each member with the
// invocation kinds the runtime's by-name calls try, as for the platform's component.
#include <vector>

#include "tests/regex/component/dispatch_test_support.h"

namespace {

using namespace RegExpTest;

// One member as the platform's component declares it.
struct MemberShape {
    const wchar_t *name;
    INVOKEKIND kind;
    MEMBERID id;
    VARTYPE result;              // VT_VOID for a put
    std::vector<VARTYPE> params; // in declaration order
};

const MemberShape kRegExpMembers[] = {
    {L"Pattern", INVOKE_PROPERTYGET, 10001, VT_BSTR, {}},
    {L"Pattern", INVOKE_PROPERTYPUT, 10001, VT_VOID, {VT_BSTR}},
    {L"IgnoreCase", INVOKE_PROPERTYGET, 10002, VT_BOOL, {}},
    {L"IgnoreCase", INVOKE_PROPERTYPUT, 10002, VT_VOID, {VT_BOOL}},
    {L"Global", INVOKE_PROPERTYGET, 10003, VT_BOOL, {}},
    {L"Global", INVOKE_PROPERTYPUT, 10003, VT_VOID, {VT_BOOL}},
    {L"Multiline", INVOKE_PROPERTYGET, 10007, VT_BOOL, {}},
    {L"Multiline", INVOKE_PROPERTYPUT, 10007, VT_VOID, {VT_BOOL}},
    {L"Execute", INVOKE_FUNC, 10004, VT_DISPATCH, {VT_BSTR}},
    {L"Test", INVOKE_FUNC, 10005, VT_BOOL, {VT_BSTR}},
    {L"Replace", INVOKE_FUNC, 10006, VT_BSTR, {VT_BSTR, VT_VARIANT}},
};
const MemberShape kCollectionMembers[] = {
    {L"Item", INVOKE_PROPERTYGET, DISPID_VALUE, VT_DISPATCH, {VT_I4}},
    {L"Count", INVOKE_PROPERTYGET, 1, VT_I4, {}},
    {L"_NewEnum", INVOKE_PROPERTYGET, DISPID_NEWENUM, VT_UNKNOWN, {}},
};
const MemberShape kMatchMembers[] = {
    {L"Value", INVOKE_PROPERTYGET, DISPID_VALUE, VT_BSTR, {}},
    {L"FirstIndex", INVOKE_PROPERTYGET, 10001, VT_I4, {}},
    {L"Length", INVOKE_PROPERTYGET, 10002, VT_I4, {}},
    {L"SubMatches", INVOKE_PROPERTYGET, 10003, VT_DISPATCH, {}},
};
const MemberShape kSubMatchesMembers[] = {
    {L"Item", INVOKE_PROPERTYGET, DISPID_VALUE, VT_VARIANT, {VT_I4}},
    {L"Count", INVOKE_PROPERTYGET, 1, VT_I4, {}},
    {L"_NewEnum", INVOKE_PROPERTYGET, DISPID_NEWENUM, VT_UNKNOWN, {}},
};

class TypeInformation : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(S_OK, CoInitialize(nullptr));
        regex_ = NewRegExp();
        ASSERT_NE(nullptr, regex_);
    }
    void TearDown() override {
        for (IDispatch *object : {match_, matches_, subMatches_, regex_}) {
            if (object != nullptr) {
                object->Release();
            }
        }
        EXPECT_EQ(0, RegExpComponent::LiveObjects());
        CoUninitialize();
    }

    // Executes (a)(b) over "ab" and keeps the collection, the first match and its groups.
    void MakeMatchObjects() {
        Invoked put, executed, item, groups;
        InvokeName(regex_, L"Pattern", DISPATCH_PROPERTYPUT, {Bstr(L"(a)(b)")}, put);
        InvokeName(regex_, L"Execute", DISPATCH_METHOD, {Bstr(L"ab")}, executed);
        ASSERT_EQ(S_OK, executed.code);
        matches_ = V_DISPATCH(&executed.result);
        matches_->AddRef();
        InvokeName(matches_, L"Item", DISPATCH_PROPERTYGET, {Long(0)}, item);
        ASSERT_EQ(S_OK, item.code);
        match_ = V_DISPATCH(&item.result);
        match_->AddRef();
        InvokeName(match_, L"SubMatches", DISPATCH_PROPERTYGET, {}, groups);
        ASSERT_EQ(S_OK, groups.code);
        subMatches_ = V_DISPATCH(&groups.result);
        subMatches_->AddRef();
    }

    static void ExpectShapes(IDispatch *object, const MemberShape *shapes, size_t count) {
        UINT infos = 0;
        EXPECT_EQ(S_OK, object->GetTypeInfoCount(&infos));
        EXPECT_EQ(1u, infos);
        ITypeInfo *info = nullptr;
        EXPECT_EQ(DISP_E_BADINDEX, object->GetTypeInfo(1, LOCALE_USER_DEFAULT, &info));
        ASSERT_EQ(S_OK, object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
        TYPEATTR *attributes = nullptr;
        ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
        EXPECT_EQ(TKIND_DISPATCH, attributes->typekind);
        EXPECT_NE(0, attributes->wTypeFlags & TYPEFLAG_FDUAL);
        info->ReleaseTypeAttr(attributes);
        ITypeComp *binder = nullptr;
        ASSERT_EQ(S_OK, info->GetTypeComp(&binder));
        for (size_t i = 0; i < count; ++i) {
            const MemberShape &shape = shapes[i];
            SCOPED_TRACE(shape.name);
            ITypeInfo *boundInfo = nullptr;
            DESCKIND kind = DESCKIND_NONE;
            BINDPTR bound{};
            const ULONG hash = LHashValOfNameSys(SYS_WIN32, LOCALE_USER_DEFAULT, shape.name);
            ASSERT_EQ(S_OK, binder->Bind(const_cast<LPOLESTR>(shape.name), hash,
                                         static_cast<WORD>(shape.kind), &boundInfo, &kind, &bound));
            ASSERT_EQ(DESCKIND_FUNCDESC, kind);
            const FUNCDESC *function = bound.lpfuncdesc;
            EXPECT_EQ(shape.id, function->memid);
            EXPECT_EQ(shape.kind, function->invkind);
            EXPECT_EQ(FUNC_DISPATCH, function->funckind);
            EXPECT_EQ(shape.result, function->elemdescFunc.tdesc.vt);
            ASSERT_EQ(shape.params.size(), static_cast<size_t>(function->cParams));
            for (size_t p = 0; p < shape.params.size(); ++p) {
                EXPECT_EQ(shape.params[p], function->lprgelemdescParam[p].tdesc.vt);
                EXPECT_EQ(PARAMFLAG_FIN, function->lprgelemdescParam[p].paramdesc.wParamFlags);
            }
            boundInfo->ReleaseFuncDesc(bound.lpfuncdesc);
            boundInfo->Release();
        }
        ITypeInfo *unused = nullptr;
        DESCKIND kind = DESCKIND_FUNCDESC;
        BINDPTR bound{};
        EXPECT_EQ(S_OK,
                  binder->Bind(const_cast<LPOLESTR>(L"Singleline"),
                               LHashValOfNameSys(SYS_WIN32, LOCALE_USER_DEFAULT, L"Singleline"),
                               INVOKE_PROPERTYPUT, &unused, &kind, &bound));
        EXPECT_EQ(DESCKIND_NONE, kind) << "the component has no Singleline";
        binder->Release();
        info->Release();
    }

    IDispatch *regex_ = nullptr;
    IDispatch *matches_ = nullptr;
    IDispatch *match_ = nullptr;
    IDispatch *subMatches_ = nullptr;
};

TEST_F(TypeInformation, RegularExpressionMembersBindAsThePlatformDeclaresThem) {
    ExpectShapes(regex_, kRegExpMembers, std::size(kRegExpMembers));
}

TEST_F(TypeInformation, CollectionMatchAndSubMatchMembersBindAsThePlatformDeclaresThem) {
    MakeMatchObjects();
    ExpectShapes(matches_, kCollectionMembers, std::size(kCollectionMembers));
    ExpectShapes(match_, kMatchMembers, std::size(kMatchMembers));
    ExpectShapes(subMatches_, kSubMatchesMembers, std::size(kSubMatchesMembers));
}

TEST_F(TypeInformation, NamesResolveCaseInsensitivelyAndUnknownNamesAreRefused) {
    EXPECT_EQ(10001, IdOf(regex_, L"pattern"));
    EXPECT_EQ(10004, IdOf(regex_, L"EXECUTE"));
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"Singleline")};
    EXPECT_EQ(DISP_E_UNKNOWNNAME,
              regex_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
}

} // namespace
