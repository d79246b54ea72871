#include "ide/files/project_file.h"

#include "ide/files/parse_util.h"

#include <QSet>

namespace ide::files {

using detail::DiagnosticSink;
using detail::excerpt;
using detail::unquote;

namespace {

bool sameKey(const QString &a, const char *b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

bool parseHex(const QString &text, int *out)
{
    bool ok = false;
    const uint v = text.trimmed().toUInt(&ok, 16);
    if (!ok || v > 0x7FFFFFFF)
        return false;
    *out = int(v);
    return true;
}

/// `key=value` split at the first '='; false for a line without one or without a key.
bool splitKeyValue(const QString &line, QString &key, QString &value)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return false;
    key = line.left(eq).trimmed();
    value = line.mid(eq + 1).trimmed();
    return !key.isEmpty();
}

QString lineText(const QStringList &lines, int index)
{
    QString line = lines[index].trimmed();
    if (index == 0 && line.startsWith(QChar(0xFEFF)))
        line = line.mid(1).trimmed();
    return line;
}

const char *const PlainMemberKeys[] = {"Form", "UserControl", "PropertyPage", "UserDocument",
                                       "Designer", "RelatedDoc", "ResFile32"};

} // namespace

bool parseReference(const QString &value, ReferenceLine &out, QString *error)
{
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    const QString v = value.trimmed();
    if (v.startsWith(QLatin1String("*\\A"), Qt::CaseInsensitive)) {
        out.isProject = true;
        out.path = v.mid(3).trimmed();
        if (out.path.isEmpty())
            return fail(QStringLiteral("Project reference without a path"));
        return true;
    }
    // *\G is the Windows form, *\H the Macintosh one; both carry the same fields.
    if (!v.startsWith(QLatin1String("*\\G"), Qt::CaseInsensitive)
        && !v.startsWith(QLatin1String("*\\H"), Qt::CaseInsensitive))
        return fail(QStringLiteral("Reference is neither *\\G{GUID}#... nor *\\A<project>"));
    const QString rest = v.mid(3);
    const qsizetype h1 = rest.indexOf(QLatin1Char('#'));
    const qsizetype h2 = h1 < 0 ? -1 : rest.indexOf(QLatin1Char('#'), h1 + 1);
    const qsizetype h3 = h2 < 0 ? -1 : rest.indexOf(QLatin1Char('#'), h2 + 1);
    if (h3 < 0)
        return fail(QStringLiteral("Reference needs GUID, version, LCID and path separated by #"));
    out.isProject = false;
    out.guid = rest.left(h1).trimmed();
    if (out.guid.isEmpty())
        return fail(QStringLiteral("Reference without a GUID"));
    const QString version = rest.mid(h1 + 1, h2 - h1 - 1);
    const qsizetype dot = version.indexOf(QLatin1Char('.'));
    if (dot < 0 || !parseHex(version.left(dot), &out.major) || !parseHex(version.mid(dot + 1), &out.minor))
        return fail(QStringLiteral("Reference version '%1' is not major.minor in hexadecimal").arg(excerpt(version)));
    if (!parseHex(rest.mid(h2 + 1, h3 - h2 - 1), &out.lcid))
        return fail(QStringLiteral("Reference LCID '%1' is not hexadecimal").arg(excerpt(rest.mid(h2 + 1, h3 - h2 - 1))));
    // Paths may contain spaces and descriptions odd characters; the description follows the last '#'.
    const QString tail = rest.mid(h3 + 1);
    const qsizetype last = tail.lastIndexOf(QLatin1Char('#'));
    out.path = last < 0 ? tail : tail.left(last);
    out.description = last < 0 ? QString() : tail.mid(last + 1);
    return true;
}

ProjectFile parseProject(const QStringList &lines, const QString &fileName, std::vector<Diagnostic> &diagnostics)
{
    DiagnosticSink sink(diagnostics, fileName);
    ProjectFile project;
    ProjectSection *section = nullptr;
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        const QString line = lineText(lines, i);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            project.sections.push_back({line.mid(1, line.size() - 2).trimmed(), {}, lineNo});
            section = &project.sections.back();
            continue;
        }
        QString key, value;
        if (!splitKeyValue(line, key, value)) {
            sink.add(lineNo, QStringLiteral("Expected key=value, found '%1'").arg(excerpt(line)));
            continue;
        }
        if (section) {
            section->keys.append({key, value});
            continue;
        }
        project.keys.append({key, value});

