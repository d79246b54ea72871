#include "ide/files/module_file.h"

#include "ide/files/parse_util.h"

#include <limits>

namespace ide::files {

using detail::DiagnosticSink;
using detail::excerpt;
using detail::isSpace;

namespace {

QStringView trimmedView(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && (isSpace(s[b]) || s[b].unicode() == 0xFEFF))
        ++b;
    while (e > b && (isSpace(s[e - 1]) || s[e - 1] == QLatin1Char('\r')))
        --e;
    return s.sliced(b, e - b);
}

/// The first token of a trimmed line: up to whitespace or '=' (so `Object=...` has token Object).
QStringView firstToken(QStringView line, QStringView *rest = nullptr)
{
    qsizetype i = 0;
    while (i < line.size() && !isSpace(line[i]) && line[i] != QLatin1Char('='))
        ++i;
    if (rest)
        *rest = trimmedView(line.sliced(i));
    return line.left(i);
}

bool is(QStringView token, const char *keyword)
{
    return token.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

/// A line that is only `End` (maybe with a comment), so `End Sub` never closes a block.
bool isEndLine(QStringView token, QStringView rest)
{
    return is(token, "End") && (rest.isEmpty() || rest.startsWith(QLatin1Char('\'')));
}

/// `Begin <class> <name>`; a property that happens to be called Begin has an '=' instead.
bool isBeginLine(QStringView token, QStringView rest)
{
    return is(token, "Begin") && !rest.startsWith(QLatin1Char('='));
}

bool isAttributeNamed(QStringView token, QStringView rest, const char *name)
{
    if (!is(token, "Attribute"))
        return false;
    const QStringView attr = firstToken(rest);
    return is(attr, name);
}

bool isVbNameLine(QStringView line)
{
    QStringView rest;
    const QStringView token = firstToken(line, &rest);
    return isAttributeNamed(token, rest, "VB_Name");
}

/// The string at the start of `s` (which begins with '"'), "" undoubled; *end is set past the
/// closing quote, or to s.size() when there is none.
QString readQuoted(QStringView s, qsizetype *end)
{
    QString out;
    qsizetype i = 1;
    while (i < s.size()) {
        if (s[i] == QLatin1Char('"')) {
            if (i + 1 < s.size() && s[i + 1] == QLatin1Char('"')) {
                out.append(QLatin1Char('"'));
                i += 2;
                continue;
            }
            *end = i + 1;
            return out;
        }
        out.append(s[i++]);
    }
    *end = s.size();
    return out;
}

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}

bool isDigits(QStringView s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c.unicode() < '0' || c.unicode() > '9')
            return false;
    return true;
}

QVariant integerValue(qlonglong v)
{
    if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
        return int(v);
    return v;
}

QString attributeValue(QStringView line)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return {};
    return trimmedView(line.sliced(eq + 1)).toString();
}

QString unquoteVb(const QString &value)
{
    if (!value.startsWith(QLatin1Char('"')))
        return value;
    qsizetype end = 0;
    return readQuoted(value, &end);
}

ModuleKind kindFromProgId(QStringView progId)
{
    if (progId.isEmpty())
        return ModuleKind::Class;
    if (progId.startsWith(QLatin1Char('{')))
        return ModuleKind::Designer;
    static const struct {
        const char *progId;
        ModuleKind kind;
    } table[] = {{"VB.Form", ModuleKind::Form},
                 {"VB.MDIForm", ModuleKind::MDIForm},
                 {"VB.UserControl", ModuleKind::UserControl},
                 {"VB.PropertyPage", ModuleKind::PropertyPage},
                 {"VB.UserDocument", ModuleKind::UserDocument}};
    for (const auto &row : table)
        if (is(progId, row.progId))
            return row.kind;
    return ModuleKind::Unknown;
}

bool isDesignerKind(ModuleKind k)
{
    return k != ModuleKind::Basic && k != ModuleKind::Class && k != ModuleKind::Unknown;
}

