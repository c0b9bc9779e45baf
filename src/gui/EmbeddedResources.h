// Data compiled into the library at build time (resources/embed.cmake writes the definitions).
#pragma once

#include <cstddef>

struct EmbeddedData {
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
};

// The TrueType face all standard fonts are rasterised from.
EmbeddedData embeddedFont();
// The PNG file of bitmap `id`; empty when there is none.
EmbeddedData embeddedBitmap(int id);
