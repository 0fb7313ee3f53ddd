// AccessibleUnitObject: the platform's standard object for a unit's window, with the label's
// role and name and the edit box's name answered by the unit.
#include "window/accessibility/accessible_object.h"

#include <string>

#include "window/accessibility/box_label.h"

namespace {

// What a call on an object whose window has gone answers.
constexpr HRESULT kDisconnected = CO_E_OBJNOTCONNECTED;

bool IsSelf(const VARIANT &child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT TextAnswer(const std::wstring &text, BSTR *answer) {
    if (answer == nullptr)
        return E_POINTER;
    *answer = nullptr;
    if (text.empty())
        return S_FALSE;
    *answer = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *answer != nullptr ? S_OK : E_OUTOFMEMORY;
}

} // namespace

AccessibleUnitObject::AccessibleUnitObject(HWND window, AccessibleUnitKind kind,
                                           IAccessible *standard)
    : window_(window), kind_(kind), standard_(standard) {}

AccessibleUnitObject::~AccessibleUnitObject() {
    if (standard_ != nullptr)
        standard_->Release();
}

void AccessibleUnitObject::Disconnect() {
    if (standard_ == nullptr)
        return;
    // Drops the references that the marshalling holds for clients in other processes,
    // including those of an answer that no client has taken up. The caller holds its own.
    CoDisconnectObject(static_cast<IAccessible *>(this), 0);
    standard_->Release();
    standard_ = nullptr;
    window_ = nullptr;
}

HRESULT AccessibleUnitObject::QueryInterface(REFIID iid, void **object) {
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, IID_IAccessible)) {
        *object = static_cast<IAccessible *>(this);
    } else if (IsEqualIID(iid, IID_IOleWindow)) {
        *object = static_cast<IOleWindow *>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG AccessibleUnitObject::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG AccessibleUnitObject::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

// The unit's own answers.

HRESULT AccessibleUnitObject::get_accName(VARIANT child, BSTR *name) {
    if (standard_ == nullptr)
        return kDisconnected;
    if (!IsSelf(child))
        return standard_->get_accName(child, name);
    // A label draws its caption without mnemonic prefixes: its name is the caption as shown.
    return TextAnswer(kind_ == AccessibleUnitKind::kStaticText ? UnitWindowText(window_)
                                                               : BoxLabelText(window_),
                      name);
}

HRESULT AccessibleUnitObject::get_accRole(VARIANT child, VARIANT *role) {
    if (standard_ == nullptr)
        return kDisconnected;
    if (kind_ != AccessibleUnitKind::kStaticText || !IsSelf(child))
        return standard_->get_accRole(child, role);
    if (role == nullptr)
        return E_POINTER;
    role->vt = VT_I4;
    role->lVal = ROLE_SYSTEM_STATICTEXT;
    return S_OK;
}

HRESULT AccessibleUnitObject::get_accState(VARIANT child, VARIANT *state) {
    if (standard_ == nullptr)
        return kDisconnected;
    const HRESULT result = standard_->get_accState(child, state);
    // Static text takes no focus and cannot be changed, whatever a generic object says.
    if (kind_ == AccessibleUnitKind::kStaticText && IsSelf(child) && result == S_OK &&
        state->vt == VT_I4) {
        state->lVal &= ~(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
        state->lVal |= STATE_SYSTEM_READONLY;
    }
    return result;
}

HRESULT AccessibleUnitObject::GetWindow(HWND *window) {
    if (window == nullptr)
        return E_POINTER;
    *window = window_;
    return window_ != nullptr ? S_OK : kDisconnected;
}

HRESULT AccessibleUnitObject::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}

// Everything else as the platform's standard object answers it.

HRESULT AccessibleUnitObject::GetTypeInfoCount(UINT *count) {
    return standard_ != nullptr ? standard_->GetTypeInfoCount(count) : kDisconnected;
}

HRESULT AccessibleUnitObject::GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) {
    return standard_ != nullptr ? standard_->GetTypeInfo(index, locale, info) : kDisconnected;
}

