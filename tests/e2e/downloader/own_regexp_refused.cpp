// Linked into a test build of the downloader in place of the component's own creation routine:
// the program's own regular-expression component can never be made there, as when the type
// library it reads from the executable is missing, so every click falls back on the platform's
// "VBScript.RegExp". The linker takes this definition and never pulls the component's from its
// library.
#include "regex/component/regexp_component.h"

namespace RegExpComponent {

bool CreateRegExpInto(ComObject *) {
    return false;
}

} // namespace RegExpComponent
