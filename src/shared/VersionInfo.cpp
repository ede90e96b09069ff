// Version-information blocks: a bounds-checked walk over their nodes, and a writer.
#include "shared/VersionInfo.h"

#include <algorithm>

#include "abi/Utf.h"
#include "shared/BinaryReader.h"

namespace Corvane::Shared {

using namespace Corvane::Abi;

namespace {

constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::size_t kFixedSize = 52;

std::size_t Align4(std::size_t value) {
    return (value + 3) & ~std::size_t{3};
}

char16_t FoldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameKey(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
               return FoldAscii(x) == FoldAscii(y);
           });
}

// A node as it lies in the block; offsets count from the block's start.
struct TRawNode {
    std::size_t End = 0; // start + wLength
    std::u16string Key;
    TVersionValue Value;
    std::size_t ChildrenAt = 0;
};

std::optional<TRawNode> ReadNode(std::span<const std::uint8_t> block, std::size_t at, std::size_t limit) {
    TBinaryReader r(block);
    const std::uint16_t length = r.U16At(at);
    const std::uint16_t valueLength = r.U16At(at + 2);
    const std::uint16_t type = r.U16At(at + 4);
    if (!r.Ok() || length < 6 || at + length > limit) return std::nullopt;

    TRawNode node;
    node.End = at + length;
    std::size_t pos = at + 6;
    for (;; pos += 2) {
        if (pos + 2 > node.End) return std::nullopt;
        const char16_t c = static_cast<char16_t>(block[pos] | block[pos + 1] << 8);
        if (c == u'\0') break;
        node.Key += c;
    }
    node.Value.Offset = std::min(Align4(pos + 2), node.End);
    node.Value.IsText = type == 1;
    // Some tools record text lengths in bytes; never let a length reach past the node.
    const std::size_t room = node.End - node.Value.Offset;
    node.Value.Length = std::min<std::size_t>(valueLength, node.Value.IsText ? room / 2 : room);
    node.ChildrenAt = Align4(node.Value.Offset + node.Value.ByteCount());
    return node;
}

template <typename TVisit>
void ForEachChild(std::span<const std::uint8_t> block, const TRawNode& parent, TVisit&& visit) {
    std::size_t at = parent.ChildrenAt;
    while (at + 6 <= parent.End) {
        const auto child = ReadNode(block, at, parent.End);
        if (!child) return;
        if (!visit(*child)) return;
        at = Align4(child->End);
    }
}

std::optional<TRawNode> ReadRoot(std::span<const std::uint8_t> block) {
    return ReadNode(block, 0, block.size());
}

} // namespace

std::optional<TVersionValue> QueryVersionValue(std::span<const std::uint8_t> block, std::string_view path) {
    auto node = ReadRoot(block);
    if (!node) return std::nullopt;
    const std::u16string wide = Utf8ToUtf16(path);
    std::size_t start = 0;
    while (start <= wide.size()) {
        std::size_t stop = wide.find(u'\\', start);
        if (stop == std::u16string::npos) stop = wide.size();
        const std::u16string_view part(wide.data() + start, stop - start);
        start = stop + 1;
        if (part.empty()) continue;
        std::optional<TRawNode> found;
        ForEachChild(block, *node, [&](const TRawNode& child) {
            if (SameKey(child.Key, part)) found = child;
            return !found;
        });
        if (!found) return std::nullopt;
        node = std::move(found);
    }
    return node->Value;
}

std::optional<std::u16string> QueryVersionText(std::span<const std::uint8_t> block, std::string_view path) {
    const auto value = QueryVersionValue(block, path);
    if (!value) return std::nullopt;
    std::u16string text(value->ByteCount() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(block[value->Offset + 2 * i] | block[value->Offset + 2 * i + 1] << 8);
    return text;
}

std::vector<std::pair<std::uint16_t, std::uint16_t>> ReadTranslations(std::span<const std::uint8_t> block) {
    std::vector<std::pair<std::uint16_t, std::uint16_t>> pairs;
    const auto value = QueryVersionValue(block, "\\VarFileInfo\\Translation");
    if (!value) return pairs;
    TBinaryReader r(block.subspan(value->Offset, value->ByteCount()));
    for (std::size_t i = 0; i + 4 <= value->ByteCount(); i += 4) {
        const std::uint16_t language = r.U16();
        pairs.emplace_back(language, r.U16());
    }
    return pairs;
}

std::optional<TFixedFileInfo> ReadFixedFileInfo(std::span<const std::uint8_t> block) {
    const auto value = QueryVersionValue(block, "\\");
    if (!value || value->ByteCount() < kFixedSize) return std::nullopt;
    TBinaryReader r(block.subspan(value->Offset, kFixedSize));
    if (r.U32() != kFixedSignature) return std::nullopt;
    r.U32(); // structure version
    TFixedFileInfo info;
    info.FileVersionMS = r.U32();
    info.FileVersionLS = r.U32();
    info.ProductVersionMS = r.U32();
    info.ProductVersionLS = r.U32();
    info.FileFlagsMask = r.U32();
    info.FileFlags = r.U32();
    info.FileOS = r.U32();
    info.FileType = r.U32();
    info.FileSubtype = r.U32();
    return info;
}

namespace {

TVersionNode ToTree(std::span<const std::uint8_t> block, const TRawNode& raw) {
    TVersionNode node;
    node.Key = raw.Key;
    node.IsText = raw.Value.IsText;
    const auto value = block.subspan(raw.Value.Offset, raw.Value.ByteCount());
    node.Value.assign(value.begin(), value.end());
    ForEachChild(block, raw, [&](const TRawNode& child) {
        node.Children.push_back(ToTree(block, child));
        return true;
    });
    return node;
}

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::size_t value) {
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Append(std::vector<std::uint8_t>& out, const TVersionNode& node) {
    out.resize(Align4(out.size()));
    const std::size_t start = out.size();
    out.resize(start + 6);
    Put16(out, start + 2, node.IsText ? node.Value.size() / 2 : node.Value.size());
    Put16(out, start + 4, node.IsText ? 1 : 0);
    for (char16_t c : node.Key) {
        out.push_back(static_cast<std::uint8_t>(c));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    out.insert(out.end(), {0, 0});
    out.resize(Align4(out.size()));
    out.insert(out.end(), node.Value.begin(), node.Value.end());
    for (const TVersionNode& child : node.Children)
        Append(out, child);
    Put16(out, start, out.size() - start);
}

} // namespace

std::optional<TVersionNode> ParseVersionBlock(std::span<const std::uint8_t> block) {
    const auto root = ReadRoot(block);
    if (!root) return std::nullopt;
    return ToTree(block, *root);
}

std::vector<std::uint8_t> WriteVersionBlock(const TVersionNode& root) {
    std::vector<std::uint8_t> out;
    Append(out, root);
    return out;
}

} // namespace Corvane::Shared
