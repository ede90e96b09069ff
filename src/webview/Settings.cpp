// The web view's settings.
#include "webview/Settings.h"

namespace CrvWebView {

namespace {

HRESULT Get(bool value, BOOL* out) {
    if (!out) return E_POINTER;
    *out = value ? TRUE : FALSE;
    return S_OK;
}

HRESULT Put(bool& field, BOOL value) {
    field = value != FALSE;
    return S_OK;
}

} // namespace

TSettings::TSettings(WebKitSettings* browserSettings)
    : FBrowserSettings(WEBKIT_SETTINGS(g_object_ref(browserSettings))) {
    webkit_settings_set_enable_javascript_markup(FBrowserSettings, TRUE);
    webkit_settings_set_enable_developer_extras(FBrowserSettings, TRUE);
}

TSettings::~TSettings() {
    g_object_unref(FBrowserSettings);
}

// Page scripts only: scripts the host runs or adds keep working, as they do with script disabled there.
HRESULT TSettings::get_IsScriptEnabled(BOOL* value) {
    return Get(FScript, value);
}
HRESULT TSettings::put_IsScriptEnabled(BOOL value) {
    Put(FScript, value);
    webkit_settings_set_enable_javascript_markup(FBrowserSettings, FScript);
    return S_OK;
}

HRESULT TSettings::get_IsWebMessageEnabled(BOOL* value) {
    return Get(FWebMessage, value);
}
HRESULT TSettings::put_IsWebMessageEnabled(BOOL value) {
    return Put(FWebMessage, value);
}

HRESULT TSettings::get_AreDefaultScriptDialogsEnabled(BOOL* value) {
    return Get(FDefaultScriptDialogs, value);
}
HRESULT TSettings::put_AreDefaultScriptDialogsEnabled(BOOL value) {
    return Put(FDefaultScriptDialogs, value);
}

HRESULT TSettings::get_IsStatusBarEnabled(BOOL* value) {
    return Get(FStatusBar, value);
}
HRESULT TSettings::put_IsStatusBarEnabled(BOOL value) {
    return Put(FStatusBar, value);
}

HRESULT TSettings::get_AreDevToolsEnabled(BOOL* value) {
    return Get(FDevTools, value);
}
HRESULT TSettings::put_AreDevToolsEnabled(BOOL value) {
    Put(FDevTools, value);
    webkit_settings_set_enable_developer_extras(FBrowserSettings, FDevTools);
    return S_OK;
}

HRESULT TSettings::get_AreDefaultContextMenusEnabled(BOOL* value) {
    return Get(FDefaultContextMenus, value);
}
HRESULT TSettings::put_AreDefaultContextMenusEnabled(BOOL value) {
    return Put(FDefaultContextMenus, value);
}

// Host objects are not offered to scripts here; the switch is kept for hosts that read it back.
HRESULT TSettings::get_AreHostObjectsAllowed(BOOL* value) {
    return Get(FHostObjects, value);
}
HRESULT TSettings::put_AreHostObjectsAllowed(BOOL value) {
    return Put(FHostObjects, value);
}

HRESULT TSettings::get_IsZoomControlEnabled(BOOL* value) {
    return Get(FZoomControl, value);
}
HRESULT TSettings::put_IsZoomControlEnabled(BOOL value) {
    return Put(FZoomControl, value);
}

HRESULT TSettings::get_IsBuiltInErrorPageEnabled(BOOL* value) {
    return Get(FBuiltInErrorPage, value);
}
HRESULT TSettings::put_IsBuiltInErrorPageEnabled(BOOL value) {
    return Put(FBuiltInErrorPage, value);
}

} // namespace CrvWebView
