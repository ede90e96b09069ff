// Read access to an in-memory ZIP archive over libzip, with the package's name matching.
#include "shared/ZipReader.h"

#include "abi/CaseMap.h"
#include "shared/ZipCrypto.h"

#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <limits>
#include <string>
#include <unordered_map>

namespace Corvane::Shared {

using namespace Corvane::Abi;

namespace {

// Names are compared with ASCII letters folded; other bytes, UTF-8 included, stay as they are.
std::string FoldAscii(std::string_view name) {
    return LowerAscii(name);
}

// A stated size is only a hint for the first allocation; a damaged header may state anything.
constexpr zip_uint64_t kMaxReserve = 256ull << 20;
constexpr std::size_t kReadChunk = 64 * 1024;

enum class TRead { Whole, Failed, TooLarge };

// Appends everything the open entry yields, up to maxSize bytes, and closes it.
TRead ReadAll(zip_file_t* file, std::vector<std::uint8_t>& out, std::uint64_t sizeHint,
              std::uint64_t maxSize) {
    TRead result = TRead::Failed;
    const std::size_t start = out.size();
    try {
        out.reserve(out.size() + static_cast<std::size_t>(std::min<std::uint64_t>(sizeHint, kMaxReserve)));
        // Through a separate buffer, so reading past a correct stated size never regrows out.
        std::vector<std::uint8_t> buffer(kReadChunk);
        for (;;) {
            const zip_int64_t got = zip_fread(file, buffer.data(), buffer.size());
            if (got < 0) break;
            if (got == 0) {
                result = TRead::Whole;
                break;
            }
            if (static_cast<std::uint64_t>(got) > maxSize - (out.size() - start)) {
                result = TRead::TooLarge;
                break;
            }
            out.insert(out.end(), buffer.begin(), buffer.begin() + got);
        }
    } catch (const std::exception&) {
        result = TRead::Failed;
    }
    zip_fclose(file);
    return result;
}

} // namespace

struct TZipReader::TImpl {
    zip_t* Archive = nullptr;
    std::string Password;
    bool HasPassword = false;
    std::unordered_map<std::string, std::int64_t> Index;

    // Stored entries under the traditional cipher (the packager's form) are decrypted by
    // DecryptStoredEntry, not by libzip, and the CRC proves the password:
    // - libzip compares the encryption header's check byte with the entry's time after a round trip
    //   through the local time zone, so a time that falls in a daylight-saving gap there fails even
    //   the right password;
    // - libzip 1.7 calls zlib once per byte for the cipher's keys, which made reading a large entry
    //   take about 1.6 times as long as the decryption below.
    bool DecryptsItself(const zip_stat_t& stat) const {
        const zip_uint64_t needed =
            ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD | ZIP_STAT_CRC | ZIP_STAT_COMP_SIZE;
        return HasPassword && (stat.valid & needed) == needed && stat.comp_method == ZIP_CM_STORE &&
               stat.encryption_method == ZIP_EM_TRAD_PKWARE;
    }

    TRead DecryptStoredEntry(zip_uint64_t entry, const zip_stat_t& stat, std::vector<std::uint8_t>& out,
                             std::uint64_t maxSize) const {
        const std::uint64_t rawLimit = maxSize + std::min<std::uint64_t>(TZipCrypto::kHeaderSize, ~maxSize);
        if (stat.comp_size > rawLimit) return TRead::TooLarge;
        if (stat.comp_size < TZipCrypto::kHeaderSize) return TRead::Failed;
        zip_file_t* file = zip_fopen_index(Archive, entry, ZIP_FL_ENCRYPTED);
        if (!file) return TRead::Failed;
        std::uint8_t header[TZipCrypto::kHeaderSize];
        if (zip_fread(file, header, sizeof header) != static_cast<zip_int64_t>(sizeof header)) {
            zip_fclose(file);
            return TRead::Failed;
        }
        // The data goes straight into out and is decrypted there. libzip 1.7 checks the raw bytes
        // against the plain data's CRC and so always reports an error at their end; what counts is
        // that all of them arrived.
        const std::size_t start = out.size();
        const std::uint64_t dataSize = stat.comp_size - TZipCrypto::kHeaderSize;
        if (ReadAll(file, out, dataSize, maxSize) == TRead::TooLarge) return TRead::TooLarge;
        if (out.size() - start != dataSize) return TRead::Failed;
        TZipCrypto cipher(Password);
        cipher.Decrypt(header, sizeof header);
        cipher.Decrypt(out.data() + start, out.size() - start);
        return crc32_z(crc32_z(0, nullptr, 0), out.data() + start, out.size() - start) == stat.crc
                   ? TRead::Whole
                   : TRead::Failed;
    }

