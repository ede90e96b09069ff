// The browser control's exception: a message and the HRESULT that caused it.
#pragma once

#include <stdexcept>
#include <string>

#include "abi/WebView2.h"

namespace Corvane::Browser {

// The control's two messages, kept apart from the code so that they can be translated.
enum class TEdgeErrorText { CreateFailed, NotInstantiated };

inline const char* LoadEdgeErrorText(TEdgeErrorText text) {
    switch (text) {
    case TEdgeErrorText::CreateFailed:
        return "Failed to create Edge browser control";
    case TEdgeErrorText::NotInstantiated:
        return "WebView2 not instantiated";
    }
    return "";
}

class EEdgeError : public std::runtime_error {
public:
    EEdgeError(const std::string& message, WebView2::HRESULT errorCode)
        : std::runtime_error(message), FErrorCode(errorCode) {}
    // The message comes from the control's message table.
    static EEdgeError CreateRes(TEdgeErrorText text, WebView2::HRESULT errorCode) {
        return EEdgeError(LoadEdgeErrorText(text), errorCode);
    }

    WebView2::HRESULT ErrorCode() const { return FErrorCode; }

private:
    WebView2::HRESULT FErrorCode;
};

} // namespace Corvane::Browser
