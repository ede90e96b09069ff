// A picture of the visible page, written into the caller's stream as PNG or JPEG.
#include <memory>

#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include "webview/BrowserView.h"

namespace CrvWebView {

namespace {

struct TCapture {
    ComPtr<TBrowserView> View;
    ComPtr<IStream> Stream;
    ComPtr<ICoreWebView2CapturePreviewCompletedHandler> Handler;
    COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT Format;
};

bool WriteAll(IStream* stream, const void* data, size_t length) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (length > 0) {
        ULONG written = 0;
        const ULONG chunk = length > (1u << 30) ? (1u << 30) : static_cast<ULONG>(length);
        if (stream->Write(bytes, chunk, &written) < 0 || written == 0) return false;
        bytes += written;
        length -= written;
    }
    return true;
}

HRESULT Encode(cairo_surface_t* surface, COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT format, IStream* stream) {
    if (format == COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_PNG) {
        const cairo_status_t status = cairo_surface_write_to_png_stream(
            surface,
            [](void* target, const unsigned char* data, unsigned int length) {
                return WriteAll(static_cast<IStream*>(target), data, length) ? CAIRO_STATUS_SUCCESS
                                                                             : CAIRO_STATUS_WRITE_ERROR;
            },
            stream);
        return status == CAIRO_STATUS_SUCCESS ? S_OK : E_FAIL;
    }
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    GdkPixbuf* pixbuf = gdk_pixbuf_get_from_surface(surface, 0, 0, width, height);
    if (!pixbuf) return E_FAIL;
    const gboolean saved = gdk_pixbuf_save_to_callback(
        pixbuf,
        [](const gchar* data, gsize length, GError**, gpointer target) -> gboolean {
            return WriteAll(static_cast<IStream*>(target), data, length);
        },
        stream, "jpeg", nullptr, "quality", "90", nullptr);
    g_object_unref(pixbuf);
    return saved ? S_OK : E_FAIL;
}

} // namespace

HRESULT TBrowserView::CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT imageFormat,
                                     IStream* imageStream,
                                     ICoreWebView2CapturePreviewCompletedHandler* handler) {
    CRV_REQUIRE_OPEN();
    if (!imageStream) return E_INVALIDARG;
    if (imageFormat != COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_PNG &&
        imageFormat != COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_JPEG)
        return E_INVALIDARG;
    auto* capture =
        new TCapture{ComPtr<TBrowserView>(this), ComPtr(imageStream), ComPtr(handler), imageFormat};
    webkit_web_view_get_snapshot(
        FView, WEBKIT_SNAPSHOT_REGION_VISIBLE, WEBKIT_SNAPSHOT_OPTIONS_NONE, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<TCapture> job(static_cast<TCapture*>(data));
            GError* error = nullptr;
            cairo_surface_t* surface =
                webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(source), result, &error);
            HRESULT hr = E_FAIL;
            if (surface) {
                hr = Encode(surface, job->Format, job->Stream.Get());
                cairo_surface_destroy(surface);
            }
            if (error) g_error_free(error);
            if (job->Handler) job->Handler->Invoke(hr);
        },
        capture);
    return S_OK;
}

} // namespace CrvWebView
