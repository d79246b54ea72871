#pragma once
// StdPicture as the object model passes it: the bytes of an image file (PNG or BMP), kept
// encoded. Only the front end that draws decodes them, so the add-in and the command line
// need no GUI library.
#include <QByteArray>
#include <QSize>

namespace host {

class Picture {
public:
    Picture() = default;
    explicit Picture(QByteArray bytes) : m_bytes(std::move(bytes)) {}

    /// True when there are no bytes (VB's Nothing / an empty StdPicture).
    bool isNull() const { return m_bytes.isEmpty(); }
    const QByteArray &bytes() const { return m_bytes; }

    /// Pixels, read from the PNG or BMP header; (0, 0) when null or in any other format.
    QSize size() const;
    int width() const { return size().width(); }
    int height() const { return size().height(); }

    friend bool operator==(const Picture &, const Picture &) = default;

private:
    QByteArray m_bytes;
};

} // namespace host
