// The user's locale: language and 8-bit character set.
#pragma once

#include <string>
#include <string_view>

namespace Platform {

// The lower-case ISO 639 language name of the user's locale, empty when none can be read.
std::string UserLanguageName();
// Text in the system's 8-bit code page converted to UTF-8; bytes that do not convert become U+FFFD.
std::string AnsiToUtf8(std::string_view bytes);

// Converts text in the locale's character set to UTF-8 piece by piece: the bytes of a character
// that a piece ends inside are kept and finished by the next piece. Bytes that do not convert
// become U+FFFD. With asciiReadsAsUtf8, a plain ASCII locale (C, POSIX) is read as UTF-8, a
// superset that programs write there.
class TLocaleTextDecoder {
public:
    explicit TLocaleTextDecoder(bool asciiReadsAsUtf8 = true);
    ~TLocaleTextDecoder();
    TLocaleTextDecoder(const TLocaleTextDecoder&) = delete;
    TLocaleTextDecoder& operator=(const TLocaleTextDecoder&) = delete;

    // The UTF-8 text of the next piece, up to a character left unfinished at its end.
    std::string Decode(std::string_view bytes);
    // The end of the text: a character still unfinished becomes U+FFFD.
    std::string Finish();

private:
    void* FConverter;     // iconv descriptor ((void*)-1: unknown character set); on Windows the code page
    std::string FPending; // the start of an unfinished character
};

} // namespace Platform
