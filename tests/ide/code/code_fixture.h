#pragma once
#include "ide/code/module_code.h"

#include <QString>
#include <QStringList>
#include <ostream>

namespace code_test {

/// Lines of an inline module: a leading newline (after `R"vb(`) and the final newline are
/// dropped, `|` at a line end marks trailing spaces to keep.
inline QStringList splitCode(const char *text)
{
    QString s = QString::fromUtf8(text);
    if (s.startsWith(u'\n'))
        s.remove(0, 1);
    if (s.endsWith(u'\n'))
        s.chop(1);
    if (s.isEmpty())
        return {};
    QStringList lines = s.split(u'\n');
    for (QString &line : lines) {
        if (line.endsWith(u'|'))
            line.chop(1);
    }
    return lines;
}

inline ide::code::ModuleCode moduleOf(const char *text, int firstFileLine = 1)
{
    return ide::code::ModuleCode(splitCode(text), firstFileLine);
}

/// ASCII lines of the lengths the 16-unit blocks meet, and lines just past ASCII, in every
/// order: wide after odd and even byte offsets, wide first and last, wide runs.
inline QStringList boundaryLines()
{
    QStringList lines{QStringLiteral("é first line is wide"), QStringLiteral("x")};
    for (int length : {0, 1, 7, 8, 9, 15, 16, 17, 31, 32, 33, 64, 65}) {
        QString ascii;
        for (int k = 0; k < length; ++k)
            ascii += QChar(u"Ab1 _.Zz(\x7f"[k % 10]);
        lines << ascii;
        QString wide = ascii;
        wide.insert(length / 2, QChar(0x80)); // the first unit past ASCII
        lines << wide << QStringLiteral("受注ﾃﾞｰﾀ Ab") << ascii + QStringLiteral("ÿ");
    }
    lines << QStringLiteral("Attribute Foo.VB_Description = \"ÅÄ\"") << QStringLiteral("Foo Kelvin ſ")
          << QStringLiteral("last ASCII line");
    return lines;
}

} // namespace code_test

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << "{";
    for (const QString &s : l)
        *os << '"' << s.toStdString() << "\", ";
    *os << "}";
}
QT_END_NAMESPACE
