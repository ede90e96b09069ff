// Content types the system registers: /etc/mime.types, then shared-mime-info's globs.
#include "platform/SystemMimeTypes.h"

#include "platform/gtk/SystemMimeFiles.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unordered_map>
#include <vector>

namespace Platform {

namespace MimeFiles {

namespace {

bool IsFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::vector<std::string> SplitAt(const std::string& line, char separator) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t found; (found = line.find(separator, start)) != std::string::npos; start = found + 1)
        fields.push_back(line.substr(start, found - start));
    fields.push_back(line.substr(start));
    return fields;
}

// The extension of a plain "*.ext" glob with its dot, or empty for any other pattern.
std::string GlobExtension(const std::string& glob) {
    if (glob.size() < 3 || glob.compare(0, 2, "*.") != 0) return {};
    if (glob.find_first_of("*?[]\\", 1) != std::string::npos) return {};
    return glob.substr(1);
}

bool HasUpperCase(const std::string& text) {
    for (const char c : text)
        if (c >= 'A' && c <= 'Z') return true;
    return false;
}

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

struct TGlob {
    std::string Extension;
    std::string Type;
    int Weight;
};

// Keeps, per extension (without case), the glob of the highest weight; on a tie a lower-case
// pattern beats one with capitals (update-mime-database lists *.C beside *.c), else the earlier.
class TGlobPicker {
public:
    void Offer(TGlob glob) {
        const std::string key = LowerAscii(glob.Extension);
        const auto [it, inserted] = FIndex.try_emplace(key, FGlobs.size());
        if (inserted) {
            FGlobs.push_back(std::move(glob));
            return;
        }
        TGlob& kept = FGlobs[it->second];
        const bool tieWonByCase =
            glob.Weight == kept.Weight && HasUpperCase(kept.Extension) && !HasUpperCase(glob.Extension);
        if (glob.Weight > kept.Weight || tieWonByCase) kept = std::move(glob);
    }
    void Emit(const TAddMimeType& add) const {
        for (const TGlob& glob : FGlobs)
            add(glob.Extension, glob.Type);
    }

private:
    std::unordered_map<std::string, size_t> FIndex;
    std::vector<TGlob> FGlobs;
};

} // namespace

void ReadMimeTypes(const std::string& path, const TAddMimeType& add) {
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string type;
        std::string ext;
        if (!(words >> type)) continue;
        while (words >> ext)
            add("." + ext, type);
    }
}

void ReadMimeGlobs(const std::string& mimeDir, const TAddMimeType& add) {
    std::string dir = mimeDir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    const bool weighted = IsFile(dir + "globs2");
    std::ifstream file(dir + (weighted ? "globs2" : "globs"));
    TGlobPicker picker;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> fields = SplitAt(line, ':');
        TGlob glob{{}, {}, 50};
        std::string pattern;
        if (weighted) {
            if (fields.size() < 3) continue;
            glob.Weight = std::atoi(fields[0].c_str());
            glob.Type = fields[1];
            pattern = fields[2];
            // A case-sensitive glob with capitals names another type than its lower-case twin
            // (*.C against *.c); a lookup without case cannot tell them apart.
            if (fields.size() > 3 && fields[3].find("cs") != std::string::npos && HasUpperCase(pattern))
                continue;
        } else {
            if (fields.size() < 2) continue;
            glob.Type = fields[0];
            pattern = fields[1];
        }
        glob.Extension = GlobExtension(pattern);
        if (glob.Extension.empty() || glob.Type.empty()) continue;
        picker.Offer(std::move(glob));
    }
    picker.Emit(add);
}

std::string FindMimeDir() {
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    if (dirs != nullptr && *dirs != '\0') {
        for (std::string dir : SplitAt(dirs, ':')) {
            if (dir.empty()) continue;
            if (dir.back() != '/') dir += '/';
            dir += "mime/";
            if (IsFile(dir + "globs2") || IsFile(dir + "globs")) return dir;
        }
    }
    return "/usr/share/mime/";
}

} // namespace MimeFiles

void ForEachSystemMimeType(const std::function<void(const std::string&, const std::string&)>& add) {
    MimeFiles::ReadMimeTypes("/etc/mime.types", add);
    MimeFiles::ReadMimeGlobs(MimeFiles::FindMimeDir(), add);
}

} // namespace Platform
