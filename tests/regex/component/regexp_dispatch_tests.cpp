// The component through IDispatch as a script host drives it: property defaults and the
// argument forms a put accepts, default members, errors as HRESULT and EXCEPINFO, the objects'
// lifetimes and For Each enumeration.
#include <string>
#include <utility>

#include "regex/component/match_text_read.h"
#include "regex/component/regexp_component.h"
#include "regex/component/regexp_interfaces.h"
#include "runtime/heap.h"
#include "tests/regex/component/dispatch_test_support.h"
#include "values/com_object.h"

namespace {

using namespace RegExpTest;

constexpr HRESULT kInvalidProcedureCall = static_cast<HRESULT>(0x800A0005);
constexpr HRESULT kTypeMismatch = static_cast<HRESULT>(0x800A000D);

class RegExpDispatch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(S_OK, CoInitialize(nullptr));
        regex_ = NewRegExp();
        ASSERT_NE(nullptr, regex_);
    }
    void TearDown() override {
        if (regex_ != nullptr) {
            regex_->Release();
        }
        EXPECT_EQ(0, RegExpComponent::LiveObjects()) << "an object of the component leaked";
        CoUninitialize();
    }

    void Put(const wchar_t *name, VARIANT value) {
        Invoked put;
        InvokeName(regex_, name, DISPATCH_PROPERTYPUT, {value}, put);
        EXPECT_EQ(S_OK, put.code) << name;
    }
    void Get(IDispatch *object, const wchar_t *name, Invoked &out, std::vector<VARIANT> args = {}) {
        InvokeName(object, name, DISPATCH_PROPERTYGET, std::move(args), out);
    }
    // Execute's collection, owned by the caller; null when Execute failed.
    IDispatch *Execute(const wchar_t *pattern, const wchar_t *subject) {
        Put(L"Pattern", Bstr(pattern));
        Invoked executed;
        InvokeName(regex_, L"Execute", DISPATCH_METHOD, {Bstr(subject)}, executed);
        if (executed.code != S_OK || V_VT(&executed.result) != VT_DISPATCH) {
            return nullptr;
        }
        IDispatch *matches = V_DISPATCH(&executed.result);
        matches->AddRef();
        return matches;
    }
    LONG Number(IDispatch *object, const wchar_t *name) {
        Invoked read;
        Get(object, name, read);
        EXPECT_EQ(S_OK, read.code) << name;
        return V_VT(&read.result) == VT_I4 ? V_I4(&read.result) : -1;
    }

    IDispatch *regex_ = nullptr;
};

TEST_F(RegExpDispatch, NewObjectHasAnEmptyPatternAndEveryOptionOff) {
    Invoked pattern, ignoreCase, global, multiline;
    Get(regex_, L"Pattern", pattern);
    EXPECT_EQ(VT_BSTR, V_VT(&pattern.result));
    EXPECT_EQ(L"", pattern.Text());
    for (const wchar_t *option : {L"IgnoreCase", L"Global", L"Multiline"}) {
        Invoked read;
        Get(regex_, option, read);
        EXPECT_EQ(VT_BOOL, V_VT(&read.result)) << option;
        EXPECT_EQ(VARIANT_FALSE, V_BOOL(&read.result)) << option;
    }
}

