// The packager's edits of its runtime copy: the main icon, and the values of the version block.
#include "shared/ExeUtils.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>

#include "abi/Utf.h"
#include "shared/IconFile.h"
#include "shared/PeResources.h"
#include "shared/VersionInfo.h"

namespace Corvane::Shared {

using namespace Corvane::Abi;

namespace {

const TResId& MainIcon() {
    static const TResId name(u"MAINICON");
    return name;
}

std::uint16_t Get16(const TPeBytes& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// The language a resource has: the first one listed for it, or 0 when there is none.
std::uint16_t LanguageOf(const TPeImage& module, const TResId& type, const TResId& name) {
    const auto languages = module.Languages(type, name);
    return languages.empty() ? kLangNeutral : languages.front();
}

bool IsIconOf(const TResource& r, const std::set<std::uint16_t>& ids) {
    return r.Type.IsId() && r.Type.Id() == kRtIcon && r.Name.IsId() && ids.count(r.Name.Id()) != 0;
}

TResourceUpdate BeginUpdate(const std::string& path) {
    try {
        return TResourceUpdate(path, false);
    } catch (const EPeError& e) {
        throw std::runtime_error(std::string("BeginUpdateResource failed (1): ") + e.what());
    }
}

void Update(TResourceUpdate& update, const TResId& type, const TResId& name, std::uint16_t language,
            std::optional<std::span<const std::uint8_t>> data, const char* failure) {
    try {
        update.Update(type, name, language, data);
    } catch (const std::exception&) {
        throw std::runtime_error(failure);
    }
}

void EndUpdate(TResourceUpdate& update) {
    try {
        update.Commit();
    } catch (const EPeError& e) {
        throw std::runtime_error(std::string("EndUpdateResource failed: ") + e.what());
    }
}

} // namespace

void TExeUtils::ChangeExeIcon(const std::string& exePath, const std::string& icoPath) const {
    const std::vector<std::uint8_t> ico = ReadIconFile(icoPath, kMaxIconFileSize);
    const std::vector<TIconImage> images = ReadIconImages(ico);

    // Nothing reaches the file unless every step below succeeds: an error drops the update.
    TResourceUpdate update = BeginUpdate(exePath);
    const TPeImage module = [&] {
        try {
            return TPeImage::Load(exePath);
        } catch (const EPeError&) {
            throw std::runtime_error("LoadLibraryEx failed (1)");
        }
    }();

    const TResource* group = module.FindAnyLanguage(kRtGroupIcon, MainIcon());
    if (group == nullptr) throw std::runtime_error("FindResource failed (1)");
    if (!group->Data) throw std::runtime_error("LoadResource failed (1)");
    const TPeBytes& oldGroup = *group->Data;

    Update(update, kRtGroupIcon, MainIcon(), LanguageOf(module, kRtGroupIcon, MainIcon()), std::nullopt,
           "UpdateResource failed (1)");
    // Each old image goes in its first language. A damaged group may list 65535 ids, so they are
    // removed in one pass rather than one search each; entries past its end are not read.
    std::set<std::uint16_t> oldIds;
    const std::size_t oldCount = oldGroup.size() >= 6 ? Get16(oldGroup, 4) : 0;
    for (std::size_t i = 0; i < oldCount && 6 + 14 * (i + 1) <= oldGroup.size(); ++i)
        oldIds.insert(Get16(oldGroup, 6 + 14 * i + 12));
    std::map<std::uint16_t, std::uint16_t> firstLanguage;
    for (const TResource& r : module.Resources())
        if (IsIconOf(r, oldIds)) {
            const auto [at, added] = firstLanguage.try_emplace(r.Name.Id(), r.Language);
            if (!added) at->second = std::min(at->second, r.Language);
        }
    update.RemoveIf([&](const TResource& r) {
        if (!IsIconOf(r, oldIds)) return false;
        const auto first = firstLanguage.find(r.Name.Id());
        if (first == firstLanguage.end() || r.Language != first->second) return false;
        firstLanguage.erase(first); // only the first such entry goes, as with one search each
        return true;
    });

    TPeBytes newGroup(6 + 14 * images.size());
    std::copy_n(oldGroup.begin(), std::min<std::size_t>(4, oldGroup.size()), newGroup.begin());
    newGroup[4] = static_cast<std::uint8_t>(images.size());
    newGroup[5] = static_cast<std::uint8_t>(images.size() >> 8);
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::size_t entry = 6 + 14 * i;
        std::copy(images[i].GroupEntry.begin(), images[i].GroupEntry.end(), newGroup.begin() + entry);
        newGroup[entry + 12] = static_cast<std::uint8_t>(i + 1);
        newGroup[entry + 13] = static_cast<std::uint8_t>((i + 1) >> 8);
        Update(update, kRtIcon, static_cast<std::uint16_t>(i + 1), kLangEnglishUs, images[i].Data,
               "UpdateResource failed (3)");
    }
    Update(update, kRtGroupIcon, MainIcon(), kLangEnglishUs, std::span<const std::uint8_t>(newGroup),
           "UpdateResource failed (4)");
    EndUpdate(update);
}

TExeUtils::TExeInfoResult TExeUtils::UpdateExeInfo(
    const std::string& exePath, const std::string& companyName, const std::string& fileDescription,
    const std::string& fileVersion, const std::string& internalName, const std::string& legalCopyright,
    const std::string& legalTrademarks, const std::string& originalFileName, const std::string& programId,
    const std::string& productName, const std::string& productVersion, const std::string& comments) const {
    TExeInfoResult result;
    std::error_code error;
    if (!std::filesystem::is_regular_file(Abi::Utf8Path(exePath), error)) return result;

    TPeBytes block;
    try {
        const TPeImage module = TPeImage::Load(exePath);
        const TResource* version = module.FindAnyLanguage(kRtVersion, 1);
        if (version == nullptr || !version->Data || version->Data->empty()) return result;
        block = *version->Data;
    } catch (const EPeError&) {
        return result; // no version information to read
    }

    const std::string* values[] = {&companyName,    &fileDescription, &fileVersion,      &internalName,
                                   &legalCopyright, &legalTrademarks, &originalFileName, &programId,
                                   &productName,    &productVersion,  &comments};
    for (const auto& [language, codePage] : ReadTranslations(block)) {
        char table[9];
        std::snprintf(table, sizeof table, "%04X%04X", language, codePage);
        for (std::size_t k = 0; k < std::size(kExeInfoKeys); ++k) {
            const auto slot =
                QueryVersionValue(block, std::string("\\StringFileInfo\\") + table + "\\" + kExeInfoKeys[k]);
            if (!slot) continue;
            // The whole reserved space is cleared; the text keeps at least one terminating zero.
            const std::size_t capacity = slot->ByteCount() / 2;
            const std::u16string text = Utf8ToUtf16(*values[k]);
            std::size_t count = std::min(text.size(), capacity > 0 ? capacity - 1 : 0);
            if (count < text.size()) {
                if (count > 0 && text[count - 1] >= 0xD800 && text[count - 1] <= 0xDBFF)
                    --count; // whole pairs only
                if (std::find(result.CutKeys.begin(), result.CutKeys.end(), kExeInfoKeys[k]) ==
                    result.CutKeys.end())
                    result.CutKeys.push_back(kExeInfoKeys[k]);
            }
            std::fill_n(block.begin() + static_cast<std::ptrdiff_t>(slot->Offset), 2 * capacity, 0);
            for (std::size_t i = 0; i < count; ++i) {
                block[slot->Offset + 2 * i] = static_cast<std::uint8_t>(text[i]);
                block[slot->Offset + 2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
            }
        }
    }

    TResourceUpdate update = BeginUpdate(exePath);
    Update(update, kRtVersion, 1, kLangNeutral, std::span<const std::uint8_t>(block),
           "UpdateResource failed");
    EndUpdate(update);
    result.Written = true;
    return result;
}

} // namespace Corvane::Shared
