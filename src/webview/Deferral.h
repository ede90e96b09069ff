// A deferral: the event's outcome waits until the handler calls Complete, once.
#pragma once

#include <functional>
#include <utility>

#include "abi/ComObject.h"
#include "abi/ComPtr.h"

namespace CrvWebView {

using namespace WebView2;

class TDeferral final : public TComObject<ICoreWebView2Deferral> {
public:
    explicit TDeferral(std::function<void()> onComplete) : FOnComplete(std::move(onComplete)) {}

    HRESULT STDMETHODCALLTYPE Complete() override {
        if (!FOnComplete) return HRESULT_INVALID_STATE;
        auto done = std::exchange(FOnComplete, nullptr);
        done();
        return S_OK;
    }

private:
    std::function<void()> FOnComplete;
};

// Counts the deferrals taken during one event, so the outcome runs once: right after the handlers when
// none was taken, else when the last one completes.
class TDeferralGate {
public:
    explicit TDeferralGate(std::function<void()> outcome) : FOutcome(std::move(outcome)) {}

    // A deferral object with one reference for the handler. It keeps the owner of the gate (the event
    // arguments) alive until it completes.
    ICoreWebView2Deferral* Take(IUnknown* owner) {
        ++FPending;
        return new TDeferral([this, keep = ComPtr<IUnknown>(owner)] { Release(); });
    }
    // Called once after the handlers ran.
    void HandlersDone() { Release(); }

private:
    void Release() {
        if (--FPending == 0 && FOutcome) std::exchange(FOutcome, nullptr)();
    }

    int FPending = 1;
    std::function<void()> FOutcome;
};

} // namespace CrvWebView
