// A pending resource update of a file, and replacing a file's content in one rename.
#include "shared/PeResources.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "abi/Utf.h"
#include "shared/ExeImage.h"

namespace Corvane::Shared {

namespace {

std::u8string RandomSuffix() {
    static constexpr char8_t kLetters[] = u8"abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::u8string suffix;
    for (int i = 0; i < 8; ++i)
        suffix += kLetters[device() % (sizeof kLetters - 1)];
    return suffix;
}

} // namespace

void ReplaceFileContent(const std::string& path, std::span<const std::uint8_t> bytes) {
    const std::filesystem::path target = Abi::Utf8Path(path);
    std::error_code error;
    const auto permissions = std::filesystem::status(target, error).permissions();
    if (error) throw EPeError("Cannot open \"" + path + "\": " + error.message());

    // A hidden name beside the target that nothing else uses.
    std::filesystem::path temp;
    for (int attempt = 0; attempt < 16 && (temp.empty() || std::filesystem::exists(temp, error)); ++attempt) {
        // Built by appending: GCC 12 warns falsely (-Wrestrict) on a literal + string at -O2.
        std::u8string name(u8".");
        name += target.filename().u8string();
        name += u8".rsrc-";
        name += RandomSuffix();
        temp = target.parent_path() / name;
    }
    errno = 0;
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    if (!file)
        throw EPeError("Cannot write to the folder of \"" + path +
                       "\": " + std::strerror(errno != 0 ? errno : EIO));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        const int writeErrno = errno != 0 ? errno : EIO;
        std::filesystem::remove(temp, error);
        throw EPeError("Cannot write \"" + path + "\": " + std::strerror(writeErrno));
    }
    std::filesystem::permissions(temp, permissions, error);
    if (!error) std::filesystem::rename(temp, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw EPeError("Cannot replace \"" + path + "\": " + error.message());
    }
}

TResourceUpdate::TResourceUpdate(std::string path, bool deleteExistingResources)
    : FPath(std::move(path)), FImage(TPeImage::Load(FPath)) {
    // A rewrite ends the file where the image ends, so whatever follows it would be lost.
    const auto info = ReadExeImageInfo(FPath);
    if (!info) throw EPeError("\"" + FPath + "\" is not a Windows executable");
    if (info->ImageEnd < FImage.Bytes().size())
        throw EPeError("\"" + FPath + "\" already carries an appended archive (" +
                       std::to_string(FImage.Bytes().size() - info->ImageEnd) +
                       " bytes follow its image); change its resources before the archive is appended");
    for (const TResource& r : FImage.Resources())
        if (!r.Data)
            throw EPeError("\"" + FPath + "\": the data of resource " + r.Type.ToString() + "/" +
                           r.Name.ToString() + " lies outside the file");
    if (deleteExistingResources) FImage.RemoveAll();
}

void TResourceUpdate::Update(const TResId& type, const TResId& name, std::uint16_t language,
                             std::optional<std::span<const std::uint8_t>> data) {
    if (data)
        FImage.Set(type, name, language, TPeBytes(data->begin(), data->end()));
    else
        FImage.Remove(type, name, language);
}

void TResourceUpdate::Commit() {
    ReplaceFileContent(FPath, FImage.Build());
}

} // namespace Corvane::Shared
