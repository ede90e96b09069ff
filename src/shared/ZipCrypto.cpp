// Traditional PKWARE stream encryption over zlib's CRC-32 table.
#include "shared/ZipCrypto.h"

#include <zlib.h>

namespace Corvane::Shared {

namespace {

std::uint32_t CrcByte(std::uint32_t crc, std::uint8_t byte) {
    static const z_crc_t* table = get_crc_table();
    return table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

} // namespace

TZipCrypto::TZipCrypto(std::string_view password) {
    for (char c : password)
        UpdateKeys(static_cast<std::uint8_t>(c));
}

std::uint8_t TZipCrypto::KeyByte() const {
    const std::uint32_t temp = (FKey2 | 2) & 0xFFFF;
    return static_cast<std::uint8_t>((temp * (temp ^ 1)) >> 8);
}

void TZipCrypto::UpdateKeys(std::uint8_t plain) {
    FKey0 = CrcByte(FKey0, plain);
    FKey1 = (FKey1 + (FKey0 & 0xFF)) * 134775813u + 1;
    FKey2 = CrcByte(FKey2, static_cast<std::uint8_t>(FKey1 >> 24));
}

void TZipCrypto::Encrypt(std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t plain = data[i];
        data[i] = plain ^ KeyByte();
        UpdateKeys(plain);
    }
}

// The hot loop of reading a package: the keys stay in registers, where stores through the byte
// pointer would otherwise force them back to memory after every byte (a fifth slower, measured).
void TZipCrypto::Decrypt(std::uint8_t* data, std::size_t size) {
    static const z_crc_t* const table = get_crc_table();
    std::uint32_t key0 = FKey0, key1 = FKey1, key2 = FKey2;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint32_t temp = (key2 | 2) & 0xFFFF;
        const auto plain = static_cast<std::uint8_t>(data[i] ^ ((temp * (temp ^ 1)) >> 8));
        data[i] = plain;
        key0 = table[(key0 ^ plain) & 0xFF] ^ (key0 >> 8);
        key1 = (key1 + (key0 & 0xFF)) * 134775813u + 1;
        key2 = table[(key2 ^ (key1 >> 24)) & 0xFF] ^ (key2 >> 8);
    }
    FKey0 = key0;
    FKey1 = key1;
    FKey2 = key2;
}

} // namespace Corvane::Shared
