// The handlers registered for one event: tokens, registration order, removal during a delivery.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "abi/ComPtr.h"
#include "abi/WebView2.h"

namespace CrvWebView {

using namespace WebView2;

// Tokens are unique in the process, so a token given back to the wrong event removes nothing.
std::int64_t NextEventToken();

template <class THandler> class TEventList {
public:
    HRESULT Add(THandler* handler, EventRegistrationToken* token) {
        if (!token) return E_POINTER;
        if (!handler) return E_INVALIDARG;
        token->value = NextEventToken();
        FHandlers.emplace_back(token->value, ComPtr<THandler>(handler));
        return S_OK;
    }

    HRESULT Remove(EventRegistrationToken token) {
        for (auto it = FHandlers.begin(); it != FHandlers.end(); ++it) {
            if (it->first == token.value) {
                FHandlers.erase(it);
                break;
            }
        }
        return S_OK;
    }

    bool Empty() const { return FHandlers.empty(); }
    void Clear() { FHandlers.clear(); }

    // Calls every handler in registration order. A handler removed by an earlier one is skipped; one
    // added during the delivery waits for the next.
    template <class... TArgs> void Raise(TArgs... args) {
        const auto snapshot = FHandlers;
        for (const auto& [token, handler] : snapshot) {
            if (!Registered(token)) continue;
            handler->Invoke(args...);
        }
    }

private:
    bool Registered(std::int64_t token) const {
        for (const auto& entry : FHandlers)
            if (entry.first == token) return true;
        return false;
    }

    std::vector<std::pair<std::int64_t, ComPtr<THandler>>> FHandlers;
};

} // namespace CrvWebView
