// Writes the package archive, streaming entry data in blocks and encrypting it in place.
#include "shared/ZipWriter.h"

#include "shared/ZipCrypto.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <random>
#include <stdexcept>
#include <system_error>
#include <unordered_set>
#include <vector>

#include <zlib.h>

#include "platform/FileHandle.h"

namespace Corvane::Shared {

namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr std::uint32_t kDataDescriptorSignature = 0x08074b50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr std::uint32_t kEndRecordSignature = 0x06054b50;
constexpr std::uint16_t kVersion = 20;            // 2.0: stored data, traditional encryption
constexpr std::uint16_t kFlags = 0x0009;          // encrypted; CRC and sizes in a data descriptor
constexpr std::uint32_t kFolderAttributes = 0x10; // MS-DOS directory attribute
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kDataDescriptorSize = 16;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kBlockSize = 64 * 1024;

struct TDosTime {
    std::uint16_t Time = 0;
    std::uint16_t Date = (1 << 5) | 1; // 1980-01-01
};

// Local time, as other tools store it; clamped to the range the DOS format can hold.
TDosTime ToDosTime(std::int64_t unixTime) {
    const std::time_t t = unixTime == 0 ? std::time(nullptr) : static_cast<std::time_t>(unixTime);
    std::tm tm{};
    TDosTime dos;
    if (!Platform::LocalTime(t, tm) || tm.tm_year < 80) return dos;
    if (tm.tm_year > 207) {
        dos.Time = static_cast<std::uint16_t>((23 << 11) | (59 << 5) | 29);
        dos.Date = static_cast<std::uint16_t>((127 << 9) | (12 << 5) | 31);
        return dos;
    }
    dos.Time = static_cast<std::uint16_t>((tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2));
    dos.Date = static_cast<std::uint16_t>(((tm.tm_year - 80) << 9) | ((tm.tm_mon + 1) << 5) | tm.tm_mday);
    return dos;
}

class TLittleEndian {
public:
    void U16(std::uint16_t v) {
        FBytes.push_back(static_cast<std::uint8_t>(v));
        FBytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void Text(const std::string& s) { FBytes.insert(FBytes.end(), s.begin(), s.end()); }
    const std::vector<std::uint8_t>& Bytes() const { return FBytes; }

private:
    std::vector<std::uint8_t> FBytes;
};

struct TCentralRecord {
    std::string Name;
    TDosTime Modified;
    std::uint32_t Crc = 0;
    std::uint32_t CompressedSize = 0;
    std::uint32_t Size = 0;
    std::uint32_t Offset = 0;
    bool Folder = false;
};

std::system_error FileError(int error, const char* what, const std::string& path) {
    return std::system_error(error, std::system_category(), std::string(what) + " \"" + path + "\"");
}

} // namespace

struct TZipWriter::TImpl {
    std::string Path;
    std::string Password;
    Platform::TFileHandle File;
    std::uint64_t Offset = 0;      // bytes accepted, buffered ones included
    std::uint64_t CentralSize = 0; // size the central directory will have
    std::vector<std::uint8_t> Pending;
    std::vector<TCentralRecord> Entries;
    std::unordered_set<std::string> Names;
    std::vector<std::uint8_t> Block;
    std::mt19937 Random{std::random_device{}()};
    bool Finished = false;
    bool InEntry = false; // an entry failed half-way: the archive cannot go on

    void WriteAll(const std::uint8_t* data, std::size_t size) {
        int error = 0;
        if (!File.WriteAll(data, size, error)) throw FileError(error, "Cannot write", Path);
    }

    void Flush() {
        WriteAll(Pending.data(), Pending.size());
        Pending.clear();
    }

    void Put(const std::uint8_t* data, std::size_t size) {
        if (Offset + size > kMaxArchiveSize)
            throw std::runtime_error("A package archive must stay below 4 GiB");
        Offset += size;
        if (Pending.size() + size <= kBlockSize) {
            Pending.insert(Pending.end(), data, data + size);
            return;
        }
        Flush();
        WriteAll(data, size);
    }

    void Put(const TLittleEndian& out) { Put(out.Bytes().data(), out.Bytes().size()); }

