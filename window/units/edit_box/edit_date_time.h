// The date-time input mode's text: what the user typed read as a date-time, written back as the
// runtime's date text.
#pragma once

#include <string>

// The date text of the value text reads as (the runtime's "2024年1月2日" form, with the time of
// day when it is not midnight), or the empty text when it reads as no date or as day 0.
// Readable are the runtime's own form and whatever the platform's date parser accepts.
std::string NormaliseDateTimeText(const std::string &text);
