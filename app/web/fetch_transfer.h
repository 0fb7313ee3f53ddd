// The network half of a fetch, sending the request and reading the body, with each blocking
// WinInet call made on a thread of its own: the fetch waits for a call only until its deadline,
// because a call that a server keeps busy need not return (under Wine, closing the call's handle
// does not end it either).
#pragma once

// For std::chrono::steady_clock: <chrono> itself cannot be compiled for code page 936 texts (it
// holds a micro sign), and <condition_variable> brings the clocks without it.
#include <condition_variable>
#include <cstdint>

#include "values/value_blocks.h"

namespace web {

// The largest body a fetch accepts; a larger one fails the fetch before more is allocated.
constexpr uint32_t kMaxBodyBytes = 64u << 20;

// The three handles of one request, as the fetch opened them.
struct FetchHandles {
    uint32_t session;
    uint32_t connection;
    uint32_t request;
};

// What to send: the completed header block and, for methods other than GET, the request data
// (null for none). The transfer works on copies of both.
struct SendPlan {
    bool get;
    const char *headers;
    int32_t headersLength;
    ByteSet postBytes;
};

struct TransferOutcome {
    ByteSet body;     // the body, owned by the caller; null when nothing was read or on a bound
    bool handlesOpen; // false: the deadline passed and the handles are closed already
};

// Sends the request, reads the body, and returns when both are done or the deadline has passed.
// At the deadline the handles are closed, innermost first, and the thread is left to wind down
// on its own: it makes no further call and frees what it holds when its last call returns.
TransferOutcome TransferWithin(const FetchHandles &handles, const SendPlan &plan,
                               std::chrono::steady_clock::time_point deadline);

// Closes request, connection and session, in that order.
void CloseHandles(const FetchHandles &handles);

} // namespace web
