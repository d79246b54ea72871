#pragma once
// A small JSON value that keeps keys in insertion order, so output reads in the
// order the documented formats give.
#include <QString>
#include <utility>
#include <variant>
#include <vector>

namespace frontend {

class Json {
public:
    using Object = std::vector<std::pair<QString, Json>>;
    using Array = std::vector<Json>;

    Json() : m_value(nullptr) {}
    Json(std::nullptr_t) : m_value(nullptr) {}
    Json(bool b) : m_value(b) {}
    Json(int n) : m_value(static_cast<long long>(n)) {}
    Json(long n) : m_value(static_cast<long long>(n)) {}
    Json(long long n) : m_value(n) {}
    Json(const QString &s) : m_value(s) {}
    Json(const char *s) : m_value(QString::fromUtf8(s)) {}
    Json(Object o) : m_value(std::move(o)) {}
    Json(Array a) : m_value(std::move(a)) {}

    static Json object() { return Json(Object{}); }
    static Json array() { return Json(Array{}); }

    /// Appends a key to an object.
    Json &set(const QString &key, Json value);
    /// Appends an element to an array.
    Json &push(Json value);

    /// Pretty-printed with two-space indents; `indent` < 0 gives one line.
    QString dump(int indent = 2) const;

private:
    void write(QString &out, int indent, int depth) const;
    std::variant<std::nullptr_t, bool, long long, QString, Object, Array> m_value;
};

QString jsonString(const QString &text);

} // namespace frontend
