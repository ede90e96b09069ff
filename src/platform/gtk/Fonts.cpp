// Text measured with Pango, at the screen's settings when a display is open.
#include "platform/Fonts.h"

#include <gtk/gtk.h>
#include <pango/pangocairo.h>

#include "platform/Application.h"

namespace Platform {

int TextWidthInPixels(const TFontDescription& font, const std::string& text) {
    if (font.PixelSize <= 0) return -1;
    if (text.empty()) return 0;
    // Without a display the font map alone still measures; only the screen's hinting is missing.
    PangoContext* context = EnsureUiInitialized()
                                ? gdk_pango_context_get()
                                : pango_font_map_create_context(pango_cairo_font_map_get_default());
    if (!context) return -1;
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font.Family.empty() ? "Sans" : font.Family.c_str());
    pango_font_description_set_absolute_size(description, font.PixelSize * static_cast<double>(PANGO_SCALE));
    pango_font_description_set_weight(description, font.Bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description, font.Italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);

    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, description);
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    PangoRectangle logical{};
    pango_layout_get_extents(layout, nullptr, &logical);
    const int width = PANGO_PIXELS_CEIL(logical.width);

    g_object_unref(layout);
    pango_font_description_free(description);
    g_object_unref(context);
    return width;
}

} // namespace Platform
