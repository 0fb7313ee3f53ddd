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

// The blocking calls the fetch hands to the transfer thread, one at a time, and kEnd, which
// tells an idle thread that is not kept for the next fetch to end.
enum class Call { kSend, kQueryAvailable, kRead, kClose, kEnd };

// The WinInet entry points the transfer thread calls, each taking and returning 32-bit words.
using Entry1 = uint32_t(WINAPI *)(uint32_t);
using Entry4 = uint32_t(WINAPI *)(uint32_t, uint32_t, uint32_t, uint32_t);
using Entry5 = uint32_t(WINAPI *)(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);

// Who has the record: the thread while a call runs, the waiting fetch otherwise; an abandoned
// thread keeps it and frees it when it ends.
enum TransferState : LONG { kIdle, kBusy, kAbandoned };

} // namespace

// The transfer thread's record, on the runtime heap. The fetch writes the call and its
// arguments while the thread is idle; the thread writes the answer before it signals. The entry
// points are bound on the window thread and handed over at the start of each fetch: the thread
// never reads the binder's lists, which the shutdown clears while a thread may still be working.
struct TransferThread {
    HANDLE thread;
    Entry5 sendText;
    Entry5 sendBytes;
    Entry4 queryAvailable;
    Entry4 read;
    Entry1 close;
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

// The idle transfer thread kept for the next fetch, or null; window-thread state. A fetch takes
// it, so that a fetch nested in another's wait (from a handler run during it) finds none and
// gets a thread of its own: no two fetches share a record or an answer.
TransferThread *gIdleThread = nullptr;

void CloseOpenHandles(TransferThread &t) {
    for (uint32_t *handle : {&t.handles.request, &t.handles.connection, &t.handles.session}) {
        if (*handle != 0) {
            t.close(*handle);
            *handle = 0;
        }
    }
}

bool Abandoned(const TransferThread &t) {
    return t.state == kAbandoned;
}

// Reads up to readBytes into the buffer, each piece no larger than what the platform reports as
// come in: a synchronous read of more returns only when all of it has come or the body ends, so a
// server that sends a byte just within the receive time-out would hold one read, and the thread,
// for ever. A query returns at the first byte or at the receive time-out; between pieces the
// thread stops as soon as its fetch has given it up. The result is 0 when nothing was read (the
// body has ended, or a query or read failed).
uint32_t ReadPieces(TransferThread &t, uint32_t *count) {
    while (*count < t.readBytes && !Abandoned(t)) {
        uint32_t available = 0;
        if (t.queryAvailable(t.handles.request, Word(&available), 0, 0) == 0 || available == 0) {
            break;
        }
        uint32_t read = 0;
        const uint32_t wanted = std::min(available, t.readBytes - *count);
        if (t.read(t.handles.request, Word(t.buffer + *count), wanted, Word(&read)) == 0 ||
            read == 0 || read > wanted) {
            break;
        }
        *count += read;
    }
    return *count > 0 ? 1 : 0;
}

uint32_t MakeCall(TransferThread &t, uint32_t *count) {
    switch (t.call) {
    case Call::kSend: {
        const auto *headers = static_cast<const char *>(t.sendCopy);
        const char *post = headers + t.headersLength + 1;
        const uint32_t result =
            t.get
                ? t.sendText(t.handles.request, Word(headers), t.headersLength, Word(kEmptyText), 0)
                : t.sendBytes(t.handles.request, Word(headers), t.headersLength,
                              t.postLength > 0 ? Word(post) : 0, t.postLength);
        FreeMemory(t.sendCopy);
        t.sendCopy = nullptr;
        return result;
    }
    case Call::kQueryAvailable:
        return t.queryAvailable(t.handles.request, Word(count), 0, 0);
    case Call::kRead:
        return ReadPieces(t, count);
    case Call::kClose:
        CloseOpenHandles(t);
        return 1;
    case Call::kEnd:
        return 0;
    }
    return 0;
}

// The transfer thread: makes each call it is handed. When the fetch gave a call up, or told the
// thread to end, the thread closes what is still open as soon as the platform lets it go, frees
// its record and ends.
DWORD WINAPI ServeTransfers(void *record) {
    auto *t = static_cast<TransferThread *>(record);
    for (;;) {
        WaitForSingleObject(t->asked, INFINITE);
        if (t->call == Call::kEnd) {
            break;
        }
        uint32_t count = 0;
        t->result = MakeCall(*t, &count);
        t->count = count;
        if (InterlockedCompareExchange(&t->state, kIdle, kBusy) != kBusy) {
            break;
        }
        SetEvent(t->answered);
    }
    CloseOpenHandles(*t);
    FreeMemory(t->sendCopy);
    CloseHandle(t->asked);
    CloseHandle(t->answered);
    CloseHandle(t->thread);
    FreeMemory(t);
    return 0;
}

template <typename Entry> Entry BoundEntry(DllCommandIndex index) {
    return reinterpret_cast<Entry>(ProgramCall::BindDllCommand(index));
}

// The library that holds entry stays mapped for the rest of the process. A shutdown may run
// while a transfer thread is inside it (nested in a wait, it never returns to the fetch, which
// then never gives the call up), and it gives back the program's references to its DLL
// commands' libraries: pinned, the library is never unmapped under that thread.
void KeepLibraryMapped(const void *entry) {
    HMODULE pinned = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       static_cast<const wchar_t *>(entry), &pinned);
}

