#include "host/picture.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace host {

namespace {

quint32 bigEndian32(const QByteArray &b, qsizetype at)
{
    return quint32(quint8(b[at])) << 24 | quint32(quint8(b[at + 1])) << 16 | quint32(quint8(b[at + 2])) << 8
           | quint32(quint8(b[at + 3]));
}

quint32 littleEndian32(const QByteArray &b, qsizetype at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16
           | quint32(quint8(b[at + 3])) << 24;
}

quint16 littleEndian16(const QByteArray &b, qsizetype at) { return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8); }

QSize pngSize(const QByteArray &b)
{
    // The signature, then IHDR first: length, type, width, height (big-endian).
    if (b.size() < 24 || b.mid(12, 4) != "IHDR")
        return {0, 0};
    return QSize(int(bigEndian32(b, 16) & 0x7FFFFFFF), int(bigEndian32(b, 20) & 0x7FFFFFFF));
}

QSize bmpSize(const QByteArray &b)
{
    // BITMAPFILEHEADER (14 bytes), then the info header whose size tells its kind.
    if (b.size() < 26)
        return {0, 0};
    if (littleEndian32(b, 14) == 12) // BITMAPCOREHEADER: 16-bit width and height
        return QSize(littleEndian16(b, 18), littleEndian16(b, 20));
    // A negative height is a top-down bitmap of the same size.
    const auto height = qint32(littleEndian32(b, 22));
    return QSize(std::max(0, int(qint32(littleEndian32(b, 18)))), height == INT32_MIN ? 0 : std::abs(height));
}

} // namespace

QSize Picture::size() const
{
    if (m_bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return pngSize(m_bytes);
    if (m_bytes.startsWith("BM"))
        return bmpSize(m_bytes);
    return {0, 0};
}

} // namespace host
