// The window engine's side of the runtime while the program carries no window templates: the
// collection stays empty, so no window can be loaded, none is alive and none has idle work.
#include "image/image_layout.h"
#include "runtime/error_report.h"
#include "window/window_engine.h"

void LoadWindowTemplates(const ImageHeader &header) {
    if (header.templateSegmentSize > 0) {
        // No reader for the template format is linked into this build.
        ReportRuntimeError("载入窗口模板数据段出错!", 0);
    }
}

bool LoadWindowNonModal(uint32_t) {
    return false;
}

bool AnyLoadedWindowAlive() {
    return false;
}

bool RaiseWindowIdleEvents(uint32_t, GrowableBuffer &) {
    return false;
}

void ReleaseAllWindows() {}
