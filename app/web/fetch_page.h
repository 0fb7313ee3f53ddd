// FetchPage: one HTTP or HTTPS request through WinInet, reached only through DLL commands.
#pragma once

#include "values/program_conventions.h"
#include "values/value_blocks.h"

// url: a Text variable. method: 0 GET, 1 POST, 2 HEAD (others GET). The optional parameters
// hold the address of the caller's variable (Text, or ByteSet for postBytes) except noRedirect,
// a logical by value. Returns the response body; the empty byte set when no request could be
// made (then headers, cookies and response headers are left as they were). A zero byte stands
// behind a returned body's bytes, outside their count: the body reads in place as a text.
ByteSet FetchPage(Text *url, int32_t method, OptionalArgument postText, OptionalArgument cookies,
                  OptionalArgument receivedCookies, OptionalArgument headers,
                  OptionalArgument responseHeaders, OptionalArgument noRedirect,
                  OptionalArgument postBytes, OptionalArgument proxy);