    // Refuses an entry that would pass a limit before any of it is written, counting the central
    // directory and end record still to come, so that Finish cannot fail on a limit.
    void CheckRoom(const std::string& name, std::uint64_t dataSize) {
        if (Finished || InEntry)
            throw std::logic_error("The archive is finished or broken by an earlier error");
        if (name.empty() || name.size() > 0xFFFF || name.find('\0') != std::string::npos)
            throw std::runtime_error("Invalid archive entry name \"" + name + "\"");
        if (Names.count(name)) throw std::runtime_error("Duplicate archive entry \"" + name + "\"");
        if (Entries.size() >= kMaxEntries)
            throw std::runtime_error("A package archive holds at most " + std::to_string(kMaxEntries) +
                                     " entries");
        const std::uint64_t local =
            kLocalHeaderSize + name.size() + TZipCrypto::kHeaderSize + dataSize + kDataDescriptorSize;
        const std::uint64_t central = kCentralHeaderSize + name.size();
        if (Offset + local + CentralSize + central + kEndRecordSize > kMaxArchiveSize)
            throw std::runtime_error("With \"" + name +
                                     "\" the archive would reach 4 GiB; a package archive "
                                     "must stay below 4 GiB");
    }

    // Writes the local header and the encryption header; the returned cipher goes on with the data.
    TZipCrypto BeginEntry(TCentralRecord& record) {
        InEntry = true;
        record.Offset = static_cast<std::uint32_t>(Offset);
        TLittleEndian header;
        header.U32(kLocalHeaderSignature);
        header.U16(kVersion);
        header.U16(kFlags);
        header.U16(0); // stored
        header.U16(record.Modified.Time);
        header.U16(record.Modified.Date);
        header.U32(0); // CRC and sizes follow in the data descriptor
        header.U32(0);
        header.U32(0);
        header.U16(static_cast<std::uint16_t>(record.Name.size()));
        header.U16(0);
        header.Text(record.Name);
        Put(header);

        // With sizes deferred, readers check the last header byte against the high byte of the
        // DOS time, since the CRC is not known yet when the header is written.
        std::array<std::uint8_t, TZipCrypto::kHeaderSize> encryptionHeader{};
        for (std::size_t i = 0; i + 1 < encryptionHeader.size(); ++i)
            encryptionHeader[i] = static_cast<std::uint8_t>(Random());
        encryptionHeader.back() = static_cast<std::uint8_t>(record.Modified.Time >> 8);
        TZipCrypto cipher(Password);
        cipher.Encrypt(encryptionHeader.data(), encryptionHeader.size());
        Put(encryptionHeader.data(), encryptionHeader.size());
        return cipher;
    }

    void EndEntry(TCentralRecord record, std::uint32_t crc, std::uint64_t size) {
        record.Crc = crc;
        record.Size = static_cast<std::uint32_t>(size);
        record.CompressedSize = static_cast<std::uint32_t>(size + TZipCrypto::kHeaderSize);
        TLittleEndian descriptor;
        descriptor.U32(kDataDescriptorSignature);
        descriptor.U32(record.Crc);
        descriptor.U32(record.CompressedSize);
        descriptor.U32(record.Size);
        Put(descriptor);
        CentralSize += kCentralHeaderSize + record.Name.size();
        Names.insert(record.Name);
        Entries.push_back(std::move(record));
        InEntry = false;
    }

