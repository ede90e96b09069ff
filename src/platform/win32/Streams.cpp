// Streams over memory and files: the system's own. The real browser copies what it reads.
#include "platform/Streams.h"

#include <shlwapi.h>

#include "abi/Utf.h"

namespace Platform {

using namespace WebView2;

ComPtr<IStream> CreateMemoryStream(std::vector<std::uint8_t>&& bytes) {
    return ComPtr<IStream>::Attach(SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())));
}

ComPtr<IStream> CreateFileStream(const std::string& path) {
    IStream* stream = nullptr;
    if (FAILED(SHCreateStreamOnFileW(reinterpret_cast<LPCWSTR>(Corvane::Abi::Utf8ToUtf16(path).c_str()),
                                     STGM_CREATE | STGM_READWRITE, &stream)))
        return {};
    return ComPtr<IStream>::Attach(stream);
}

void SeekToStart(IStream* stream) {
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
}

} // namespace Platform
