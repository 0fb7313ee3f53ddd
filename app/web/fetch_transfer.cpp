// The transfer thread of the fetches and the window thread's side of each call it makes.
#include "app/web/fetch_transfer.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "app/web/program_text.h"
#include "app/web/wininet_commands.h"
#include "runtime/program_calls.h"

namespace web {
namespace {

// Each read asks for this much: enough to keep the number of calls (and of hand-overs to the
// transfer thread) small for a page of many megabytes.
constexpr uint32_t kReadChunkBytes = 256 * 1024;
constexpr uint32_t kFirstBodyCapacity = 64 * 1024;
// The transfer thread's stack, reserved: WinInet's calls, TLS included, need far less than the
// executable's default, and Wine commits a thread's whole stack, which an abandoned thread keeps
// until the platform lets it go.
constexpr SIZE_T kTransferStackBytes = 256 * 1024;

// The blocking calls the fetch hands to the transfer thread, one at a time.
enum class Call { kSend, kQueryAvailable, kRead, kClose };

// Who has the record: the thread while a call runs, the waiting fetch otherwise; an abandoned
// thread keeps it and frees it when it ends.
enum TransferState : LONG { kIdle, kBusy, kAbandoned };

} // namespace

// The transfer thread's record, on the runtime heap. The fetch writes the call and its
// arguments while the thread is idle; the thread writes the answer before it signals.
struct TransferThread {
    HANDLE thread;
    HANDLE asked;        // auto-reset: a call is waiting for the thread
    HANDLE answered;     // auto-reset: the call has returned
    volatile LONG state; // TransferState, changed only by interlocked exchange
    Call call;
    FetchHandles handles; // those of the fetch being served; closed ones are cleared
    bool get;             // kSend: the text or the byte form of the send
    void *sendCopy;       // kSend: the header block, then the request data; freed by the thread
    int32_t headersLength;
    int32_t postLength;
    uint32_t readBytes; // kRead: how many bytes to ask for
    uint32_t result;    // the call's own result
    uint32_t count;     // the bytes it reported available or read
    uint8_t buffer[kReadChunkBytes];
};

namespace {

// The process's transfer thread while it is idle or serving a fetch; window-thread state.
TransferThread *gTransferThread = nullptr;

void CloseOpenHandles(FetchHandles &handles) {
    for (uint32_t *handle : {&handles.request, &handles.connection, &handles.session}) {
        if (*handle != 0) {
            CallDll(kInternetCloseHandle, *handle);
            *handle = 0;
        }
    }
}

uint32_t MakeCall(TransferThread &t, uint32_t *count) {
    switch (t.call) {
    case Call::kSend: {
        const auto *headers = static_cast<const char *>(t.sendCopy);
        const char *post = headers + t.headersLength + 1;
        const uint32_t result =
            t.get ? CallDll(kHttpSendRequestText, t.handles.request, Word(headers), t.headersLength,
                            Word(kEmptyText), 0)
                  : CallDll(kHttpSendRequestBytes, t.handles.request, Word(headers),
                            t.headersLength, t.postLength > 0 ? Word(post) : 0, t.postLength);
        FreeMemory(t.sendCopy);
        t.sendCopy = nullptr;
        return result;
    }
    case Call::kQueryAvailable:
        return CallDll(kInternetQueryDataAvailable, t.handles.request, Word(count), 0, 0);
    case Call::kRead:
        return CallDll(kInternetReadFile, t.handles.request, Word(t.buffer), t.readBytes,
                       Word(count));
    case Call::kClose:
        CloseOpenHandles(t.handles);
        return 1;
    }
    return 0;
}

// The transfer thread: makes each call it is handed. When the fetch gave a call up, the thread
// closes what is still open as soon as the platform lets it go, frees its record and ends.
DWORD WINAPI ServeTransfers(void *record) {
    auto *t = static_cast<TransferThread *>(record);
    for (;;) {
        WaitForSingleObject(t->asked, INFINITE);
        uint32_t count = 0;
        t->result = MakeCall(*t, &count);
        t->count = count;
        if (InterlockedCompareExchange(&t->state, kIdle, kBusy) != kBusy) {
            break;
        }
        SetEvent(t->answered);
    }
    CloseOpenHandles(t->handles);
    FreeMemory(t->sendCopy);
    CloseHandle(t->asked);
    CloseHandle(t->answered);
    CloseHandle(t->thread);
    FreeMemory(t);
    return 0;
}

// A new transfer thread, or null when the platform makes none.
TransferThread *NewTransferThread() {
    auto *t = static_cast<TransferThread *>(AllocateMemory(sizeof(TransferThread)));
    std::memset(static_cast<void *>(t), 0, offsetof(TransferThread, buffer));
    t->asked = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    t->answered = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (t->asked != nullptr && t->answered != nullptr) {
        t->thread = CreateThread(nullptr, kTransferStackBytes, &ServeTransfers, t,
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    }
    if (t->thread == nullptr) {
        for (HANDLE event : {t->asked, t->answered}) {
            if (event != nullptr) {
                CloseHandle(event);
            }
        }
        FreeMemory(t);
        return nullptr;
    }
    return t;
}

// An abandoned thread may still be inside WinInet when the program ends, and the shutdown gives
// back the program's references to its DLL commands' libraries: the library is pinned for the
// rest of the process, so that it is never unmapped under that thread.
void KeepPlatformLibraryMapped() {
    HMODULE pinned = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN, ConstantText(Constant::WinInetLibrary),
                       &pinned);
}

uint32_t RemainingMilliseconds(Deadline deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<uint32_t>(left.count()) : 0;
}

struct Answer {
    bool inTime;
    uint32_t result;
    uint32_t count;
};

// Hands one call to the thread and waits for it until the deadline, the windows alive meanwhile.
// A call that has not answered by then, or when a close is asked for, is abandoned with its
// thread, which makes no further call for this process but the closing of the handles.
Answer Ask(Transfer &transfer, Call call) {
    TransferThread *t = transfer.thread;
    t->call = call;
    InterlockedExchange(&t->state, kBusy);
    SetEvent(t->asked);
    const uint32_t outcome =
        ProgramCall::WaitKeepingWindowsAlive(t->answered, RemainingMilliseconds(transfer.deadline));
    if (outcome != kWaitAnswered &&
        InterlockedCompareExchange(&t->state, kAbandoned, kBusy) == kBusy) {
        KeepPlatformLibraryMapped();
        gTransferThread = nullptr;
        transfer.thread = nullptr;
        transfer.abandoned = true;
        return {false, 0, 0};
    }
    if (outcome != kWaitAnswered) {
        // The answer came just as the wait gave up: it is in, and the thread signals it at once.
        WaitForSingleObject(t->answered, INFINITE);
    }
    return {true, t->result, t->count};
}

// A larger block holding the first size bytes of body, which is freed. Copied here rather than
// by the heap's reallocation, which holds the heap's lock while it copies tens of megabytes. One
// byte more than the capacity, for the zero that Finished puts behind the body.
ByteSet Grown(ByteSet body, uint32_t size, uint32_t capacity) {
    auto *grown = static_cast<ByteSet>(AllocateMemory(sizeof(ByteSetHeader) + capacity + 1));
    if (body != nullptr) {
        std::memcpy(grown + 1, body + 1, size);
        FreeMemory(body);
    }
    return grown;
}

// The body block of size bytes, or null for none. A zero byte stands behind the bytes, outside
// their count, so that the body can be read in place as a text (FetchPage's callers may).
ByteSet Finished(ByteSet body, uint32_t size) {
    if (size == 0) {
        FreeMemory(body);
        return nullptr;
    }
    body = static_cast<ByteSet>(ReallocateMemory(body, sizeof(ByteSetHeader) + size + 1));
    body->dimensionCount = 1;
    body->byteCount = size;
    reinterpret_cast<uint8_t *>(body + 1)[size] = 0;
    return body;
}

} // namespace

Transfer BeginTransfer(const FetchHandles &handles, Deadline deadline) {
    if (gTransferThread == nullptr) {
        gTransferThread = NewTransferThread();
    }
    if (gTransferThread != nullptr) {
        gTransferThread->handles = handles;
    }
    return {gTransferThread, false, handles, deadline};
}

bool SendWithin(Transfer &transfer, const SendPlan &plan) {
    TransferThread *t = transfer.thread;
    if (t == nullptr) {
        return false;
    }
    // The thread sends copies: a send abandoned at the deadline may still read them after the
    // fetch has freed its own.
    const char *headers = Arg(plan.headers);
    const auto headersBytes = static_cast<uint32_t>(std::strlen(headers)) + 1;
    const uint32_t postBytes = plan.get ? 0 : ByteSetCount(plan.postBytes);
    auto *copy = static_cast<char *>(AllocateMemory(headersBytes + postBytes));
    std::memcpy(copy, headers, headersBytes);
    if (postBytes > 0) {
        std::memcpy(copy + headersBytes, ByteSetBytes(plan.postBytes), postBytes);
    }
    t->get = plan.get;
    t->sendCopy = copy;
    t->headersLength = plan.headersLength;
    t->postLength = static_cast<int32_t>(postBytes);
    return Ask(transfer, Call::kSend).inTime;
}

ByteSet ReadBodyWithin(Transfer &transfer) {
    ByteSet body = nullptr;
    uint32_t capacity = 0;
    uint32_t size = 0;
    for (;;) {
        if (size == kMaxBodyBytes) {
            // The block is full: whether the body has ended decides, not another read into it.
            const Answer more = Ask(transfer, Call::kQueryAvailable);
            if (!more.inTime || (more.result != 0 && more.count > 0)) {
                FreeMemory(body);
                return nullptr;
            }
            break;
        }
        const uint32_t wanted = std::min(kReadChunkBytes, kMaxBodyBytes - size);
        transfer.thread->readBytes = wanted;
        const Answer read = Ask(transfer, Call::kRead);
        if (!read.inTime) {
            FreeMemory(body);
            return nullptr;
        }
        if (read.count == 0 || read.count > wanted) {
            break;
        }
        if (size + read.count > capacity) {
            // Bounded by kMaxBodyBytes, the doubling cannot wrap.
            while (size + read.count > capacity) {
                capacity =
                    std::min(capacity == 0 ? kFirstBodyCapacity : capacity * 2, kMaxBodyBytes);
            }
            body = Grown(body, size, capacity);
        }
        std::memcpy(reinterpret_cast<uint8_t *>(body + 1) + size, transfer.thread->buffer,
                    read.count);
        size += read.count;
    }
    return Finished(body, size);
}

void EndTransfer(Transfer &transfer) {
    if (transfer.abandoned) {
        return;
    }
    if (transfer.thread == nullptr) {
        // No thread was made and no call is in flight: nothing can keep the closing waiting.
        CloseOpenHandles(transfer.handles);
        return;
    }
    Ask(transfer, Call::kClose);
}

} // namespace web
