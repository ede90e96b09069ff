// Traditional PKWARE stream encryption over zlib's CRC-32 table.
#include "shared/ZipCrypto.h"

#include <zlib.h>

namespace Corvane::Shared {

namespace {

const z_crc_t* const kCrcTable = get_crc_table();

std::uint32_t CrcByte(std::uint32_t crc, std::uint8_t byte) {
    return kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

// The keys as local values while a buffer is processed: kept in the object, every store through the
// byte pointer would force them back to memory (decrypting 64 MiB took a fifth longer).
struct TKeys {
    std::uint32_t Key0, Key1, Key2;

    std::uint8_t Byte() const {
        const std::uint32_t temp = (Key2 | 2) & 0xFFFF;
        return static_cast<std::uint8_t>((temp * (temp ^ 1)) >> 8);
    }

    void Update(std::uint8_t plain) {
        Key0 = CrcByte(Key0, plain);
        Key1 = (Key1 + (Key0 & 0xFF)) * 134775813u + 1;
        Key2 = CrcByte(Key2, static_cast<std::uint8_t>(Key1 >> 24));
    }
};

} // namespace

TZipCrypto::TZipCrypto(std::string_view password) {
    TKeys keys{FKey0, FKey1, FKey2};
    for (char c : password)
        keys.Update(static_cast<std::uint8_t>(c));
    FKey0 = keys.Key0;
    FKey1 = keys.Key1;
    FKey2 = keys.Key2;
}

void TZipCrypto::Encrypt(std::uint8_t* data, std::size_t size) {
    TKeys keys{FKey0, FKey1, FKey2};
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t plain = data[i];
        data[i] = plain ^ keys.Byte();
        keys.Update(plain);
    }
    FKey0 = keys.Key0;
    FKey1 = keys.Key1;
    FKey2 = keys.Key2;
}

void TZipCrypto::Decrypt(std::uint8_t* data, std::size_t size) {
    TKeys keys{FKey0, FKey1, FKey2};
    for (std::size_t i = 0; i < size; ++i) {
        data[i] ^= keys.Byte();
        keys.Update(data[i]);
    }
    FKey0 = keys.Key0;
    FKey1 = keys.Key1;
    FKey2 = keys.Key2;
}

} // namespace Corvane::Shared
