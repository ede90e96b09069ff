// Menus over Win32 menu handles: each level is rebuilt from its items after a change, so access
// keys, hidden separator lines and pictures stay right; under a palette of ours the items are
// owner-drawn in its colours, under the system look the system draws them.
#include "platform/Menu.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <stdexcept>

#include "platform/MenuText.h"
#include "platform/win32/MenuAccess.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/ThemeColors.h"
#include "platform/win32/Wide.h"
#include "platform/win32/WindowTheme.h"

namespace Platform {

namespace {

// The caption in the system's notation: the first marked key keeps its "&", further marks are
// dropped, and every literal ampersand is doubled (the system would take "& " as a mark).
std::wstring SystemText(const std::string& keyed) {
    std::string text;
    bool marked = false;
    for (std::size_t pos = 0; pos < keyed.size(); ++pos) {
        if (keyed[pos] != '&') {
            text += keyed[pos];
        } else if (MenuText::IsMarkAt(keyed, pos)) {
            if (!marked) text += '&';
            marked = true;
        } else {
            text += "&&";
            if (pos + 1 < keyed.size() && keyed[pos + 1] == '&') ++pos;
        }
    }
    return Win32::Widen(text);
}

bool DebugMenu() {
    static const bool on = std::getenv("CRV_DEBUG_MENU") != nullptr;
    return on;
}

// What restyles each menu alive, by menu.
std::map<const void*, std::function<void()>>& Restylers() {
    static std::map<const void*, std::function<void()>> restylers;
    return restylers;
}

COLORREF Blend(COLORREF a, COLORREF b, int percentOfB) {
    const auto mix = [percentOfB](int x, int y) { return (x * (100 - percentOfB) + y * percentOfB) / 100; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
               mix(GetBValue(a), GetBValue(b)));
}

} // namespace

// --- pictures ---

struct TImageCollection::TImpl {
    struct TPicture {
        std::string Name;
        TBitmap Bitmap;
    };
    std::vector<TPicture> Pictures;
};

TImageCollection::TImageCollection() : FImpl(std::make_unique<TImpl>()) {}
TImageCollection::~TImageCollection() = default;

void TImageCollection::Add(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    TBitmap bitmap;
    if (!DecodeImage(bytes, bitmap))
        throw std::runtime_error("The picture " + name + " cannot be decoded: no picture the system reads");
    FImpl->Pictures.push_back({name, std::move(bitmap)});
}

void TImageCollection::Clear() {
    FImpl->Pictures.clear();
}

int TImageCollection::Count() const {
    return static_cast<int>(FImpl->Pictures.size());
}

std::string TImageCollection::Name(int index) const {
    return index >= 0 && index < Count() ? FImpl->Pictures[static_cast<std::size_t>(index)].Name
                                         : std::string();
}

// --- items ---

struct TMenuItem::TImpl {
    TMainMenu* Menu = nullptr;
    TMenuItem* Self = nullptr;
    TMenuItem* Parent = nullptr;
    std::string Caption;
    std::int32_t Tag = 0;
    bool Enabled = true;
    std::string ImageName;
    int ImageIndex = -1;
    std::vector<std::unique_ptr<TMenuItem>> Children;

    UINT Id = 0;               // the command id of WM_COMMAND
    std::string Keyed;         // the caption with its access key, as the level shows it
    HBITMAP Picture = nullptr; // at the window's resolution, grey when disabled
    int PictureSize[2] = {0, 0};
    HMENU Handle = nullptr;          // the children's menu: the bar for the root, else a popup
    std::vector<TMenuItem*> Entries; // the children shown in Handle, in its order
    bool ReservePicture = false;     // owner-drawn popups keep a picture column
    bool Shown = true;
    std::string PictureDrawn; // for the debug tree: "WxH", with " grey"

    bool IsLine() const { return MenuText::IsLine(Caption); }
    bool IsBarItem() const { return Parent && !Parent->FImpl->Parent; }

    ~TImpl() {
        Detach();
        Children.clear();
        if (Handle && Parent) DestroyMenu(Handle);
        if (Picture) DeleteObject(Picture);
    }

    // Takes the children off the handle without destroying their popups, which they own.
    void Detach() {
        if (!Handle) return;
        while (GetMenuItemCount(Handle) > 0)
            RemoveMenu(Handle, 0, MF_BYPOSITION);
        Entries.clear();
    }

