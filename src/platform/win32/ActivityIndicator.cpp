// The busy indicator drawn with GDI+ into a child window of the control, redrawn from a timer while
// it animates.
#include "platform/ActivityIndicator.h"

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <algorithm>
#include <cmath>

#include "platform/win32/ControlTree.h"
#include "platform/win32/UiLoop.h"

namespace Platform {

namespace {

namespace Gdip = Gdiplus::DllExports;

constexpr const wchar_t* kIndicatorClass = L"CrvActivityIndicator";
constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFrameMilliseconds = 16;
constexpr double kPi = 3.14159265358979323846;

double Fraction(double value) {
    return value - std::floor(value);
}

float Degrees(double radians) {
    return static_cast<float>(radians * 180 / kPi);
}

Gdiplus::ARGB Argb(double alpha, int v) {
    const auto a = static_cast<Gdiplus::ARGB>(std::lround(std::clamp(alpha, 0.0, 1.0) * 255));
    const auto c = static_cast<Gdiplus::ARGB>(v);
    return (a << 24) | (c << 16) | (c << 8) | c;
}

void FillCircle(Gdiplus::GpGraphics* g, Gdiplus::ARGB color, double x, double y, double radius) {
    Gdiplus::GpSolidFill* brush = nullptr;
    Gdip::GdipCreateSolidFill(color, &brush);
    Gdip::GdipFillEllipse(g, brush, static_cast<float>(x - radius), static_cast<float>(y - radius),
                          static_cast<float>(2 * radius), static_cast<float>(2 * radius));
    Gdip::GdipDeleteBrush(brush);
}

// Dots that chase each other round a circle, slow at the bottom and fast over the top.
void DrawMomentumDots(Gdiplus::GpGraphics* g, double size, double t, int v) {
    constexpr int kDots = 5;
    constexpr double kPeriod = 2.0, kLag = 0.14;
    const double dot = size * 0.055, radius = size / 2 - dot - 1;
    for (int i = 0; i < kDots; ++i) {
        const double p = Fraction((t - i * kLag) / kPeriod);
        // The speed swings between 0.15 and 1.85 of the mean over one turn.
        const double turn = p - 0.85 * std::sin(2 * kPi * p) / (2 * kPi);
        const double angle = kPi / 2 + 2 * kPi * turn;
        FillCircle(g, Argb(1, v), size / 2 + radius * std::cos(angle), size / 2 + radius * std::sin(angle),
                   dot);
    }
}

// A quarter of a faint disc, shown full strength and turning.
void DrawRotatingSector(Gdiplus::GpGraphics* g, double size, double t, int v) {
    const double c = size / 2, radius = size / 2 - 1;
    FillCircle(g, Argb(0.2, v), c, c, radius);
    const double start = 2 * kPi * Fraction(t / 1.2) - kPi / 2;
    Gdiplus::GpSolidFill* brush = nullptr;
    Gdip::GdipCreateSolidFill(Argb(1, v), &brush);
    Gdip::GdipFillPie(g, brush, static_cast<float>(c - radius), static_cast<float>(c - radius),
                      static_cast<float>(2 * radius), static_cast<float>(2 * radius), Degrees(start), 90.0f);
    Gdip::GdipDeleteBrush(brush);
}

// Twelve segments of a ring; the lit one walks round, the ones behind it fade.
void DrawSectorRing(Gdiplus::GpGraphics* g, double size, double t, int v) {
    constexpr int kSectors = 12;
    const double c = size / 2, outer = size / 2 - 1, inner = outer * 0.55;
    const double middle = (outer + inner) / 2, step = 2 * kPi / kSectors, gap = step * 0.25;
    const int head = static_cast<int>(Fraction(t) * kSectors);
    for (int k = 0; k < kSectors; ++k) {
        const int behind = (head - k + kSectors) % kSectors;
        Gdiplus::GpPen* pen = nullptr;
        Gdip::GdipCreatePen1(Argb(std::max(0.15, 1.0 - behind * 0.12), v), static_cast<float>(outer - inner),
                             Gdiplus::UnitPixel, &pen);
        const double a0 = k * step - kPi / 2 + gap / 2;
        Gdip::GdipDrawArc(g, pen, static_cast<float>(c - middle), static_cast<float>(c - middle),
                          static_cast<float>(2 * middle), static_cast<float>(2 * middle), Degrees(a0),
                          Degrees(step - gap));
        Gdip::GdipDeletePen(pen);
    }
}

void StartGdiplus() {
    static const bool started = [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    (void)started;
}

} // namespace

struct TActivityIndicator::TIndicator {
    HWND Area = nullptr;
    TActivityIndicatorType Type = TActivityIndicatorType::MomentumDots;
    TActivityIndicatorColor Color = TActivityIndicatorColor::Black;
    TActivityIndicatorSize Size = TActivityIndicatorSize::Medium;
    bool Animate = false;
    ULONGLONG Start = GetTickCount64();
    int Left = 0, Top = 0;

