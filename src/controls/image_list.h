#pragma once
// ImageList: the keyed pictures that tree views, list views, toolbars, tab strips and image
// combos show beside their items. Controls name images by key.
#include "controls/control.h"
#include "controls/item_list.h"
#include "host/picture.h"

#include <memory>

namespace controls {

class ImageList;

class ListImage : public KeyedItem {
public:
    const host::Picture &picture() const { return m_picture; }
    const QString &tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

private:
    friend class ListImages;
    host::Picture m_picture;
    QString m_tag;
};

/// ListImages collection (1-based).
class ListImages {
public:
    explicit ListImages(ImageList &owner) : m_owner(owner) {}

    /// Add([Index], [Key], Picture): index 0 appends. 35602 for a used key, 35600 for a bad index.
    ListImage *add(int index, const QString &key, const host::Picture &picture);
    int count() const { return m_items.count(); }
    /// By index (35600) or key (35601).
    ListImage *item(const ItemRef &ref) const { return m_items.item(ref); }
    ListImage *find(const QString &key) const { return m_items.find(key); }
    bool exists(const QString &key) const { return m_items.contains(key); }
    void remove(const ItemRef &ref);
    void clear();
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    ImageList &m_owner;
    ItemList<ListImage> m_items;
};

class ImageList : public Control {
public:
    explicit ImageList(const QString &name = {});
    ~ImageList() override;
    QString className() const override { return QStringLiteral("ImageList"); }

    /// Pixels; 0 until set or taken from the first picture added.
    int imageWidth() const { return m_imageWidth; }
    int imageHeight() const { return m_imageHeight; }
    void setImageWidth(int pixels);
    void setImageHeight(int pixels);

    ListImages &listImages() { return m_images; }
    const ListImages &listImages() const { return m_images; }

    /// Checks an image argument of a bound control: empty is no image, a numeric text is
    /// an index (35600 outside), anything else a key (35601 when missing).
    void checkImage(const QString &keyOrIndex) const;
    /// The picture an image argument names, or a null picture.
    host::Picture picture(const QString &keyOrIndex) const;

    /// Liveness token for the controls bound to this list (see ImageListBinding).
    std::weak_ptr<bool> aliveToken() const { return m_alive; }

private:
    friend class ListImages;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    ListImages m_images{*this};
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

/// A control's ImageList property: a pointer that reads nullptr once the list is gone.
class ImageListBinding {
public:
    ImageList *get() const { return m_alive.expired() ? nullptr : m_list; }
    void set(ImageList *list)
    {
        m_list = list;
        m_alive = list ? list->aliveToken() : std::weak_ptr<bool>();
    }
    /// Throws like ImageList::checkImage when a list is bound; accepts anything otherwise.
    void checkImage(const QString &keyOrIndex) const
    {
        if (ImageList *list = get())
            list->checkImage(keyOrIndex);
    }

private:
    ImageList *m_list = nullptr; // not owned
    std::weak_ptr<bool> m_alive;
};

} // namespace controls
