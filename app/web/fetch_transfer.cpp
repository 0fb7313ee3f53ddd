// Sending the request and reading the body through a thread that makes the blocking WinInet
// calls, so that the fetch can give up at its deadline.
#include "app/web/fetch_transfer.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "app/web/program_text.h"
#include "app/web/wininet_commands.h"

namespace web {
namespace {

// Each read asks for this much: enough to keep the number of calls (and of hand-overs to the
// transfer thread) small for a page of many megabytes.
constexpr uint32_t kReadChunkBytes = 64 * 1024;
constexpr uint32_t kFirstBodyCapacity = 64 * 1024;

using Deadline = std::chrono::steady_clock::time_point;

// The blocking calls the fetch hands to the transfer thread, one at a time.
enum class Call { kNone, kSend, kQueryAvailable, kRead, kStop };

// Shared by the fetch and the transfer thread; whichever lets go last frees it, and with it the
// body block a read abandoned at the deadline may still be writing into. Every allocation is made
// by the fetch's own thread, where a failed one is reported as anywhere else in the program.
struct Transfer {
    Transfer(const FetchHandles &handles, const SendPlan &plan)
        : request(handles.request), get(plan.get), headers(CopyText(Arg(plan.headers))),
          headersLength(plan.headersLength), post(CodeConcatByteSets(1, plan.postBytes)),
          postLength(static_cast<int32_t>(ByteSetCount(plan.postBytes))) {}
    ~Transfer() {
        FreeMemory(headers);
        FreeMemory(post);
        FreeMemory(body);
    }
    Transfer(const Transfer &) = delete;
    Transfer &operator=(const Transfer &) = delete;

    const uint32_t request;
    const bool get;
    const Text headers;
    const int32_t headersLength;
    const ByteSet post;
    const int32_t postLength;