TEST_F(RegExpDispatch, PutsAcceptBooleansTextsNumbersAndReferences) {
    Put(L"IgnoreCase", Bool(true));
    VARIANT_BOOL globalFlag = VARIANT_TRUE;
    VARIANT byReference;
    V_VT(&byReference) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&byReference) = &globalFlag;
    Put(L"Global", byReference);
    Put(L"Multiline", Long(7));
    for (const wchar_t *option : {L"IgnoreCase", L"Global", L"Multiline"}) {
        Invoked read;
        Get(regex_, option, read);
        EXPECT_EQ(VARIANT_TRUE, V_BOOL(&read.result)) << option << " reads back as True (-1)";
    }
    Put(L"Multiline", Bstr(L"False"));
    Invoked multiline;
    Get(regex_, L"Multiline", multiline);
    EXPECT_EQ(VARIANT_FALSE, V_BOOL(&multiline.result));

    BSTR patternText = SysAllocString(L"a+");
    VARIANT patternReference;
    V_VT(&patternReference) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&patternReference) = &patternText;
    Put(L"Pattern", patternReference);
    SysFreeString(patternText);
    Invoked pattern;
    Get(regex_, L"Pattern", pattern);
    EXPECT_EQ(L"a+", pattern.Text());
    Put(L"Pattern", Long(12));
    Invoked numeric;
    Get(regex_, L"Pattern", numeric);
    EXPECT_EQ(L"12", numeric.Text());
}

TEST_F(RegExpDispatch, DefaultMembersAreValueAndItem) {
    Put(L"Global", Bool(true));
    IDispatch *matches = Execute(L"(x)(y)?", L"axbxy");
    ASSERT_NE(nullptr, matches);
    Invoked second;
    InvokeId(matches, DISPID_VALUE, DISPATCH_PROPERTYGET, {Real(1)}, second);
    IDispatch *match = second.Object();
    ASSERT_NE(nullptr, match);
    Invoked value;
    InvokeId(match, DISPID_VALUE, DISPATCH_PROPERTYGET, {}, value);
    EXPECT_EQ(L"xy", value.Text());
    EXPECT_EQ(3, Number(match, L"FirstIndex"));
    EXPECT_EQ(2, Number(match, L"Length"));

    Invoked groups;
    Get(match, L"SubMatches", groups);
    IDispatch *subMatches = groups.Object();
    ASSERT_NE(nullptr, subMatches);
    EXPECT_EQ(2, Number(subMatches, L"Count"));
    Invoked group;
    InvokeId(subMatches, DISPID_VALUE, DISPATCH_PROPERTYGET, {Long(1)}, group);
    EXPECT_EQ(L"y", group.Text());
    matches->Release();
}

TEST_F(RegExpDispatch, AGroupOutsideTheMatchIsEmpty) {
    IDispatch *matches = Execute(L"(x)(y)?", L"ax");
    ASSERT_NE(nullptr, matches);
    Invoked first, groups, missing;
    Get(matches, L"Item", first, {Long(0)});
    ASSERT_NE(nullptr, first.Object());
    Get(first.Object(), L"SubMatches", groups);
    ASSERT_NE(nullptr, groups.Object());
    Get(groups.Object(), L"Item", missing, {Long(1)});
    EXPECT_EQ(S_OK, missing.code);
    EXPECT_EQ(VT_EMPTY, V_VT(&missing.result));
    matches->Release();
}

TEST_F(RegExpDispatch, ItemOutOfRangeIsAnInvalidProcedureCall) {
    IDispatch *matches = Execute(L"(b)", L"abc");
    ASSERT_NE(nullptr, matches);
    for (LONG index : {-1L, 1L, 1000L}) {
        Invoked item;
        Get(matches, L"Item", item, {Long(index)});
        EXPECT_EQ(DISP_E_EXCEPTION, item.code) << index;
        EXPECT_EQ(kInvalidProcedureCall, item.exception.scode) << index;
        EXPECT_EQ(L"Invalid procedure call or argument", item.Description());
        EXPECT_EQ(VT_EMPTY, V_VT(&item.result));
    }
    Invoked first, groups, group;
    Get(matches, L"Item", first, {Long(0)});
    ASSERT_NE(nullptr, first.Object());
    Get(first.Object(), L"SubMatches", groups);
    ASSERT_NE(nullptr, groups.Object());
    Get(groups.Object(), L"Item", group, {Long(1)});
    EXPECT_EQ(DISP_E_EXCEPTION, group.code);
    EXPECT_EQ(kInvalidProcedureCall, group.exception.scode);
    matches->Release();
}

