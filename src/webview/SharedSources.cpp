// The loader does not link the Parts library; it compiles the two portable pieces it shares with
// the runtime: the UTF-8/UTF-16 conversions and the memory stream whose bytes it serves unchanged.
#include "shared/Utf.cpp"

#include "browser/MemoryStream.cpp"
