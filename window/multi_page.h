// Multi-page containers (unit types with the multi-page flag): the container control keeps its
// current page the way the platform's tab control does; the engine shows the units listed on
// that page and hides those of the other pages.
#pragma once

#include <windows.h>

#include <cstdint>

// The container control's current page (0 for the first).
int32_t CurrentPageOf(HWND container);
// Makes page the container control's current page.
void SetCurrentPage(HWND container, int32_t page);
// RuntimeNotify 2039: shows the units on the current page of the container unitId (each as its
// visible flag says) and hides the units of its other pages; a focus inside the container goes
// to the page's first unit in tab order. 1 when unitId is a live multi-page container, else 0.
int32_t ShowCurrentPage(uint32_t windowId, uint32_t unitId);