    void MakePicture(int dpi);
    void Rebuild();
};

struct TMainMenu::TImpl {
    TMainMenu* Self = nullptr;
    std::unique_ptr<TMenuItem> Root;
    TVirtualImageList* Images = nullptr;
    TForm* Form = nullptr;
    HWND Window = nullptr;
    std::map<UINT, TMenuItem*> Commands;
    UINT NextId = 1;
    HBRUSH BarBrush = nullptr;
    HBRUSH PopupBrush = nullptr;
    HFONT Font = nullptr;
    int FontDpi = 0;
    UINT_PTR DumpTimer = 0;
    int BuiltDpi = 0; // the resolution that the pictures were made for

    // Menus with a report of their tree due, by the thread timer that makes it.
    static std::map<UINT_PTR, TImpl*>& PendingDumps() {
        static std::map<UINT_PTR, TImpl*> pending;
        return pending;
    }

    // After the changes of one turn of the message loop, the tree once.
    void ScheduleDump() {
        if (!DebugMenu() || DumpTimer) return;
        DumpTimer = SetTimer(nullptr, 0, 0, OnDumpTimer);
        if (DumpTimer) PendingDumps()[DumpTimer] = this;
    }

    static void CALLBACK OnDumpTimer(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        const auto found = PendingDumps().find(timer);
        if (found == PendingDumps().end()) return;
        TImpl* self = found->second;
        PendingDumps().erase(found);
        self->DumpTimer = 0;
        std::string text = std::string("crv-menu: begin ") + (self->Form ? "attached" : "detached") + "\n";
        DumpLevel(*self->Root, 0, text);
        text += "crv-menu: end\n";
        std::fputs(text.c_str(), stderr);
        std::fflush(stderr);
    }

    static void DumpLevel(const TMenuItem& parent, int depth, std::string& out) {
        for (const auto& child : parent.FImpl->Children) {
            const auto& d = *child->FImpl;
            out +=
                MenuText::DebugLine({depth, d.IsLine() ? std::string_view("-") : std::string_view(d.Keyed),
                                     d.Tag, d.Enabled, d.Shown, d.ImageName, d.ImageIndex, d.PictureDrawn});
            DumpLevel(*child, depth + 1, out);
        }
    }

    ~TImpl() {
        if (DumpTimer) {
            KillTimer(nullptr, DumpTimer);
            PendingDumps().erase(DumpTimer);
        }
        for (HGDIOBJ object :
             {static_cast<HGDIOBJ>(BarBrush), static_cast<HGDIOBJ>(PopupBrush), static_cast<HGDIOBJ>(Font)})
            if (object) DeleteObject(object);
    }

    UINT TakeId(TMenuItem* item) {
        // Menu ids reach the window as the low word of WM_COMMAND.
        while (NextId == 0 || NextId > 0xFFFF || Commands.count(NextId))
            NextId = NextId == 0 || NextId > 0xFFFF ? 1 : NextId + 1;
        Commands[NextId] = item;
        return NextId++;
    }

    int Dpi() const { return Pictures::WindowDpi(Window); }
    bool OwnerDrawn() const { return Win32ThemeColors().Active; }

