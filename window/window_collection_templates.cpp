// The window engine's side of the runtime until windows can be loaded: the collection holds the
// templates read at start-up, no window can be loaded yet, none is alive and none has idle work.
#include "image/image_layout.h"
#include "window/template_reader.h"
#include "window/window_engine.h"

namespace {

WindowTemplateList &Templates() {
    static WindowTemplateList templates;
    return templates;
}

} // namespace

void LoadWindowTemplates(const ImageHeader &header) {
    if (header.templateSegmentSize == 0) {
        return;
    }
    WindowTemplateList loaded =
        LoadWindowTemplates(header.templateSegment, header.templateSegmentSize,
                            reinterpret_cast<uint32_t>(header.codeBase));
    for (auto &window : loaded) {
        Templates().push_back(std::move(window));
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

void ReleaseAllWindows() {
    Templates().clear();
}
