// AccessibleUnitObject: the accessible object of a unit's window. It wraps the platform's
// standard object for that window (value, states, shortcut, location, selection and caret as the
// platform gives them) and answers only what the unit's kind changes: the role and name of a
// label, the name of an edit box.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include "window/accessibility/unit_accessible.h"

class AccessibleUnitObject final : public IAccessible, public IOleWindow {
public:
    // Takes over one reference to standard; the new object holds one reference of its own.
    AccessibleUnitObject(HWND window, AccessibleUnitKind kind, IAccessible *standard);
    AccessibleUnitObject(const AccessibleUnitObject &) = delete;
    AccessibleUnitObject &operator=(const AccessibleUnitObject &) = delete;

    // Called when the window goes: releases what other processes hold through the platform's
    // marshalling and the standard object; every later call fails as disconnected.
    void Disconnect();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IOleWindow: the platform finds the window of an accessible object through it.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND *window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override;
    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG *count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, LONG *topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override;
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(LONG *left, LONG *top, LONG *width, LONG *height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT *end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT *child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;
    // IDispatch, as the standard object answers it
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT count, LCID locale,
                                            DISPID *ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS *parameters, VARIANT *result, EXCEPINFO *exception,
                                     UINT *argumentError) override;

private:
    ~AccessibleUnitObject();

    LONG references_ = 1;
    HWND window_; // null once disconnected
    AccessibleUnitKind kind_;
    IAccessible *standard_; // the platform's object for the window; null once disconnected
};