    std::mutex mutex;
    std::condition_variable changed;
    Call call = Call::kNone; // the call asked for; kNone once it has returned
    uint32_t readAt = 0;     // kRead: where in the body block, and how many bytes
    uint32_t readBytes = 0;
    uint32_t result = 0;    // the last call's own result
    uint32_t count = 0;     // the bytes it reported available or read
    bool abandoned = false; // the deadline passed; the handles are closed
    ByteSet body = nullptr; // the body block, read into by the thread
};

uint32_t MakeCall(Transfer &transfer, Call call, uint32_t at, uint32_t bytes, uint32_t *count) {
    switch (call) {
    case Call::kSend:
        if (transfer.get) {
            return CallDll(kHttpSendRequestText, transfer.request, Word(Arg(transfer.headers)),
                           transfer.headersLength, Word(kEmptyText), 0);
        }
        return CallDll(kHttpSendRequestBytes, transfer.request, Word(Arg(transfer.headers)),
                       transfer.headersLength,
                       transfer.postLength > 0 ? Word(ByteSetBytes(transfer.post)) : 0,
                       transfer.postLength);
    case Call::kQueryAvailable:
        return CallDll(kInternetQueryDataAvailable, transfer.request, Word(count), 0, 0);
    case Call::kRead:
        return CallDll(kInternetReadFile, transfer.request,
                       Word(reinterpret_cast<uint8_t *>(transfer.body + 1) + at), bytes,
                       Word(count));
    default:
        return 0;
    }
}

// The transfer thread: makes each call it is handed until it is stopped or abandoned.
void Serve(std::shared_ptr<Transfer> transfer) {
    for (;;) {
        Call call;
        uint32_t at;
        uint32_t bytes;
        {
            std::unique_lock<std::mutex> lock(transfer->mutex);
            transfer->changed.wait(
                lock, [&] { return transfer->call != Call::kNone || transfer->abandoned; });
            if (transfer->abandoned || transfer->call == Call::kStop) {
                return;
            }
            call = transfer->call;
            at = transfer->readAt;
            bytes = transfer->readBytes;
        }
        uint32_t count = 0;
        const uint32_t result = MakeCall(*transfer, call, at, bytes, &count);
        std::lock_guard<std::mutex> lock(transfer->mutex);
        transfer->result = result;
        transfer->count = count;
        transfer->call = Call::kNone;
        transfer->changed.notify_all();
    }
}

struct Answer {
    bool inTime;
    uint32_t result;
    uint32_t count;
};

// Hands one call to the thread and waits for it until the deadline. Past the deadline the
// transfer is abandoned, and the handles are closed: under Windows that ends the call at once;
// under Wine it runs on until the server or a time-out ends it, and the thread then stops.
Answer Ask(Transfer &transfer, const FetchHandles &handles, Deadline deadline, Call call,
           uint32_t at = 0, uint32_t bytes = 0) {
    {
        std::unique_lock<std::mutex> lock(transfer.mutex);
        transfer.call = call;
        transfer.readAt = at;
        transfer.readBytes = bytes;
        transfer.changed.notify_all();
        if (transfer.changed.wait_until(lock, deadline,
                                        [&] { return transfer.call == Call::kNone; })) {
            return {true, transfer.result, transfer.count};
        }
        transfer.abandoned = true;
        transfer.changed.notify_all();
    }
    CloseHandles(handles);
    return {false, 0, 0};
}

void Stop(Transfer &transfer) {
    std::lock_guard<std::mutex> lock(transfer.mutex);
    transfer.call = Call::kStop;
    transfer.changed.notify_all();
}

// A larger block holding the first size bytes of body, which is freed. Copied here rather than
// by the heap's reallocation, which holds the heap's lock while it copies tens of megabytes.
ByteSet Grown(ByteSet body, uint32_t size, uint32_t capacity) {
    auto *grown = static_cast<ByteSet>(AllocateMemory(sizeof(ByteSetHeader) + capacity));
    if (body != nullptr) {
        std::memcpy(grown + 1, body + 1, size);
        FreeMemory(body);
    }
    return grown;
}

} // namespace

// Sends, then reads the whole body into a block that grows geometrically, so that reading stays
// linear in the body size. A read waits until its 64 KiB have come or the body has ended; a server
// that drips a byte a second stretches it, and the deadline ends the wait. The loop ends on the
// first read of 0 bytes, both the end of the body and a failed read; a body that would pass
// kMaxBodyBytes gives nothing.
TransferOutcome TransferWithin(const FetchHandles &handles, const SendPlan &plan,
                               Deadline deadline) {
    auto transfer = std::make_shared<Transfer>(handles, plan);
    try {
        std::thread(Serve, transfer).detach();
    } catch (const std::system_error &) {
        return {nullptr, true}; // no thread to be had: as a send that failed
    }
    if (!Ask(*transfer, handles, deadline, Call::kSend).inTime) {
        return {nullptr, false};
    }
    uint32_t capacity = 0;
    uint32_t size = 0;
    for (;;) {
        if (size == kMaxBodyBytes) {
            // The block is full: whether the body has ended decides, not another read into it.
            const Answer more = Ask(*transfer, handles, deadline, Call::kQueryAvailable);
            if (!more.inTime) {
                return {nullptr, false};
            }
            if (more.result != 0 && more.count > 0) {
                Stop(*transfer);
                return {nullptr, true};
            }
            break;
        }
        const uint32_t wanted = std::min(kReadChunkBytes, kMaxBodyBytes - size);
        if (size + wanted > capacity) {
            // Bounded by kMaxBodyBytes, the doubling cannot wrap.
            while (size + wanted > capacity) {
                capacity =
                    std::min(capacity == 0 ? kFirstBodyCapacity : capacity * 2, kMaxBodyBytes);
            }
            transfer->body = Grown(transfer->body, size, capacity);
        }
        const Answer read = Ask(*transfer, handles, deadline, Call::kRead, size, wanted);
        if (!read.inTime) {
            return {nullptr, false};
        }
        if (read.count == 0 || read.count > wanted) {
            break;
        }
        size += read.count;
    }
    Stop(*transfer);
    if (size == 0) {
        return {nullptr, true};
    }
    ByteSet body = transfer->body;
    transfer->body = nullptr;
    body = static_cast<ByteSet>(ReallocateMemory(body, sizeof(ByteSetHeader) + size));
    body->dimensionCount = 1;
    body->byteCount = size;
    return {body, true};
}

void CloseHandles(const FetchHandles &handles) {
    CallDll(kInternetCloseHandle, handles.request);
    CallDll(kInternetCloseHandle, handles.connection);
    CallDll(kInternetCloseHandle, handles.session);
}

} // namespace web