    HFONT MenuFont(int dpi) {
        if (Font && FontDpi == dpi) return Font;
        if (Font) DeleteObject(Font);
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        Font = SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi) ||
                       SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)
                   ? CreateFontIndirectW(&metrics.lfMenuFont)
                   : nullptr;
        FontDpi = dpi;
        return Font;
    }

    // The menus' backgrounds in the palette's colours, or the system's.
    void PaintBackgrounds() {
        for (HBRUSH* brush : {&BarBrush, &PopupBrush})
            if (*brush) DeleteObject(*brush), *brush = nullptr;
        if (OwnerDrawn()) {
            BarBrush = CreateSolidBrush(Win32ThemeColors().MenuBar);
            PopupBrush = CreateSolidBrush(Win32ThemeColors().Window);
        }
    }

    // The bar beyond its last item. Not every system fills it with the menu's background brush.
    void PaintBarRest(HWND window) const {
        MENUBARINFO bar{};
        bar.cbSize = sizeof bar;
        HMENU handle = GetMenu(window);
        if (!handle || !GetMenuBarInfo(window, OBJID_MENU, 0, &bar)) return;
        RECT rest = bar.rcBar;
        const int count = GetMenuItemCount(handle);
        RECT last{};
        if (count > 0 && GetMenuItemRect(window, handle, static_cast<UINT>(count - 1), &last))
            rest.left = last.right;
        if (rest.left >= rest.right) return;
        RECT frame{};
        GetWindowRect(window, &frame);
        OffsetRect(&rest, -frame.left, -frame.top);
        if (HDC dc = GetWindowDC(window)) {
            FillRect(dc, &rest, BarBrush);
            ReleaseDC(window, dc);
        }
    }

    void SetBackground(HMENU menu, bool bar) const {
        MENUINFO info{};
        info.cbSize = sizeof info;
        info.fMask = MIM_BACKGROUND;
        info.hbrBack = bar ? BarBrush : PopupBrush;
        SetMenuInfo(menu, &info);
    }

    void RebuildAll(TMenuItem& item) {
        if (!item.FImpl->Children.empty() || !item.FImpl->Parent) item.FImpl->Rebuild();
        for (auto& child : item.FImpl->Children)
            RebuildAll(*child);
    }

    void Restyle() {
        PaintBackgrounds();
        RebuildAll(*Root);
    }

    TMenuItem* FindLevel(TMenuItem& item, HMENU handle) {
        if (item.FImpl->Handle == handle) return &item;
        for (auto& child : item.FImpl->Children)
            if (TMenuItem* found = FindLevel(*child, handle)) return found;
        return nullptr;
    }

    // Whether item data of an owner-drawn entry is an item of this menu; it is not dereferenced
    // before that is known.
    bool Owns(const TMenuItem* item) const {
        for (const auto& entry : Commands)
            if (entry.second == item) return true;
        return false;
    }

    void Measure(MEASUREITEMSTRUCT& measure, const TMenuItem& item);
    void Draw(const DRAWITEMSTRUCT& draw, const TMenuItem& item);
    bool MenuChar(WPARAM wParam, LPARAM lParam, LRESULT& result);
};

void TMenuItem::TImpl::MakePicture(int dpi) {
    if (Picture) DeleteObject(Picture);
    Picture = nullptr;
    PictureDrawn.clear();
    const TVirtualImageList* images = Menu->FImpl->Images;
    if (!images || !images->ImageCollection || ImageIndex < 0 || ImageIndex >= images->Count()) return;
    const int width = Pictures::ScaledSize(images->Width, dpi);
    const int height = Pictures::ScaledSize(images->Height, dpi);
    TBitmap sized =
        Pictures::Fit(TMenuAccess::Picture(*images->ImageCollection, ImageIndex), width, height, true);
    if (!Enabled && images->DisabledGrayscale) Pictures::Grey(sized);
    Picture = Pictures::ToBitmapHandle(sized);
    PictureSize[0] = width;
    PictureSize[1] = height;
    PictureDrawn = std::to_string(width) + "x" + std::to_string(height) +
                   (!Enabled && images->DisabledGrayscale ? " grey" : "");
}

void TMenuItem::TImpl::Rebuild() {
    auto& menu = *Menu->FImpl;
    if (!Handle) {
        if (Children.empty()) return;
        Handle = CreatePopupMenu();
    }
    Detach();
    std::vector<std::string> captions;
    std::vector<bool> lines;
    for (const auto& child : Children) {
        captions.push_back(child->FImpl->Caption);
        lines.push_back(child->FImpl->IsLine());
    }
    const auto keyed = MenuText::AssignAccessKeys(captions);
    const auto shown = MenuText::ShownItems(lines);
    const bool ownerDrawn = menu.OwnerDrawn();
    const int dpi = menu.Dpi();
    menu.BuiltDpi = dpi;
    bool anyPicture = false;
    for (std::size_t i = 0; i < Children.size(); ++i) {
        auto& child = *Children[i]->FImpl;
        child.Keyed = keyed[i];
        child.MakePicture(dpi);
        anyPicture = anyPicture || child.Picture;
    }
    for (std::size_t i = 0; i < Children.size(); ++i) {
        auto& child = *Children[i]->FImpl;
        child.ReservePicture = Parent && anyPicture;
        child.Shown = shown[i];
        if (!shown[i]) continue;
        const std::wstring text = SystemText(child.Keyed);
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
        info.fType = child.IsLine() ? MFT_SEPARATOR : MFT_STRING;
        info.fState = child.Enabled ? MFS_ENABLED : MFS_DISABLED;
        info.wID = child.Id;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(child.Self);
        // An empty submenu would open as an empty box: such an item shows as a command item.
        info.hSubMenu = child.Children.empty() ? nullptr : child.Handle;
        if (ownerDrawn) {
            info.fType |= MFT_OWNERDRAW;
        } else if (!child.IsLine()) {
            info.fMask |= MIIM_STRING | MIIM_BITMAP;
            info.dwTypeData = const_cast<wchar_t*>(text.c_str());
            info.hbmpItem = child.Picture;
        }
        InsertMenuItemW(Handle, GetMenuItemCount(Handle), TRUE, &info);
        Entries.push_back(child.Self);
    }
    menu.SetBackground(Handle, !Parent);
    if (!Parent && menu.Window) DrawMenuBar(menu.Window);
    menu.ScheduleDump();
}

