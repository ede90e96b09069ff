// A top-level window. Form classes of the runtime derive from it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace Platform {

class TWinControl;
class TMainMenu;

enum class TBorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };
enum class TWindowState { Normal, Minimized, Maximized };
// Designed: at Left/Top; DefaultPos: where the system places new windows; ScreenCenter: centred.
enum class TPosition { Designed, DefaultPos, ScreenCenter };
// The mouse pointer over a window: the system's default, or the arrow with a busy sign.
enum class TCursor { Default, AppStart };

// A key as a window message: WM_KEYDOWN/WM_KEYUP/WM_SYSKEYDOWN/WM_SYSKEYUP, the virtual key and the
// key's lParam.
struct TKeyMessage {
    unsigned Message = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
};

struct TSizeConstraints {
    int MaxWidth = 0; // 0: no limit
    int MaxHeight = 0;
    int MinWidth = 0;
    int MinHeight = 0;
};

class TForm {
public:
    TForm();
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    void SetCaption(const std::string& caption);
    std::string Caption() const;
    // Outer position and size; a window not yet shown takes them when it is shown.
    void SetBounds(int left, int top, int width, int height);
    // The size inside the frame; the outer size follows from the border style (and menu) set before.
    void SetClientSize(int width, int height);
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetConstraints(const TSizeConstraints& constraints);
    void SetPosition(TPosition position);
    void SetBorderStyle(TBorderStyle style);
    // Whether the title bar offers minimising and maximising; moving and closing always stay.
    // Both by default.
    void SetBorderIcons(bool minimize, bool maximize);
    TBorderStyle BorderStyle() const;
    void SetWindowState(TWindowState state);
    TWindowState WindowState() const;
    // Kept above windows that are not themselves kept on top.
    void SetStayOnTop(bool stayOnTop);
    bool StayOnTop() const;
    bool Visible() const;
    // The background of the whole window, as 0x00BBGGRR.
    void SetColor(std::uint32_t color);
    void SetCursor(TCursor cursor);
    // Clips the window to a rectangle from (0, 0) to (right, bottom) with corners rounded by an
    // ellipse of ellipseWidth x ellipseHeight. As with the system's round-rectangle regions, the
    // last column and row are left out. False when it cannot be set; the window stays rectangular.
    bool SetRoundRectRegion(int right, int bottom, int ellipseWidth, int ellipseHeight);
    // Sets the window off from what lies below it. Without a compositing window manager nothing
    // can be drawn outside the window, so the GTK backend draws a thin dark line inside its edge.
    void SetDropShadow(bool shadow);

    void Show();
    // Asks the window to close: OnCloseQuery may refuse; otherwise it hides and OnClose runs.
    void Close();
    // Shows the form and handles events until a modal result is set or the form closes (mrCancel);
    // returns that result with the form hidden. Without a display: mrCancel at once. The results are
    // those of platform/Dialogs.h.
    int ShowModal();
    // A result other than mrNone ends ShowModal.
    void SetModalResult(int result);
    int ModalResult() const { return FModalResult; }
    // The native window (a GtkWindow* or an HWND).
    void* Handle() const;
    // The control that fills the client area; child controls are placed in it.
    TWinControl& ClientControl();

    // Offers a key to the form's shortcuts (its main menu's, then its components'); true when one
    // took it.
    bool IsShortCut(const TKeyMessage& message);
    // Shows the menu's bar above the client area, which gives it the room; nullptr takes it off.
    // A menu shows on one form at a time; the form does not own it.
    void SetMenu(TMainMenu* menu);
    TMainMenu* Menu() const { return FMenu; }

    // Assigning replaces the previous handler.
    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void()> OnClose;
    std::function<bool(const TKeyMessage& message)> OnShortCut;

protected:
    // Runs after the form's native window exists, and again whenever it is made anew.
    virtual void WindowCreated() {}

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
    TMainMenu* FMenu = nullptr;
    int FModalResult = 0;       // mrNone
    void* FModalLoop = nullptr; // while ShowModal runs
};

} // namespace Platform
