#pragma once
// A control array (tvwProject(0..3), chkItem(i)): elements share a name and are addressed
// by a non-negative index that need not be contiguous.
#include "controls/control.h"

#include <map>
#include <memory>

namespace controls {

/// Owns its elements. Design-time elements come from add(); Load/Unload work as in VB.
template <class T>
class ControlArray {
public:
    explicit ControlArray(const QString &name) : m_name(name) {}
    ControlArray(const ControlArray &) = delete;
    ControlArray &operator=(const ControlArray &) = delete;

    const QString &name() const { return m_name; }

    /// A design-time element (as the form file would create it); 360 if it exists.
    T &add(int index)
    {
        return insert(index, true);
    }
    /// VB's Load statement: a new element with the properties of the lowest element,
    /// hidden. 360 if the index is in use, 340 when the array is empty.
    T &load(int index)
    {
        if (m_elements.empty())
            throw controlError(err::ControlArrayElementMissing, QString::number(index));
        const T &first = *m_elements.begin()->second.element;
        T &created = insert(index, false);
        created.copyPropertiesFrom(first);
        created.m_index = index;
        return created;
    }
    /// VB's Unload statement: 340 for a missing index, 362 for a design-time element.
    void unload(int index)
    {
        auto it = m_elements.find(index);
        if (it == m_elements.end())
            throw controlError(err::ControlArrayElementMissing, QString::number(index));
        if (it->second.designTime)
            throw controlError(err::CantUnloadDesignTimeControl);
        m_elements.erase(it);
    }

    /// Element `index`; 340 "Control array element doesn't exist" when there is none.
    T &operator()(int index) const { return item(index); }
    T &item(int index) const
    {
        auto it = m_elements.find(index);
        if (it == m_elements.end())
            throw controlError(err::ControlArrayElementMissing, QString::number(index));
        return *it->second.element;
    }
    bool exists(int index) const { return m_elements.count(index) != 0; }
    int count() const { return static_cast<int>(m_elements.size()); }
    /// LBound/UBound; 0 and -1 for an empty array.
    int lbound() const { return m_elements.empty() ? 0 : m_elements.begin()->first; }
    int ubound() const { return m_elements.empty() ? -1 : m_elements.rbegin()->first; }

    /// Indexes in ascending order.
    QList<int> indexes() const
    {
        QList<int> result;
        for (const auto &[index, slot] : m_elements)
            result.append(index);
        return result;
    }

private:
    struct Slot {
        std::unique_ptr<T> element;
        bool designTime = false;
    };

    T &insert(int index, bool designTime)
    {
        if (index < 0)
            throw controlError(err::ControlArrayElementMissing, QString::number(index));
        if (m_elements.count(index))
            throw controlError(err::ObjectAlreadyLoaded);
        auto element = std::make_unique<T>(m_name);
        element->m_index = index;
        T &ref = *element;
        m_elements.emplace(index, Slot{std::move(element), designTime});
        return ref;
    }

    QString m_name;
    std::map<int, Slot> m_elements;
};

} // namespace controls