void TMainMenu::TImpl::Measure(MEASUREITEMSTRUCT& measure, const TMenuItem& item) {
    const auto& d = *item.FImpl;
    const int dpi = Dpi();
    const auto px = [dpi](int size) { return Pictures::ScaledSize(size, dpi); };
    if (d.IsLine()) {
        measure.itemWidth = static_cast<UINT>(px(8));
        measure.itemHeight = static_cast<UINT>(px(7));
        return;
    }
    RECT box{};
    HDC dc = GetDC(Window);
    HGDIOBJ previous = SelectObject(dc, MenuFont(dpi));
    const std::wstring text = SystemText(d.Keyed);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, previous);
    ReleaseDC(Window, dc);
    const int picture = d.Picture ? d.PictureSize[0] + px(4) : 0;
    if (d.IsBarItem()) {
        measure.itemWidth = static_cast<UINT>(box.right + picture + px(12));
        measure.itemHeight = static_cast<UINT>(std::max<int>(box.bottom, d.PictureSize[1]) + px(4));
    } else {
        const int column = d.ReservePicture ? px(Images ? Images->Width : 16) + px(8) : px(8);
        measure.itemWidth = static_cast<UINT>(column + box.right + px(24));
        measure.itemHeight = static_cast<UINT>(std::max<int>(box.bottom + px(8), d.PictureSize[1] + px(6)));
    }
}

void TMainMenu::TImpl::Draw(const DRAWITEMSTRUCT& draw, const TMenuItem& item) {
    const auto& d = *item.FImpl;
    const auto& colours = Win32ThemeColors();
    const int dpi = Dpi();
    const auto px = [dpi](int size) { return Pictures::ScaledSize(size, dpi); };
    const bool bar = d.IsBarItem();
    const bool hot = (draw.itemState & (ODS_SELECTED | ODS_HOTLIGHT)) && d.Enabled && !d.IsLine();
    const COLORREF back = hot ? colours.Highlight : bar ? colours.MenuBar : colours.Window;
    COLORREF fore = hot ? colours.HighlightText : bar ? colours.MenuText : colours.WindowText;
    if (!d.Enabled) fore = Blend(fore, back, 55);
    HDC dc = draw.hDC;
    RECT area = draw.rcItem;
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
    if (d.IsLine()) {
        HBRUSH line = CreateSolidBrush(Blend(colours.Window, colours.WindowText, 25));
        RECT stroke{area.left + px(4), (area.top + area.bottom) / 2, area.right - px(4),
                    (area.top + area.bottom) / 2 + 1};
        FillRect(dc, &stroke, line);
        DeleteObject(line);
        return;
    }
    int left = area.left + (bar ? px(6) : px(4));
    if (d.Picture) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ previous = SelectObject(source, d.Picture);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        const int top = (area.top + area.bottom - d.PictureSize[1]) / 2;
        GdiAlphaBlend(dc, left, top, d.PictureSize[0], d.PictureSize[1], source, 0, 0, d.PictureSize[0],
                      d.PictureSize[1], blend);
        SelectObject(source, previous);
        DeleteDC(source);
    }
    if (bar) {
        left += d.Picture ? d.PictureSize[0] + px(4) : 0;
    } else {
        left += d.ReservePicture ? px(Images ? Images->Width : 16) + px(8) : px(4);
    }
    RECT textArea{left, area.top, area.right - px(4), area.bottom};
    HGDIOBJ previous = SelectObject(dc, MenuFont(dpi));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, fore);
    const std::wstring text = SystemText(d.Keyed);
    const UINT format = DT_SINGLELINE | DT_VCENTER | (draw.itemState & ODS_NOACCEL ? DT_HIDEPREFIX : 0);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea, format);
    SelectObject(dc, previous);
}

