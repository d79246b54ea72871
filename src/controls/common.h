#pragma once
// Pieces every control model shares: errors with VB's numbers, the argument that names a
// collection item by index or key, and the text order of the Windows controls.
#include "host/error.h"

#include <QString>
#include <variant>

namespace controls {

namespace err {
inline constexpr int InvalidCall = 5;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int ControlArrayElementMissing = 340;
inline constexpr int ObjectAlreadyLoaded = 360;
inline constexpr int CantUnloadDesignTimeControl = 362;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int InvalidPropertyArrayIndex = 381;
inline constexpr int TextPropertyReadOnly = 383;
inline constexpr int CantOpenClipboard = 521;
inline constexpr int IndexOutOfBounds = 35600;
inline constexpr int ElementNotFound = 35601;
inline constexpr int KeyNotUnique = 35602;
inline constexpr int InvalidKey = 35603;
} // namespace err

/// host::Error(number) with VB's text; also knows the texts of the control-array and
/// property errors that the host's table lacks. `%1` in a text is replaced by `argument`.
host::Error controlError(int number, const QString &argument = {});

/// Names an item of a control's collection the way VB's Variant argument does: a 1-based
/// index, a key, or nothing (for an optional relative).
class ItemRef {
public:
    ItemRef() = default;
    ItemRef(int index) : m_value(index) {}
    ItemRef(const QString &key) : m_value(key) {}
    ItemRef(const char *key) : m_value(QString::fromUtf8(key)) {}

    bool isNone() const { return std::holds_alternative<std::monostate>(m_value); }
    bool isIndex() const { return std::holds_alternative<int>(m_value); }
    bool isKey() const { return std::holds_alternative<QString>(m_value); }
    int index() const { return isIndex() ? std::get<int>(m_value) : 0; }
    QString key() const { return isKey() ? std::get<QString>(m_value) : QString(); }

private:
    std::variant<std::monostate, int, QString> m_value;
};

/// How a tree's nodes or a list's items changed, for renderers. The pairs come around the
/// change itself, in the order a QAbstractItemModel announces it (Adding before the item
/// exists, Added after; Removing while it is still there, Removed after it is gone).
enum class ItemChange { Adding, Added, Removing, Removed, Clearing, Cleared, Property, Reordering, Reordered };

/// True for a key the common controls refuse with 35603 "Invalid key": one that reads as
/// a number (VB would take it for an index).
bool isNumericKey(const QString &key);

/// Order in which the common controls sort item texts: case-insensitive, like lstrcmpi.
int compareText(const QString &a, const QString &b);

} // namespace controls
