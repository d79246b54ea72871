#pragma once
// Helpers shared by the readers in this folder; not part of the public interface.
#include "ide/files/diagnostic.h"

#include <QString>
#include <vector>

namespace ide::files::detail {

/// Collects diagnostics for one file, at most a hundred, so that a binary file fed to a
/// reader yields a short report instead of one line per line.
class DiagnosticSink {
public:
    DiagnosticSink(std::vector<Diagnostic> &out, const QString &file) : m_out(out), m_file(file) {}
    ~DiagnosticSink()
    {
        if (m_dropped > 0)
            m_out.push_back({m_file, 0, QStringLiteral("%1 more problems not reported").arg(m_dropped)});
    }
    void add(int line, const QString &message)
    {
        if (m_count++ < Max)
            m_out.push_back({m_file, line, message});
        else
            ++m_dropped;
    }
    const QString &file() const { return m_file; }

private:
    static constexpr int Max = 100;
    std::vector<Diagnostic> &m_out;
    QString m_file;
    int m_count = 0;
    int m_dropped = 0;
};

/// Strips one pair of surrounding double quotes, if present.
inline QString unquote(const QString &value)
{
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        return value.mid(1, value.size() - 2);
    return value;
}

/// A name or path quoted in a message, control characters shown as '?' so that one
/// diagnostic stays one printable line.
inline QString printable(QString text)
{
    for (QChar &c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char('?');
    return text;
}

/// Shortens a line quoted in a message, so a 500,000-character line stays readable.
inline QString excerpt(const QString &line)
{
    constexpr int Max = 60;
    QString s = line.size() > Max ? line.left(Max) + QStringLiteral("...") : line;
    for (QChar &c : s)
        if (c.unicode() < 0x20)
            c = QLatin1Char('?');
    return s;
}

inline bool isSpace(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

} // namespace ide::files::detail
