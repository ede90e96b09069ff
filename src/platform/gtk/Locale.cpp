// The user's locale on Linux: the language of LC_ALL / LC_MESSAGES / LANG, and the locale's
// character set as the 8-bit code page.
#include "platform/Locale.h"

#include <cerrno>
#include <cstdlib>
#include <iconv.h>
#include <langinfo.h>
#include <string>

namespace Platform {

std::string UserLanguageName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (!value || !*value) continue;
        std::string language;
        for (const char* p = value; *p && *p != '_' && *p != '.' && *p != '@'; ++p) {
            const char c = *p;
            if (c < 'A' || (c > 'Z' && c < 'a') || c > 'z') return {};
            language += static_cast<char>(c | 0x20);
        }
        // "C" and "POSIX" name no language.
        if (language == "c" || language == "posix") return {};
        return language;
    }
    return {};
}

std::string AnsiToUtf8(std::string_view bytes) {
    const char* codeset = nl_langinfo(CODESET);
    const std::string charset = codeset && *codeset ? codeset : "ANSI_X3.4-1968";
    iconv_t cd = iconv_open("UTF-8", charset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(bytes);

    std::string out;
    char buffer[4096];
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            out += "\xEF\xBF\xBD"; // a byte that does not convert
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace Platform
