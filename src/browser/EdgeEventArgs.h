// Wrappers that hand the runtime's event-argument interfaces to the browser control's handlers. The
// control makes one for each delivery and drops it when the handler returns: do not keep it.
#pragma once

#include "abi/ComPtr.h"
#include "abi/WebView2.h"

namespace Corvane::Browser {

template <class I> class TEdgeEventArgs {
public:
    using Interface = I;

    explicit TEdgeEventArgs(I* args) : FArgsInterface(args) {}
    TEdgeEventArgs(const TEdgeEventArgs&) = delete;
    TEdgeEventArgs& operator=(const TEdgeEventArgs&) = delete;

    I* ArgsInterface() const { return FArgsInterface.Get(); }

private:
    WebView2::ComPtr<I> FArgsInterface;
};

class TNavigationStartingEventArgs
    : public TEdgeEventArgs<WebView2::ICoreWebView2NavigationStartingEventArgs> {
public:
    using TEdgeEventArgs::TEdgeEventArgs;
};
class TNewWindowRequestedEventArgs
    : public TEdgeEventArgs<WebView2::ICoreWebView2NewWindowRequestedEventArgs> {
public:
    using TEdgeEventArgs::TEdgeEventArgs;
};
class TPermissionRequestedEventArgs
    : public TEdgeEventArgs<WebView2::ICoreWebView2PermissionRequestedEventArgs> {
public:
    using TEdgeEventArgs::TEdgeEventArgs;
};
class TScriptDialogOpeningEventArgs
    : public TEdgeEventArgs<WebView2::ICoreWebView2ScriptDialogOpeningEventArgs> {
public:
    using TEdgeEventArgs::TEdgeEventArgs;
};
class TWebMessageReceivedEventArgs
    : public TEdgeEventArgs<WebView2::ICoreWebView2WebMessageReceivedEventArgs> {
public:
    using TEdgeEventArgs::TEdgeEventArgs;
};
class TWebResourceRequestedEventArgs
    : public TEdgeEventArgs<WebView2::ICoreWebView2WebResourceRequestedEventArgs> {
public:
    using TEdgeEventArgs::TEdgeEventArgs;
};

} // namespace Corvane::Browser
