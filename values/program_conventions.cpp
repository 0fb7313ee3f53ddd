// Checked element access and selection for program code.
#include "values/program_conventions.h"

#include "runtime/error_report.h"
#include "values/code_helpers.h"

namespace {

constexpr int kErrorIndexAboveCount = 1;
constexpr int kErrorIndexBelowOne = 4;
constexpr int kErrorSelectionOutOfRange = 9;

} // namespace

void *CheckedElementAddress(const void *array, int32_t index, uint32_t elementSize) {
    if (index < 1) {
        ReportError(kErrorIndexBelowOne);
    }
    const ArrayExtent extent = CodeArrayCountOrZero(array);
    if (static_cast<uint32_t>(index) > extent.count) {
        ReportError(kErrorIndexAboveCount);
    }
    return extent.elements + static_cast<uint32_t>(index - 1) * elementSize;
}

int32_t CheckedSelectionIndex(int32_t index, int32_t count) {
    if (index < 0 || index >= count) {
        ReportError(kErrorSelectionOutOfRange);
    }
    return index;
}
