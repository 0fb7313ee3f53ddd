// URL decomposition for the page fetch: host, port and object path, cut from the URL as text.
#pragma once

#include <cstdint>

#include "values/program_conventions.h"
#include "values/value_blocks.h"

// The lower-cased host. Without level: the text between the scheme ("http://" is assumed when
// none is written) and the next "/", its last two labels with mainDomain, the port cut off
// unless keepPort. With level given: the host counted back level dots (see url_parts.cpp).
Text UrlHost(Text *url, OptionalArgument mainDomain, OptionalArgument keepPort,
             OptionalArgument level);
// The number after the host's last colon (what ToInteger makes of it, so it may lie outside
// 0..65535); without a colon 443 for URLs beginning "https" and 80 otherwise.
int32_t UrlPort(Text *url);
// The URL from the first "/" at or behind the host, as typed; "/" when there is none.
Text UrlPath(Text *url);

// The three-option call with every option left out.
inline Text UrlHost(Text *url) {
    return UrlHost(url, {0, 0}, {0, 0}, {0, 0});
}
