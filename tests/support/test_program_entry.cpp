// ProgramEntry of the runtime's unit test executables: GoogleTest's main runs instead of the
// framework, so this entry is never called; the runtime links against it all the same.
#include "runtime/program_entry.h"

extern "C" uint32_t ProgramEntry() {
    return 0;
}
