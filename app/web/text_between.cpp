// TextBetween and TextAfterColon, written as program code over the kernel commands.
#include "app/web/text_between.h"

#include "app/web/program_text.h"
#include "values/kernel_calls.h"

using namespace web;

namespace {
const char *const kQuoteMarker = ConstantText(Constant::QuoteMarker);
const char *const kQuote = ConstantText(Constant::DoubleQuote);
const char *const kColon = ConstantText(Constant::Colon);
} // namespace

Text TextBetween(Text *text, Text *left, Text *right, OptionalArgument start,
                 OptionalArgument ignoreCase) {
    Store(left, Kernel::ReplaceSubtext(Arg(*left), kQuoteMarker, kQuote, {}, {}, true));
    Store(right, Kernel::ReplaceSubtext(Arg(*right), kQuoteMarker, kQuote, {}, {}, true));
    const int32_t from = static_cast<int32_t>(start.value);
    const bool fold = ignoreCase.value != 0;
    int32_t p = Kernel::FindText(Arg(*text), Arg(*left), from, fold);
    if (p != -1) {
        p = Whole(static_cast<double>(p) + Kernel::TextLength(Arg(*left)));
    }
    const int32_t q = Kernel::FindText(Arg(*text), Arg(*right), p, fold);
    if (p == -1 || q == -1) {
        return nullptr;
    }
    return Kernel::MiddleText(Arg(*text), p, Whole(static_cast<double>(q) - p));
}

Text TextAfterColon(Text *text) {
    const int32_t p = Kernel::FindText(Arg(*text), kColon, {}, false);
    Text after = nullptr;
    if (p != -1) {
        after = Kernel::RightText(Arg(*text),
                                  Whole(static_cast<double>(Kernel::TextLength(Arg(*text))) - p));
    }
    Text trimmed = Kernel::TrimSpaces(Arg(after));
    FreeMemory(after);
    return trimmed;
}