    // Drawn off screen first, over the form's background, so that frames do not flicker.
    void Paint(HDC target) const {
        RECT rect;
        GetClientRect(Area, &rect);
        HDC dc = CreateCompatibleDC(target);
        HBITMAP bitmap = CreateCompatibleBitmap(target, rect.right, rect.bottom);
        HGDIOBJ old = SelectObject(dc, bitmap);
        HBRUSH background = CreateSolidBrush(BackgroundOf(Area));
        FillRect(dc, &rect, background);
        DeleteObject(background);
        // A stopped indicator shows nothing, as a busy sign must not linger.
        if (Animate) {
            Gdiplus::GpGraphics* g = nullptr;
            if (Gdip::GdipCreateFromHDC(dc, &g) == Gdiplus::Ok) {
                Gdip::GdipSetSmoothingMode(g, Gdiplus::SmoothingModeAntiAlias);
                const double size = std::min(rect.right, rect.bottom);
                const double t = static_cast<double>(GetTickCount64() - Start) / 1000;
                const int v = Color == TActivityIndicatorColor::White ? 255 : 0;
                switch (Type) {
                case TActivityIndicatorType::MomentumDots:
                    DrawMomentumDots(g, size, t, v);
                    break;
                case TActivityIndicatorType::RotatingSector:
                    DrawRotatingSector(g, size, t, v);
                    break;
                case TActivityIndicatorType::SectorRing:
                    DrawSectorRing(g, size, t, v);
                    break;
                }
                Gdip::GdipDeleteGraphics(g);
            }
        }
        BitBlt(target, 0, 0, rect.right, rect.bottom, dc, 0, 0, SRCCOPY);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    void UpdateTimer() {
        if (!Area) return;
        if (Animate) {
            Start = GetTickCount64();
            SetTimer(Area, kFrameTimer, kFrameMilliseconds, nullptr);
        } else {
            KillTimer(Area, kFrameTimer);
        }
        InvalidateRect(Area, nullptr, FALSE);
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<TIndicator*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_TIMER:
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_PRINTCLIENT:
            if (self) self->Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            if (self) self->Paint(dc);
            EndPaint(window, &paint);
            return 0;
        }
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

TActivityIndicator::TActivityIndicator() : FIndicator(std::make_unique<TIndicator>()) {
    if (HWND parent = TControlAccess::Window(*this)) {
        StartGdiplus();
        static const bool registered = [] {
            WNDCLASSEXW cls{};
            cls.cbSize = sizeof cls;
            cls.lpfnWndProc = TIndicator::WindowProc;
            cls.hInstance = GetModuleHandleW(nullptr);
            cls.lpszClassName = kIndicatorClass;
            return RegisterClassExW(&cls) != 0;
        }();
        (void)registered;
        HWND area = CreateWindowExW(0, kIndicatorClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
        if (area) SetWindowLongPtrW(area, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(FIndicator.get()));
        FIndicator->Area = area;
    }
    SetIndicatorSize(FIndicator->Size);
}

TActivityIndicator::~TActivityIndicator() {
    if (FIndicator->Area) {
        KillTimer(FIndicator->Area, kFrameTimer);
        SetWindowLongPtrW(FIndicator->Area, GWLP_USERDATA, 0);
    }
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
    if (FIndicator->Area) InvalidateRect(FIndicator->Area, nullptr, FALSE);
}

TActivityIndicatorType TActivityIndicator::IndicatorType() const {
    return FIndicator->Type;
}

void TActivityIndicator::SetIndicatorColor(TActivityIndicatorColor color) {
    FIndicator->Color = color;
    if (FIndicator->Area) InvalidateRect(FIndicator->Area, nullptr, FALSE);
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
    FIndicator->UpdateTimer();
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
        MoveWindow(FIndicator->Area, 0, 0, ClientRect().Right, ClientRect().Bottom, TRUE);
}

} // namespace Platform
