// How long one fetch may take in all, from its start until its handles are closed.
#pragma once

#include <cstdint>

namespace web {

// The platform's time-outs bound each wait for the network, not the whole fetch: a server that
// drips a byte a second or sends header lines without end restarts them for ever. A fetch still
// working this long after it began is abandoned and ends as a failed fetch.
constexpr uint32_t kFetchDeadlineMilliseconds = 60000;

// The deadline fetches keep: kFetchDeadlineMilliseconds unless shortened.
uint32_t FetchDeadlineMilliseconds();

// Lets a test variant of the program (never the shipped one) try the deadline without waiting a
// minute per case; a value of 0, or one above the default, keeps the default.
void ShortenFetchDeadline(uint32_t milliseconds);

} // namespace web
