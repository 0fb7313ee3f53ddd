// MatchCollection, Match and SubMatches: read-only views of the match records of one Execute.
#include "regex/component/match_objects.h"

#include <vector>

#include "regex/component/component_text.h"
#include "regex/component/dispatch_object.h"
#include "regex/component/regexp_interfaces.h"
#include "regex/component/variant_enumerator.h"

namespace RegExpComponent {
namespace {

// True when index names one of count items (the component counts from 0).
bool InRange(LONG index, size_t count) {
    return index >= 0 && static_cast<size_t>(index) < count;
}

// The items of a new enumerator while they are made: Empty at first, cleared on every path.
struct EnumeratedItems {
    explicit EnumeratedItems(size_t count) : items(count) {
        for (VARIANT &item : items) {
            VariantInit(&item);
        }
    }
    ~EnumeratedItems() {
        for (VARIANT &item : items) {
            VariantClear(&item);
        }
    }
    EnumeratedItems(const EnumeratedItems &) = delete;
    EnumeratedItems &operator=(const EnumeratedItems &) = delete;

    HRESULT Enumerate(IUnknown **enumerator) const {
        *enumerator = NewVariantEnumerator(items);
        return *enumerator != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    std::vector<VARIANT> items;
};

// A match's place in its list: what Match and SubMatches read, keeping the list alive.
struct MatchPlace {
    std::shared_ptr<const MatchList> list;
    size_t index;
};

class SubMatches final
    : public DispatchObject<IZvSubMatches, InterfaceKind::SubMatches, kSubMatchesInterfaceId> {
public:
    SubMatches(std::shared_ptr<const TypeLibrary> types, MatchPlace match)
        : DispatchObject(std::move(types)), match_(std::move(match)) {}

    // A group that took no part in the match is Empty.
    HRESULT STDMETHODCALLTYPE get_Item(LONG index, VARIANT *subMatch) override {
        if (subMatch == nullptr) {
            return E_POINTER;
        }
        VariantInit(subMatch);
        if (!InRange(index, match_.list->GroupCount())) {
            return Fail(kInvalidArgument);
        }
        return Guarded([&] { return GroupVariant(static_cast<uint32_t>(index) + 1, subMatch); });
    }
    HRESULT STDMETHODCALLTYPE get_Count(LONG *count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = static_cast<LONG>(match_.list->GroupCount());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown **enumerator) override {
        if (enumerator == nullptr) {
            return E_POINTER;
        }
        *enumerator = nullptr;
        return Guarded([&] {
            EnumeratedItems groups(match_.list->GroupCount());
            for (size_t i = 0; i < groups.items.size(); ++i) {
                GroupVariant(static_cast<uint32_t>(i) + 1, &groups.items[i]);
            }
            return groups.Enumerate(enumerator);
        });
    }

private:
    HRESULT GroupVariant(uint32_t group, VARIANT *target) const {
        if (match_.list->Begin(match_.index, group) >= 0) {
            V_BSTR(target) = match_.list->NewBstr(match_.index, group);
            V_VT(target) = VT_BSTR;
        }
        return S_OK;
    }

    MatchPlace match_;
};

class Match final : public DispatchObject<IZvMatch, InterfaceKind::Match, kMatchInterfaceId> {
public:
    Match(std::shared_ptr<const TypeLibrary> types, MatchPlace match)
        : DispatchObject(std::move(types)), match_(std::move(match)) {}

    HRESULT STDMETHODCALLTYPE get_Value(BSTR *value) override {
        if (value == nullptr) {
            return E_POINTER;
        }
        *value = nullptr;
        return Guarded([&] {
            *value = match_.list->NewBstr(match_.index, 0);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_FirstIndex(LONG *firstIndex) override {
        if (firstIndex == nullptr) {
            return E_POINTER;
        }
        *firstIndex = match_.list->Begin(match_.index, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Length(LONG *length) override {
        if (length == nullptr) {
            return E_POINTER;
        }
        *length = match_.list->End(match_.index, 0) - match_.list->Begin(match_.index, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_SubMatches(IDispatch **subMatches) override {
        if (subMatches == nullptr) {
            return E_POINTER;
        }
        *subMatches = nullptr;
        return Guarded([&] {
            *subMatches = new SubMatches(types(), match_);
            return S_OK;
        });
    }

private:
    MatchPlace match_;
};

class MatchCollection final
    : public DispatchObject<IZvMatchCollection, InterfaceKind::MatchCollection,
                            kMatchCollectionInterfaceId> {
public:
    MatchCollection(std::shared_ptr<const TypeLibrary> types,
                    std::shared_ptr<const MatchList> matches)
        : DispatchObject(std::move(types)), matches_(std::move(matches)) {}

    HRESULT STDMETHODCALLTYPE get_Item(LONG index, IDispatch **match) override {
        if (match == nullptr) {
            return E_POINTER;
        }
        *match = nullptr;
        if (!InRange(index, matches_->Count())) {
            return Fail(kInvalidArgument);
        }
        return Guarded([&] {
            *match = NewMatch(static_cast<size_t>(index));
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_Count(LONG *count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = static_cast<LONG>(matches_->Count());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown **enumerator) override {
        if (enumerator == nullptr) {
            return E_POINTER;
        }
        *enumerator = nullptr;
        return Guarded([&] {
            EnumeratedItems matches(matches_->Count());
            for (size_t i = 0; i < matches.items.size(); ++i) {
                V_DISPATCH(&matches.items[i]) = NewMatch(i);
                V_VT(&matches.items[i]) = VT_DISPATCH;
            }
            return matches.Enumerate(enumerator);
        });
    }

    const MatchList &List() const { return *matches_; }

private:
    // The match shares the collection's list, so it stays valid after the collection goes.
    IDispatch *NewMatch(size_t index) const { return new Match(types(), {matches_, index}); }

    std::shared_ptr<const MatchList> matches_;
};

} // namespace

IDispatch *NewMatchCollection(std::shared_ptr<const TypeLibrary> types,
                              std::shared_ptr<const MatchList> matches) {
    return new MatchCollection(std::move(types), std::move(matches));
}

bool ReadMatchText(IUnknown *collection, int32_t match, uint32_t group, char **text) {
    // Only this component's collections answer its own interface identifier.
    IZvMatchCollection *ours = nullptr;
    if (collection == nullptr ||
        FAILED(collection->QueryInterface(kMatchCollectionInterfaceId,
                                          reinterpret_cast<void **>(&ours)))) {
        return false;
    }
    const MatchList &list = static_cast<MatchCollection *>(ours)->List();
    const bool inRange = InRange(match, list.Count()) && group <= list.GroupCount();
    if (inRange) {
        const auto index = static_cast<size_t>(match);
        const int32_t begin = list.Begin(index, group);
        *text = begin >= 0
                    ? list.covered.NewProgramText(static_cast<size_t>(begin),
                                                  static_cast<size_t>(list.End(index, group)))
                    : nullptr;
    }
    ours->Release();
    return inRange;
}

} // namespace RegExpComponent
