// Picture preparation for the screen: box-filtered scaling in premultiplied alpha, greying, and
// DIB sections for GDI.
#include "platform/win32/Pictures.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace Platform::Pictures {

namespace {

struct TWeight {
    int Index;
    double Weight;
};

// For each target pixel along one axis, the source pixels it covers and how much of each: an
// area average when shrinking, a spread of one pixel when enlarging.
std::vector<std::vector<TWeight>> AxisWeights(int sourceSize, int targetSize) {
    std::vector<std::vector<TWeight>> weights(static_cast<std::size_t>(targetSize));
    const double step = static_cast<double>(sourceSize) / targetSize;
    for (int t = 0; t < targetSize; ++t) {
        double from = t * step, to = from + step;
        if (step < 1) { // enlarging: sample one source pixel's width around the centre
            const double centre = from + step / 2;
            from = std::clamp(centre - 0.5, 0.0, sourceSize - 1.0);
            to = from + 1;
        }
        double total = 0;
        for (int s = static_cast<int>(std::floor(from)); s < sourceSize && s < to; ++s) {
            const double cover = std::min<double>(s + 1, to) - std::max<double>(s, from);
            if (cover <= 0) continue;
            weights[static_cast<std::size_t>(t)].push_back({s, cover});
            total += cover;
        }
        for (auto& w : weights[static_cast<std::size_t>(t)])
            w.Weight /= total;
    }
    return weights;
}

// Scaled into target at (left, top), tw x th pixels.
void Resample(const TBitmap& source, TBitmap& target, int left, int top, int tw, int th) {
    const auto xs = AxisWeights(source.Width, tw);
    const auto ys = AxisWeights(source.Height, th);
    for (int y = 0; y < th; ++y)
        for (int x = 0; x < tw; ++x) {
            double sum[4] = {0, 0, 0, 0};
            for (const auto& wy : ys[static_cast<std::size_t>(y)])
                for (const auto& wx : xs[static_cast<std::size_t>(x)]) {
                    const std::uint8_t* p =
                        &source.Rgba[(static_cast<std::size_t>(wy.Index) * source.Width + wx.Index) * 4];
                    const double w = wy.Weight * wx.Weight, alpha = p[3] / 255.0;
                    for (int c = 0; c < 3; ++c)
                        sum[c] += p[c] * alpha * w;
                    sum[3] += p[3] * w;
                }
            std::uint8_t* q = &target.Rgba[(static_cast<std::size_t>(top + y) * target.Width + left + x) * 4];
            const double alpha = sum[3] / 255.0;
            for (int c = 0; c < 3; ++c)
                q[c] = alpha > 0
                           ? static_cast<std::uint8_t>(std::clamp(std::lround(sum[c] / alpha), 0L, 255L))
                           : 0;
            q[3] = static_cast<std::uint8_t>(std::clamp(std::lround(sum[3]), 0L, 255L));
        }
}

} // namespace

int ScaledSize(int size, int dpi) {
    return std::max(1, static_cast<int>(std::lround(size * (dpi > 0 ? dpi : 96) / 96.0)));
}

int WindowDpi(HWND window) {
    if (window) {
        if (const UINT dpi = GetDpiForWindow(window)) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

TBitmap Fit(const TBitmap& source, int width, int height, bool keepProportions) {
    TBitmap target;
    target.Width = std::max(1, width);
    target.Height = std::max(1, height);
    target.Rgba.assign(static_cast<std::size_t>(target.Width) * target.Height * 4, 0);
    if (source.Width <= 0 || source.Height <= 0) return target;
    int tw = target.Width, th = target.Height;
    if (keepProportions) {
        const double factor =
            std::min(static_cast<double>(tw) / source.Width, static_cast<double>(th) / source.Height);
        tw = std::clamp(static_cast<int>(std::lround(source.Width * factor)), 1, target.Width);
        th = std::clamp(static_cast<int>(std::lround(source.Height * factor)), 1, target.Height);
    }
    Resample(source, target, (target.Width - tw) / 2, (target.Height - th) / 2, tw, th);
    return target;
}

void Grey(TBitmap& bitmap) {
    for (std::size_t i = 0; i + 3 < bitmap.Rgba.size(); i += 4) {
        std::uint8_t* p = &bitmap.Rgba[i];
        const auto luma = static_cast<std::uint8_t>((p[0] * 299 + p[1] * 587 + p[2] * 114 + 500) / 1000);
        p[0] = p[1] = p[2] = luma;
        p[3] /= 2;
    }
}

HBITMAP ToBitmapHandle(const TBitmap& bitmap) {
    if (bitmap.Width <= 0 || bitmap.Height <= 0) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bitmap.Width;
    info.bmiHeader.biHeight = -bitmap.Height; // top-down, as the pixels are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP handle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!handle || !bits) return handle;
    auto* out = static_cast<std::uint8_t*>(bits);
    for (std::size_t i = 0; i + 3 < bitmap.Rgba.size(); i += 4) {
        const std::uint8_t* p = &bitmap.Rgba[i];
        const unsigned alpha = p[3];
        out[i + 0] = static_cast<std::uint8_t>((p[2] * alpha + 127) / 255);
        out[i + 1] = static_cast<std::uint8_t>((p[1] * alpha + 127) / 255);
        out[i + 2] = static_cast<std::uint8_t>((p[0] * alpha + 127) / 255);
        out[i + 3] = static_cast<std::uint8_t>(alpha);
    }
    return handle;
}

} // namespace Platform::Pictures
