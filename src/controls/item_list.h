#pragma once
// The ordered, keyed, 1-based collection behind ListItems, ColumnHeaders, Buttons, Panels,
// Tabs, Bands, ComboItems and ListImages. Keys are unique and case-sensitive; lookups by
// key go through a hash, so adding 40,000 keyed items stays linear.
#include "controls/common.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

namespace controls {

template <class T>
class ItemList;

/// Base of a collection item: its key and its 1-based position.
class KeyedItem {
public:
    virtual ~KeyedItem() = default;
    const QString &key() const { return m_key; }
    /// 1-based position in the collection; 0 once removed.
    int index() const { return m_index; }

private:
    template <class T>
    friend class ItemList;
    QString m_key;
    int m_index = 0;
};

template <class T>
class ItemList {
    using Storage = std::vector<std::unique_ptr<T>>;

public:
    class const_iterator {
    public:
        explicit const_iterator(typename Storage::const_iterator it) : m_it(it) {}
        T *operator*() const { return m_it->get(); }
        const_iterator &operator++()
        {
            ++m_it;
            return *this;
        }
        bool operator==(const const_iterator &other) const { return m_it == other.m_it; }
        bool operator!=(const const_iterator &other) const { return m_it != other.m_it; }

    private:
        typename Storage::const_iterator m_it;
    };

    int count() const { return static_cast<int>(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    const_iterator begin() const { return const_iterator(m_items.begin()); }
    const_iterator end() const { return const_iterator(m_items.end()); }

    /// 1-based; throws 35600 outside 1..count.
    T *at(int index) const
    {
        if (index < 1 || index > count())
            throw controlError(err::IndexOutOfBounds);
        return m_items[index - 1].get();
    }
    /// By index (35600) or key (35601).
    T *item(const ItemRef &ref) const
    {
        if (ref.isKey()) {
            T *found = find(ref.key());
            if (!found)
                throw controlError(err::ElementNotFound);
            return found;
        }
        return at(ref.index());
    }
    /// nullptr when no item has this key (or the key is empty).
    T *find(const QString &key) const
    {
        if (key.isEmpty())
            return nullptr;
        return m_keys.value(key, nullptr);
    }
    bool contains(const QString &key) const { return find(key) != nullptr; }

    /// Throws 35603 for a numeric key and 35602 for one already in use.
    void checkNewKey(const QString &key, const T *owner = nullptr) const
    {
        if (key.isEmpty())
            return;
        if (isNumericKey(key))
            throw controlError(err::InvalidKey);
        T *existing = find(key);
        if (existing && existing != owner)
            throw controlError(err::KeyNotUnique);
    }
    /// Position for an Add: 0 means "at the end"; otherwise 1..count+1, else 35600.
    int insertPosition(int index) const
    {
        if (index == 0)
            return count() + 1;
        if (index < 1 || index > count() + 1)
            throw controlError(err::IndexOutOfBounds);
        return index;
    }

    /// Inserts at 1-based `position` under `key` (already checked).
    T *insert(int position, const QString &key, std::unique_ptr<T> item)
    {
        T *raw = item.get();
        raw->KeyedItem::m_key = key;
        m_items.insert(m_items.begin() + (position - 1), std::move(item));
        if (!key.isEmpty())
            m_keys.insert(key, raw);
        renumber(position - 1);
        return raw;
    }
    std::unique_ptr<T> take(T *item)
    {
        const int position = item->KeyedItem::m_index;
        std::unique_ptr<T> owned = std::move(m_items[position - 1]);
        m_items.erase(m_items.begin() + (position - 1));
        if (!owned->KeyedItem::m_key.isEmpty())
            m_keys.remove(owned->KeyedItem::m_key);
        owned->KeyedItem::m_index = 0;
        renumber(position - 1);
        return owned;
    }
    void clear()
    {
        m_keys.clear();
        Storage old;
        old.swap(m_items);
        for (auto &item : old)
            item->KeyedItem::m_index = 0;
    }
    /// Changes an item's key; throws 35603/35602 like an Add.
    void setKey(T *item, const QString &key)
    {
        if (item->KeyedItem::m_key == key)
            return;
        checkNewKey(key, item);
        if (!item->KeyedItem::m_key.isEmpty())
            m_keys.remove(item->KeyedItem::m_key);
        item->KeyedItem::m_key = key;
        if (!key.isEmpty())
            m_keys.insert(key, item);
    }

    /// For owners that reorder their items (sorting); call renumber() afterwards.
    Storage &storage() { return m_items; }
    void renumber(std::size_t from = 0)
    {
        for (std::size_t i = from; i < m_items.size(); ++i)
            m_items[i]->KeyedItem::m_index = static_cast<int>(i) + 1;
    }

private:
    Storage m_items;
    QHash<QString, T *> m_keys;
};

} // namespace controls
