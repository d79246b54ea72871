#include "inspection/statement_text.h"

#include "analysis/source_text.h"

#include <QRegularExpression>

namespace inspection {

QString codePart(const QString &text)
{
    bool inString = false;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text.at(k);
        if (c == QLatin1Char('"'))
            inString = !inString;
        else if (c == QLatin1Char('\'') && !inString)
            return text.left(k);
    }
    return text;
}

QStringList splitTopLevel(const QString &text, QChar separator)
{
    QStringList parts;
    bool inString = false;
    int depth = 0;
    qsizetype from = 0;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text.at(k);
        if (c == QLatin1Char('"'))
            inString = !inString;
        else if (inString)
            continue;
        else if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            depth = std::max(depth - 1, 0);
        else if (c == separator && depth == 0) {
            parts << text.mid(from, k - from);
            from = k + 1;
        }
    }
    parts << text.mid(from);
    return parts;
}

qsizetype closingParenthesis(const QString &text, qsizetype open)
{
    bool inString = false;
    int depth = 0;
    for (qsizetype k = open; k >= 0 && k < text.size(); ++k) {
        const QChar c = text.at(k);
        if (c == QLatin1Char('"'))
            inString = !inString;
        else if (inString)
            continue;
        else if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && --depth == 0)
            return k;
    }
    return -1;
}

bool holdsAsClause(const QString &text)
{
    static const QRegularExpression as(QStringLiteral("(^|[^\\w])As "), QRegularExpression::CaseInsensitiveOption |
                                                                          QRegularExpression::UseUnicodePropertiesOption);
    return text.contains(as);
}

bool endsWithTypeCharacter(QStringView text)
{
    static const QString typeCharacters = QStringLiteral("$&%!@");
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
