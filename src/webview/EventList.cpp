// Event registration tokens.
#include "webview/EventList.h"

#include <atomic>

namespace CrvWebView {

std::int64_t NextEventToken() {
    static std::atomic<std::int64_t> next{1};
    return next++;
}

} // namespace CrvWebView
