#pragma once
// A picture for tests that only need its size: a PNG signature and IHDR header, no pixels.
#include "host/picture.h"

namespace testing_support {

inline host::Picture pngHeader(int width, int height)
{
    QByteArray bytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    for (const quint32 value : {quint32(width), quint32(height)}) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.append(char(value >> shift & 0xFF));
    }
    return host::Picture(bytes);
}

} // namespace testing_support