// Owner-drawn items leave access keys to us: the key typed while a menu of ours is open.
bool TMainMenu::TImpl::MenuChar(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    TMenuItem* level = FindLevel(*Root, reinterpret_cast<HMENU>(lParam));
    if (!level || !OwnerDrawn()) return false;
    const wchar_t typed[2] = {static_cast<wchar_t>(LOWORD(wParam)), 0};
    std::string key = Win32::Narrow(typed);
    if (key.size() == 1) key[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(key[0])));
    const auto& entries = level->FImpl->Entries;
    for (std::size_t pos = 0; pos < entries.size(); ++pos) {
        const auto& d = *entries[pos]->FImpl;
        if (!d.IsLine() && d.Enabled && MenuText::MarkedKey(d.Keyed) == key) {
            result = MAKELRESULT(pos, MNC_EXECUTE);
            return true;
        }
    }
    return false;
}

TMenuItem::TMenuItem(TMainMenu& menu, TMenuItem* parent) : FImpl(std::make_unique<TImpl>()) {
    FImpl->Menu = &menu;
    FImpl->Self = this;
    FImpl->Parent = parent;
    if (parent) FImpl->Id = menu.FImpl->TakeId(this);
}

TMenuItem::~TMenuItem() {
    if (FImpl->Id) FImpl->Menu->FImpl->Commands.erase(FImpl->Id);
}

const std::string& TMenuItem::Caption() const {
    return FImpl->Caption;
}

void TMenuItem::SetCaption(const std::string& caption) {
    FImpl->Caption = caption;
    if (FImpl->Parent) FImpl->Parent->FImpl->Rebuild();
}

std::int32_t TMenuItem::Tag() const {
    return FImpl->Tag;
}

void TMenuItem::SetTag(std::int32_t tag) {
    FImpl->Tag = tag;
    FImpl->Menu->FImpl->ScheduleDump();
}

bool TMenuItem::Enabled() const {
    return FImpl->Enabled;
}

void TMenuItem::SetEnabled(bool enabled) {
    FImpl->Enabled = enabled;
    if (FImpl->Parent) FImpl->Parent->FImpl->Rebuild();
}

const std::string& TMenuItem::ImageName() const {
    return FImpl->ImageName;
}

void TMenuItem::SetImageName(const std::string& name) {
    FImpl->ImageName = name;
    FImpl->Menu->FImpl->ScheduleDump();
}

int TMenuItem::ImageIndex() const {
    return FImpl->ImageIndex;
}

void TMenuItem::SetImageIndex(int index) {
    FImpl->ImageIndex = index;
    if (FImpl->Parent) FImpl->Parent->FImpl->Rebuild();
}

int TMenuItem::Count() const {
    return static_cast<int>(FImpl->Children.size());
}

TMenuItem& TMenuItem::Item(int index) const {
    return *FImpl->Children.at(static_cast<std::size_t>(index));
}

TMenuItem* TMenuItem::Parent() const {
    return FImpl->Parent;
}

TMenuItem& TMenuItem::Add() {
    FImpl->Children.push_back(std::unique_ptr<TMenuItem>(new TMenuItem(*FImpl->Menu, this)));
    TMenuItem& child = *FImpl->Children.back();
    FImpl->Rebuild();
    // The first child turns the item into a submenu heading in its own level.
    if (FImpl->Parent && FImpl->Children.size() == 1) FImpl->Parent->FImpl->Rebuild();
    return child;
}

void TMenuItem::Clear() {
    // The level above lets go of the popup before it is destroyed.
    if (FImpl->Parent) FImpl->Parent->FImpl->Detach();
    FImpl->Detach();
    FImpl->Children.clear();
    if (FImpl->Parent) {
        if (FImpl->Handle) DestroyMenu(FImpl->Handle);
        FImpl->Handle = nullptr;
        FImpl->Parent->FImpl->Rebuild();
    } else {
        FImpl->Rebuild();
    }
}

// --- the menu ---

TMainMenu::TMainMenu() : FImpl(std::make_unique<TImpl>()) {
    FImpl->Self = this;
    FImpl->Root.reset(new TMenuItem(*this, nullptr));
    FImpl->Root->FImpl->Handle = CreateMenu();
    FImpl->PaintBackgrounds();
    FImpl->Root->FImpl->Rebuild();
    Restylers()[this] = [this] { FImpl->Restyle(); };
}

