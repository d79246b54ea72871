#pragma once
// ImageCombo (MSComctlLib 6): a combo box whose items carry keys, images and indentation.
#include "controls/control.h"
#include "controls/image_list.h"
#include "controls/item_list.h"

namespace controls {

class ImageCombo;

/// ImageComboStyleConstants.
enum class ImageComboStyle { DropdownCombo = 0, SimpleCombo = 1, DropdownList = 2 };

class ComboItem : public KeyedItem {
public:
    ImageCombo &imageCombo() const { return *m_combo; }
    void setKey(const QString &key);
    const QString &text() const { return m_text; }
    void setText(const QString &text);
    const QString &tag() const { return m_tag; }
    void setTag(const QString &tag);
    /// Keys of the combo's image list; 35601 for a key it lacks.
    const QString &image() const { return m_image; }
    void setImage(const QString &image);
    const QString &selImage() const { return m_selImage; }
    void setSelImage(const QString &image);
    const QString &overlayImage() const { return m_overlayImage; }
    void setOverlayImage(const QString &image);
    /// Indentation in levels (each level is 10 pixels wide).
    int indentation() const { return m_indentation; }
    void setIndentation(int levels);
    bool selected() const;
    /// Selects without a Click event.
    void setSelected(bool selected);

private:
    friend class ComboItems;
    void changed();
    ImageCombo *m_combo = nullptr; // not owned
    QString m_text;
    QString m_tag;
    QString m_image;
    QString m_selImage;
    QString m_overlayImage;
    int m_indentation = 0;
};

class ComboItems {
public:
    explicit ComboItems(ImageCombo &combo) : m_combo(combo) {}

    /// Add([Index], [Key], [Text], [Image], [SelImage], [Indentation]): index 0 appends,
    /// a negative indentation takes the combo's Indentation.
    ComboItem *add(int index = 0, const QString &key = {}, const QString &text = {}, const QString &image = {},
                   const QString &selImage = {}, int indentation = -1);
    int count() const { return m_items.count(); }
    ComboItem *item(const ItemRef &ref) const { return m_items.item(ref); }
    ComboItem *operator()(const ItemRef &ref) const { return item(ref); }
    ComboItem *find(const QString &key) const { return m_items.find(key); }
    /// Removing the selected item leaves no selection; the text stays.
    void remove(const ItemRef &ref);
    /// Empties the list and the text.
    void clear();
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    friend class ComboItem;
    ImageCombo &m_combo;
    ItemList<ComboItem> m_items;
};

class ImageCombo : public Control {
public:
    explicit ImageCombo(const QString &name = {});
    ~ImageCombo() override;
    QString className() const override { return QStringLiteral("ImageCombo"); }

    ComboItems &comboItems() { return m_items; }
    const ComboItems &comboItems() const { return m_items; }

    ComboItem *selectedItem() const { return m_selected; }
    /// Selects in code: Text becomes the item's text; no Click (nullptr: no selection).
    void setSelectedItem(ComboItem *item);
    const QString &text() const { return m_text; }
    /// Sets the edit text; the selection is not changed. No Change event.
    void setText(const QString &text);
    bool locked() const { return m_locked; }
    void setLocked(bool locked);
    ImageComboStyle style() const { return m_style; }
    void setStyle(ImageComboStyle style);
    /// Default indentation of new items (levels).
    int indentation() const { return m_indentation; }
    void setIndentation(int levels);
    ImageList *imageList() const { return m_imageList.get(); }
    void setImageList(ImageList *list);

    // User operations.
    /// The user picks an item: selection, Text, then Click. Ignored when locked or disabled.
    void chooseItem(ComboItem *item);
    /// The user types into the edit part: Text, then Change.
    void typeText(const QString &text);
    /// KeyDown; returns the key code as the handlers left it.
    int pressKey(int keyCode, int shift = 0);

    host::Signal<> change;
    host::Signal<> dropdown;

private:
    friend class ComboItem;
    friend class ComboItems;

    ComboItems m_items{*this};
    ComboItem *m_selected = nullptr;
    QString m_text;
    bool m_locked = false;
    ImageComboStyle m_style = ImageComboStyle::DropdownCombo;
    int m_indentation = 0;
    ImageListBinding m_imageList;
};

} // namespace controls
