// Traditional PKWARE stream encryption, the cipher of the package archive's entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Corvane::Shared {

class TZipCrypto {
public:
    // Keys set up from the password; one object per entry, since the key stream runs on.
    explicit TZipCrypto(std::string_view password);

    void Encrypt(std::uint8_t* data, std::size_t size);
    void Decrypt(std::uint8_t* data, std::size_t size);

    static constexpr std::size_t kHeaderSize = 12;

private:
    std::uint32_t FKey0 = 0x12345678;
    std::uint32_t FKey1 = 0x23456789;
    std::uint32_t FKey2 = 0x34567890;
};

} // namespace Corvane::Shared
