// Handing a new regular-expression object to program code in a ComObject block.
#include "regex/component/regexp_component.h"
#include "values/com_object.h"

namespace RegExpComponent {

bool CreateRegExpInto(ComObject *target) {
    IUnknown *created = CreateRegExp();
    if (created == nullptr) {
        return false;
    }
    EmptyComObject(target);
    target->object = created;
    return true;
}

} // namespace RegExpComponent
