// Version-information blocks: looked up in place, and read into a tree that writes back to a block
// which reads as the same tree.
#include <span>

#include "FuzzTarget.h"
#include "shared/VersionInfo.h"

using namespace Corvane::Shared;

namespace {

bool SameTree(const TVersionNode& a, const TVersionNode& b) {
    if (a.Key != b.Key || a.IsText != b.IsText || a.Value != b.Value ||
        a.Children.size() != b.Children.size())
        return false;
    for (std::size_t i = 0; i < a.Children.size(); ++i)
        if (!SameTree(a.Children[i], b.Children[i])) return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> block(data, size);
    for (const char* path : {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040904E4\\ProductName",
                             "\\StringFileInfo\\040904B0\\FileVersion", "\\StringFileInfo"}) {
        if (const auto value = QueryVersionValue(block, path))
            Fuzz::Check(value->Offset <= size && value->ByteCount() <= size - value->Offset,
                        "a value lies inside the block");
        QueryVersionText(block, path);
    }
    ReadTranslations(block);
    ReadFixedFileInfo(block);

    const auto tree = ParseVersionBlock(block);
    if (!tree) return 0;
    const auto again = ParseVersionBlock(WriteVersionBlock(*tree));
    Fuzz::Check(again.has_value() && SameTree(*tree, *again), "a written tree reads back the same");
    return 0;
}