// Hands the thread the entry points of its calls, bound here on the window thread.
void HandEntries(TransferThread &t) {
    t.sendText = BoundEntry<Entry5>(kHttpSendRequestText);
    t.sendBytes = BoundEntry<Entry5>(kHttpSendRequestBytes);
    t.queryAvailable = BoundEntry<Entry4>(kInternetQueryDataAvailable);
    t.read = BoundEntry<Entry4>(kInternetReadFile);
    t.close = BoundEntry<Entry1>(kInternetCloseHandle);
}

// A new transfer thread with its entry points, their libraries pinned; null when the platform
// makes none.
TransferThread *NewTransferThread() {
    auto *t = static_cast<TransferThread *>(AllocateMemory(sizeof(TransferThread)));
    std::memset(static_cast<void *>(t), 0, offsetof(TransferThread, buffer));
    HandEntries(*t);
    for (const void *entry :
         {reinterpret_cast<const void *>(t->sendText), reinterpret_cast<const void *>(t->sendBytes),
          reinterpret_cast<const void *>(t->queryAvailable),
          reinterpret_cast<const void *>(t->read), reinterpret_cast<const void *>(t->close)}) {
        KeepLibraryMapped(entry);
    }
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
// thread, which makes no further call but the closing of the handles.
Answer Ask(Transfer &transfer, Call call) {
    TransferThread *t = transfer.thread;
    t->call = call;
    InterlockedExchange(&t->state, kBusy);
    SetEvent(t->asked);
    const uint32_t outcome =
        ProgramCall::WaitKeepingWindowsAlive(t->answered, RemainingMilliseconds(transfer.deadline));
    if (outcome != kWaitAnswered &&
        InterlockedCompareExchange(&t->state, kAbandoned, kBusy) == kBusy) {
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
    TransferThread *t = gIdleThread;
    gIdleThread = nullptr;
    if (t != nullptr) {
        HandEntries(*t);
    } else {
        t = NewTransferThread();
    }
    if (t != nullptr) {
        t->handles = handles;
    }
    return {t, false, handles, deadline};
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
    TransferThread *t = transfer.thread;
    if (t == nullptr) {
        // No thread was made and no call is in flight: nothing can keep the closing waiting.
        for (uint32_t handle :
             {transfer.handles.request, transfer.handles.connection, transfer.handles.session}) {
            if (handle != 0) {
                CallDll(kInternetCloseHandle, handle);
            }
        }
        return;
    }
    if (!Ask(transfer, Call::kClose).inTime) {
        return;
    }
    // The thread is idle: kept for the next fetch, unless a fetch nested in this one's wait has
    // already left one there.
    if (gIdleThread == nullptr) {
        gIdleThread = t;
        return;
    }
    t->call = Call::kEnd;
    SetEvent(t->asked);
}

} // namespace web
