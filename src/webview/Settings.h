// The web view's settings: some switch the browser's own settings, the others are read by the view when
// the page does something they govern.
#pragma once

#include <webkit2/webkit2.h>

#include "abi/ComObject.h"

namespace CrvWebView {

using namespace WebView2;

class TSettings final : public TComObject<ICoreWebView2Settings> {
public:
    // Keeps a reference to the browser's settings object of the view.
    explicit TSettings(WebKitSettings* browserSettings);

    bool WebMessageEnabled() const { return FWebMessage; }
    bool DefaultScriptDialogsEnabled() const { return FDefaultScriptDialogs; }
    bool StatusBarEnabled() const { return FStatusBar; }
    bool DevToolsEnabled() const { return FDevTools; }
    bool DefaultContextMenusEnabled() const { return FDefaultContextMenus; }
    bool ZoomControlEnabled() const { return FZoomControl; }
    bool BuiltInErrorPageEnabled() const { return FBuiltInErrorPage; }

    HRESULT STDMETHODCALLTYPE get_IsScriptEnabled(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_IsScriptEnabled(BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_IsWebMessageEnabled(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_IsWebMessageEnabled(BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_AreDefaultScriptDialogsEnabled(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_AreDefaultScriptDialogsEnabled(BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_IsStatusBarEnabled(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_IsStatusBarEnabled(BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_AreDevToolsEnabled(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_AreDevToolsEnabled(BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_AreDefaultContextMenusEnabled(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_AreDefaultContextMenusEnabled(BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_AreHostObjectsAllowed(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_AreHostObjectsAllowed(BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_IsZoomControlEnabled(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_IsZoomControlEnabled(BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_IsBuiltInErrorPageEnabled(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_IsBuiltInErrorPageEnabled(BOOL value) override;

private:
    ~TSettings() override;

    WebKitSettings* FBrowserSettings;
    bool FScript = true;
    bool FWebMessage = true;
    bool FDefaultScriptDialogs = true;
    bool FStatusBar = true;
    bool FDevTools = true;
    bool FDefaultContextMenus = true;
    bool FHostObjects = true;
    bool FZoomControl = true;
    bool FBuiltInErrorPage = true;
};

} // namespace CrvWebView
