// A form's menu bar: a tree of items with captions, ids and pictures, the named pictures they draw
// from, and the image list that sizes them for the screen.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Platform {

class TForm;
class TMainMenu;
struct TMenuAccess;

// Named pictures, decoded from their bytes, in the order they were added.
class TImageCollection {
public:
    TImageCollection();
    ~TImageCollection();
    TImageCollection(const TImageCollection&) = delete;
    TImageCollection& operator=(const TImageCollection&) = delete;

    // Decodes the bytes (any format the system's image loader reads) and appends the picture.
    // Throws std::runtime_error when they do not decode; the collection is then unchanged.
    void Add(const std::string& name, const std::vector<std::uint8_t>& bytes);
    void Clear();
    int Count() const;
    std::string Name(int index) const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
    friend struct TMenuAccess;
};

// The pictures of a collection at one size: entry i is picture i of the collection, drawn
// Width x Height (scaled with the screen's resolution), in grey for disabled items.
class TVirtualImageList {
public:
    TImageCollection* ImageCollection = nullptr;
    int Width = 16;
    int Height = 16;
    bool DisabledGrayscale = true;

    int Count() const { return ImageCollection ? ImageCollection->Count() : 0; }
    // The collection changed: whoever draws from the list draws again.
    void Change() {
        if (OnChange) OnChange();
    }
    std::function<void()> OnChange;
};

class TMenuItem {
public:
    ~TMenuItem();
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    // The text shown; "&" marks the access key ("&&" is an ampersand) and "-" makes a separator.
    // Items without a marked key get one automatically.
    const std::string& Caption() const;
    void SetCaption(const std::string& caption);
    std::int32_t Tag() const;
    void SetTag(std::int32_t tag);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    const std::string& ImageName() const;
    void SetImageName(const std::string& name);
    // Entry of the menu's image list; -1: no picture.
    int ImageIndex() const;
    void SetImageIndex(int index);

    int Count() const;
    TMenuItem& Item(int index) const;
    TMenuItem* Parent() const;
    // A new item at the end of the children; its parent owns it.
    TMenuItem& Add();
    // Frees all children.
    void Clear();

    // A click on an item without children. Assigning replaces the previous handler.
    std::function<void(TMenuItem& sender)> OnClick;

private:
    TMenuItem(TMainMenu& menu, TMenuItem* parent);
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
    friend class TMainMenu;
    friend struct TMenuAccess;
};

// The menu bar. It shows on the form given to TForm::SetMenu; freeing it takes it off the form.
// With CRV_DEBUG_MENU set in the environment, the item tree as shown goes to standard error after
// every change.
class TMainMenu {
public:
    TMainMenu();
    ~TMainMenu();
    TMainMenu(const TMainMenu&) = delete;
    TMainMenu& operator=(const TMainMenu&) = delete;

    // The top-level items are the children of this item.
    TMenuItem& Items();
    void SetImages(TVirtualImageList* images);
    TVirtualImageList* Images() const;
    // The form that shows the menu, or null.
    TForm* Form() const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
    friend class TMenuItem;
    friend struct TMenuAccess;
};

} // namespace Platform
