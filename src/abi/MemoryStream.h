// A read-only IStream over bytes held in memory, with which the runtime answers resource requests.
// The browser stand-in reaches the bytes through IMemoryStreamBytes and serves them without copying.
#pragma once

#include <cstdint>
#include <vector>

#include "abi/WebView2.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace WebView2 {

// A new stream with one reference, positioned at the start of the bytes.
IStream* CreateMemoryStream(std::vector<std::uint8_t>&& bytes);

// Private interface of the streams made above. The bytes never change while the stream lives; a
// holder of a reference may keep pointing into them.
struct IMemoryStreamBytes : public IUnknown {
    // The whole content and the stream's current position in it.
    virtual HRESULT STDMETHODCALLTYPE GetBytes(const std::uint8_t** data, std::uint64_t* size,
                                               std::uint64_t* position) = 0;
};
// 6f1c9a52-3e07-4d8b-b2a4-93c5d1e08f7a
inline constexpr GUID IID_IMemoryStreamBytes = {
    0x6f1c9a52, 0x3e07, 0x4d8b, {0xb2, 0xa4, 0x93, 0xc5, 0xd1, 0xe0, 0x8f, 0x7a}};

} // namespace WebView2

#pragma GCC diagnostic pop
