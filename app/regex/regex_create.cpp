// Create, GetPattern and Replace: configuring the component, running a pattern over a subject,
// and what the component makes of the last subject.
#include "app/regex/regex_object.h"

#include "app/regex/regex_program.h"
#include "regex/component/regexp_component.h"
#include "values/kernel_calls.h"

namespace Regex {
namespace {

// A logical optional argument: its value when given, otherwise the default.
int32_t LogicalOr(OptionalArgument argument, int32_t byDefault) {
    if (argument.givenFlag == 0) {
        return byDefault;
    }
    return argument.value != 0 ? 1 : 0;
}

// The pattern to hand the component: with the quote marker on, every "#引号" becomes a double
// quote (matched with letter case); otherwise a copy.
Text PatternToUse(const char *pattern, bool quoteMarker) {
    if (quoteMarker) {
        return Kernel::ReplaceSubtext(Arg(pattern), Named(Constant::QuoteMarker),
                                      Named(Constant::DoubleQuote), {}, {}, true);
    }
    return CodeConcatTexts(1, Arg(pattern));
}

} // namespace

bool Create(RegexObject **self, Text *pattern, Text *subject, OptionalArgument caseSensitive,
            OptionalArgument multiLine, OptionalArgument global, OptionalArgument quoteMarker) {
    RegexObject *instance = *self;
    // Logical variables, passed to the component by reference.
    int32_t ignoreCase = LogicalOr(caseSensitive, 0) != 0 ? 0 : 1;
    int32_t multiLineValue = LogicalOr(multiLine, 1);
    int32_t globalValue = LogicalOr(global, 1);

    Kernel::ObjectClear(instance->regex);
    Kernel::ObjectClear(instance->matches);
    // The program's own component, created in-process, matches in time linear in the subject;
    // the platform's backtracks, and a hostile page can keep it busy for hours. The platform's
    // takes its place only where ours cannot be made (the executable's type library missing).
    if (!RegExpComponent::CreateRegExpInto(instance->regex)) {
        Kernel::ObjectCreate(instance->regex, Named(Constant::RegexProgId));
    }
    Kernel::ObjectWriteProperty(instance->regex, Named(Constant::NameIgnoreCase),
                                Kernel::ReferenceArgument(kTypeBoolean, &ignoreCase));
    Kernel::ObjectWriteProperty(instance->regex, Named(Constant::NameMultiline),
                                Kernel::ReferenceArgument(kTypeBoolean, &multiLineValue));
    // The component has no such property: the write fails and only sets the status, so "."
    // keeps never matching a line feed.
    Kernel::ObjectWriteProperty(instance->regex, Named(Constant::NameSingleline),
                                Kernel::BooleanArgument(true));
    Kernel::ObjectWriteProperty(instance->regex, Named(Constant::NameGlobal),
                                Kernel::ReferenceArgument(kTypeBoolean, &globalValue));

    Text used = PatternToUse(*pattern, LogicalOr(quoteMarker, 0) != 0);
    Kernel::ObjectWriteProperty(instance->regex, Named(Constant::NamePattern),
                                Kernel::ReferenceArgument(kTypeText, &used));
    ProgramCall::FreeMemory(used);

    Kernel::VariantAssign(instance->subject, Kernel::TextArgument(Arg(*subject)));
    ComObject *found = Kernel::ObjectCallObjectMethod(instance->regex, Named(Constant::NameExecute),
                                                      Kernel::VariantArgument(instance->subject));
    FreeObject(instance->matches);
    instance->matches = found;
    return !Kernel::ObjectIsEmpty(instance->matches);
}

Text GetPattern(RegexObject **self) {
    RegexObject *instance = *self;
    Text pattern = Kernel::ObjectReadTextProperty(instance->regex, Named(Constant::NamePattern));
    if (Kernel::ObjectIsEmpty(instance->regex)) {
        ProgramCall::FreeMemory(pattern);
        return nullptr;
    }
    return pattern;
}

Text Replace(RegexObject **self, OptionalArgument replacement) {
    RegexObject *instance = *self;
    const char *with = Named(Constant::EmptyText);
    if (replacement.givenFlag != 0) {
        with = Arg(*reinterpret_cast<Text *>(static_cast<uintptr_t>(replacement.value)));
    }
    VariantBlock *temporary = NewVariantBlock();
    Kernel::VariantAssign(temporary, Kernel::TextArgument(with));
    Text replaced = Kernel::ObjectCallTextMethod(instance->regex, Named(Constant::NameReplace),
                                                 Kernel::VariantArgument(instance->subject),
                                                 Kernel::VariantArgument(temporary));
    FreeVariant(temporary);
    return replaced;
}

} // namespace Regex
