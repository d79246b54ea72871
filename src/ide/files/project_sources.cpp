#include "ide/files/project_sources.h"

#include "ide/files/parse_util.h"

#include <QHash>
#include <algorithm>

namespace ide::files {

namespace {

constexpr int MaxLineLength = 1023;
constexpr CodePage Candidates[] = {CodePage::Cp932, CodePage::Cp1252, CodePage::Cp1251, CodePage::Utf8};

QString directoryOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

bool isNeverRead(const MemberLine &m)
{
    return m.key == QLatin1String("RelatedDoc") || m.key == QLatin1String("ResFile32");
}

long long scoreOf(const CodePageScores &s, CodePage cp)
{
    switch (cp) {
    case CodePage::Cp932: return s.cp932;
    case CodePage::Cp1251: return s.cp1251;
    case CodePage::Utf8: return s.utf8;
    default: return s.cp1252;
    }
}

/// The candidates under which the most of `names` exist next to the file: names on disk are
/// evidence the content cannot give (a .vbp whose only non-ASCII text is one file name).
template <typename NamesUnder>
std::vector<CodePage> candidatesByNames(const FileSystem &fs, const QString &dir, NamesUnder namesUnder)
{
    std::vector<CodePage> best;
    int bestCount = -1;
    for (CodePage cp : Candidates) {
        int found = 0;
        for (const QString &name : namesUnder(cp))
            found += !fs.resolve(dir, name).isEmpty();
        if (found > bestCount) {
            bestCount = found;
            best = {cp};
        } else if (found == bestCount) {
            best.push_back(cp);
        }
    }
    return best;
}

/// The content guess if the names allow it, else the allowed candidate the content likes best.
CodePage chooseAmong(const std::vector<CodePage> &allowed, const std::vector<QByteArrayView> &contents)
{
    const CodePage guess = guessCodePage(contents);
    if (std::find(allowed.begin(), allowed.end(), guess) != allowed.end())
        return guess;
    const CodePageScores scores = codePageScores(contents);
    CodePage best = allowed.front();
    for (CodePage cp : allowed)
        if (scoreOf(scores, cp) > scoreOf(scores, best))
            best = cp;
    return best;
}

ProjectFile quietParseProject(const QByteArray &bytes, CodePage cp, const QString &path)
{
    std::vector<Diagnostic> ignored;
    return parseProject(splitLines(decode(bytes, cp)), path, ignored);
}

GroupFile quietParseGroup(const QByteArray &bytes, CodePage cp, const QString &path)
{
    std::vector<Diagnostic> ignored;
    return parseGroup(splitLines(decode(bytes, cp)), path, ignored);
}

} // namespace

QStringList decodeLines(QByteArrayView bytes, CodePage cp, const QString &fileName, std::vector<Diagnostic> &diagnostics)
{
    if (cp == CodePage::Auto)
        cp = guessCodePage({bytes});
    int invalid = 0;
    QStringList lines = decodeSplit(bytes, cp, &invalid);
    if (invalid > 0) {
        int first = 0;
        for (qsizetype i = 0; i < lines.size() && first == 0; ++i)
            if (lines[i].contains(QChar(0xFFFD)))
                first = int(i + 1);
        diagnostics.push_back({fileName, first,
                               QStringLiteral("%1 invalid byte sequence(s) for %2, shown as U+FFFD")
                                   .arg(invalid)
                                   .arg(codePageName(cp))});
    }
    detail::DiagnosticSink sink(diagnostics, fileName);
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].size() > MaxLineLength)
            sink.add(int(i + 1), QStringLiteral("Line too long (%1 characters; VB allows %2)").arg(lines[i].size()).arg(MaxLineLength));
    return lines;
}

