// Menus over GtkMenuBar and GtkMenu: items made of a picture and a label, access keys and separator
// lines kept right per level, and pictures decoded with GdkPixbuf.
#include "platform/Menu.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "platform/Application.h"
#include "platform/MenuText.h"
#include "platform/gtk/MenuAccess.h"
#include "platform/gtk/Pixbufs.h"

namespace Platform {

namespace {

constexpr unsigned kSysKeyDown = 0x0104;
constexpr std::uintptr_t kVkF10 = 0x79;

bool DebugMenu() {
    static const bool on = std::getenv("CRV_DEBUG_MENU") != nullptr;
    return on;
}

// A picture size of the image list in logical pixels: sizes are given for 96 dots per inch.
int ScreenSize(int size) {
    double dpi = gdk_screen_get_resolution(gdk_screen_get_default());
    if (dpi <= 0) dpi = 96;
    return std::max(1, static_cast<int>(std::lround(size * dpi / 96.0)));
}

// The picture centred in width x height logical pixels at the widget's scale, keeping its
// proportions; in grey when asked.
cairo_surface_t* PictureSurface(GdkPixbuf* source, int width, int height, int scale, bool grey) {
    const int w = width * scale, h = height * scale;
    const int sw = gdk_pixbuf_get_width(source), sh = gdk_pixbuf_get_height(source);
    const double factor = std::min(static_cast<double>(w) / sw, static_cast<double>(h) / sh);
    const int tw = std::clamp(static_cast<int>(std::lround(sw * factor)), 1, w);
    const int th = std::clamp(static_cast<int>(std::lround(sh * factor)), 1, h);
    const int x = (w - tw) / 2, y = (h - th) / 2;
    GdkPixbuf* canvas = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, w, h);
    gdk_pixbuf_fill(canvas, 0);
    gdk_pixbuf_scale(source, canvas, x, y, tw, th, x, y, static_cast<double>(tw) / sw,
                     static_cast<double>(th) / sh, GDK_INTERP_BILINEAR);
    if (grey) gdk_pixbuf_saturate_and_pixelate(canvas, canvas, 0.0f, FALSE);
    cairo_surface_t* surface = gdk_cairo_surface_create_from_pixbuf(canvas, scale, nullptr);
    g_object_unref(canvas);
    return surface;
}

// Marks every widget of the tree as wanting a new size, so that the whole tree is allocated again.
void QueueResizeTree(GtkWidget* widget, gpointer = nullptr) {
    gtk_widget_queue_resize(widget);
    if (GTK_IS_CONTAINER(widget)) gtk_container_forall(GTK_CONTAINER(widget), QueueResizeTree, nullptr);
}

} // namespace

// --- pictures ---

struct TImageCollection::TImpl {
    struct TPicture {
        std::string Name;
        GdkPixbuf* Pixbuf;
    };
    std::vector<TPicture> Pictures;

    ~TImpl() { Clear(); }
    void Clear() {
        for (auto& picture : Pictures)
            g_object_unref(picture.Pixbuf);
        Pictures.clear();
    }
};

TImageCollection::TImageCollection() : FImpl(std::make_unique<TImpl>()) {}
TImageCollection::~TImageCollection() = default;

void TImageCollection::Add(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::string reason;
    GdkPixbuf* pixbuf = DecodePixbuf(bytes.data(), bytes.size(), &reason);
    if (!pixbuf) throw std::runtime_error("The picture " + name + " cannot be decoded: " + reason);
    FImpl->Pictures.push_back({name, pixbuf});
}

void TImageCollection::Clear() {
    FImpl->Clear();
}

int TImageCollection::Count() const {
    return static_cast<int>(FImpl->Pictures.size());
}

