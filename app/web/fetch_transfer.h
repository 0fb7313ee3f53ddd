// The network half of a fetch: the blocking WinInet calls (the send, each read, closing the
// handles) are made on a transfer thread, and the window thread waits for each answer in the
// runtime's wait that keeps the windows alive, until the fetch's deadline or until a close is
// asked for. A call not answered by then is abandoned with its thread: that thread closes the
// handles once its call returns, frees what it holds and ends. Every read returns at the next
// piece of the body that comes in (or at the receive time-out), so an abandoned thread ends soon
// even when a server keeps the body dribbling for ever. The handles are not closed from the
// window thread to cancel the call: under Wine that does not release it, and WinInet may hand the
// freed handle values to the next fetch while the abandoned thread still uses them.
#pragma once

// For std::chrono::steady_clock: <chrono> itself cannot be compiled for code page 936 texts (it
// holds a micro sign), and <condition_variable> brings the clocks without it.
#include <condition_variable>
#include <cstdint>

#include "values/value_blocks.h"

namespace web {

// The largest body a fetch accepts; a larger one fails the fetch before more is allocated.
constexpr uint32_t kMaxBodyBytes = 64u << 20;

using Deadline = std::chrono::steady_clock::time_point;

// The three handles of one request, as the fetch opened them.
struct FetchHandles {
    uint32_t session;
    uint32_t connection;
    uint32_t request;
};

// What to send: the completed header block and, for methods other than GET, the request data
// (null for none). The transfer thread sends copies of both.
struct SendPlan {
    bool get;
    const char *headers;
    int32_t headersLength;
    ByteSet postBytes;
};

struct TransferThread;

// One fetch's use of the transfer thread.
struct Transfer {
    TransferThread *thread; // null when none could be made, or once abandoned
    bool abandoned;         // a call was given up: the handles are the abandoned thread's
    FetchHandles handles;
    Deadline deadline;
};

// Takes the idle transfer thread for the handles, or makes one when there is none (at the first
// fetch, after one was abandoned, and for a fetch nested in another's wait, whose thread is
// busy). Its record, with the thread's 256 KiB read buffer, comes from the runtime heap. When the
// platform makes no thread, the calls fail as a send that failed would.
Transfer BeginTransfer(const FetchHandles &handles, Deadline deadline);

// Sends the request; false when it failed to answer in time (or no thread could be made).
bool SendWithin(Transfer &transfer, const SendPlan &plan);

// Reads the whole body into a block that grows geometrically, copying each piece out of the
// thread's buffer once its read has answered in time. Stops at the first read of 0 bytes (the
// end of the body, or a failed read). The body, owned by the caller, is null when nothing was
// read, when it would pass kMaxBodyBytes, or when a call was abandoned (transfer.abandoned).
ByteSet ReadBodyWithin(Transfer &transfer);

// Closes request, connection and session, in that order, on the transfer thread until the
// deadline; an abandoned transfer's thread closes them itself. The thread is then kept idle for
// the next fetch, or ends when another is already kept.
void EndTransfer(Transfer &transfer);

} // namespace web
