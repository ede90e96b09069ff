// A windowed child control: a native container placed in a form or in another control. Forms
// embed controls, and the browser control hands its container to the browser as parent window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace Platform {

class TForm;

enum class TAlign { None, Top, Bottom, Client };

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// System commands that reach a control from its top-level window.
enum class TSysCommand { Minimize, Restore };

class TWinControl {
public:
    TWinControl();
    virtual ~TWinControl();
    TWinControl(const TWinControl&) = delete;
    TWinControl& operator=(const TWinControl&) = delete;

    // The native container: a GtkWidget* that child windows of other components can be put into
    // at a position (a GtkLayout), or an HWND. Null when no display could be opened.
    void* Handle() const;

    // Places the control in the form's client area or in another control; nullptr takes it out.
    void SetParent(TForm* form);
    void SetParent(TWinControl* control);
    bool HasParent() const;
    // The top-level form that holds the control, directly or through other controls.
    TForm* ParentForm() const;

    void SetAlign(TAlign align);
    void SetHeight(int height);
    // Position and size in the parent, for controls that are not aligned.
    void SetBounds(int left, int top, int width, int height);
    void SetVisible(bool visible);
    bool Visible() const;
    // The client area in the control's own coordinates (Left and Top are 0).
    TRect ClientRect() const;

    // Gives the control the keyboard focus (the browser then takes it into the page).
    void SetFocus();
    bool Focused() const;
    // Whether the control itself takes the focus from Tab or a click; controls in it still do.
    void SetTabStop(bool tabStop);

    std::function<void()> OnEnter;
    std::function<void()> OnExit;

protected:
    // Hooks that run after the ordinary handling, for controls that add to it.
    virtual void ParentChanged() {}
    virtual void Resized() {}
    virtual void VisibleChanged() {}
    // Focus came into the control or one of its native children / left it.
    virtual void DoEnter();
    virtual void DoExit();
    virtual void SysCommand(TSysCommand) {}

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
    friend struct TControlAccess;
};

// A marquee progress bar: an endless busy animation.
class TProgressBar : public TWinControl {
public:
    TProgressBar();
    ~TProgressBar() override;

protected:
    void Resized() override;
    void VisibleChanged() override;

private:
    void* FBar = nullptr;
    unsigned FPulseTimer = 0;
};

} // namespace Platform
