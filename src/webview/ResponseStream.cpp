// A response's content as a stream for the browser.
#include "webview/ResponseStream.h"

#include "abi/MemoryStream.h"

namespace CrvWebView {

using namespace WebView2;

GInputStream* InputStreamFor(IStream* content, gint64* length) {
    *length = 0;
    if (!content) return g_memory_input_stream_new();

    IMemoryStreamBytes* memory = nullptr;
    if (content->QueryInterface(IID_IMemoryStreamBytes, reinterpret_cast<void**>(&memory)) >= 0 && memory) {
        const std::uint8_t* data = nullptr;
        std::uint64_t size = 0;
        std::uint64_t position = 0;
        if (memory->GetBytes(&data, &size, &position) >= 0) {
            // The reference taken by QueryInterface keeps the bytes until the browser is done with them.
            GBytes* bytes = g_bytes_new_with_free_func(
                data + position, size - position,
                [](gpointer holder) { static_cast<IMemoryStreamBytes*>(holder)->Release(); }, memory);
            GInputStream* stream = g_memory_input_stream_new_from_bytes(bytes);
            g_bytes_unref(bytes);
            *length = static_cast<gint64>(size - position);
            return stream;
        }
        memory->Release();
    }

    GByteArray* buffer = g_byte_array_new();
    guint8 chunk[65536];
    for (;;) {
        ULONG read = 0;
        const HRESULT hr = content->Read(chunk, sizeof chunk, &read);
        if (hr < 0 || read == 0) break;
        g_byte_array_append(buffer, chunk, read);
        if (hr == S_FALSE) break; // the end of the stream
    }
    *length = buffer->len;
    GBytes* bytes = g_byte_array_free_to_bytes(buffer);
    GInputStream* stream = g_memory_input_stream_new_from_bytes(bytes);
    g_bytes_unref(bytes);
    return stream;
}

} // namespace CrvWebView
