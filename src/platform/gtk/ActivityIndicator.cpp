// The busy indicator drawn with cairo on a drawing area, redrawn on every frame of the window's frame
// clock while it is on screen.
#include "platform/ActivityIndicator.h"

#include <gtk/gtk.h>

#include <cmath>

#include "platform/gtk/ControlTree.h"

namespace Platform {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Seconds since the animation started, at the time of the frame being drawn.
double Seconds(gint64 start) {
    return static_cast<double>(g_get_monotonic_time() - start) / 1e6;
}

double Fraction(double value) {
    return value - std::floor(value);
}

// Dots that chase each other round a circle, slow at the bottom and fast over the top.
void DrawMomentumDots(cairo_t* cr, double size, double t) {
    constexpr int kDots = 5;
    constexpr double kPeriod = 2.0, kLag = 0.14;
    const double dot = size * 0.055, radius = size / 2 - dot - 1;
    for (int i = 0; i < kDots; ++i) {
        const double p = Fraction((t - i * kLag) / kPeriod);
        // The speed swings between 0.15 and 1.85 of the mean over one turn.
        const double turn = p - 0.85 * std::sin(2 * kPi * p) / (2 * kPi);
        const double angle = kPi / 2 + 2 * kPi * turn;
        cairo_arc(cr, size / 2 + radius * std::cos(angle), size / 2 + radius * std::sin(angle), dot, 0,
                  2 * kPi);
        cairo_fill(cr);
    }
}

// A quarter of a faint disc, shown full strength and turning.
void DrawRotatingSector(cairo_t* cr, double size, double t, double r, double g, double b) {
    const double c = size / 2, radius = size / 2 - 1;
    cairo_set_source_rgba(cr, r, g, b, 0.2);
    cairo_arc(cr, c, c, radius, 0, 2 * kPi);
    cairo_fill(cr);
    const double start = 2 * kPi * Fraction(t / 1.2) - kPi / 2;
    cairo_set_source_rgba(cr, r, g, b, 1);
    cairo_move_to(cr, c, c);
    cairo_arc(cr, c, c, radius, start, start + kPi / 2);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// Twelve segments of a ring; the lit one walks round, the ones behind it fade.
void DrawSectorRing(cairo_t* cr, double size, double t, double r, double g, double b) {
    constexpr int kSectors = 12;
    const double c = size / 2, outer = size / 2 - 1, inner = outer * 0.55;
    const double step = 2 * kPi / kSectors, gap = step * 0.25;
    const int head = static_cast<int>(Fraction(t / 1.0) * kSectors);
    for (int k = 0; k < kSectors; ++k) {
        const int behind = (head - k + kSectors) % kSectors;
        cairo_set_source_rgba(cr, r, g, b, std::max(0.15, 1.0 - behind * 0.12));
        const double a0 = k * step - kPi / 2 + gap / 2, a1 = (k + 1) * step - kPi / 2 - gap / 2;
        cairo_arc(cr, c, c, outer, a0, a1);
        cairo_arc_negative(cr, c, c, inner, a1, a0);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
}

} // namespace

struct TActivityIndicator::TIndicator {
    GtkWidget* Area = nullptr;
    TActivityIndicatorType Type = TActivityIndicatorType::MomentumDots;
    TActivityIndicatorColor Color = TActivityIndicatorColor::Black;
    TActivityIndicatorSize Size = TActivityIndicatorSize::Medium;
    bool Animate = false;
    guint Tick = 0;
    gint64 Start = g_get_monotonic_time();
    int Left = 0, Top = 0;

    static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer data) {
        auto* self = static_cast<TIndicator*>(data);
        const double size =
            std::min(gtk_widget_get_allocated_width(widget), gtk_widget_get_allocated_height(widget));
        const double v = self->Color == TActivityIndicatorColor::White ? 1.0 : 0.0;
        // A stopped indicator shows nothing, as a busy sign must not linger.
        if (!self->Animate) return FALSE;
        const double t = Seconds(self->Start);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_BEST);
        switch (self->Type) {
        case TActivityIndicatorType::MomentumDots:
            cairo_set_source_rgb(cr, v, v, v);
            DrawMomentumDots(cr, size, t);
            break;
        case TActivityIndicatorType::RotatingSector:
            DrawRotatingSector(cr, size, t, v, v, v);
            break;
        case TActivityIndicatorType::SectorRing:
            DrawSectorRing(cr, size, t, v, v, v);
            break;
        }
        return FALSE;
    }