    void AddBytes(std::string name, std::string_view data, std::int64_t modified, bool folder) {
        CheckRoom(name, data.size());
        TCentralRecord record;
        record.Name = std::move(name);
        record.Modified = ToDosTime(modified);
        record.Folder = folder;
        TZipCrypto cipher = BeginEntry(record);
        uLong crc = crc32(0L, Z_NULL, 0);
        for (std::size_t done = 0; done < data.size();) {
            const std::size_t n = std::min(kBlockSize, data.size() - done);
            Block.assign(data.begin() + static_cast<std::ptrdiff_t>(done),
                         data.begin() + static_cast<std::ptrdiff_t>(done + n));
            crc = crc32(crc, Block.data(), static_cast<uInt>(n));
            cipher.Encrypt(Block.data(), n);
            Put(Block.data(), n);
            done += n;
        }
        EndEntry(std::move(record), static_cast<std::uint32_t>(crc), data.size());
    }
};

TZipWriter::TZipWriter(const std::string& path, std::string password) : FImpl(std::make_unique<TImpl>()) {
    FImpl->Path = path;
    FImpl->Password = std::move(password);
    int error = 0;
    if (!FImpl->File.Create(path, error)) throw FileError(error, "Cannot create", path);
    FImpl->Pending.reserve(kBlockSize);
}

TZipWriter::~TZipWriter() = default;

void TZipWriter::AddFolder(std::string name, std::int64_t modifiedUnixTime) {
    if (name.empty() || name.back() != '/') name += '/';
    FImpl->AddBytes(std::move(name), {}, modifiedUnixTime, true);
}

void TZipWriter::AddData(const std::string& name, std::string_view data, std::int64_t modifiedUnixTime) {
    FImpl->AddBytes(name, data, modifiedUnixTime, false);
}

void TZipWriter::AddFile(const std::string& name, const std::string& sourcePath) {
    TImpl& w = *FImpl;
    Platform::TFileHandle source;
    int error = 0;
    if (!source.OpenRead(sourcePath, error)) throw FileError(error, "Cannot open", sourcePath);
    std::uint64_t sourceSize = 0;
    std::int64_t modified = 0;
    if (!source.Info(sourceSize, modified, error)) throw FileError(error, "Cannot read", sourcePath);

    w.CheckRoom(name, sourceSize);
    TCentralRecord record;
    record.Name = name;
    record.Modified = ToDosTime(modified);
    TZipCrypto cipher = w.BeginEntry(record);
    w.Block.resize(kBlockSize);
    uLong crc = crc32(0L, Z_NULL, 0);
    std::uint64_t size = 0;
    for (;;) {
        const std::int64_t n = source.Read(w.Block.data(), w.Block.size(), error);
        if (n < 0) throw FileError(error, "Cannot read", sourcePath);
        if (n == 0) break;
        const auto count = static_cast<std::size_t>(n);
        crc = crc32(crc, w.Block.data(), static_cast<uInt>(count));
        cipher.Encrypt(w.Block.data(), count);
        w.Put(w.Block.data(), count); // also stops a file that grows past the limit while read
        size += count;
        if (OnProgress) OnProgress(w.Offset);
    }
    w.EndEntry(std::move(record), static_cast<std::uint32_t>(crc), size);
}

void TZipWriter::Finish() {
    TImpl& w = *FImpl;
    if (w.Finished) return;
    if (w.InEntry) throw std::logic_error("The archive is broken by an earlier error");
    const auto centralOffset = static_cast<std::uint32_t>(w.Offset);
    for (const TCentralRecord& e : w.Entries) {
        TLittleEndian header;
        header.U32(kCentralHeaderSignature);
        header.U16(kVersion); // made by: MS-DOS, 2.0
        header.U16(kVersion);
        header.U16(kFlags);
        header.U16(0);
        header.U16(e.Modified.Time);
        header.U16(e.Modified.Date);
        header.U32(e.Crc);
        header.U32(e.CompressedSize);
        header.U32(e.Size);
        header.U16(static_cast<std::uint16_t>(e.Name.size()));
        header.U16(0); // extra field
        header.U16(0); // comment
        header.U16(0); // disk
        header.U16(0); // internal attributes
        header.U32(e.Folder ? kFolderAttributes : 0);
        header.U32(e.Offset);
        header.Text(e.Name);
        w.Put(header);
    }
    const auto centralSize = static_cast<std::uint32_t>(w.Offset - centralOffset);
    TLittleEndian end;
    end.U32(kEndRecordSignature);
    end.U16(0);
    end.U16(0);
    end.U16(static_cast<std::uint16_t>(w.Entries.size()));
    end.U16(static_cast<std::uint16_t>(w.Entries.size()));
    end.U32(centralSize);
    end.U32(centralOffset);
    end.U16(0);
    w.Put(end);
    w.Flush();
    int error = 0;
    if (!w.File.Close(error)) throw FileError(error, "Cannot write", w.Path);
    w.Finished = true;
}

std::uint64_t TZipWriter::BytesWritten() const {
    return FImpl->Offset;
}

} // namespace Corvane::Shared
