// Running a command line in the system's command interpreter and collecting what it writes.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace Platform {

// Runs commandLine in the command interpreter with the current folder workingDir (empty: the
// caller's), standard input inherited, standard output and error into one pipe so that their texts
// interleave in the order written. onOutput receives the bytes in pieces as they arrive, until every
// holder of the pipe has closed it; the call returns once the interpreter has ended too.
// showWindow runs the command in a terminal window of the desktop, still collecting its output;
// without a display or a terminal program it runs hidden. False when the command could not be
// started (LastErrorCode tells why); onOutput is then never called.
bool RunCommandCapture(const std::string& commandLine, const std::string& workingDir, bool showWindow,
                       const std::function<void(std::string_view)>& onOutput);

// Converts text in the locale's character set to UTF-8 piece by piece: the bytes of a character
// that a piece ends inside are kept and finished by the next piece. Bytes that do not convert
// become U+FFFD. The C locale's plain ASCII is read as UTF-8, a superset that programs write there.
class TLocaleTextDecoder {
public:
    TLocaleTextDecoder();
    ~TLocaleTextDecoder();
    TLocaleTextDecoder(const TLocaleTextDecoder&) = delete;
    TLocaleTextDecoder& operator=(const TLocaleTextDecoder&) = delete;

    // The UTF-8 text of the next piece, up to a character left unfinished at its end.
    std::string Decode(std::string_view bytes);
    // The end of the text: a character still unfinished becomes U+FFFD.
    std::string Finish();

private:
    void* FConverter;     // iconv descriptor, or (void*)-1 when the character set is unknown
    std::string FPending; // the start of an unfinished character
};

} // namespace Platform
