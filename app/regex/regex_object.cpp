// The regular-expression class's life: making an instance, Initialize and Destroy around one
// use of the component library, Dispose, Clone, and the operation table in slot order.
#include "app/regex/regex_object.h"

#include "app/regex/regex_program.h"
#include "app/web/wininet_commands.h"

namespace Regex {
namespace {

// Starts the platform's component library for this thread: CoInitialize(null).
void StartComponentLibrary() {
    web::CallDll(web::kCoInitialize, 0);
}

} // namespace

RegexObject *NewInstance() {
    auto *self = static_cast<RegexObject *>(ProgramCall::AllocateMemory(sizeof(RegexObject)));
    self->operations = &RegexOperations;
    self->regex = NewObjectBlock();
    self->matches = NewObjectBlock();
    self->subject = NewVariantBlock();
    return self;
}

void Initialize(RegexObject ** /*self*/) {
    StartComponentLibrary();
}

void Destroy(RegexObject *self) {
    Kernel::ObjectClear(self->regex);
    Kernel::ObjectClear(self->matches);
    Kernel::VariantReset(self->subject);
    web::CallDll(web::kCoUninitialize);
}

void Dispose(RegexObject *self) {
    Destroy(self);
    FreeObject(self->regex);
    FreeObject(self->matches);
    FreeVariant(self->subject);
}

// The copy is initialized like any new instance, so that its own Dispose balances the use of
// the component library it closes.
RegexObject *Clone(RegexObject *self) {
    RegexObject *copy = NewInstance();
    Initialize(&copy);
    Kernel::ObjectCopy(copy->regex, self->regex);
    Kernel::ObjectCopy(copy->matches, self->matches);
    Kernel::VariantDuplicate(copy->subject, self->subject);
    return copy;
}

void EmptyOperation(RegexObject ** /*self*/) {}

} // namespace Regex

const RegexOperationTable RegexOperations = {
    Regex::Dispose,      Regex::Clone,         Regex::Create,     Regex::EmptyOperation,
    Regex::GetPattern,   Regex::Replace,       Regex::MatchCount, Regex::MatchText,
    Regex::SubMatchText, Regex::SubMatchCount,
};
