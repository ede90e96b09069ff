// Streams over memory and files: our own memory stream, and a stream over a file descriptor.
#include "platform/Streams.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "abi/ComObject.h"
#include "abi/MemoryStream.h"

namespace Platform {

using namespace WebView2;

namespace {

// A stream over an open file descriptor, closed with the last reference.
class TFileStream final : public TComObject<IStream> {
public:
    explicit TFileStream(int fd) : FFd(fd) {}
    ~TFileStream() override { close(FFd); }

    HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) override {
        const ssize_t n = ::read(FFd, pv, cb);
        if (n < 0) return E_FAIL;
        if (pcbRead) *pcbRead = static_cast<ULONG>(n);
        return static_cast<ULONG>(n) == cb ? S_OK : S_FALSE;
    }
    HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) override {
        const auto* bytes = static_cast<const char*>(pv);
        ULONG written = 0;
        while (written < cb) {
            const ssize_t n = ::write(FFd, bytes + written, cb - written);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            written += static_cast<ULONG>(n);
        }
        if (pcbWritten) *pcbWritten = written;
        return written == cb ? S_OK : E_FAIL;
    }
    HRESULT Seek(std::int64_t dlibMove, DWORD dwOrigin, std::uint64_t* plibNewPosition) override {
        const int whence = dwOrigin == STREAM_SEEK_SET   ? SEEK_SET
                           : dwOrigin == STREAM_SEEK_CUR ? SEEK_CUR
                                                         : SEEK_END;
        const off_t position = lseek(FFd, static_cast<off_t>(dlibMove), whence);
        if (position < 0) return E_FAIL;
        if (plibNewPosition) *plibNewPosition = static_cast<std::uint64_t>(position);
        return S_OK;
    }
    HRESULT SetSize(std::uint64_t libNewSize) override {
        return ftruncate(FFd, static_cast<off_t>(libNewSize)) == 0 ? S_OK : E_FAIL;
    }
    HRESULT CopyTo(IStream*, std::uint64_t, std::uint64_t*, std::uint64_t*) override { return E_NOTIMPL; }
    HRESULT Commit(DWORD) override { return S_OK; }
    HRESULT Revert() override { return E_NOTIMPL; }
    HRESULT LockRegion(std::uint64_t, std::uint64_t, DWORD) override { return E_NOTIMPL; }
    HRESULT UnlockRegion(std::uint64_t, std::uint64_t, DWORD) override { return E_NOTIMPL; }
    HRESULT Stat(STATSTG* pstatstg, DWORD) override {
        struct stat info {};
        if (!pstatstg || fstat(FFd, &info) != 0) return E_FAIL;
        *pstatstg = STATSTG{};
        pstatstg->type = STGTY_STREAM;
        pstatstg->cbSize = static_cast<std::uint64_t>(std::max<off_t>(info.st_size, 0));
        return S_OK;
    }
    HRESULT Clone(IStream**) override { return E_NOTIMPL; }

private:
    int FFd;
};

} // namespace

ComPtr<IStream> CreateFileStream(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return {};
    return ComPtr<IStream>::Attach(new TFileStream(fd));
}

void SeekToStart(IStream* stream) {
    stream->Seek(0, STREAM_SEEK_SET, nullptr);
}

ComPtr<IStream> CreateMemoryStream(std::vector<std::uint8_t>&& bytes) {
    return ComPtr<IStream>::Attach(WebView2::CreateMemoryStream(std::move(bytes)));
}

} // namespace Platform