ControlNode nodeFromBegin(QStringView rest, int fileLine)
{
    ControlNode node;
    node.fileLine = fileLine;
    QStringView nameRest;
    node.progId = firstToken(rest, &nameRest).toString();
    node.name = firstToken(nameRest).toString();
    return node;
}

QString describe(const ControlNode &node)
{
    if (node.progId.isEmpty() && node.name.isEmpty())
        return QStringLiteral("BEGIN");
    return QStringLiteral("Begin %1 %2").arg(excerpt(node.progId), excerpt(node.name)).trimmed();
}

constexpr size_t MaxDepth = 200;

struct BlockResult {
    ControlNode root;
    int next = 0;        // first line after the block: where the code starts
    bool closed = false;
};

/// Reads the Begin block starting at `first`, without recursion so that deep garbage cannot
/// exhaust the stack.
template <class Lines>
BlockResult parseBlock(const Lines &lines, int first, DiagnosticSink &sink)
{
    std::vector<ControlNode> stack;
    {
        QStringView rest;
        firstToken(trimmedView(lines[first]), &rest);
        stack.push_back(nodeFromBegin(rest, first + 1));
    }
    int groupDepth = 0; // inside BeginProperty ... EndProperty, whose content is not read
    int groupLine = 0;
    int skippedDepth = 0; // Begin blocks below MaxDepth: a deeper tree could not even be destroyed safely
    auto closeTop = [&stack] {
        ControlNode done = std::move(stack.back());
        stack.pop_back();
        stack.back().children.push_back(std::move(done));
    };
    const int n = int(lines.size());
    int i = first + 1;
    for (; i < n; ++i) {
        const QStringView line = trimmedView(lines[i]);
        if (line.isEmpty())
            continue;
        QStringView rest;
        const QStringView token = firstToken(line, &rest);
        if (isAttributeNamed(token, rest, "VB_Name"))
            break; // the End is missing: the code part starts here
        const bool isBegin = isBeginLine(token, rest);
        const bool isEnd = isEndLine(token, rest);
        if (groupDepth > 0) {
            if (is(token, "BeginProperty")) {
                ++groupDepth;
                continue;
            }
            if (is(token, "EndProperty")) {
                --groupDepth;
                continue;
            }
            if (!isBegin && !isEnd)
                continue;
            sink.add(groupLine, QStringLiteral("BeginProperty without EndProperty"));
            groupDepth = 0;
        }
        if (skippedDepth > 0) {
            skippedDepth += isBegin ? 1 : isEnd ? -1 : 0;
            continue;
        }
        if (isBegin && stack.size() >= MaxDepth) {
            sink.add(i + 1, QStringLiteral("Controls nested more than %1 deep are ignored").arg(MaxDepth));
            skippedDepth = 1;
        } else if (isBegin) {
            stack.push_back(nodeFromBegin(rest, i + 1));
        } else if (isEnd) {
            if (stack.size() == 1)
                return {std::move(stack.front()), i + 1, true};
            closeTop();
        } else if (is(token, "BeginProperty")) {
            groupDepth = 1;
            groupLine = i + 1;
        } else if (is(token, "EndProperty")) {
            sink.add(i + 1, QStringLiteral("EndProperty without BeginProperty"));
        } else {
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            const QStringView key = eq > 0 ? trimmedView(line.left(eq)) : QStringView();
            if (key.isEmpty()) {
                sink.add(i + 1, QStringLiteral("Unexpected line in %1: '%2'").arg(describe(stack.back()), excerpt(line.toString())));
                continue;
            }
            const QVariant value = parsePropertyValue(line.sliced(eq + 1));
            ControlNode &node = stack.back();
            if (is(key, "Index") && (value.typeId() == QMetaType::Int))
                node.index = value.toInt();
            node.properties.append({key.toString(), value});
        }
    }
    if (groupDepth > 0)
        sink.add(groupLine, QStringLiteral("BeginProperty without EndProperty"));
    sink.add(stack.back().fileLine, QStringLiteral("%1 has no matching End").arg(describe(stack.back())));
    while (stack.size() > 1)
        closeTop();
    return {std::move(stack.front()), i, false};
}

} // namespace