HRESULT AccessibleUnitObject::GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT count, LCID locale,
                                            DISPID *ids) {
    return standard_ != nullptr ? standard_->GetIDsOfNames(iid, names, count, locale, ids)
                                : kDisconnected;
}

HRESULT AccessibleUnitObject::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS *parameters, VARIANT *result, EXCEPINFO *exception,
                                     UINT *argumentError) {
    return standard_ != nullptr ? standard_->Invoke(id, iid, locale, flags, parameters, result,
                                                    exception, argumentError)
                                : kDisconnected;
}

HRESULT AccessibleUnitObject::get_accParent(IDispatch **parent) {
    return standard_ != nullptr ? standard_->get_accParent(parent) : kDisconnected;
}

HRESULT AccessibleUnitObject::get_accChildCount(LONG *count) {
    return standard_ != nullptr ? standard_->get_accChildCount(count) : kDisconnected;
}

HRESULT AccessibleUnitObject::get_accChild(VARIANT child, IDispatch **object) {
    return standard_ != nullptr ? standard_->get_accChild(child, object) : kDisconnected;
}

HRESULT AccessibleUnitObject::get_accValue(VARIANT child, BSTR *value) {
    return standard_ != nullptr ? standard_->get_accValue(child, value) : kDisconnected;
}

HRESULT AccessibleUnitObject::get_accDescription(VARIANT child, BSTR *description) {
    return standard_ != nullptr ? standard_->get_accDescription(child, description) : kDisconnected;
}

HRESULT AccessibleUnitObject::get_accHelp(VARIANT child, BSTR *help) {
    return standard_ != nullptr ? standard_->get_accHelp(child, help) : kDisconnected;
}

HRESULT AccessibleUnitObject::get_accHelpTopic(BSTR *file, VARIANT child, LONG *topic) {
    return standard_ != nullptr ? standard_->get_accHelpTopic(file, child, topic) : kDisconnected;
}

HRESULT AccessibleUnitObject::get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) {
    return standard_ != nullptr ? standard_->get_accKeyboardShortcut(child, shortcut)
                                : kDisconnected;
}

HRESULT AccessibleUnitObject::get_accFocus(VARIANT *child) {
    return standard_ != nullptr ? standard_->get_accFocus(child) : kDisconnected;
}

HRESULT AccessibleUnitObject::get_accSelection(VARIANT *children) {
    return standard_ != nullptr ? standard_->get_accSelection(children) : kDisconnected;
}

HRESULT AccessibleUnitObject::get_accDefaultAction(VARIANT child, BSTR *action) {
    return standard_ != nullptr ? standard_->get_accDefaultAction(child, action) : kDisconnected;
}

HRESULT AccessibleUnitObject::accSelect(LONG flags, VARIANT child) {
    return standard_ != nullptr ? standard_->accSelect(flags, child) : kDisconnected;
}

HRESULT AccessibleUnitObject::accLocation(LONG *left, LONG *top, LONG *width, LONG *height,
                                          VARIANT child) {
    return standard_ != nullptr ? standard_->accLocation(left, top, width, height, child)
                                : kDisconnected;
}

HRESULT AccessibleUnitObject::accNavigate(LONG direction, VARIANT start, VARIANT *end) {
    return standard_ != nullptr ? standard_->accNavigate(direction, start, end) : kDisconnected;
}

HRESULT AccessibleUnitObject::accHitTest(LONG left, LONG top, VARIANT *child) {
    return standard_ != nullptr ? standard_->accHitTest(left, top, child) : kDisconnected;
}

HRESULT AccessibleUnitObject::accDoDefaultAction(VARIANT child) {
    return standard_ != nullptr ? standard_->accDoDefaultAction(child) : kDisconnected;
}

HRESULT AccessibleUnitObject::put_accName(VARIANT child, BSTR name) {
    return standard_ != nullptr ? standard_->put_accName(child, name) : kDisconnected;
}

HRESULT AccessibleUnitObject::put_accValue(VARIANT child, BSTR value) {
    return standard_ != nullptr ? standard_->put_accValue(child, value) : kDisconnected;
}
