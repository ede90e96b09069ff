// The state behind a Win32 form, shared by the files that make up its window and its look.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/Control.h"
#include "platform/Form.h"

namespace Platform {

struct TForm::TImpl {
    TForm* Owner = nullptr;
    HWND Window = nullptr;
    TWinControl Client;
    std::string Caption;
    // Outer bounds; the window's own while it is shown in the normal state.
    int Left = 0, Top = 0, Width = 320, Height = 240;
    // Where the system put the window when it was made: the place of TPosition::DefaultPos.
    int DefaultLeft = 0, DefaultTop = 0;
    TSizeConstraints Constraints;
    TPosition Position = TPosition::Designed;
    TBorderStyle Border = TBorderStyle::Sizeable;
    bool MinimizeBox = true, MaximizeBox = true;
    TWindowState State = TWindowState::Normal;
    bool StayOnTop = false;
    bool Shown = false; // shown at least once: placed and WindowCreated run

    // The look.
    bool HasColor = false;
    COLORREF Color = 0;
    TCursor Cursor = TCursor::Default;
    bool Shadow = false;

    int ClampWidth(int w) const;
    int ClampHeight(int h) const;
    void ApplyBorder();
    void ApplyBounds();
    void PlaceForFirstShow();
    // Handles the messages of the look: background, pointer, theme switch. True when handled.
    bool HandleLookMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The shadow belongs to the window class; it is set to this form's wish before it shows.
    void ApplyShadowToClass();
    COLORREF Background() const;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace Platform
