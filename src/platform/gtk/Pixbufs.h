// Image bytes decoded into toolkit pictures, shared by the image services of the backend.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstddef>
#include <string>

namespace Platform {

// Decodes bytes of any format gdk-pixbuf reads (PNG, BMP, ICO, ...). A new reference, or null with
// the decoder's reason in *reason when given.
GdkPixbuf* DecodePixbuf(const void* data, std::size_t size, std::string* reason = nullptr);

} // namespace Platform
