// Linked only into the instrumented variant of the program: before the program's entry runs,
// shortens the whole-fetch deadline to the milliseconds the environment variable
// ZV_FETCH_DEADLINE_MS holds in decimal, so that the hostile tests need not wait a minute per
// case. Without the variable, or with anything but a decimal number in it, the default stays.
#include "app/web/fetch_deadline.h"
#include "tests/support/environment_number.h"

namespace {

[[maybe_unused]] const bool gShortened =
    (web::ShortenFetchDeadline(EnvironmentNumber(L"ZV_FETCH_DEADLINE_MS")), true);

} // namespace