TEST_F(RegExpDispatch, RefusedPatternsRaiseTheScriptRuntimesRegularExpressionErrors) {
    const struct {
        const wchar_t *pattern;
        unsigned number;
        const wchar_t *description;
    } refused[] = {
        {L"a(", 5020, L"Expected ')' in regular expression"},
        {L"[a", 5019, L"Expected ']' in regular expression"},
        {L"[z-a]", 5021, L"Invalid range in character set"},
        {L"*a", 5018, L"Unexpected quantifier"},
        {L"a)", 5017, L"Syntax error in regular expression"},
    };
    for (const auto &each : refused) {
        SCOPED_TRACE(each.pattern);
        Put(L"Pattern", Bstr(each.pattern));
        for (const wchar_t *method : {L"Execute", L"Test"}) {
            Invoked called;
            InvokeName(regex_, method, DISPATCH_METHOD, {Bstr(L"abc")}, called);
            EXPECT_EQ(DISP_E_EXCEPTION, called.code) << method;
            EXPECT_EQ(static_cast<HRESULT>(0x800A0000u | each.number), called.exception.scode);
            EXPECT_EQ(each.description, called.Description());
            EXPECT_NE(nullptr, called.exception.bstrSource);
        }
        Invoked replaced;
        InvokeName(regex_, L"Replace", DISPATCH_METHOD, {Bstr(L"abc"), Bstr(L"-")}, replaced);
        EXPECT_EQ(DISP_E_EXCEPTION, replaced.code);
    }
}

TEST_F(RegExpDispatch, VtableCallsReturnTheErrorAndSetTheThreadsErrorObject) {
    IZvRegExp *regex = nullptr;
    ASSERT_EQ(S_OK, regex_->QueryInterface(kRegExpInterfaceId, reinterpret_cast<void **>(&regex)));
    ISupportErrorInfo *supports = nullptr;
    ASSERT_EQ(S_OK,
              regex->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void **>(&supports)));
    EXPECT_EQ(S_OK, supports->InterfaceSupportsErrorInfo(kRegExpInterfaceId));
    supports->Release();

    BSTR pattern = SysAllocString(L"a(");
    BSTR subject = SysAllocString(L"abc");
    EXPECT_EQ(S_OK, regex->put_Pattern(pattern));
    IDispatch *matches = nullptr;
    EXPECT_EQ(static_cast<HRESULT>(0x800A139C), regex->Execute(subject, &matches));
    EXPECT_EQ(nullptr, matches);
    SysFreeString(subject);
    SysFreeString(pattern);
    regex->Release();

    IErrorInfo *error = nullptr;
    ASSERT_EQ(S_OK, GetErrorInfo(0, &error));
    BSTR description = nullptr;
    error->GetDescription(&description);
    EXPECT_STREQ(L"Expected ')' in regular expression", description);
    SysFreeString(description);
    error->Release();
}

TEST_F(RegExpDispatch, ReplaceTakesItsReplacementAsText) {
    Put(L"Global", Bool(true));
    Put(L"Pattern", Bstr(L"o"));
    Invoked numbered;
    InvokeName(regex_, L"Replace", DISPATCH_METHOD, {Bstr(L"foo"), Long(0)}, numbered);
    EXPECT_EQ(L"f00", numbered.Text());

    VARIANT inner = Bstr(L"[$&]");
    VARIANT byReference;
    V_VT(&byReference) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&byReference) = &inner;
    Invoked referenced;
    InvokeName(regex_, L"Replace", DISPATCH_METHOD, {Bstr(L"foo"), byReference}, referenced);
    EXPECT_EQ(L"f[o][o]", referenced.Text());
    VariantClear(&inner);

    VARIANT object;
    V_VT(&object) = VT_DISPATCH;
    V_DISPATCH(&object) = regex_;
    regex_->AddRef();
    Invoked mismatched;
    InvokeName(regex_, L"Replace", DISPATCH_METHOD, {Bstr(L"foo"), object}, mismatched);
    EXPECT_EQ(DISP_E_EXCEPTION, mismatched.code);
    EXPECT_EQ(kTypeMismatch, mismatched.exception.scode);
}

