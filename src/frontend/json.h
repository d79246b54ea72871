#pragma once
// A small JSON value that keeps keys in insertion order, so output reads in the
// order the documented formats give.
#include <QString>
#include <functional>
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
    friend class JsonWriter;
    void write(QString &out, int indent, int depth) const;
    std::variant<std::nullptr_t, bool, long long, QString, Object, Array> m_value;
};

QString jsonString(const QString &text);

/// Writes what Json::dump() would give, piece by piece: whole lines go to `lines` in large
/// chunks (without their final newline), so a big document is never held whole.
class JsonWriter {
public:
    explicit JsonWriter(std::function<void(const QString &)> lines) : m_lines(std::move(lines)) {}
    JsonWriter(const JsonWriter &) = delete;
    JsonWriter &operator=(const JsonWriter &) = delete;

    JsonWriter &beginObject();
    JsonWriter &endObject();
    JsonWriter &beginArray();
    JsonWriter &endArray();
    /// The next member's key, inside an object.
    JsonWriter &key(const QString &name);
    /// A value: a scalar, or a small object or array built as a Json.
    JsonWriter &value(const Json &v);
    JsonWriter &field(const QString &name, const Json &v) { return key(name).value(v); }
    /// Hands over what is left; call once at the end.
    void finish();

private:
    void beforeValue();
    void newline(int depth);
    void flushLines();
    JsonWriter &beginLevel(QLatin1Char open);
    JsonWriter &endLevel(QLatin1Char close);

    struct Level {
        int count; // members or elements written so far
    };
    std::function<void(const QString &)> m_lines;
    std::vector<Level> m_stack;
    QString m_buffer;
    bool m_afterKey = false;
};

} // namespace frontend
