// Image decoding with the Windows Imaging Component: any format it has a codec for (PNG, BMP,
// ICO, JPEG, GIF, TIFF, ...) comes out as 8-bit RGBA.
#include "platform/Images.h"

#include <wincodec.h>
#include <windows.h>

namespace Platform {

namespace {

// Releases a COM pointer when it goes out of scope.
template <typename T> struct TComPtr {
    T* P = nullptr;
    ~TComPtr() {
        if (P) P->Release();
    }
    T** operator&() { return &P; }
    T* operator->() const { return P; }
};

} // namespace

bool DecodeImage(std::span<const std::uint8_t> bytes, TBitmap& bitmap) {
    if (bytes.empty() || bytes.size() > 0x7fffffff) return false;
    // Harmless when the thread is already in an apartment: only a first call sets one up.
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool decoded = false;
    {
        TComPtr<IWICImagingFactory> factory;
        TComPtr<IWICStream> stream;
        TComPtr<IWICBitmapDecoder> decoder;
        TComPtr<IWICBitmapFrameDecode> frame;
        TComPtr<IWICFormatConverter> converter;
        UINT width = 0, height = 0;
        if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
            SUCCEEDED(factory->CreateStream(&stream)) &&
            SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()),
                                                   static_cast<DWORD>(bytes.size()))) &&
            SUCCEEDED(factory->CreateDecoderFromStream(stream.P, nullptr, WICDecodeMetadataCacheOnDemand,
                                                       &decoder)) &&
            SUCCEEDED(decoder->GetFrame(0, &frame)) &&
            SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
            SUCCEEDED(converter->Initialize(frame.P, GUID_WICPixelFormat32bppRGBA, WICBitmapDitherTypeNone,
                                            nullptr, 0.0, WICBitmapPaletteTypeCustom)) &&
            SUCCEEDED(converter->GetSize(&width, &height)) && width > 0 && height > 0 && width <= 16384 &&
            height <= 16384) {
            std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
            if (SUCCEEDED(
                    converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(rgba.size()), rgba.data()))) {
                bitmap.Width = static_cast<int>(width);
                bitmap.Height = static_cast<int>(height);
                bitmap.Rgba = std::move(rgba);
                decoded = true;
            }
        }
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return decoded;
}

} // namespace Platform