    static gboolean OnTick(GtkWidget* widget, GdkFrameClock*, gpointer) {
        gtk_widget_queue_draw(widget);
        return G_SOURCE_CONTINUE;
    }

    void UpdateTick() {
        if (!Area) return;
        if (Animate && !Tick) {
            Start = g_get_monotonic_time();
            Tick = gtk_widget_add_tick_callback(Area, OnTick, nullptr, nullptr);
        } else if (!Animate && Tick) {
            gtk_widget_remove_tick_callback(Area, Tick);
            Tick = 0;
        }
        gtk_widget_queue_draw(Area);
    }
};

TActivityIndicator::TActivityIndicator() : FIndicator(std::make_unique<TIndicator>()) {
    GtkWidget* layout = TControlAccess::Widget(*this);
    if (layout) {
        GtkWidget* area = gtk_drawing_area_new();
        g_signal_connect(area, "draw", G_CALLBACK(TIndicator::OnDraw), FIndicator.get());
        gtk_layout_put(GTK_LAYOUT(layout), area, 0, 0);
        gtk_widget_show(area);
        FIndicator->Area = area;
    }
    SetIndicatorSize(FIndicator->Size);
}

TActivityIndicator::~TActivityIndicator() {
    if (FIndicator->Area) g_signal_handlers_disconnect_by_data(FIndicator->Area, FIndicator.get());
}

int TActivityIndicator::SizeInPixels(TActivityIndicatorSize size) {
    switch (size) {
    case TActivityIndicatorSize::Small:
        return 24;
    case TActivityIndicatorSize::Medium:
        return 32;
    case TActivityIndicatorSize::Large:
        return 48;
    case TActivityIndicatorSize::XLarge:
        return 64;
    }
    return 32;
}

void TActivityIndicator::SetIndicatorType(TActivityIndicatorType type) {
    FIndicator->Type = type;
    if (FIndicator->Area) gtk_widget_queue_draw(FIndicator->Area);
}

TActivityIndicatorType TActivityIndicator::IndicatorType() const {
    return FIndicator->Type;
}

void TActivityIndicator::SetIndicatorColor(TActivityIndicatorColor color) {
    FIndicator->Color = color;
    if (FIndicator->Area) gtk_widget_queue_draw(FIndicator->Area);
}

TActivityIndicatorColor TActivityIndicator::IndicatorColor() const {
    return FIndicator->Color;
}

void TActivityIndicator::SetIndicatorSize(TActivityIndicatorSize size) {
    FIndicator->Size = size;
    const int pixels = SizeInPixels(size);
    SetBounds(FIndicator->Left, FIndicator->Top, pixels, pixels);
}

TActivityIndicatorSize TActivityIndicator::IndicatorSize() const {
    return FIndicator->Size;
}

void TActivityIndicator::SetAnimate(bool animate) {
    FIndicator->Animate = animate;
    FIndicator->UpdateTick();
}

bool TActivityIndicator::Animate() const {
    return FIndicator->Animate;
}

void TActivityIndicator::SetPosition(int left, int top) {
    FIndicator->Left = left;
    FIndicator->Top = top;
    SetIndicatorSize(FIndicator->Size);
}

void TActivityIndicator::Resized() {
    if (FIndicator && FIndicator->Area)
        gtk_widget_set_size_request(FIndicator->Area, ClientRect().Right, ClientRect().Bottom);
}

} // namespace Platform
