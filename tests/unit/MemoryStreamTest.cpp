// Tests of the read-only memory stream the runtime answers resource requests with.
#include "abi/MemoryStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "abi/ComPtr.h"

using namespace WebView2;

namespace {

ComPtr<IStream> Stream(const std::string& text) {
    return ComPtr<IStream>::Attach(CreateMemoryStream(std::vector<std::uint8_t>(text.begin(), text.end())));
}

std::string ReadAll(IStream* stream, ULONG chunk = 4) {
    std::string out;
    char buffer[64];
    for (;;) {
        ULONG read = 0;
        const HRESULT hr = stream->Read(buffer, chunk, &read);
        out.append(buffer, read);
        if (hr != S_OK) break;
    }
    return out;
}

TEST(MemoryStream, ReadsInPiecesAndReportsTheEnd) {
    auto stream = Stream("abcdefghij");
    char buffer[8];
    ULONG read = 0;
    EXPECT_EQ(stream->Read(buffer, 4, &read), S_OK);
    EXPECT_EQ(std::string(buffer, read), "abcd");
    EXPECT_EQ(ReadAll(stream.Get()), "efghij");
    EXPECT_EQ(stream->Read(buffer, 4, &read), S_FALSE);
    EXPECT_EQ(read, 0u);
}

TEST(MemoryStream, SeeksFromEachOrigin) {
    auto stream = Stream("0123456789");
    struct TCase {
        std::int64_t Move;
        DWORD Origin;
        HRESULT Result;
        std::uint64_t Position;
    };
    const TCase cases[] = {
        {3, STREAM_SEEK_SET, S_OK, 3},
        {2, STREAM_SEEK_CUR, S_OK, 5},
        {-1, STREAM_SEEK_END, S_OK, 9},
        {-20, STREAM_SEEK_CUR, static_cast<HRESULT>(0x80030001u),
         9},                            // before the start: refused, position kept
        {5, STREAM_SEEK_END, S_OK, 15}, // past the end is allowed; reading there gives nothing
        {0, 7, static_cast<HRESULT>(0x80030001u), 15},
    };
    for (const auto& c : cases) {
        std::uint64_t position = 0;
        EXPECT_EQ(stream->Seek(c.Move, c.Origin, &position), c.Result) << c.Move << " from " << c.Origin;
        stream->Seek(0, STREAM_SEEK_CUR, &position);
        EXPECT_EQ(position, c.Position) << c.Move << " from " << c.Origin;
    }
    EXPECT_EQ(ReadAll(stream.Get()), "");
}

TEST(MemoryStream, IsReadOnly) {
    auto stream = Stream("abc");
    ULONG written = 7;
    EXPECT_LT(stream->Write("x", 1, &written), 0);
    EXPECT_EQ(written, 0u);
    EXPECT_LT(stream->SetSize(1), 0);
    EXPECT_EQ(ReadAll(stream.Get()), "abc");
}

TEST(MemoryStream, StatCloneAndTheBytesBehindIt) {
    auto stream = Stream("hello world");
    STATSTG stat{};
    ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize, 11u);
    EXPECT_EQ(stat.type, STGTY_STREAM);

    stream->Seek(6, STREAM_SEEK_SET, nullptr);
    ComPtr<IStream> clone;
    ASSERT_EQ(stream->Clone(clone.Put()), S_OK);
    EXPECT_EQ(ReadAll(clone.Get()), "world");  // a clone starts where its original stands
    EXPECT_EQ(ReadAll(stream.Get()), "world"); // and moves on its own

    // The private interface hands out the very bytes, and they outlive the stream it came from.
    IMemoryStreamBytes* bytes = nullptr;
    ASSERT_EQ(clone->QueryInterface(IID_IMemoryStreamBytes, reinterpret_cast<void**>(&bytes)), S_OK);
    clone.Reset();
    stream.Reset();
    const std::uint8_t* data = nullptr;
    std::uint64_t size = 0, position = 0;
    ASSERT_EQ(bytes->GetBytes(&data, &size, &position), S_OK);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), size), "hello world");
    EXPECT_EQ(position, 11u);
    bytes->Release();
}

TEST(MemoryStream, AnswersOnlyItsInterfaces) {
    auto stream = Stream("");
    void* out = nullptr;
    EXPECT_EQ(stream->QueryInterface(IID_ISequentialStream, &out), S_OK);
    static_cast<IUnknown*>(out)->Release();
    EXPECT_EQ(stream->QueryInterface(IID_ICoreWebView2, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
}

} // namespace
