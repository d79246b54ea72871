#include "controls/image_list.h"

namespace controls {

ListImage *ListImages::add(int index, const QString &key, const host::Picture &picture)
{
    const int position = m_items.insertPosition(index);
    m_items.checkNewKey(key);
    auto image = std::make_unique<ListImage>();
    image->m_picture = picture;
    if (m_owner.m_imageWidth == 0 && m_owner.m_imageHeight == 0 && !picture.isNull()) {
        const QSize size = picture.size();
        m_owner.m_imageWidth = size.width();
        m_owner.m_imageHeight = size.height();
    }
    ListImage *added = m_items.insert(position, key, std::move(image));
    m_owner.changed.raise(Property::ListImages);
    return added;
}

void ListImages::remove(const ItemRef &ref)
{
    m_items.take(m_items.item(ref));
    m_owner.changed.raise(Property::ListImages);
}

void ListImages::clear()
{
    m_items.clear();
    m_owner.changed.raise(Property::ListImages);
}

ImageList::ImageList(const QString &name) : Control(name) {}

ImageList::~ImageList() = default;

void ImageList::setImageWidth(int pixels)
{
    if (pixels < 0)
        throw controlError(err::InvalidPropertyValue);
    if (assign(m_imageWidth, pixels))
        notify(Property::ImageWidth);
}

void ImageList::setImageHeight(int pixels)
{
    if (pixels < 0)
        throw controlError(err::InvalidPropertyValue);
    if (assign(m_imageHeight, pixels))
        notify(Property::ImageHeight);
}

void ImageList::checkImage(const QString &keyOrIndex) const
{
    if (keyOrIndex.isEmpty())
        return;
    if (isNumericKey(keyOrIndex)) {
        bool ok = false;
        const int index = keyOrIndex.trimmed().toInt(&ok);
        if (!ok || index < 1 || index > m_images.count())
            throw controlError(err::IndexOutOfBounds);
        return;
    }
    if (!m_images.exists(keyOrIndex))
        throw controlError(err::ElementNotFound);
}

host::Picture ImageList::picture(const QString &keyOrIndex) const
{
    if (keyOrIndex.isEmpty())
        return {};
    if (isNumericKey(keyOrIndex)) {
        bool ok = false;
        const int index = keyOrIndex.trimmed().toInt(&ok);
        if (!ok || index < 1 || index > m_images.count())
            return {};
        return m_images.item(index)->picture();
    }
    const ListImage *image = m_images.find(keyOrIndex);
    return image ? image->picture() : host::Picture();
}

} // namespace controls
