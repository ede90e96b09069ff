// A top-level window. Form classes of the runtime derive from it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace Platform {

class TWinControl;

enum class TBorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };
enum class TWindowState { Normal, Minimized, Maximized };
// Designed: at Left/Top; DefaultPos: where the system places new windows; ScreenCenter: centred.
enum class TPosition { Designed, DefaultPos, ScreenCenter };

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
    TBorderStyle BorderStyle() const;
    void SetWindowState(TWindowState state);
    TWindowState WindowState() const;
    // Kept above windows that are not themselves kept on top.
    void SetStayOnTop(bool stayOnTop);
    bool StayOnTop() const;
    bool Visible() const;

    void Show();
    // Asks the window to close: OnCloseQuery may refuse; otherwise it hides and OnClose runs.
    void Close();
    // The native window (a GtkWindow* or an HWND).
    void* Handle() const;
    // The control that fills the client area; child controls are placed in it.
    TWinControl& ClientControl();

    // Offers a key to the form's shortcuts (its main menu's, then its components'); true when one
    // took it.
    bool IsShortCut(const TKeyMessage& message);

    // Assigning replaces the previous handler.
    std::function<void(bool& CanClose)> OnCloseQuery;
    std::function<void()> OnClose;
    std::function<bool(const TKeyMessage& message)> OnShortCut;

protected:
    // Runs after the form's native window exists, and again whenever it is made anew.
    virtual void WindowCreated() {}

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

} // namespace Platform