        if (sameKey(key, "Type")) {
            project.hasType = true;
            static const char *const types[] = {"Exe", "OleExe", "OleDll", "Control"};
            int type = -1;
            for (int t = 0; t < 4; ++t)
                if (sameKey(unquote(value), types[t]))
                    type = t;
            if (type < 0)
                sink.add(lineNo, QStringLiteral("Unknown project type '%1'").arg(excerpt(value)));
            else
                project.type = type;
        } else if (sameKey(key, "Name")) {
            project.name = unquote(value);
        } else if (sameKey(key, "Description")) {
            project.description = unquote(value);
        } else if (sameKey(key, "HelpFile")) {
            project.helpFile = unquote(value);
        } else if (sameKey(key, "Title")) {
            project.title = unquote(value);
        } else if (sameKey(key, "ExeName32")) {
            project.exeName32 = unquote(value);
        } else if (sameKey(key, "Path32")) {
            project.path32 = unquote(value);
        } else if (sameKey(key, "Startup")) {
            project.startup = unquote(value);
        } else if (sameKey(key, "HelpContextID")) {
            bool ok = false;
            const long id = unquote(value).trimmed().toLong(&ok);
            if (ok)
                project.helpContextId = id;
            else
                sink.add(lineNo, QStringLiteral("HelpContextID '%1' is not a number").arg(excerpt(value)));
        } else if (sameKey(key, "Module") || sameKey(key, "Class")) {
            const QString canonical = sameKey(key, "Module") ? QStringLiteral("Module") : QStringLiteral("Class");
            const qsizetype semi = value.indexOf(QLatin1Char(';'));
            MemberLine member{canonical, {}, {}, lineNo};
            if (semi < 0) {
                // The file's VB_Name names the component anyway; keep loading it.
                sink.add(lineNo, QStringLiteral("%1 entry '%2' has no 'Name; file' form").arg(canonical, excerpt(value)));
                member.path = unquote(value.trimmed());
            } else {
                member.name = value.left(semi).trimmed();
                member.path = unquote(value.mid(semi + 1).trimmed());
            }
            if (member.path.isEmpty())
                sink.add(lineNo, QStringLiteral("%1 entry without a file name").arg(canonical));
            else
                project.members.push_back(member);
        } else if (sameKey(key, "Reference")) {
            ReferenceLine ref;
            QString error;
            if (parseReference(value, ref, &error)) {
                ref.line = lineNo;
                project.references.push_back(ref);
            } else {
                sink.add(lineNo, error);
            }
        } else if (sameKey(key, "Object")) {
            project.objects.append(value);
        } else {
            for (const char *memberKey : PlainMemberKeys) {
                if (!sameKey(key, memberKey))
                    continue;
                const QString path = unquote(value).trimmed();
                if (path.isEmpty())
                    sink.add(lineNo, QStringLiteral("%1 entry without a file name").arg(QLatin1String(memberKey)));
                else
                    project.members.push_back({QLatin1String(memberKey), {}, path, lineNo});
                break;
            }
        }
    }
    return project;
}

GroupFile parseGroup(const QStringList &lines, const QString &fileName, std::vector<Diagnostic> &diagnostics)
{
    DiagnosticSink sink(diagnostics, fileName);
    GroupFile group;
    QStringList listed;
    QList<int> listedLines;
    bool sawHeader = false;
    bool sawContent = false;
    int startupLine = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        const QString line = lineText(lines, i);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (!sawContent) {
            sawContent = true;
            if (line.startsWith(QLatin1String("VBGROUP"), Qt::CaseInsensitive)) {
                sawHeader = true;
                continue;
            }
        }
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
            continue;
        QString key, value;
        if (!splitKeyValue(line, key, value)) {
            sink.add(lineNo, QStringLiteral("Expected key=value, found '%1'").arg(excerpt(line)));
            continue;
        }
        value = unquote(value).trimmed();
        if (sameKey(key, "StartupProject")) {
            if (!group.startupProject.isEmpty())
                sink.add(lineNo, QStringLiteral("Second StartupProject ignored (the first is on line %1)").arg(startupLine));
            else if (!value.isEmpty()) {
                group.startupProject = value;
                startupLine = lineNo;
            }
        } else if (sameKey(key, "Project")) {
            if (!value.isEmpty()) {
                listed.append(value);
                listedLines.append(lineNo);
            }
        }
    }
    group.hasHeader = sawHeader;
    if (!sawHeader)
        sink.add(lines.isEmpty() ? 0 : 1, QStringLiteral("Missing 'VBGROUP 5.0' header: not a project group"));

    // Repeats (the startup project listed again, or twice) load once; Windows paths ignore case.
    QSet<QString> seen;
    auto addOnce = [&](const QString &path, int line) {
        const QString key = QString(path).replace(QLatin1Char('/'), QLatin1Char('\\')).toCaseFolded();
        if (!seen.contains(key)) {
            seen.insert(key);
            group.projects.append(path);
            group.projectLines.append(line);
        }
    };
    if (!group.startupProject.isEmpty())
        addOnce(group.startupProject, startupLine);
    for (qsizetype k = 0; k < listed.size(); ++k)
        addOnce(listed[k], listedLines[k]);
    if (group.projects.isEmpty())
        sink.add(0, QStringLiteral("The group names no projects"));
    return group;
}

} // namespace ide::files
