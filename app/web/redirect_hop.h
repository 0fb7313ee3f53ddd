// What the page fetch needs to follow a redirect itself: where a Location value leads, and which
// of the caller's header lines may go along to that address.
#pragma once

#include "values/value_blocks.h"

namespace web {

// How many redirects one fetch follows before it takes the last answer as the page.
constexpr int kMaxRedirects = 20;

// The address a Location value leads to from base: an absolute http or https address as it
// stands, otherwise resolved against base's scheme, host and port (and path, for a relative
// one). Null for an empty value and for any other scheme, which the fetch does not follow.
Text RedirectAddress(Text *base, const char *location);

// Whether a request for to may carry what the caller meant for from (its cookies, its referring
// address, its credentials): only to the same host, and never from HTTPS down to plain HTTP.
bool KeepsCallerCredentials(Text *from, Text *to);

// The header block without its Cookie, Referer and Authorization lines, its other lines kept in
// their order and joined by "\r\n".
Text HeadersWithoutCredentials(const char *headers);

} // namespace web
