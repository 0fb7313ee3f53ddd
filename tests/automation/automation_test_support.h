// Helpers for the automation tests: argument records, owned runtime values and COM set-up.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/argument_record.h"
#include "runtime/heap.h"
#include "values/automation_type_codes.h"
#include "values/com_object.h"

namespace AutomationTest {

namespace TC = AutomationTypeCode;

inline ArgumentRecord Word(uint32_t type, uint32_t value) {
    return ArgumentRecord{value, 0, type};
}
inline ArgumentRecord Address(uint32_t type, const void *address) {
    return Word(type, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address)));
}
inline ArgumentRecord Text(const char *text) {
    return Address(TC::kText, text);
}
inline ArgumentRecord Object(const ComObject *object) {
    return Address(TC::kComObject, object);
}
inline ArgumentRecord VariantValue(const VARIANT *value) {
    return Address(TC::kVariant, value);
}
inline ArgumentRecord Integer(int32_t value) {
    return Word(TC::kInteger, static_cast<uint32_t>(value));
}
inline ArgumentRecord Boolean(bool value) {
    return Word(TC::kBoolean, value ? 1 : 0);
}
inline ArgumentRecord Double(double value) {
    ArgumentRecord record{0, 0, TC::kDouble};
    std::memcpy(&record.low, &value, sizeof(value));
    return record;
}
// A by-reference argument: the address of the program variable.
inline ArgumentRecord Reference(uint32_t type, void *variable) {
    return Address(type | TC::kArrayOrReferenceBit, variable);
}
inline ArgumentRecord Omitted() {
    return ArgumentRecord{0, 0, 0};
}

inline ArgumentRecord Call(void (*command)(ArgumentRecord *, int32_t, ArgumentRecord *),
                           std::initializer_list<ArgumentRecord> args) {
    std::vector<ArgumentRecord> records(args);
    ArgumentRecord result{0, 0, 0};
    ArgumentRecord none{0, 0, 0};
    command(&result, static_cast<int32_t>(records.size()),
            records.empty() ? &none : records.data());
    return result;
}

inline double AsDouble(const ArgumentRecord &record) {
    double value;
    std::memcpy(&value, &record.low, sizeof(value));
    return value;
}

// Takes ownership of a returned heap text and gives its bytes.
inline std::string TakeText(const ArgumentRecord &record) {
    auto *text = reinterpret_cast<char *>(static_cast<uintptr_t>(record.low));
    std::string bytes = text != nullptr ? std::string(text) : std::string();
    FreeMemory(text);
    return bytes;
}

// A ComObject variable as program code holds it: a heap block emptied and freed at the end.
class ObjectVariable {
public:
    ObjectVariable() : block_(NewEmptyComObject()) {}
    explicit ObjectVariable(ComObject *adopted) : block_(adopted) {}
    ~ObjectVariable() {
        EmptyComObject(block_);
        FreeMemory(block_);
    }
    ObjectVariable(const ObjectVariable &) = delete;
    ObjectVariable &operator=(const ObjectVariable &) = delete;
    ComObject *get() const { return block_; }
    ComObject **slot() { return &block_; }

private:
    ComObject *block_;
};

// A Variant variable: 16 zero bytes, then the type VT_I4, as program code starts one.
class VariantVariable {
public:
    VariantVariable() : block_(static_cast<VARIANT *>(AllocateMemory(sizeof(VARIANT)))) {
        std::memset(block_, 0, sizeof(VARIANT));
        V_VT(block_) = VT_I4;
    }
    explicit VariantVariable(VARIANT *adopted) : block_(adopted) {}
    ~VariantVariable() {
        VariantClear(block_);
        FreeMemory(block_);
    }
    VariantVariable(const VariantVariable &) = delete;
    VariantVariable &operator=(const VariantVariable &) = delete;
    VARIANT *get() const { return block_; }

private:
    VARIANT *block_;
};

// A malloc spy on the platform's task allocator, from which strings and arrays of automation
// come: it refuses every request of at least its limit (PreAlloc answers 0). It is registered
// once and lives as long as the process: the platform keeps a spy that watched a block until
// that block is freed, so one could not be revoked safely at the end of a test.
class RefusingMallocSpy final : public IMallocSpy {
public:
    static RefusingMallocSpy &Instance() {
        static RefusingMallocSpy *spy = new RefusingMallocSpy;
        return *spy;
    }
    bool Registered() const { return registered_; }
    void Refuse(SIZE_T limit) { limit_ = limit; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override {
        if (iid == IID_IUnknown || iid == IID_IMallocSpy) {
            *object = static_cast<IMallocSpy *>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T bytes) override { return bytes >= limit_ ? 0 : bytes; }
    void *STDMETHODCALLTYPE PostAlloc(void *actual) override { return actual; }
    void *STDMETHODCALLTYPE PreFree(void *request, BOOL) override { return request; }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void *request, SIZE_T bytes, void **newRequest,
                                        BOOL) override {
        *newRequest = request;
        return bytes >= limit_ ? 0 : bytes;
    }
    void *STDMETHODCALLTYPE PostRealloc(void *actual, BOOL) override { return actual; }
    void *STDMETHODCALLTYPE PreGetSize(void *request, BOOL) override { return request; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T actual, BOOL) override { return actual; }
    void *STDMETHODCALLTYPE PreDidAlloc(void *request, BOOL) override { return request; }
    int STDMETHODCALLTYPE PostDidAlloc(void *, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}

private:
    RefusingMallocSpy() { registered_ = SUCCEEDED(CoRegisterMallocSpy(this)); }

    SIZE_T limit_ = ~SIZE_T{0};
    bool registered_ = false;
};

// While it lives, the task allocator refuses every request of at least limit bytes.
class RefusedTaskMemory {
public:
    explicit RefusedTaskMemory(SIZE_T limit) { RefusingMallocSpy::Instance().Refuse(limit); }
    ~RefusedTaskMemory() { RefusingMallocSpy::Instance().Refuse(~SIZE_T{0}); }
    RefusedTaskMemory(const RefusedTaskMemory &) = delete;
    RefusedTaskMemory &operator=(const RefusedTaskMemory &) = delete;
    bool Registered() const { return RefusingMallocSpy::Instance().Registered(); }
};

// Each test runs in its own single-threaded apartment.
class ApartmentTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

} // namespace AutomationTest
