// The regular-expression object: its four properties, the compiled pattern they make, and the
// three methods that run it over a subject.
#include "regex/component/regexp_component.h"

#include <algorithm>
#include <new>
#include <string>

#include "regex/component/component_text.h"
#include "regex/component/dispatch_object.h"
#include "regex/component/match_objects.h"
#include "regex/component/regexp_interfaces.h"
#include "regex/engine/regex_engine.h"

namespace RegExpComponent {

LONG g_liveObjects = 0;

namespace {

VARIANT_BOOL AsVariantBool(bool value) {
    return value ? VARIANT_TRUE : VARIANT_FALSE;
}

class RegExp final : public DispatchObject<IZvRegExp, InterfaceKind::RegExp, kRegExpInterfaceId> {
public:
    explicit RegExp(std::shared_ptr<const TypeLibrary> types) : DispatchObject(std::move(types)) {}

    HRESULT STDMETHODCALLTYPE get_Pattern(BSTR *pattern) override {
        if (pattern == nullptr) {
            return E_POINTER;
        }
        *pattern = nullptr;
        return Guarded([&] {
            *pattern = NewBstr(pattern_);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE put_Pattern(BSTR pattern) override {
        return Guarded([&] {
            pattern_.assign(BstrView(pattern));
            Forget();
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_IgnoreCase(VARIANT_BOOL *ignoreCase) override {
        return Read(options_.ignoreCase, ignoreCase);
    }
    HRESULT STDMETHODCALLTYPE put_IgnoreCase(VARIANT_BOOL ignoreCase) override {
        options_.ignoreCase = ignoreCase != VARIANT_FALSE;
        Forget();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Global(VARIANT_BOOL *global) override {
        return Read(global_, global);
    }
    HRESULT STDMETHODCALLTYPE put_Global(VARIANT_BOOL global) override {
        global_ = global != VARIANT_FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Multiline(VARIANT_BOOL *multiline) override {
        return Read(options_.multiline, multiline);
    }
    HRESULT STDMETHODCALLTYPE put_Multiline(VARIANT_BOOL multiline) override {
        options_.multiline = multiline != VARIANT_FALSE;
        Forget();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Execute(BSTR sourceString, IDispatch **matches) override {
        if (matches == nullptr) {
            return E_POINTER;
        }
        *matches = nullptr;
        return Guarded([&] {
            const std::u16string_view subject = BstrView(sourceString);
            auto found = std::make_shared<MatchList>();
            // The part of the subject the captures span: the matches, and any group a
            // lookahead took beyond its match.
            size_t first = subject.size(), last = 0;
            const HRESULT searched = ForEachMatch(
                subject, [&](std::u16string_view, const RegexEngine::Captures &captures) {
                    found->slotsPerMatch = static_cast<uint32_t>(captures.slots.size());
                    found->slots.insert(found->slots.end(), captures.slots.begin(),
                                        captures.slots.end());
                    for (size_t slot = 0; slot < captures.slots.size(); slot += 2) {
                        if (captures.slots[slot] >= 0) {
                            first = std::min(first, static_cast<size_t>(captures.slots[slot]));
                            last = std::max(last, static_cast<size_t>(captures.slots[slot + 1]));
                        }
                    }
                });
            if (FAILED(searched)) {
                return searched;
            }
            if (found->Count() > 0) {
                found->covered = CoveredText(subject, first, last);
            }
            *matches = NewMatchCollection(types(), std::move(found));
            return searched;
        });
    }

    HRESULT STDMETHODCALLTYPE Test(BSTR sourceString, VARIANT_BOOL *found) override {
        if (found == nullptr) {
            return E_POINTER;
        }
        *found = VARIANT_FALSE;
        return Guarded([&] {
            RegexEngine::Captures captures;
            const HRESULT searched = SearchFrom(BstrView(sourceString), 0, captures);
            if (searched == S_OK) {
                *found = VARIANT_TRUE;
            }
            return SUCCEEDED(searched) ? S_OK : searched;
        });
    }

    // The subject with the first match (or, with Global, every match) replaced by replaceVar,
    // taken as text; $-references in it are expanded per match.
    HRESULT STDMETHODCALLTYPE Replace(BSTR sourceString, VARIANT replaceVar,
                                      BSTR *replaced) override {
        if (replaced == nullptr) {
            return E_POINTER;
        }
        *replaced = nullptr;
        VARIANT replacement;
        VariantInit(&replacement);
        if (FAILED(VariantChangeType(&replacement, &replaceVar, 0, VT_BSTR))) {
            return Fail(kTypeMismatch);
        }
        const HRESULT answered = Guarded([&] {
            const std::u16string_view with = BstrView(V_BSTR(&replacement));
            std::u16string result;
            size_t copiedUpTo = 0;
            const HRESULT searched =
                ForEachMatch(BstrView(sourceString), [&](std::u16string_view subject,
                                                         const RegexEngine::Captures &captures) {
                    const auto begin = static_cast<size_t>(captures.begin(0));
                    result.append(subject.substr(copiedUpTo, begin - copiedUpTo));
                    result.append(
                        RegexEngine::ExpandReplacement(with, subject, captures, groupCount_));
                    copiedUpTo = static_cast<size_t>(captures.end(0));
                });
            if (FAILED(searched)) {
                return searched;
            }
            result.append(BstrView(sourceString).substr(copiedUpTo));
            *replaced = NewBstr(result);
            return S_OK;
        });
        VariantClear(&replacement);
        return answered;
    }

private:
    static HRESULT Read(bool value, VARIANT_BOOL *target) {
        if (target == nullptr) {
            return E_POINTER;
        }
        *target = AsVariantBool(value);
        return S_OK;
    }

    // A pattern or option changed: compile again at the next search.
    void Forget() { compiled_.reset(); }

    // Compiles the pattern with the current options unless that was done already.
    HRESULT Compile() {
        if (compiled_ != nullptr) {
            return S_OK;
        }
        RegexEngine::CompileResult result = RegexEngine::Compile(pattern_, options_);
        if (result.error != RegexEngine::CompileError::None || result.program == nullptr) {
            return Fail(CompileFailure(result.error));
        }
        compiled_ = std::move(result.program);
        groupCount_ = RegexEngine::GroupCount(*compiled_);
        return S_OK;
    }

    // S_OK with captures set, S_FALSE when nothing matches from start on, or the error.
    HRESULT SearchFrom(std::u16string_view subject, size_t start, RegexEngine::Captures &captures) {
        const HRESULT compiled = Compile();
        if (FAILED(compiled)) {
            return compiled;
        }
        switch (RegexEngine::Search(*compiled_, subject, start, captures)) {
        case RegexEngine::SearchResult::Found:
            return S_OK;
        case RegexEngine::SearchResult::NotFound:
            return S_FALSE;
        case RegexEngine::SearchResult::BudgetExhausted:
            break;
        }
        return Fail(kOutOfStackSpace);
    }

    // Calls found for the first match, or with Global for every match from left to right; an
    // empty match moves the next search one unit on, so that it cannot match there again.
    template <class Found> HRESULT ForEachMatch(std::u16string_view subject, Found &&found) {
        RegexEngine::Captures captures;
        size_t start = 0;
        while (start <= subject.size()) {
            const HRESULT searched = SearchFrom(subject, start, captures);
            if (searched != S_OK) {
                return SUCCEEDED(searched) ? S_OK : searched;
            }
            found(subject, captures);
            if (!global_) {
                break;
            }
            const auto end = static_cast<size_t>(captures.end(0));
            start = end == static_cast<size_t>(captures.begin(0)) ? end + 1 : end;
        }
        return S_OK;
    }

    std::u16string pattern_;
    RegexEngine::Options options_{};
    bool global_ = false;
    std::shared_ptr<const RegexEngine::Program> compiled_;
    uint32_t groupCount_ = 0;
};

} // namespace

LONG LiveObjects() {
    return InterlockedCompareExchange(&g_liveObjects, 0, 0);
}

IUnknown *CreateRegExp() {
    std::shared_ptr<const TypeLibrary> types = TypeLibrary::Acquire();
    if (types == nullptr) {
        return nullptr;
    }
    return static_cast<IZvRegExp *>(new (std::nothrow) RegExp(std::move(types)));
}

} // namespace RegExpComponent
