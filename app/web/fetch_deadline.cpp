// The whole-fetch deadline and the test variants' way of shortening it.
#include "app/web/fetch_deadline.h"

#include <atomic>

namespace web {
namespace {

std::atomic<uint32_t> gDeadlineMilliseconds{kFetchDeadlineMilliseconds};

} // namespace

uint32_t FetchDeadlineMilliseconds() {
    return gDeadlineMilliseconds.load();
}

void ShortenFetchDeadline(uint32_t milliseconds) {
    if (milliseconds != 0 && milliseconds < kFetchDeadlineMilliseconds) {
        gDeadlineMilliseconds.store(milliseconds);
    }
}

} // namespace web
