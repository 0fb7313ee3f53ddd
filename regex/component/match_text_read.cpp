// Reading a value of a match collection that program code holds in a ComObject block.
#include "regex/component/match_text_read.h"

#include "regex/component/match_objects.h"
#include "values/com_object.h"

namespace RegExpComponent {

bool ReadMatchTextFrom(const ComObject *matches, int32_t match, int32_t group, char **text) {
    return matches != nullptr && matches->record == nullptr && group >= 0 &&
           ReadMatchText(matches->object, match, static_cast<uint32_t>(group), text);
}

} // namespace RegExpComponent
