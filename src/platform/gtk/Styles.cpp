// The style manager over GTK CSS: a style is one palette poured into one style sheet, installed for
// the whole screen above the desktop theme; the system look installs nothing.
#include "platform/Styles.h"

#include <gtk/gtk.h>

#include <string_view>

#include "platform/Application.h"
#include "platform/StyleRegistry.h"

namespace Platform {

namespace {

// Colours come from the @crv_* names defined in front of it, so every style uses the same rules.
// Only the toolkit's own widgets are named: the browser draws its page itself.
constexpr std::string_view kStyleSheet = R"css(
window.background, dialog.background, messagedialog.background, assistant.background {
  background-color: @crv_window; color: @crv_text; }
label:disabled { color: alpha(@crv_text, 0.45); }
separator { background-image: none; background-color: alpha(@crv_text, 0.18); }
frame > border, .frame { border-color: @crv_border; }

headerbar, .titlebar:not(headerbar), messagedialog .titlebar {
  background-image: none; background-color: @crv_menubar; color: @crv_menubar_text;
  border-color: @crv_border; box-shadow: none; }
window.csd > .titlebar:not(headerbar) { background-color: transparent; }

menubar, .menubar {
  background-color: @crv_menubar; color: @crv_menubar_text; box-shadow: inset 0 -1px @crv_border; }
menubar > menuitem, .menubar > menuitem { color: @crv_menubar_text; }
menubar > menuitem:hover, .menubar > menuitem:hover {
  background-color: @crv_accent; color: @crv_accent_text; box-shadow: none; }
menubar > menuitem:disabled, .menubar > menuitem:disabled { color: alpha(@crv_menubar_text, 0.45); }

menu, .menu, .context-menu { background-color: @crv_base; color: @crv_text; border: 1px solid @crv_border; }
menu menuitem, .menu menuitem, .context-menu menuitem { background-color: transparent; color: @crv_text; }
menu menuitem:hover, .menu menuitem:hover, .context-menu menuitem:hover {
  background-color: @crv_accent; color: @crv_accent_text; }
menu menuitem:disabled, .menu menuitem:disabled, .context-menu menuitem:disabled { color: alpha(@crv_text, 0.45); }
menu > arrow, .menu > arrow, .context-menu > arrow { background-color: @crv_base; color: @crv_text; }
menu menuitem check, menu menuitem radio { background-color: transparent; background-image: none; color: inherit; }

button {
  background-image: none; background-color: @crv_button; color: @crv_text; border-color: @crv_border;
  box-shadow: none; text-shadow: none; -gtk-icon-shadow: none; outline-color: alpha(@crv_text, 0.4); }
button:hover { background-color: mix(@crv_button, @crv_accent, 0.25); }
button:active, button:checked, button.suggested-action {
  background-color: @crv_accent; color: @crv_accent_text; border-color: shade(@crv_accent, 0.8); }
button:disabled { background-color: mix(@crv_button, @crv_window, 0.5); color: alpha(@crv_text, 0.45); }
button.flat, button.titlebutton { background-color: transparent; border-color: transparent; }
button.flat:hover, button.titlebutton:hover { background-color: mix(@crv_window, @crv_accent, 0.25); }
headerbar button, .titlebar button { color: @crv_menubar_text; }

entry, spinbutton:not(.vertical) {
  background-image: none; background-color: @crv_base; color: @crv_text; border-color: @crv_border;
  box-shadow: none; }
entry:focus { border-color: @crv_accent; box-shadow: inset 0 0 0 1px @crv_accent; }
entry:disabled { background-color: @crv_window; color: alpha(@crv_text, 0.45); }

.view, iconview, .view text, iconview text, textview text, list, treeview.view {
  background-color: @crv_base; color: @crv_text; }
treeview.view { border-left-color: @crv_border; border-top-color: @crv_window; }
treeview.view header button { background-color: @crv_window; color: @crv_text; }
selection, .view:selected, iconview:selected, .view text:selected, row:selected, treeview.view:selected,
placessidebar row:selected {
  background-color: @crv_accent; color: @crv_accent_text; }
.sidebar { background-color: mix(@crv_window, @crv_base, 0.5); color: @crv_text; }
placessidebar row { color: @crv_text; }

popover.background { background-color: @crv_window; color: @crv_text; border-color: @crv_border; }
notebook > header { background-color: mix(@crv_window, @crv_border, 0.25); border-color: @crv_border; }
notebook > stack:not(:only-child) { background-color: @crv_base; }

scrollbar { background-color: mix(@crv_window, @crv_border, 0.3); border-color: @crv_border; }
scrollbar.overlay-indicator:not(.dragging):not(.hovering) { background-color: transparent; border-color: transparent; }
scrollbar slider { background-color: mix(@crv_text, @crv_window, 0.55); }
scrollbar slider:hover { background-color: mix(@crv_text, @crv_window, 0.35); }
scrollbar slider:active { background-color: @crv_accent; }

check, radio { background-image: none; background-color: @crv_base; border-color: @crv_border; color: @crv_text;
  box-shadow: none; }
check:checked, radio:checked, check:indeterminate, radio:indeterminate {
  background-color: @crv_accent; border-color: shade(@crv_accent, 0.8); color: @crv_accent_text; }
switch { background-color: @crv_button; border-color: @crv_border; color: @crv_text; }
switch:checked { background-color: @crv_accent; color: @crv_accent_text; }
switch slider { background-image: none; background-color: @crv_base; border-color: @crv_border; }
progressbar trough, scale trough { background-color: mix(@crv_window, @crv_border, 0.5); border-color: @crv_border; }
progressbar progress, scale highlight { background-image: none; background-color: @crv_accent; border-color: @crv_accent; }
)css";

// Light from above on the raised parts.
constexpr std::string_view kGlossSheet = R"css(
button, menubar, .menubar, headerbar {
  background-image: linear-gradient(to bottom, alpha(white, 0.28), alpha(white, 0.06) 50%, alpha(black, 0.08)); }
button:disabled { background-image: none; }
)css";

