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

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";

} // namespace

std::string AnsiToUtf8(std::string_view bytes) {
    TLocaleTextDecoder decoder(false);
    std::string text = decoder.Decode(bytes);
    return text + decoder.Finish();
}

TLocaleTextDecoder::TLocaleTextDecoder(bool asciiReadsAsUtf8) {
    const char* codeset = nl_langinfo(CODESET);
    std::string charset = codeset && *codeset ? codeset : "ANSI_X3.4-1968";
    if (asciiReadsAsUtf8 && (charset == "ANSI_X3.4-1968" || charset == "ASCII")) charset = "UTF-8";
    FConverter = iconv_open("UTF-8", charset.c_str());
}

TLocaleTextDecoder::~TLocaleTextDecoder() {
    if (FConverter != reinterpret_cast<void*>(-1)) iconv_close(static_cast<iconv_t>(FConverter));
}

std::string TLocaleTextDecoder::Decode(std::string_view bytes) {
    if (FConverter == reinterpret_cast<void*>(-1)) return std::string(bytes);
    std::string input = std::move(FPending);
    FPending.clear();
    input.append(bytes);

    std::string out;
    char buffer[4096];
    char* in = input.data();
    size_t inLeft = input.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(static_cast<iconv_t>(FConverter), &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (rc != static_cast<size_t>(-1) || error == E2BIG) continue;
        if (error == EINVAL) { // a character that the next piece finishes
            FPending.assign(in, inLeft);
            break;
        }
        out += kReplacement;
        ++in;
        --inLeft;
    }
    return out;
}

std::string TLocaleTextDecoder::Finish() {
    std::string out;
    if (!FPending.empty()) out = kReplacement;
    FPending.clear();
    if (FConverter != reinterpret_cast<void*>(-1)) {
        // Returns to the initial shift state, writing what a stateful character set needs for that.
        char buffer[64];
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        iconv(static_cast<iconv_t>(FConverter), nullptr, nullptr, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
    }
    return out;
}

} // namespace Platform
