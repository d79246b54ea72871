#include "inspection/statement_text.h"

#include "analysis/source_text.h"

#include <QRegularExpression>

namespace inspection {

namespace {

/// Walks `text` from `from`, skipping string literals, with the bracket depth: visit(index,
/// character, depth after an opening or before a closing bracket) returns true to stop there.
/// The index it stopped at, or -1.
template <class Visit>
qsizetype scanCode(const QString &text, qsizetype from, Visit visit)
{
    bool inString = false;
    int depth = 0;
    for (qsizetype k = std::max<qsizetype>(from, 0); from >= 0 && k < text.size(); ++k) {
        const QChar c = text.at(k);
        if (c == QLatin1Char('"'))
            inString = !inString;
        if (inString || c == QLatin1Char('"'))
            continue;
        if (c == QLatin1Char('('))
            ++depth;
        if (visit(k, c, depth))
            return k;
        if (c == QLatin1Char(')'))
            depth = std::max(depth - 1, 0);
    }
    return -1;
}

} // namespace

QString codePart(const QString &text)
{
    const qsizetype quote = scanCode(text, 0, [](qsizetype, QChar c, int) { return c == QLatin1Char('\''); });
    return quote < 0 ? text : text.left(quote);
}

QStringList splitTopLevel(const QString &text, QChar separator)
{
    QStringList parts;
    qsizetype from = 0;
    scanCode(text, 0, [&](qsizetype k, QChar c, int depth) {
        if (c == separator && depth == 0) {
            parts << text.mid(from, k - from);
            from = k + 1;
        }
        return false;
    });
    parts << text.mid(from);
    return parts;
}

qsizetype closingParenthesis(const QString &text, qsizetype open)
{
    return scanCode(text, open, [](qsizetype, QChar c, int depth) { return c == QLatin1Char(')') && depth == 1; });
}

bool holdsAsClause(const QString &text)
{
    static const QRegularExpression as(QStringLiteral("(^|[^\\w])As "), QRegularExpression::CaseInsensitiveOption |
                                                                          QRegularExpression::UseUnicodePropertiesOption);
    return text.contains(as);
}

bool endsWithTypeCharacter(QStringView text)
{
    // "#" (Double) is a type character too.
    static const QString typeCharacters = QStringLiteral("$&%!@#");
    return !text.isEmpty() && typeCharacters.contains(text.back());
}

QString withoutContinuationMark(const QString &text)
{
    if (!text.startsWith(QLatin1Char('_')))
        return text;
    return analysis::trimmedSpaces(QStringView(text).mid(1)).toString();
}

QString continuedStatement(const host::CodeModule &code, int line, int *lastLine)
{
    const int count = code.countOfLines();
    QString text = code.lines(line, 1);
    while (analysis::trimmedSpaces(text).endsWith(QLatin1Char('_')) && line < count)
        text += code.lines(++line, 1);
    if (lastLine)
        *lastLine = line;
    return text;
}

int procedureHeaderLine(const host::CodeModule &code, const ProcRange &range, const QString &name)
{
    return findAccepted(code, name, range.start, range.end(), [&](int line, int) { return !isCommentLine(code, line); });
}

QString procedureKeyword(const QString &header, const QString &name, qsizetype *nameEnd)
{
    static const QRegularExpression keyword(QStringLiteral("\\b(Sub|Function|Property\\s+([GLS]et))\\s+"),
                                            QRegularExpression::CaseInsensitiveOption);
    for (auto it = keyword.globalMatch(header); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const qsizetype end = match.capturedEnd() + name.size();
        if (!QStringView(header).mid(match.capturedEnd()).startsWith(name, Qt::CaseInsensitive) ||
            (end < header.size() && (header.at(end).isLetterOrNumber() || header.at(end) == QLatin1Char('_'))))
            continue;
        if (nameEnd)
            *nameEnd = end;
        return match.captured(2).isEmpty() ? match.captured(1).left(1).toUpper() + match.captured(1).mid(1).toLower()
                                           : QStringLiteral("Property ") + match.captured(2).left(1).toUpper() +
                                                 match.captured(2).mid(1).toLower();
    }
    return {};
}

qsizetype argumentListStart(const QString &header, const QString &name)
{
    qsizetype from = 0;
    if (procedureKeyword(header, name, &from).isEmpty())
        return -1;
    return header.indexOf(QLatin1Char('('), from);
}

bool isProcedureEnd(const QString &statement)
{
    static const QRegularExpression end(QStringLiteral("^End\\s+(Sub|Function|Property)\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    return statement.contains(end);
}

} // namespace inspection
