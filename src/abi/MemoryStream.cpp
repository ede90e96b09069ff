// A read-only IStream over bytes held in memory, whose bytes the browser stand-in reads in place.
#include "abi/MemoryStream.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>

namespace WebView2 {

namespace {

constexpr HRESULT STG_E_INVALIDFUNCTION = static_cast<HRESULT>(0x80030001u);
constexpr HRESULT STG_E_ACCESSDENIED = static_cast<HRESULT>(0x80030005u);

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

class TMemoryStream final : public IStream, public IMemoryStreamBytes {
public:
    explicit TMemoryStream(std::shared_ptr<const std::vector<std::uint8_t>> bytes, std::uint64_t position = 0)
        : FBytes(std::move(bytes)), FPosition(position) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_ISequentialStream || riid == IID_IStream) {
            *ppv = static_cast<IStream*>(this);
        } else if (riid == IID_IMemoryStreamBytes) {
            *ppv = static_cast<IMemoryStreamBytes*>(this);
        } else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --FRefCount;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override {
        if (!pv && cb) return E_POINTER;
        const std::uint64_t size = FBytes->size();
        const std::uint64_t start = std::min(FPosition, size);
        const auto count = static_cast<ULONG>(std::min<std::uint64_t>(cb, size - start));
        if (count) std::memcpy(pv, FBytes->data() + start, count);
        FPosition = start + count;
        if (pcbRead) *pcbRead = count;
        return count < cb ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG* pcbWritten) override {
        if (pcbWritten) *pcbWritten = 0;
        return STG_E_ACCESSDENIED;
    }
    HRESULT STDMETHODCALLTYPE Seek(std::int64_t move, DWORD origin, std::uint64_t* newPosition) override {
        std::int64_t base = 0;
        switch (origin) {
        case STREAM_SEEK_SET:
            base = 0;
            break;
        case STREAM_SEEK_CUR:
            base = static_cast<std::int64_t>(FPosition);
            break;
        case STREAM_SEEK_END:
            base = static_cast<std::int64_t>(FBytes->size());
            break;
        default:
            return STG_E_INVALIDFUNCTION;
        }
        if (move < 0 && -move > base) return STG_E_INVALIDFUNCTION;
        FPosition = static_cast<std::uint64_t>(base + move);
        if (newPosition) *newPosition = FPosition;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSize(std::uint64_t) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, std::uint64_t cb, std::uint64_t* pcbRead,
                                     std::uint64_t* pcbWritten) override {
        if (!target) return E_POINTER;
        const std::uint64_t size = FBytes->size();
        const std::uint64_t start = std::min(FPosition, size);
        std::uint64_t left = std::min(cb, size - start);
        std::uint64_t written = 0;
        HRESULT hr = S_OK;
        while (left > 0) {
            const auto chunk = static_cast<ULONG>(std::min<std::uint64_t>(left, 1u << 30));
            ULONG done = 0;
            hr = target->Write(FBytes->data() + start + written, chunk, &done);
            written += done;
            left -= done;
            if (hr < 0 || done == 0) break;
        }
        FPosition = start + written;
        if (pcbRead) *pcbRead = written;
        if (pcbWritten) *pcbWritten = written;
        return hr < 0 ? hr : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(std::uint64_t, std::uint64_t, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(std::uint64_t, std::uint64_t, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
        if (!stat) return E_POINTER;
        *stat = STATSTG{};
        stat->type = STGTY_STREAM;
        stat->cbSize = FBytes->size();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override {
        if (!clone) return E_POINTER;
        *clone = new TMemoryStream(FBytes, FPosition);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetBytes(const std::uint8_t** data, std::uint64_t* size,
                                       std::uint64_t* position) override {
        if (!data || !size || !position) return E_POINTER;
        *data = FBytes->data();
        *size = FBytes->size();
        *position = std::min<std::uint64_t>(FPosition, FBytes->size());
        return S_OK;
    }

private:
    ~TMemoryStream() = default;

    std::atomic<ULONG> FRefCount{1};
    std::shared_ptr<const std::vector<std::uint8_t>> FBytes;
    std::uint64_t FPosition = 0;
};

#pragma GCC diagnostic pop

} // namespace

IStream* CreateMemoryStream(std::vector<std::uint8_t>&& bytes) {
    return new TMemoryStream(std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes)));
}

} // namespace WebView2
