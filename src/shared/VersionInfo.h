// Version-information blocks (VS_VERSIONINFO): looking values up in place, as VerQueryValue does,
// and reading a block into a tree or writing a tree as a block.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Corvane::Shared {

// One node: a key, its value (raw bytes; UTF-16 code units for text) and its children.
struct TVersionNode {
    std::u16string Key;
    bool IsText = false;
    std::vector<std::uint8_t> Value;
    std::vector<TVersionNode> Children;
};

// Where a value lies in the block: its byte offset and its length in characters (text, as the
// block records it, including a terminating zero) or in bytes.
struct TVersionValue {
    std::size_t Offset = 0;
    std::size_t Length = 0;
    bool IsText = false;

    std::size_t ByteCount() const { return IsText ? 2 * Length : Length; }
};

// Finds the value at path, written as for VerQueryValue: "\" for the fixed part,
// "\StringFileInfo\040904E4\ProductName", "\VarFileInfo\Translation". Keys match without regard
// to ASCII case. Nothing when the path leads nowhere or the block is damaged on the way.
std::optional<TVersionValue> QueryVersionValue(std::span<const std::uint8_t> block, std::string_view path);

// The value at path as text: every code unit of its recorded length, zeros included.
std::optional<std::u16string> QueryVersionText(std::span<const std::uint8_t> block, std::string_view path);

// The (language, code page) pairs of "\VarFileInfo\Translation"; empty when there is none.
std::vector<std::pair<std::uint16_t, std::uint16_t>> ReadTranslations(std::span<const std::uint8_t> block);

// The fixed part's fields, when the block has a valid one.
struct TFixedFileInfo {
    std::uint32_t FileVersionMS = 0, FileVersionLS = 0, ProductVersionMS = 0, ProductVersionLS = 0;
    std::uint32_t FileFlagsMask = 0, FileFlags = 0, FileOS = 0, FileType = 0, FileSubtype = 0;
};
std::optional<TFixedFileInfo> ReadFixedFileInfo(std::span<const std::uint8_t> block);

// The whole block as a tree; nothing when its root is damaged. Damaged children are left out.
std::optional<TVersionNode> ParseVersionBlock(std::span<const std::uint8_t> block);
// The tree as a block, each node 32-bit aligned.
std::vector<std::uint8_t> WriteVersionBlock(const TVersionNode& root);

} // namespace Corvane::Shared
