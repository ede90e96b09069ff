// A one-line edit box, optionally masking what is typed, with an optional picture button at its
// left.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Control.h"

namespace Platform {

class TSizedImageList;

class TEdit : public TWinControl {
public:
    TEdit();
    ~TEdit() override;

    std::string Text() const;
    void SetText(const std::string& text);
    // Shown in place of every character; 0 shows the text itself.
    void SetPasswordChar(char32_t passwordChar);
    // The family falls back to the system's sans-serif face where it is not installed.
    void SetFont(const std::string& family, int pixelHeight);
    void SetEnabled(bool enabled);
    bool Enabled() const;
    // The left button shows image imageIndex of images (which must outlive the edit), greyed while
    // the edit is disabled; nullptr hides it. The button takes no action.
    void SetLeftButtonImage(const TSizedImageList* images, int imageIndex);

    // A key was released while the edit had the focus.
    std::function<void()> OnKeyUp;

protected:
    void Resized() override;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FEdit;
};

} // namespace Platform