TEST_F(RegExpDispatch, WrongArgumentCountsAreRefusedByTheDispatchLayer) {
    Invoked none;
    InvokeName(regex_, L"Execute", DISPATCH_METHOD, {}, none);
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, none.code);
    Invoked one;
    InvokeName(regex_, L"Replace", DISPATCH_METHOD, {Bstr(L"abc")}, one);
    EXPECT_NE(S_OK, one.code);
}

TEST_F(RegExpDispatch, EachReferenceHandedOutIsTheCallersOnlyOne) {
    EXPECT_EQ(1u, ReferenceCount(regex_));
    IDispatch *matches = Execute(L"b", L"abc");
    ASSERT_NE(nullptr, matches);
    EXPECT_EQ(1u, ReferenceCount(matches)) << "the helper's own reference";
    Invoked item;
    Get(matches, L"Item", item, {Long(0)});
    ASSERT_NE(nullptr, item.Object());
    EXPECT_EQ(1u, ReferenceCount(item.Object()));
    EXPECT_EQ(1u, ReferenceCount(regex_)) << "a collection does not hold its regular expression";
    matches->Release();
}

TEST_F(RegExpDispatch, MatchesAndSubMatchesOutliveWhatHandedThemOut) {
    IDispatch *matches = Execute(L"(\\w+)@(\\w+)", L"mail: ann@host");
    ASSERT_NE(nullptr, matches);
    Invoked item;
    Get(matches, L"Item", item, {Long(0)});
    IDispatch *match = item.Object();
    ASSERT_NE(nullptr, match);
    match->AddRef();
    matches->Release();
    regex_->Release();
    regex_ = nullptr;

    Invoked groups;
    Get(match, L"SubMatches", groups);
    IDispatch *subMatches = groups.Object();
    ASSERT_NE(nullptr, subMatches);
    subMatches->AddRef();
    match->Release();
    Invoked host;
    Get(subMatches, L"Item", host, {Long(1)});
    EXPECT_EQ(L"host", host.Text());
    subMatches->Release();
}

TEST_F(RegExpDispatch, NewEnumWalksTheMatchesAndTheGroupsInOrder) {
    Put(L"Global", Bool(true));
    IDispatch *matches = Execute(L"\\d", L"a1b2c3");
    ASSERT_NE(nullptr, matches);
    Invoked enumerated;
    InvokeId(matches, DISPID_NEWENUM, DISPATCH_PROPERTYGET, {}, enumerated);
    ASSERT_EQ(S_OK, enumerated.code);
    IEnumVARIANT *walker = nullptr;
    ASSERT_EQ(S_OK, V_UNKNOWN(&enumerated.result)
                        ->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void **>(&walker)));
    std::wstring values;
    VARIANT each;
    ULONG fetched = 0;
    while (walker->Next(1, &each, &fetched) == S_OK) {
        Invoked value;
        InvokeId(V_DISPATCH(&each), DISPID_VALUE, DISPATCH_PROPERTYGET, {}, value);
        values += value.Text();
        VariantClear(&each);
    }
    EXPECT_EQ(L"123", values);
    EXPECT_EQ(S_OK, walker->Reset());
    EXPECT_EQ(S_FALSE, walker->Skip(4));
    walker->Release();
    matches->Release();
}

TEST_F(RegExpDispatch, TestAnswersWhetherThePatternMatches) {
    Put(L"Pattern", Bstr(L"^b"));
    Invoked no, yes;
    InvokeName(regex_, L"Test", DISPATCH_METHOD, {Bstr(L"ab")}, no);
    EXPECT_EQ(VT_BOOL, V_VT(&no.result));
    EXPECT_EQ(VARIANT_FALSE, V_BOOL(&no.result));
    Put(L"Multiline", Bool(true));
    InvokeName(regex_, L"Test", DISPATCH_METHOD, {Bstr(L"a\nb")}, yes);
    EXPECT_EQ(VARIANT_TRUE, V_BOOL(&yes.result));
}