std::optional<ProjectSources> readProjectSources(const FileSystem &fs, const QString &vbpPath, CodePage cp,
                                                 std::vector<Diagnostic> &diagnostics)
{
    QString error;
    const std::optional<QByteArray> vbp = fs.read(vbpPath, &error);
    if (!vbp) {
        diagnostics.push_back({vbpPath, 0, QStringLiteral("The project file could not be loaded: %1").arg(error)});
        return std::nullopt;
    }
    const QString dir = directoryOf(vbpPath);
    QHash<QString, QByteArray> cache; // member bytes read while guessing, reused below

    if (cp == CodePage::Auto) {
        const std::vector<CodePage> allowed = candidatesByNames(fs, dir, [&](CodePage c) {
            QStringList names;
            for (const MemberLine &m : quietParseProject(*vbp, c, vbpPath).members)
                names << m.path;
            return names;
        });
        std::vector<QByteArray> contents{*vbp};
        for (const MemberLine &m : quietParseProject(*vbp, allowed.front(), vbpPath).members) {
            const QString path = isNeverRead(m) ? QString() : fs.resolve(dir, m.path);
            if (path.isEmpty() || cache.contains(path))
                continue;
            if (std::optional<QByteArray> bytes = fs.read(path, nullptr)) {
                cache.insert(path, *bytes);
                contents.push_back(*bytes);
            }
        }
        cp = chooseAmong(allowed, std::vector<QByteArrayView>(contents.begin(), contents.end()));
    }

    ProjectSources sources;
    sources.path = vbpPath;
    sources.codePage = cp;
    sources.project = parseProject(decodeLines(*vbp, cp, vbpPath, diagnostics), vbpPath, diagnostics);
    for (const MemberLine &m : sources.project.members) {
        const QString path = fs.resolve(dir, m.path);
        auto fail = [&](const QString &why) {
            diagnostics.push_back({vbpPath, m.line, QStringLiteral("The file '%1' could not be loaded: %2").arg(m.path, why)});
        };
        if (path.isEmpty()) {
            fail(QStringLiteral("No such file"));
            continue;
        }
        if (isNeverRead(m)) {
            if (fs.isDirectory(path))
                fail(QStringLiteral("Is a directory"));
            else
                sources.members.push_back({m, path, {}});
            continue;
        }
        if (auto it = cache.constFind(path); it != cache.constEnd()) {
            sources.members.push_back({m, path, *it});
            continue;
        }
        std::optional<QByteArray> bytes = fs.read(path, &error);
        if (!bytes) {
            fail(error);
            continue;
        }
        sources.members.push_back({m, path, std::move(*bytes)});
    }
    return sources;
}

std::optional<GroupSources> readGroupSources(const FileSystem &fs, const QString &vbgPath, CodePage cp,
                                             std::vector<Diagnostic> &diagnostics)
{
    QString error;
    const std::optional<QByteArray> vbg = fs.read(vbgPath, &error);
    if (!vbg) {
        diagnostics.push_back({vbgPath, 0, QStringLiteral("The group file could not be loaded: %1").arg(error)});
        return std::nullopt;
    }
    const QString dir = directoryOf(vbgPath);
    if (cp == CodePage::Auto) {
        const std::vector<CodePage> allowed = candidatesByNames(fs, dir, [&](CodePage c) {
            return quietParseGroup(*vbg, c, vbgPath).projects;
        });
        cp = chooseAmong(allowed, {*vbg});
    }

    GroupSources sources;
    sources.path = vbgPath;
    sources.codePage = cp;
    sources.group = parseGroup(decodeLines(*vbg, cp, vbgPath, diagnostics), vbgPath, diagnostics);
    for (qsizetype i = 0; i < sources.group.projects.size(); ++i) {
        const QString &name = sources.group.projects[i];
        const QString path = fs.resolve(dir, name);
        if (path.isEmpty()) {
            diagnostics.push_back({vbgPath, sources.group.projectLines.value(i),
                                   QStringLiteral("The project '%1' could not be found").arg(name)});
            continue;
        }
        if (sources.projectPaths.contains(path))
            continue; // two spellings of one project
        sources.projectPaths.append(path);
        if (i == 0 && !sources.group.startupProject.isEmpty())
            sources.startupPath = path;
    }
    return sources;
}

} // namespace ide::files