GtkCssProvider* gInstalled = nullptr;

std::string StyleSheet(const TStylePalette& palette) {
    std::string css;
    const auto define = [&css](const char* name, const char* colour) {
        css += std::string("@define-color ") + name + " " + colour + ";\n";
    };
    define("crv_window", palette.Window);
    define("crv_text", palette.Text);
    define("crv_base", palette.Base);
    define("crv_accent", palette.Accent);
    define("crv_accent_text", palette.AccentText);
    define("crv_menubar", palette.MenuBar);
    define("crv_menubar_text", palette.MenuBarText);
    define("crv_button", palette.Button);
    define("crv_border", palette.Border);
    css += kStyleSheet;
    if (palette.Gloss) css += kGlossSheet;
    const std::string radius = std::to_string(palette.Radius) + "px";
    css += "button, entry, spinbutton:not(.vertical) { border-radius: " + radius +
           "; -gtk-outline-radius: " + radius + "; }\n";
    return css;
}

// Swaps the screen's style sheet for the style's; GTK restyles every open window at once.
void Install(const StyleRegistry::TStyle& style) {
    if (!style.Palette && !gInstalled) return;
    // Without a display there is nothing to draw; the name alone is the choice.
    if (!EnsureUiInitialized()) return;
    GdkScreen* screen = gdk_screen_get_default();
    if (!screen) return;
    if (gInstalled) {
        gtk_style_context_remove_provider_for_screen(screen, GTK_STYLE_PROVIDER(gInstalled));
        g_object_unref(gInstalled);
        gInstalled = nullptr;
    }
    if (!style.Palette) return;
    gInstalled = gtk_css_provider_new();
    const std::string css = StyleSheet(*style.Palette);
    gtk_css_provider_load_from_data(gInstalled, css.c_str(), static_cast<gssize>(css.size()), nullptr);
    // Above the desktop theme and its settings; the user's own gtk.css still has the last word.
    gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(gInstalled),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

} // namespace

void RegisterStyle(const std::string& name, const TStylePalette& palette) {
    StyleRegistry::Register(name, palette);
}

std::vector<std::string> StyleNames() {
    return StyleRegistry::Names();
}

bool SetActiveStyle(const std::string& name) {
    const auto found = StyleRegistry::Find(name);
    if (!found) return false;
    StyleRegistry::ActiveIndex() = *found;
    Install(StyleRegistry::Active());
    return true;
}

std::string ActiveStyleName() {
    return StyleRegistry::Active().Name;
}

} // namespace Platform
