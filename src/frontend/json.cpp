#include "frontend/json.h"

namespace frontend {

Json &Json::set(const QString &key, Json value)
{
    std::get<Object>(m_value).emplace_back(key, std::move(value));
    return *this;
}

Json &Json::push(Json value)
{
    std::get<Array>(m_value).push_back(std::move(value));
    return *this;
}

QString jsonString(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QLatin1String("\\\""); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x2028 || c.unicode() == 0x2029)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString Json::dump(int indent) const
{
    QString out;
    write(out, indent, 0);
    return out;
}

void Json::write(QString &out, int indent, int depth) const
{
    const auto newline = [&](int d) {
        if (indent < 0)
            return;
        out += QLatin1Char('\n');
        out += QString(d * indent, QLatin1Char(' '));
    };
    if (std::holds_alternative<std::nullptr_t>(m_value)) {
        out += QLatin1String("null");
    } else if (const bool *b = std::get_if<bool>(&m_value)) {
        out += *b ? QLatin1String("true") : QLatin1String("false");
    } else if (const long long *n = std::get_if<long long>(&m_value)) {
        out += QString::number(*n);
    } else if (const QString *s = std::get_if<QString>(&m_value)) {
        out += jsonString(*s);
    } else if (const Object *o = std::get_if<Object>(&m_value)) {
        if (o->empty()) {
            out += QLatin1String("{}");
            return;
        }
        out += QLatin1Char('{');
        bool first = true;
        for (const auto &[key, value] : *o) {
            if (!first)
                out += QLatin1Char(',');
            first = false;
            newline(depth + 1);
            out += jsonString(key);
            out += indent < 0 ? QLatin1String(":") : QLatin1String(": ");
            value.write(out, indent, depth + 1);
        }
        newline(depth);
        out += QLatin1Char('}');
    } else if (const Array *a = std::get_if<Array>(&m_value)) {
        if (a->empty()) {
            out += QLatin1String("[]");
            return;
        }
        out += QLatin1Char('[');
        bool first = true;
        for (const auto &value : *a) {
            if (!first)
                out += QLatin1Char(',');
            first = false;
            newline(depth + 1);
            value.write(out, indent, depth + 1);
        }
        newline(depth);
        out += QLatin1Char(']');
    }
}

// --- JsonWriter --------------------------------------------------------------------------

namespace {
constexpr int kIndent = 2;
constexpr qsizetype kChunk = 1 << 16;
} // namespace

void JsonWriter::newline(int depth)
{
    m_buffer += QLatin1Char('\n');
    m_buffer += QString(depth * kIndent, QLatin1Char(' '));
}

void JsonWriter::beforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_stack.empty())
        return;
    Level &level = m_stack.back();
    if (level.count++ > 0)
        m_buffer += QLatin1Char(',');
    newline(int(m_stack.size()));
}

JsonWriter &JsonWriter::key(const QString &name)
{
    Level &level = m_stack.back();
    if (level.count++ > 0)
        m_buffer += QLatin1Char(',');
    newline(int(m_stack.size()));
    m_buffer += jsonString(name);
    m_buffer += QLatin1String(": ");
    m_afterKey = true;
    return *this;
}

JsonWriter &JsonWriter::beginObject() { return beginLevel(QLatin1Char('{')); }

JsonWriter &JsonWriter::beginArray() { return beginLevel(QLatin1Char('[')); }

JsonWriter &JsonWriter::beginLevel(QLatin1Char open)
{
    beforeValue();
    m_buffer += open;
    m_stack.push_back({0});
    return *this;
}

JsonWriter &JsonWriter::endObject() { return endLevel(QLatin1Char('}')); }

JsonWriter &JsonWriter::endArray() { return endLevel(QLatin1Char(']')); }

JsonWriter &JsonWriter::endLevel(QLatin1Char close)
{
    const Level level = m_stack.back();
    m_stack.pop_back();
    if (level.count > 0) // an empty one stays "{}" or "[]"
        newline(int(m_stack.size()));
    m_buffer += close;
    flushLines();
    return *this;
}

JsonWriter &JsonWriter::value(const Json &v)
{
    beforeValue();
    v.write(m_buffer, kIndent, int(m_stack.size()));
    flushLines();
    return *this;
}

void JsonWriter::flushLines()
{
    if (m_buffer.size() < kChunk)
        return;
    const qsizetype end = m_buffer.lastIndexOf(QLatin1Char('\n'));
    if (end < 0)
        return;
    m_lines(m_buffer.left(end));
    m_buffer.remove(0, end + 1);
}

void JsonWriter::finish()
{
    m_lines(m_buffer);
    m_buffer.clear();
}

} // namespace frontend