QVariant ControlNode::property(const QString &key) const
{
    for (const auto &p : properties)
        if (p.first.compare(key, Qt::CaseInsensitive) == 0)
            return p.second;
    return {};
}

ModuleKind moduleKindFromExtension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = std::max(fileName.lastIndexOf(QLatin1Char('/')), fileName.lastIndexOf(QLatin1Char('\\')));
    if (dot < 0 || dot < slash)
        return ModuleKind::Unknown;
    const QStringView ext = QStringView(fileName).sliced(dot + 1);
    if (is(ext, "bas"))
        return ModuleKind::Basic;
    if (is(ext, "cls"))
        return ModuleKind::Class;
    if (is(ext, "frm"))
        return ModuleKind::Form;
    if (is(ext, "ctl"))
        return ModuleKind::UserControl;
    if (is(ext, "pag"))
        return ModuleKind::PropertyPage;
    if (is(ext, "dob"))
        return ModuleKind::UserDocument;
    if (is(ext, "dsr"))
        return ModuleKind::Designer;
    return ModuleKind::Unknown;
}

QVariant parsePropertyValue(QStringView text)
{
    const QStringView s = trimmedView(text);
    if (s.startsWith(QLatin1Char('"')) || s.startsWith(QLatin1String("$\""))) {
        const bool dollar = s.startsWith(QLatin1Char('$'));
        const QStringView quoted = dollar ? s.sliced(1) : s;
        qsizetype end = 0;
        const QString value = readQuoted(quoted, &end);
        // "Form1.frx":0035 names a record of the companion file: keep it as written.
        if (end < quoted.size() && quoted[end] == QLatin1Char(':') && end + 1 < quoted.size() && isHexDigit(quoted[end + 1])) {
            qsizetype k = end + 1;
            while (k < quoted.size() && isHexDigit(quoted[k]))
                ++k;
            return s.left(k + (dollar ? 1 : 0)).toString();
        }
        return value;
    }
    const qsizetype apostrophe = s.indexOf(QLatin1Char('\''));
    const QStringView v = trimmedView(apostrophe < 0 ? s : s.left(apostrophe));
    const QStringView comment = apostrophe < 0 ? QStringView() : trimmedView(s.sliced(apostrophe + 1));
    if (v.isEmpty())
        return QString();
    const bool negative = v.startsWith(QLatin1Char('-'));
    if (isDigits(negative || v.startsWith(QLatin1Char('+')) ? v.sliced(1) : v) && v.size() <= 19) {
        const qlonglong number = v.toLongLong();
        if (is(comment, "True") || is(comment, "False"))
            return number != 0;
        return integerValue(number);
    }
    if (v.size() > 2 && v.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        QStringView digits = v.sliced(2);
        if (digits.endsWith(QLatin1Char('&')) || digits.endsWith(QLatin1Char('%')))
            digits.chop(1);
        bool ok = !digits.isEmpty() && digits.size() <= 8;
        for (QChar c : digits)
            ok = ok && isHexDigit(c);
        if (ok) // a Long, as VB reads &H8000000F&
            return int(quint32(digits.toULong(nullptr, 16)));
    }
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (ok && (v[0].isDigit() || v[0] == QLatin1Char('-') || v[0] == QLatin1Char('.')))
        return d;
    return v.toString(); // Shortcut = ^A and other bare words
}