    void Close() {
        if (Archive) zip_discard(Archive);
        Archive = nullptr;
        Index.clear();
    }
};

TZipReader::TZipReader() : FImpl(std::make_unique<TImpl>()) {}

TZipReader::~TZipReader() {
    FImpl->Close();
}

void TZipReader::SetPassword(const std::string& password) {
    FImpl->Password = password;
    FImpl->HasPassword = true;
    if (FImpl->Archive) zip_set_default_password(FImpl->Archive, password.c_str());
}

void TZipReader::Open(const std::uint8_t* data, std::size_t size) {
    FImpl->Close();
    if (data == nullptr || size == 0) throw EZipError("Not a zip archive (no data)");

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(data, size, 0, &error);
    if (!source) {
        const std::string text = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw EZipError("Cannot open the zip archive: " + text);
    }
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!archive) {
        zip_source_free(source);
        const std::string text = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw EZipError("Cannot open the zip archive: " + text);
    }
    zip_error_fini(&error);
    FImpl->Archive = archive;
    if (FImpl->HasPassword) zip_set_default_password(archive, FImpl->Password.c_str());

    const zip_int64_t count = zip_get_num_entries(archive, 0);
    FImpl->Index.reserve(static_cast<std::size_t>(std::max<zip_int64_t>(count, 0)));
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (name) FImpl->Index.try_emplace(FoldAscii(name), i);
    }
}

bool TZipReader::IsOpen() const {
    return FImpl->Archive != nullptr;
}

std::int64_t TZipReader::FindFile(const std::string& fileName) const {
    try {
        const auto found = FImpl->Index.find(FoldAscii(fileName));
        return found == FImpl->Index.end() ? -1 : found->second;
    } catch (const std::exception&) {
        return -1;
    }
}

bool TZipReader::ExtractToStream(const std::string& fileName, std::vector<std::uint8_t>& stream) const {
    return ExtractToStream(fileName, stream, std::numeric_limits<std::uint64_t>::max());
}

bool TZipReader::ExtractToStream(const std::string& fileName, std::vector<std::uint8_t>& stream,
                                 std::uint64_t maxSize) const {
    const std::int64_t index = FindFile(fileName);
    if (index < 0 || !FImpl->Archive) return false;
    const auto entry = static_cast<zip_uint64_t>(index);

    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(FImpl->Archive, entry, 0, &stat) != 0) return false;
    // libzip 1.7 leaks when opening an entry whose methods it lacks, so those are refused here.
    if ((stat.valid & ZIP_STAT_COMP_METHOD) && !zip_compression_method_supported(stat.comp_method, 0))
        return false;
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) &&
        !zip_encryption_method_supported(stat.encryption_method, 0))
        return false;
    const std::size_t start = stream.size();
    const std::uint64_t sizeHint = (stat.valid & ZIP_STAT_SIZE) ? stat.size : 0;
    // libzip checks the password of other encrypted entries against their header as it opens them.
    TRead result = TRead::Failed;
    if (sizeHint > maxSize)
        result = TRead::TooLarge;
    else if (FImpl->DecryptsItself(stat))
        result = FImpl->DecryptStoredEntry(entry, stat, stream, maxSize);
    else if (zip_file_t* file = zip_fopen_index(FImpl->Archive, entry, 0))
        result = ReadAll(file, stream, sizeHint, maxSize);
    // A wrong password can pass the one-byte check of the encryption header and then fail the
    // CRC, so any failed entry is taken back whole: a wrong password never leaves data behind.
    if (result != TRead::Whole) stream.resize(start);
    if (result == TRead::TooLarge)
        throw EZipError("The entry \"" + fileName + "\" holds more than " + std::to_string(maxSize) +
                        " bytes, more than it may");
    return result == TRead::Whole;
}

std::int64_t TZipReader::EntryCount() const {
    return FImpl->Archive ? zip_get_num_entries(FImpl->Archive, 0) : 0;
}

std::string TZipReader::EntryName(std::int64_t index) const {
    if (!FImpl->Archive || index < 0) return {};
    const char* name = zip_get_name(FImpl->Archive, static_cast<zip_uint64_t>(index), ZIP_FL_ENC_RAW);
    return name ? name : std::string();
}

} // namespace Corvane::Shared
