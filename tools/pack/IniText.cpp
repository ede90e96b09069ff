// Generates crv.ini from the options, refusing values that would break its line structure.
#include "IniText.h"

#include "PackErrors.h"
#include "abi/Utf.h"
#include "shared/ProjectIni.h"

#include <algorithm>
#include <array>

namespace Corvane::Pack {

namespace {

constexpr std::array<std::string_view, 4> kIdentityKeys = {"ID", "Name", "DirName", "IndexHtml"};
constexpr std::array<std::string_view, 4> kIdentityOptions = {"--id", "--name", "--dir-name", "--index"};

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// The runtime trims characters up to 32 from both ends of names and values.
bool HasBlankEnds(std::string_view text) {
    return !text.empty() &&
           (static_cast<unsigned char>(text.front()) <= 32 || static_cast<unsigned char>(text.back()) <= 32);
}

void CheckText(std::string_view what, std::string_view text) {
    if (text.find_first_of("\r\n") != std::string_view::npos)
        throw EUsageError(std::string(what) + " contains a line break, which would add lines to crv.ini");
    if (!Abi::IsValidUtf8(text)) throw EUsageError(std::string(what) + " is not valid UTF-8");
}

void CheckRequired(std::string_view what, std::string_view text) {
    CheckText(what, text);
    if (text.find_first_not_of(" \t") == std::string_view::npos)
        throw EUsageError(std::string(what) + " is empty");
}

// These name files in the archive, so they must reach the runtime exactly as written.
void CheckDirName(const std::string& dirName) {
    CheckRequired("--dir-name", dirName);
    if (HasBlankEnds(dirName))
        throw EUsageError("--dir-name has blanks at its ends, which crv.ini would drop");
    if (dirName.find_first_of("/\\") != std::string::npos || dirName == "." || dirName == "..")
        throw EUsageError("--dir-name must be one folder name, without '/' or '\\', got \"" + dirName + "\"");
}

void CheckIndex(const std::string& index) {
    CheckRequired("--index", index);
    if (HasBlankEnds(index)) throw EUsageError("--index has blanks at its ends, which crv.ini would drop");
    if (index.front() == '/')
        throw EUsageError("--index is a path inside the application folder, without a leading '/'");
}

void CheckSetting(const std::string& key, const std::string& value) {
    CheckText("--set key \"" + key + "\"", key);
    CheckText("--set " + key, value);
    const auto first = key.find_first_not_of(" \t");
    if (key[first] == ';' || key[first] == '[')
        throw EUsageError("--set key \"" + key + "\" would be read as a comment or a section");
    std::string_view trimmed(key);
    trimmed.remove_prefix(first);
    trimmed.remove_suffix(trimmed.size() - (trimmed.find_last_not_of(" \t") + 1));
    for (std::size_t i = 0; i < kIdentityKeys.size(); ++i)
        if (EqualsIgnoringAsciiCase(trimmed, kIdentityKeys[i]))
            throw EUsageError("--set " + std::string(trimmed) + " is not allowed: use " +
                              std::string(kIdentityOptions[i]));
}

} // namespace

TAppIdentity IdentityFromOptions(const TPackOptions& options) {
    TAppIdentity identity{options.Id, options.Name, options.DirName.value_or(kDefaultDirName),
                          options.IndexHtml.value_or(kDefaultIndexHtml)};
    CheckRequired("--id", identity.Id);
    CheckRequired("--name", identity.Name);
    CheckDirName(identity.DirName);
    CheckIndex(identity.IndexHtml);
    for (const auto& [key, value] : options.Settings)
        CheckSetting(key, value);
    return identity;
}

TAppIdentity IdentityFromIniFile(std::string_view iniBytes, const std::string& iniPath,
                                 const TPackOptions& options) {
    Shared::TProjectIni ini;
    ini.LoadFromBytes(iniBytes);
    TAppIdentity identity{ini.ReadString("App", "ID", ""), ini.ReadString("App", "Name", ""),
                          ini.ReadString("App", "DirName", ""),
                          ini.ReadString("App", "IndexHtml", kDefaultIndexHtml)};

    std::string missing;
    for (auto [key, value] : {std::pair{"ID", &identity.Id}, std::pair{"Name", &identity.Name},
                              std::pair{"DirName", &identity.DirName}})
        if (value->empty()) missing += std::string(missing.empty() ? "" : ", ") + key;
    if (!missing.empty())
        Warn(iniPath + " has no " + missing + " in its [App] section: the package will refuse to start");

    if (options.DirName) {
        CheckDirName(*options.DirName);
        if (!identity.DirName.empty() && identity.DirName != *options.DirName)
            throw EUsageError("--dir-name " + *options.DirName + " differs from DirName=" + identity.DirName +
                              " in " + iniPath);
        identity.DirName = *options.DirName;
    } else if (identity.DirName.empty()) {
        identity.DirName = kDefaultDirName;
    } else if (identity.DirName.find_first_of("/\\") != std::string::npos || identity.DirName == "." ||
               identity.DirName == "..") {
        throw EUsageError("DirName=" + identity.DirName + " in " + iniPath + " must be one folder name");
    }
    if (options.IndexHtml) {
        CheckIndex(*options.IndexHtml);
        if (identity.IndexHtml != *options.IndexHtml)
            throw EUsageError("--index " + *options.IndexHtml +
                              " differs from IndexHtml=" + identity.IndexHtml + " in " + iniPath);
    }
    return identity;
}

std::string GenerateIni(const TAppIdentity& identity, const TPackOptions& options) {
    std::string text = "\xEF\xBB\xBF[App]\r\n";
    auto line = [&text](std::string_view key, std::string_view value) {
        text.append(key).append("=").append(value).append("\r\n");
    };
    line("ID", identity.Id);
    line("Name", identity.Name);
    line("DirName", identity.DirName);
    line("IndexHtml", identity.IndexHtml);
    for (const auto& [key, value] : options.Settings)
        line(key, value);
    return text;
}

} // namespace Corvane::Pack
