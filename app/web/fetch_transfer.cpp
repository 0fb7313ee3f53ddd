// Sending the request and reading the body on a thread that the fetch can abandon at its
// deadline.
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

// Each read asks for at most this much: enough to keep the number of calls small for a page of
// many megabytes, small enough to stay a modest block.
constexpr uint32_t kReadChunkBytes = 64 * 1024;
constexpr uint32_t kFirstBodyCapacity = 64 * 1024;

// Shared by the fetch and the transfer thread; whichever lets go last frees it.
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
    std::condition_variable ended;
    bool finished = false;  // the thread has made its last call
    bool abandoned = false; // the deadline passed; the handles are closed
    ByteSet body = nullptr;
};

bool Abandoned(Transfer &transfer) {
    std::lock_guard<std::mutex> lock(transfer.mutex);
    return transfer.abandoned;
}

void Send(Transfer &transfer) {
    if (transfer.get) {
        CallDll(kHttpSendRequestText, transfer.request, Word(Arg(transfer.headers)),
                transfer.headersLength, Word(kEmptyText), 0);
    } else {
        const uint32_t data = transfer.postLength > 0 ? Word(ByteSetBytes(transfer.post)) : 0;
        CallDll(kHttpSendRequestBytes, transfer.request, Word(Arg(transfer.headers)),
                transfer.headersLength, data, transfer.postLength);
    }
}

// A larger block holding the first size bytes of body, which is freed. Copied here rather than
// by the heap's reallocation, which holds the heap's lock while it copies: the fetch's own thread,
// allocating at its deadline, would wait for a copy of tens of megabytes.
ByteSet Grown(ByteSet body, uint32_t size, uint32_t capacity) {
    auto *grown = static_cast<ByteSet>(AllocateMemory(sizeof(ByteSetHeader) + capacity));
    if (body != nullptr) {
        std::memcpy(grown + 1, body + 1, size);
        FreeMemory(body);
    }
    return grown;
}

// Reads the whole body into a block that grows geometrically, so that reading stays linear in
// the body size. Each read asks only for what the platform holds already: a read of more would
// wait until that much has come, which a server dripping a byte a second stretches without end,
// while a short read lets the thread notice between reads that it was abandoned. The loop ends
// on the first read of 0 bytes, both the end of the body and a failed read; a body that would
// pass kMaxBodyBytes gives nothing.
ByteSet ReadBody(Transfer &transfer) {
    ByteSet body = nullptr;
    uint32_t capacity = 0;
    uint32_t size = 0;
    while (!Abandoned(transfer)) {
        uint32_t available = 0;
        if (CallDll(kInternetQueryDataAvailable, transfer.request, Word(&available), 0, 0) == 0 ||
            available == 0) {
            break;
        }
        const uint32_t wanted = std::min(available, kReadChunkBytes);
        if (wanted > kMaxBodyBytes - size) {
            FreeMemory(body);
            return nullptr;
        }
        if (size + wanted > capacity) {
            // Bounded by kMaxBodyBytes, the doubling cannot wrap.
            while (size + wanted > capacity) {
                capacity =
                    std::min(capacity == 0 ? kFirstBodyCapacity : capacity * 2, kMaxBodyBytes);
            }
            body = Grown(body, size, capacity);
        }
        uint32_t bytesRead = 0;
        CallDll(kInternetReadFile, transfer.request,
                Word(reinterpret_cast<uint8_t *>(body + 1) + size), wanted, Word(&bytesRead));
        if (bytesRead == 0 || bytesRead > wanted) {
            break;
        }
        size += bytesRead;
    }
    if (size == 0) {
        FreeMemory(body);
        return nullptr;
    }
    body = static_cast<ByteSet>(ReallocateMemory(body, sizeof(ByteSetHeader) + size));
    body->dimensionCount = 1;
    body->byteCount = size;
    return body;
}

void RunTransfer(std::shared_ptr<Transfer> transfer) {
    Send(*transfer);
    ByteSet body = Abandoned(*transfer) ? nullptr : ReadBody(*transfer);
    std::lock_guard<std::mutex> lock(transfer->mutex);
    transfer->body = body;
    transfer->finished = true;
    transfer->ended.notify_all();
}

} // namespace

TransferOutcome TransferWithin(const FetchHandles &handles, const SendPlan &plan,
                               std::chrono::steady_clock::time_point deadline) {
    auto transfer = std::make_shared<Transfer>(handles, plan);
    try {
        std::thread(RunTransfer, transfer).detach();
    } catch (const std::system_error &) {
        // No thread to be had: the transfer runs here, bounded by the platform's time-outs only.
        RunTransfer(transfer);
    }
    {
        std::unique_lock<std::mutex> lock(transfer->mutex);
        if (transfer->ended.wait_until(lock, deadline, [&] { return transfer->finished; })) {
            ByteSet body = transfer->body;
            transfer->body = nullptr;
            return {body, true};
        }
        transfer->abandoned = true;
    }
    // Closing ends a call blocked on the handles at once under Windows; under Wine the call runs
    // on until the server or a time-out ends it, and the thread, which looks before each call,
    // then makes no further one.
    CloseHandles(handles);
    return {nullptr, false};
}

void CloseHandles(const FetchHandles &handles) {
    CallDll(kInternetCloseHandle, handles.request);
    CallDll(kInternetCloseHandle, handles.connection);
    CallDll(kInternetCloseHandle, handles.session);
}

} // namespace web