namespace {

/// parseModule() over a QStringList or TextLines; the code lines are left to the caller.
template <class Lines>
ModuleFile parseLines(const Lines &lines, const QString &fileName, std::vector<Diagnostic> &diagnostics)
{
    DiagnosticSink sink(diagnostics, fileName);
    ModuleFile m;
    const ModuleKind fromExtension = moduleKindFromExtension(fileName);
    const int n = int(lines.size());

    int i = 0;
    while (i < n && trimmedView(lines[i]).isEmpty())
        ++i;
    bool hasHeader = false;
    bool classVersion = false;
    bool hasBlock = false;
    int codeStart = 0;
    if (i < n) {
        QStringView rest;
        const QStringView token = firstToken(trimmedView(lines[i]), &rest);
        if (is(token, "VERSION")) {
            hasHeader = true;
            classVersion = rest.contains(QLatin1String("CLASS"), Qt::CaseInsensitive);
            ++i;
        } else if (isBeginLine(token, rest)) {
            hasHeader = true;
        }
    }
    if (hasHeader) {
        for (; i < n; ++i) {
            const QStringView line = trimmedView(lines[i]);
            if (line.isEmpty())
                continue;
            QStringView rest;
            const QStringView token = firstToken(line, &rest);
            if (is(token, "Object")) {
                m.objects.append(rest.startsWith(QLatin1Char('=')) ? trimmedView(rest.sliced(1)).toString() : rest.toString());
                continue;
            }
            if (isBeginLine(token, rest)) {
                BlockResult block = parseBlock(lines, i, sink);
                m.root = std::move(block.root);
                hasBlock = true;
                i = block.next;
            }
            break;
        }
        codeStart = i;
    }

    if (hasBlock) {
        m.kind = kindFromProgId(m.root.progId);
        if (m.kind == ModuleKind::Designer)
            m.designerId = m.root.progId;
        if (m.kind == ModuleKind::Unknown && fromExtension != ModuleKind::Unknown)
            m.kind = fromExtension;
    } else if (classVersion) {
        m.kind = ModuleKind::Class;
    } else {
        m.kind = fromExtension == ModuleKind::Unknown ? ModuleKind::Basic : fromExtension;
        if (isDesignerKind(m.kind) && n > 0)
            sink.add(0, QStringLiteral("No Begin block: the designer part of the file is missing"));
    }

    codeStart = std::min(codeStart, n);
    m.codeFirstFileLine = codeStart + 1;

    int k = codeStart;
    for (; k < n; ++k) {
        const QStringView line = trimmedView(lines[k]);
        QStringView rest;
        const QStringView token = firstToken(line, &rest);
        if (!is(token, "Attribute"))
            break;
        const QString name = firstToken(rest).toString();
        if (!name.contains(QLatin1Char('.')))
            m.attributes.append({name, attributeValue(line)});
    }
    m.attributesEnd = k;
    for (const auto &a : m.attributes) {
        if (a.first.compare(QLatin1String("VB_Name"), Qt::CaseInsensitive) == 0) {
            m.vbName = unquoteVb(a.second);
            break;
        }
    }
    if (m.vbName.isEmpty()) {
        // Attributes are normally at the top of the code part; look further for damaged files.
        for (int k = codeStart; k < n; ++k) {
            if (isVbNameLine(trimmedView(lines[k]))) {
                m.vbName = unquoteVb(attributeValue(trimmedView(lines[k])));
                break;
            }
        }
    }
    if (m.vbName.isEmpty())
        m.vbName = m.root.name;
    return m;
}

} // namespace

ModuleFile parseModule(const QStringList &lines, const QString &fileName, std::vector<Diagnostic> &diagnostics)
{
    ModuleFile m = parseLines(lines, fileName, diagnostics);
    m.codeLines = lines.mid(m.codeFirstFileLine - 1);
    return m;
}

ModuleFile parseModule(const TextLines &lines, const QString &fileName, std::vector<Diagnostic> &diagnostics)
{
    return parseLines(lines, fileName, diagnostics);
}

ModuleFile parseModule(const MixedLines &lines, const QString &fileName, std::vector<Diagnostic> &diagnostics)
{
    return parseLines(lines, fileName, diagnostics);
}

} // namespace ide::files
