// The driver's check of what a screen reader hears for a control: the platform's accessibility
// layer asked from the driver's process, as a screen reader asks it.
#pragma once

#include <windows.h>

#include <string>

// Empty when the control's client object (AccessibleObjectFromWindow with OBJID_CLIENT) has
// the role (static, text, button, or * for any), the name and the value (code page 936 bytes,
// empty for none); otherwise what differs.
std::string AccessibleFault(HWND control, const std::string &role, const std::string &name,
                            const std::string &value);