std::string TImageCollection::Name(int index) const {
    return index >= 0 && index < Count() ? FImpl->Pictures[index].Name : std::string();
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

    // As the level shows it: the caption with its access key, whether the item shows, and
    // whether the level keeps a picture column.
    std::string Keyed;
    bool Shown = true;
    bool ReservePicture = false;
    std::string PictureDrawn; // for the debug tree: "WxH", with " grey"

    GtkWidget* Widget = nullptr; // null for the root and without a display
    GtkWidget* Image = nullptr;
    GtkWidget* Label = nullptr;
    GtkWidget* Shell = nullptr; // the children's container: the bar for the root, else a submenu

    bool IsLine() const { return MenuText::IsLine(Caption); }
    GtkWidget* Bar() const;

    ~TImpl() {
        Children.clear();
        if (Parent) DropSubmenu();
        DropWidget();
    }

    void DropSubmenu() {
        if (!Shell) return;
        if (Widget && !IsLine()) gtk_menu_item_set_submenu(GTK_MENU_ITEM(Widget), nullptr);
        gtk_widget_destroy(Shell);
        g_object_unref(Shell);
        Shell = nullptr;
    }

    void DropWidget() {
        if (!Widget) return;
        g_signal_handlers_disconnect_by_data(Widget, Self);
        gtk_widget_destroy(Widget);
        g_object_unref(Widget);
        Widget = Image = Label = nullptr;
    }

    // Without a compositor the window under a closing menu is told to repaint, but the browser
    // view draws only when its page changes: ask the whole window for a fresh frame.
    static void OnShellHidden(GtkWidget* shell, gpointer) {
        GtkWidget* attached = gtk_menu_get_attach_widget(GTK_MENU(shell));
        if (attached) gtk_widget_queue_draw(gtk_widget_get_toplevel(attached));
    }

    GtkWidget* EnsureShell() {
        if (Shell || !Parent || !Bar()) return Shell;
        Shell = gtk_menu_new();
        g_object_ref_sink(Shell);
        g_signal_connect(Shell, "hide", G_CALLBACK(OnShellHidden), nullptr);
        if (Widget && !IsLine()) gtk_menu_item_set_submenu(GTK_MENU_ITEM(Widget), Shell);
        return Shell;
    }

    int Position() const {
        const auto& siblings = Parent->FImpl->Children;
        for (std::size_t i = 0; i < siblings.size(); ++i)
            if (siblings[i].get() == Self) return static_cast<int>(i);
        return -1;
    }

    void CreateWidget() {
        GtkWidget* shell = Parent->FImpl->EnsureShell();
        if (!shell) return;
        if (IsLine()) {
            Widget = gtk_separator_menu_item_new();
            // Some themes draw the line one pixel high without room around it: hard to see.
            GtkCssProvider* css = gtk_css_provider_new();
            gtk_css_provider_load_from_data(
                css,
                "separator { margin: 4px 0; min-height: 1px; background-color: alpha(currentColor, 0.25); }",
                -1, nullptr);
            gtk_style_context_add_provider(gtk_widget_get_style_context(Widget), GTK_STYLE_PROVIDER(css),
                                           GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
            g_object_unref(css);
        } else {
            Widget = gtk_menu_item_new();
            GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
            Image = gtk_image_new();
            Label = gtk_label_new(nullptr);
            gtk_label_set_xalign(GTK_LABEL(Label), 0.0f);
            gtk_box_pack_start(GTK_BOX(box), Image, FALSE, FALSE, 0);
            gtk_box_pack_start(GTK_BOX(box), Label, TRUE, TRUE, 0);
            gtk_widget_show(Label);
            gtk_widget_show(box);
            gtk_container_add(GTK_CONTAINER(Widget), box);
            gtk_label_set_mnemonic_widget(GTK_LABEL(Label), Widget);
            g_signal_connect(Widget, "activate", G_CALLBACK(OnActivate), Self);
            if (Shell) gtk_menu_item_set_submenu(GTK_MENU_ITEM(Widget), Shell);
        }
        g_object_ref_sink(Widget);
        gtk_menu_shell_insert(GTK_MENU_SHELL(shell), Widget, Position());
    }

    // The picture of the item's image-list entry, or null.
    GdkPixbuf* Picture() const;

    void Draw() {
        if (!Widget) return;
        gtk_widget_set_visible(Widget, Shown);
        gtk_widget_set_sensitive(Widget, Enabled);
        if (!Label) return;
        gtk_label_set_text_with_mnemonic(GTK_LABEL(Label), MenuText::ToUnderlineNotation(Keyed).c_str());
        DrawPicture();
    }

    void DrawPicture();
    // Access keys, separators and the picture column of the children, after any change among them.
    void Rethink();

    static void OnActivate(GtkMenuItem*, gpointer data) {
        auto* item = static_cast<TMenuItem*>(data);
        // A copy: the handler may replace itself.
        if (auto handler = item->OnClick) handler(*item);
    }
};

struct TMainMenu::TImpl {
    TMainMenu* Self = nullptr;
    GtkWidget* Bar = nullptr;
    std::unique_ptr<TMenuItem> Root;
    TVirtualImageList* Images = nullptr;
    TForm* Form = nullptr;
    guint DumpSource = 0;
    guint RelayoutSource = 0;

    void ShowBar() {
        const bool visible = Form && !Root->FImpl->Children.empty();
        if (!Bar || gtk_widget_get_visible(Bar) == visible) return;
        gtk_widget_set_visible(Bar, visible);
        // The client area changes size with the bar, and a browser inside it takes a new size only
        // after its container was allocated; one more pass gives it the size it asked for.
        if (!RelayoutSource) RelayoutSource = g_idle_add(OnRelayout, this);
    }

    // A click on an item of the bar that has no submenu runs it at once, as it does in submenus;
    // GTK would take a quick click as opening the bar.
    static gboolean OnBarRelease(GtkWidget* bar, GdkEventButton* event, gpointer) {
        GtkWidget* item = gtk_menu_shell_get_selected_item(GTK_MENU_SHELL(bar));
        if (event->button != 1 || !item || gtk_menu_item_get_submenu(GTK_MENU_ITEM(item))) return FALSE;
        // Only a release over the item itself.
        GtkAllocation area;
        gtk_widget_get_allocation(item, &area);
        int left = 0, top = 0;
        gdk_window_get_origin(gtk_widget_get_window(item), &left, &top);
        const double x = event->x_root - left - area.x, y = event->y_root - top - area.y;
        if (x < 0 || x >= area.width || y < 0 || y >= area.height) return FALSE;
        gtk_menu_shell_activate_item(GTK_MENU_SHELL(bar), item, TRUE);
        return TRUE;
    }

    static gboolean OnRelayout(gpointer data) {
        auto* self = static_cast<TImpl*>(data);
        self->RelayoutSource = 0;
        GtkWidget* window = gtk_widget_get_toplevel(self->Bar);
        if (gtk_widget_is_toplevel(window)) QueueResizeTree(window);
        return G_SOURCE_REMOVE;
    }

    void RedrawPictures(TMenuItem& item) {
        item.FImpl->Rethink();
        for (auto& child : item.FImpl->Children)
            RedrawPictures(*child);
    }

    void ScheduleDump() {
        if (DebugMenu() && !DumpSource) DumpSource = g_idle_add(OnDump, this);
    }

    static gboolean OnDump(gpointer data) {
        auto* self = static_cast<TImpl*>(data);
        self->DumpSource = 0;
        std::string text = std::string("crv-menu: begin ") + (self->Form ? "attached" : "detached") + "\n";
        DumpLevel(*self->Root, 0, text);
        text += "crv-menu: end\n";
        std::fputs(text.c_str(), stderr);
        std::fflush(stderr);
        return G_SOURCE_REMOVE;
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
};

GtkWidget* TMenuItem::TImpl::Bar() const {
    return Menu->FImpl->Bar;
}

GdkPixbuf* TMenuItem::TImpl::Picture() const {
    const TVirtualImageList* images = Menu->FImpl->Images;
    if (!images || !images->ImageCollection || ImageIndex < 0 || ImageIndex >= images->Count())
        return nullptr;
    return TMenuAccess::Picture(*images->ImageCollection, ImageIndex);
}

void TMenuItem::TImpl::DrawPicture() {
    PictureDrawn.clear();
    const TVirtualImageList* images = Menu->FImpl->Images;
    const int width = ScreenSize(images ? images->Width : 16);
    const int height = ScreenSize(images ? images->Height : 16);
    GdkPixbuf* picture = Picture();
    if (!picture) {
        gtk_image_clear(GTK_IMAGE(Image));
        gtk_widget_set_size_request(Image, width, height);
        gtk_widget_set_visible(Image, ReservePicture);
        return;
    }
    const bool grey = !Enabled && images->DisabledGrayscale;
    cairo_surface_t* surface =
        PictureSurface(picture, width, height, gtk_widget_get_scale_factor(Widget), grey);
    gtk_image_set_from_surface(GTK_IMAGE(Image), surface);
    cairo_surface_destroy(surface);
    gtk_widget_show(Image);
    PictureDrawn = std::to_string(width) + "x" + std::to_string(height) + (grey ? " grey" : "");
}

void TMenuItem::TImpl::Rethink() {
    std::vector<std::string> captions;
    std::vector<bool> lines;
    bool anyPicture = false;
    for (const auto& child : Children) {
        captions.push_back(child->FImpl->Caption);
        lines.push_back(child->FImpl->IsLine());
        anyPicture = anyPicture || child->FImpl->Picture();
    }
    const auto keyed = MenuText::AssignAccessKeys(captions);
    const auto shown = MenuText::ShownItems(lines);
    for (std::size_t i = 0; i < Children.size(); ++i) {
        auto& child = *Children[i]->FImpl;
        child.Keyed = keyed[i];
        child.Shown = shown[i];
        // Submenus keep a column for pictures when any item of theirs has one; the bar does not.
        child.ReservePicture = Parent && anyPicture;
        child.Draw();
    }
    if (!Parent) Menu->FImpl->ShowBar();
    Menu->FImpl->ScheduleDump();
}

TMenuItem::TMenuItem(TMainMenu& menu, TMenuItem* parent) : FImpl(std::make_unique<TImpl>()) {
    FImpl->Menu = &menu;
    FImpl->Self = this;
    FImpl->Parent = parent;
}

TMenuItem::~TMenuItem() = default;

const std::string& TMenuItem::Caption() const {
    return FImpl->Caption;
}

void TMenuItem::SetCaption(const std::string& caption) {
    const bool wasLine = FImpl->IsLine();
    FImpl->Caption = caption;
    if (!FImpl->Parent) return;
    if (wasLine != FImpl->IsLine() && FImpl->Widget) {
        // A line and an item are different widgets: the item is made anew in its place.
        if (FImpl->Shell && !wasLine) gtk_menu_item_set_submenu(GTK_MENU_ITEM(FImpl->Widget), nullptr);
        FImpl->DropWidget();
        FImpl->CreateWidget();
    }
    FImpl->Parent->FImpl->Rethink();
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
    FImpl->Draw();
    FImpl->Menu->FImpl->ScheduleDump();
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
    if (FImpl->Parent) FImpl->Parent->FImpl->Rethink();
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
    child.FImpl->CreateWidget();
    FImpl->Rethink();
    return child;
}

void TMenuItem::Clear() {
    FImpl->Children.clear();
    if (FImpl->Parent) FImpl->DropSubmenu();
    FImpl->Rethink();
}

// --- the menu ---

TMainMenu::TMainMenu() : FImpl(std::make_unique<TImpl>()) {
    FImpl->Self = this;
    if (EnsureUiInitialized()) {
        FImpl->Bar = gtk_menu_bar_new();
        g_object_ref_sink(FImpl->Bar);
        g_signal_connect(FImpl->Bar, "button-release-event", G_CALLBACK(TImpl::OnBarRelease), nullptr);
    }
    FImpl->Root.reset(new TMenuItem(*this, nullptr));
    FImpl->Root->FImpl->Shell = FImpl->Bar;
}

TMainMenu::~TMainMenu() {
    if (FImpl->Form) FImpl->Form->SetMenu(nullptr);
    if (FImpl->Images) FImpl->Images->OnChange = nullptr;
    if (FImpl->DumpSource) g_source_remove(FImpl->DumpSource);
    if (FImpl->RelayoutSource) g_source_remove(FImpl->RelayoutSource);
    FImpl->Root.reset();
    if (FImpl->Bar) {
        gtk_widget_destroy(FImpl->Bar);
        g_object_unref(FImpl->Bar);
    }
}

TMenuItem& TMainMenu::Items() {
    return *FImpl->Root;
}

void TMainMenu::SetImages(TVirtualImageList* images) {
    if (FImpl->Images) FImpl->Images->OnChange = nullptr;
    FImpl->Images = images;
    if (images) images->OnChange = [this] { FImpl->RedrawPictures(*FImpl->Root); };
    FImpl->RedrawPictures(*FImpl->Root);
}

TVirtualImageList* TMainMenu::Images() const {
    return FImpl->Images;
}

TForm* TMainMenu::Form() const {
    return FImpl->Form;
}

GdkPixbuf* TMenuAccess::Picture(const TImageCollection& images, int index) {
    return images.FImpl->Pictures.at(static_cast<std::size_t>(index)).Pixbuf;
}

GtkWidget* TMenuAccess::Bar(TMainMenu& menu) {
    return menu.FImpl->Bar;
}

void TMenuAccess::SetForm(TMainMenu& menu, TForm* form) {
    menu.FImpl->Form = form;
    menu.FImpl->ShowBar();
    menu.FImpl->ScheduleDump();
}

bool TMenuAccess::IsShortCut(TMainMenu& menu, const TKeyMessage& message) {
    GtkWidget* bar = menu.FImpl->Bar;
    if (message.Message != kSysKeyDown || !bar || !gtk_widget_get_visible(bar)) return false;
    if (message.WParam == kVkF10) {
        gtk_menu_shell_select_first(GTK_MENU_SHELL(bar), FALSE);
        return true;
    }
    // Virtual keys of letters and digits are their upper-case characters.
    const auto key = message.WParam;
    if (!(key >= '0' && key <= '9') && !(key >= 'A' && key <= 'Z')) return false;
    const std::string wanted(1, static_cast<char>(std::tolower(static_cast<int>(key))));
    for (const auto& item : menu.FImpl->Root->FImpl->Children) {
        const auto& d = *item->FImpl;
        if (d.Widget && d.Shown && d.Enabled && !d.IsLine() && MenuText::MarkedKey(d.Keyed) == wanted)
            return gtk_widget_mnemonic_activate(d.Widget, FALSE);
    }
    return false;
}

} // namespace Platform
