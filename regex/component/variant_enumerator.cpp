// A plain IEnumVARIANT over a shared, unchanging list of VARIANTs; clones share the list.
#include "regex/component/variant_enumerator.h"

#include <memory>

namespace RegExpComponent {
namespace {

// The copied items, cleared when the last enumerator over them goes.
struct VariantList {
    std::vector<VARIANT> items;
    ~VariantList() {
        for (VARIANT &item : items) {
            VariantClear(&item);
        }
    }
};

class VariantEnumerator final : public IEnumVARIANT {
public:
    VariantEnumerator(std::shared_ptr<const VariantList> list, size_t position)
        : list_(std::move(list)), position_(position) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == IID_IEnumVARIANT) {
            *object = static_cast<IEnumVARIANT *>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT *items, ULONG *fetched) override {
        if (items == nullptr || (wanted > 1 && fetched == nullptr)) {
            return E_POINTER;
        }
        ULONG given = 0;
        // VariantCopy takes its source as non-const; it does not change it.
        for (; given < wanted && position_ < list_->items.size(); ++given, ++position_) {
            VariantInit(&items[given]);
            const HRESULT copied =
                VariantCopy(&items[given], const_cast<VARIANT *>(&list_->items[position_]));
            if (FAILED(copied)) {
                for (ULONG i = 0; i < given; ++i) {
                    VariantClear(&items[i]);
                }
                return copied;
            }
        }
        if (fetched != nullptr) {
            *fetched = given;
        }
        return given == wanted ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const size_t left = list_->items.size() - position_;
        const bool enough = count <= left;
        position_ += enough ? count : left;
        return enough ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT **copy) override {
        if (copy == nullptr) {
            return E_POINTER;
        }
        *copy = new (std::nothrow) VariantEnumerator(list_, position_);
        return *copy != nullptr ? S_OK : E_OUTOFMEMORY;
    }

private:
    ~VariantEnumerator() = default;

    LONG references_ = 1;
    std::shared_ptr<const VariantList> list_;
    size_t position_;
};

} // namespace

IEnumVARIANT *NewVariantEnumerator(const std::vector<VARIANT> &items) {
    auto list = std::make_shared<VariantList>();
    list->items.reserve(items.size());
    for (const VARIANT &item : items) {
        VARIANT copy;
        VariantInit(&copy);
        if (FAILED(VariantCopy(&copy, const_cast<VARIANT *>(&item)))) {
            return nullptr;
        }
        list->items.push_back(copy);
    }
    return new VariantEnumerator(std::move(list), 0);
}

} // namespace RegExpComponent