TEST_F(RegExpDispatch, ChangingAnOptionAppliesToTheNextSearch) {
    Put(L"Pattern", Bstr(L"AB"));
    Invoked before, after;
    InvokeName(regex_, L"Test", DISPATCH_METHOD, {Bstr(L"xab")}, before);
    EXPECT_EQ(VARIANT_FALSE, V_BOOL(&before.result));
    Put(L"IgnoreCase", Bool(true));
    InvokeName(regex_, L"Test", DISPATCH_METHOD, {Bstr(L"xab")}, after);
    EXPECT_EQ(VARIANT_TRUE, V_BOOL(&after.result));
}

} // namespace

// Values are cut, when asked, from the one copy of the subject the collection keeps, in either
// of its forms (one byte a unit, or two when a unit is above 0xFF), including a group a
// lookahead took beyond its match; the program's in-place read gives the code page 936 text of
// the same value, and declines what names no value and what is not one of its collections.
TEST_F(RegExpDispatch, ValuesAndTheirProgramTextsComeFromTheCopyOfTheCoveredSubject) {
    struct Case {
        const wchar_t *pattern, *subject;
        bool global;
        LONG match;
        LONG group; // 0: the match itself
        const wchar_t *value;
        const char *text; // null: the empty text
    };
    const Case cases[] = {
        {L"a(?=(bc))", L"xabc", false, 0, 1, L"bc", "bc"},
        {L"(\\d)", L"a1b2c3", true, 2, 0, L"3", "3"},
        {L"t(.)", L"xt\u00e9", false, 0, 1, L"\u00e9", "\xa8\xa6"},
        {L"(\u4e2d)(x)?", L"a\u4e2d", false, 0, 1, L"\u4e2d", "\xd6\xd0"},
        {L"(\u4e2d)(x)?", L"a\u4e2d", false, 0, 2, L"", nullptr},
    };
    for (const Case &c : cases) {
        Put(L"Global", Bool(c.global));
        IDispatch *matches = Execute(c.pattern, c.subject);
        ASSERT_NE(nullptr, matches) << c.pattern;
        Invoked item, groups, value;
        Get(matches, L"Item", item, {Long(c.match)});
        ASSERT_NE(nullptr, item.Object()) << c.pattern;
        if (c.group == 0) {
            Get(item.Object(), L"Value", value);
        } else {
            Get(item.Object(), L"SubMatches", groups);
            ASSERT_NE(nullptr, groups.Object()) << c.pattern;
            Get(groups.Object(), L"Item", value, {Long(c.group - 1)});
        }
        EXPECT_EQ(c.value, value.Text()) << c.pattern;

        ComObject block{matches, nullptr};
        char *text = nullptr;
        ASSERT_TRUE(RegExpComponent::ReadMatchTextFrom(&block, c.match, c.group, &text));
        auto shown = [](const char *t) { return t != nullptr ? "\"" + std::string(t) : "null"; };
        EXPECT_EQ(shown(c.text), shown(text)) << c.pattern;
        FreeMemory(text);
        for (const auto &[match, group] : {std::pair{c.match + 1, 0L}, std::pair{0L, 3L},
                                           std::pair{-1L, 0L}, std::pair{0L, -1L}}) {
            EXPECT_FALSE(RegExpComponent::ReadMatchTextFrom(&block, match, group, &text))
                << c.pattern << " " << match << " " << group;
        }
        matches->Release();
    }
    ComObject notACollection{regex_, nullptr};
    char *text = nullptr;
    EXPECT_FALSE(RegExpComponent::ReadMatchTextFrom(&notACollection, 0, 0, &text));
}