TMainMenu::~TMainMenu() {
    Restylers().erase(this);
    if (FImpl->Form) FImpl->Form->SetMenu(nullptr);
    if (FImpl->Images) FImpl->Images->OnChange = nullptr;
    HMENU bar = FImpl->Root->FImpl->Handle;
    FImpl->Root.reset();
    if (bar) DestroyMenu(bar);
}

TMenuItem& TMainMenu::Items() {
    return *FImpl->Root;
}

void TMainMenu::SetImages(TVirtualImageList* images) {
    if (FImpl->Images) FImpl->Images->OnChange = nullptr;
    FImpl->Images = images;
    if (images) images->OnChange = [this] { FImpl->RebuildAll(*FImpl->Root); };
    FImpl->RebuildAll(*FImpl->Root);
}

TVirtualImageList* TMainMenu::Images() const {
    return FImpl->Images;
}

TForm* TMainMenu::Form() const {
    return FImpl->Form;
}

void RestyleMenus() {
    for (const auto& restyle : Restylers())
        restyle.second();
}

const TBitmap& TMenuAccess::Picture(const TImageCollection& images, int index) {
    return images.FImpl->Pictures.at(static_cast<std::size_t>(index)).Bitmap;
}

HMENU TMenuAccess::Bar(TMainMenu& menu) {
    return menu.FImpl->Root->FImpl->Handle;
}

void TMenuAccess::SetForm(TMainMenu& menu, TForm* form) {
    menu.FImpl->Form = form;
    menu.FImpl->Window = form ? static_cast<HWND>(form->Handle()) : nullptr;
    // Pictures follow the resolution of the window's screen.
    menu.FImpl->RebuildAll(*menu.FImpl->Root);
}

bool TMenuAccess::IsShortCut(TMainMenu& menu, const TKeyMessage& message) {
    HWND window = menu.FImpl->Window;
    if (message.Message != WM_SYSKEYDOWN || !window || menu.FImpl->Root->FImpl->Entries.empty()) return false;
    // Posted, so that the menu loop starts after the key's own handling ends.
    if (message.WParam == VK_F10) return PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
    // Virtual keys of letters and digits are their upper-case characters.
    const auto key = message.WParam;
    if (!(key >= '0' && key <= '9') && !(key >= 'A' && key <= 'Z')) return false;
    const char wanted = static_cast<char>(std::tolower(static_cast<int>(key)));
    for (const TMenuItem* item : menu.FImpl->Root->FImpl->Entries) {
        const auto& d = *item->FImpl;
        if (d.Enabled && !d.IsLine() && MenuText::MarkedKey(d.Keyed) == std::string(1, wanted))
            return PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wanted));
    }
    return false;
}

bool TMenuAccess::HandleMessage(TMainMenu& menu, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT& result) {
    auto& impl = *menu.FImpl;
    switch (message) {
    case WM_NCPAINT:
    case WM_NCACTIVATE:
        if (!impl.BarBrush) return false;
        result = DefWindowProcW(window, message, wParam, lParam);
        impl.PaintBarRest(window);
        return true;
    case WM_COMMAND: {
        // Menus send a notification code of 0 and no control.
        if (HIWORD(wParam) != 0 || lParam != 0) return false;
        const auto found = impl.Commands.find(LOWORD(wParam));
        if (found == impl.Commands.end()) return false;
        TMenuItem& item = *found->second;
        // A copy: the handler may replace itself or rebuild the menu.
        if (auto handler = item.OnClick; handler && item.FImpl->Children.empty()) handler(item);
        result = 0;
        return true;
    }
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        const auto* item = reinterpret_cast<const TMenuItem*>(measure->itemData);
        if (measure->CtlType != ODT_MENU || !impl.Owns(item)) return false;
        impl.Measure(*measure, *item);
        result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const auto* item = reinterpret_cast<const TMenuItem*>(draw->itemData);
        if (draw->CtlType != ODT_MENU || !impl.Owns(item)) return false;
        impl.Draw(*draw, *item);
        result = TRUE;
        return true;
    }
    case WM_MENUCHAR:
        return impl.MenuChar(wParam, lParam, result);
    case WM_INITMENUPOPUP:
        // A window moved to a screen of another resolution gets pictures of that size.
        if (impl.BuiltDpi != impl.Dpi()) impl.RebuildAll(*impl.Root);
        return false;
    default:
        return false;
    }
}

} // namespace Platform
