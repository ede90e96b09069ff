// A top-level window. Form classes of the runtime derive from it.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace Platform {

class TForm {
public:
    TForm();
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    void SetCaption(const std::string& caption);
    std::string Caption() const;
    void SetBounds(int left, int top, int width, int height);
    void Show();
    // Asks the window to close: OnCloseQuery may refuse; otherwise OnClose runs and it hides.
    void Close();
    // The native window (a GtkWindow* or an HWND).
    void* Handle() const;

    // Assigning replaces the previous handler.
    std::function<void(bool& CanClose)> OnCloseQuery;
    std::function<void()> OnClose;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

} // namespace Platform
