#include "ide/files/project_sources.h"

#include "ide/files/module_file.h"
#include "ide/files/parallel.h"
#include "ide/files/parse_util.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <bit>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
CodePage chooseAmong(const std::vector<CodePage> &allowed, const CodePageScores &scores)
{
    const CodePage guess = guessCodePage(scores);
    if (std::find(allowed.begin(), allowed.end(), guess) != allowed.end())
        return guess;
    CodePage best = allowed.front();
    for (CodePage cp : allowed)
        if (scores.score(cp) > scores.score(best))
            best = cp;
    return best;
}

/// The code page one file is decoded with in a project of code page `project`: its own when the
/// project's cannot decode it, or when it is plainly UTF-8 where the project is single-byte.
CodePage codePageOfFile(const CodePageScores &s, CodePage project)
{
    if (!s.nonAscii)
        return project;
    const CodePage own = guessCodePage(s);
    if (s.invalid(project) > 0) {
        if (s.invalid(own) == 0)
            return own;
        CodePage best = CodePage::Cp1252; // decodes anything
        for (CodePage cp : Candidates)
            if (s.invalid(cp) == 0 && s.score(cp) > s.score(best))
                best = cp;
        return best;
    }
    // Western text saved as UTF-8 scores higher as cp1252 ("Ã³"), but two or more multi-byte
    // sequences and not one invalid byte do not happen by chance in single-byte text.
    const bool singleByte = project == CodePage::Cp1252 || project == CodePage::Cp1251;
    if (s.utf8Invalid == 0 && (own == CodePage::Utf8 || (singleByte && s.utf8 >= 6)))
        return CodePage::Utf8;
    return project;
}

/// The first lines of a file, as many as are ever loaded.
QByteArrayView loadablePart(QByteArrayView bytes)
{
    return bytes.first(lengthOfLines(bytes, MaxFileLines));
}

ProjectFile quietParseProject(const QByteArray &bytes, CodePage cp, const QString &path)
{
    std::vector<Diagnostic> ignored;
    return parseProject(splitLines(decode(loadablePart(bytes), cp)), path, ignored);
}

GroupFile quietParseGroup(const QByteArray &bytes, CodePage cp, const QString &path)
{
    std::vector<Diagnostic> ignored;
    return parseGroup(splitLines(decode(loadablePart(bytes), cp)), path, ignored);
}

} // namespace

QStringList decodeLines(QByteArrayView bytes, CodePage cp, const QString &fileName, std::vector<Diagnostic> &diagnostics)
{
    return decodeTextLines(bytes, cp, fileName, diagnostics).toStringList();
}

namespace {

/// The 1-based line of the first U+FFFD, 0 when there is none.
int firstReplacementLine(const TextLines &lines)
{
    const qsizetype at = lines.text.indexOf(QChar(0xFFFD));
    if (at < 0)
        return 0;
    return int(std::upper_bound(lines.starts.begin(), lines.starts.end(), std::uint32_t(at)) - lines.starts.begin());
}

int firstReplacementLine(const MixedLines &lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (!lines.lines[size_t(i)].ascii && lines.utf16(i).contains(QChar(0xFFFD)))
            return int(i + 1);
    return 0;
}

qsizetype lineLength(const TextLines &lines, qsizetype i) { return lines[i].size(); }
qsizetype lineLength(const MixedLines &lines, qsizetype i) { return lines.lines[size_t(i)].size; }

/// Decodes a file with `decoder` and reports what the loader reports about its text.
template <class Lines>
Lines decodeReported(QByteArrayView bytes, CodePage cp, const QString &fileName, std::vector<Diagnostic> &diagnostics,
                     Lines (*decoder)(QByteArrayView, CodePage, int *))
{
    if (cp == CodePage::Auto)
        cp = guessCodePage({bytes});
    // A file cut short by a crash ends in NULs: they are no text.
    qsizetype end = bytes.size();
    while (end > 0 && bytes[end - 1] == '\0')
        --end;
    const qsizetype trailingNuls = bytes.size() - end;
    const QByteArrayView text = bytes.first(end);
    const QByteArrayView loaded = loadablePart(text);

    int invalid = 0;
    Lines lines = decoder(loaded, cp, &invalid);
    if (invalid > 0) {
        diagnostics.push_back({fileName, firstReplacementLine(lines),
                               QStringLiteral("%1 invalid byte sequence(s) for %2, shown as U+FFFD")
                                   .arg(invalid)
                                   .arg(codePageName(cp))});
    }
    if (const qsizetype nul = loaded.indexOf('\0'); nul >= 0)
        diagnostics.push_back({fileName, lineAt(loaded, nul),
                               QStringLiteral("NUL bytes in the text (first on this line): the file may be damaged")});
    if (trailingNuls > 0)
        diagnostics.push_back({fileName, lineAt(bytes, end),
                               QStringLiteral("%1 NUL bytes at the end of the file are not loaded: it may have been cut short")
                                   .arg(trailingNuls)});
    if (loaded.size() < text.size())
        diagnostics.push_back({fileName, int(MaxFileLines + 1),
                               QStringLiteral("More than %1 lines: the rest of the file is not loaded").arg(MaxFileLines)});
    detail::DiagnosticSink sink(diagnostics, fileName);
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (const qsizetype length = lineLength(lines, i); length > MaxLineLength)
            sink.add(int(i + 1), QStringLiteral("Line too long (%1 characters; VB allows %2)").arg(length).arg(MaxLineLength));
    return lines;
}

} // namespace

namespace {

/// The bits set in a 16-bit mask, without the library call std::popcount makes on a plain x86-64.
inline unsigned bitsSet(unsigned x)
{
    x = x - ((x >> 1) & 0x5555u);
    x = (x & 0x3333u) + ((x >> 2) & 0x3333u);
    x = (x + (x >> 4)) & 0x0F0Fu;
    return (x + (x >> 8)) & 0x1Fu;
}

/// Whether decoding `bytes` reports nothing: see skimModule().
bool plainlyClean(QByteArrayView bytes, CodePage cp)
{
    if (cp != CodePage::Cp932 && cp != CodePage::Cp1252 && cp != CodePage::Cp1251)
        return false; // UTF-8 is decoded whole, not line by line
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    // Line lengths are checked with their CR, so a line of exactly the longest length with a
    // CR LF is sent the long way too.
    // Only a file of more bytes than the line cap can hold more lines than it.
    const bool countLines = n + 1 >= MaxFileLines;
    qsizetype lines = 0;
    qsizetype lineStart = 0;
    bool high = false;
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(v, zero)))
            return false;
        high = high || _mm_movemask_epi8(v) != 0;
        const unsigned lfs = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
        const unsigned crs = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)));
        if ((crs & ~(lfs >> 1) & 0x7FFF) || ((crs & 0x8000) && (i + 16 >= n || p[i + 16] != '\n')))
            return false; // a CR that does not start CR LF
        if (lfs) {
            if (i + std::countr_zero(lfs) - lineStart > MaxLineLength)
                return false;
            if (countLines)
                lines += bitsSet(lfs);
            lineStart = i + (31 - std::countl_zero(lfs)) + 1;
        } else if (i + 16 - lineStart > MaxLineLength) {
            return false;
        }
    }
#endif
    for (; i < n; ++i) {
        if (p[i] == 0)
            return false;
        high = high || p[i] >= 0x80;
        if (p[i] == '\r' && (i + 1 >= n || p[i + 1] != '\n'))
            return false;
        if (p[i] == '\n') {
            if (i - lineStart > MaxLineLength)
                return false;
            ++lines;
            lineStart = i + 1;
        }
    }
    if (n - lineStart > MaxLineLength || lines + 1 >= MaxFileLines)
        return false;
    if (cp != CodePage::Cp932 || !high)
        return true; // every byte is a character of a single-byte code page
    // The lines holding other bytes than ASCII, decoded together: CR and LF are never trail bytes,
    // so each decodes as it would alone.
    QByteArray wide;
    qsizetype k = 0;
    while (k < n) {
        qsizetype end = k;
        bool lineHigh = false;
        while (end < n && p[end] != '\n') {
            lineHigh = lineHigh || p[end] >= 0x80;
            ++end;
        }
        if (lineHigh)
            wide.append(bytes.sliced(k, end - k)).append('\n');
        k = end + 1;
    }
    int invalid = 0;
    decode(wide, CodePage::Cp932, &invalid);
    return invalid == 0;
}

} // namespace

std::optional<ModuleFile> skimModule(QByteArrayView bytes, CodePage cp, const QString &fileName,
                                     std::vector<Diagnostic> &diagnostics)
{
    if (!plainlyClean(bytes, cp))
        return std::nullopt;
    // Lines enough for the header; a designer block of many controls takes a few more tries.
    for (qsizetype wanted = 64;; wanted *= 4) {
        qsizetype end = 0;
        for (qsizetype l = 0; l < wanted && end < bytes.size(); ++l) {
            const qsizetype lf = bytes.indexOf('\n', end);
            end = lf < 0 ? bytes.size() : lf + 1;
        }
        const bool whole = end >= bytes.size();
        const MixedLines lines = decodeMixed(bytes.first(end), cp);
        std::vector<Diagnostic> found;
        ModuleFile m = parseModule(lines, fileName, found);
        const bool named = std::any_of(m.attributes.cbegin(), m.attributes.cend(), [](const auto &a) {
            return a.first.compare(QLatin1String("VB_Name"), Qt::CaseInsensitive) == 0;
        });
        // Past the attributes the header is read; the name is looked for further only without one.
        if (whole || m.attributesEnd < lines.size()) {
            if (!whole && !named)
                return std::nullopt;
            diagnostics.insert(diagnostics.end(), found.begin(), found.end());
            return m;
        }
    }
}

TextLines decodeTextLines(QByteArrayView bytes, CodePage cp, const QString &fileName,
                          std::vector<Diagnostic> &diagnostics)
{
    return decodeReported<TextLines>(bytes, cp, fileName, diagnostics, &decodeText);
}

MixedLines decodeMixedLines(QByteArrayView bytes, CodePage cp, const QString &fileName,
                            std::vector<Diagnostic> &diagnostics)
{
    return decodeReported<MixedLines>(bytes, cp, fileName, diagnostics, &decodeMixed);
}

namespace {

/// Files a read thread should get at least, to pay for starting it.
constexpr long long kFilesPerReadThread = 32;

Diagnostic readFailure(const QString &vbpPath, const MemberLine &m, const QString &why)
{
    return {vbpPath, m.line,
            QStringLiteral("The file '%1' could not be loaded: %2").arg(detail::printable(m.path), why)};
}

/// The code page evidence of each member file that can be read, by resolved path. Each thread
/// reads into storage of its own that it reuses; the bytes are read again when loaded.
QHash<QString, CodePageScores> scoreMembers(const FileSystem &fs, const QString &dir,
                                            const std::vector<MemberLine> &members, int threads)
{
    QStringList paths;
    QSet<QString> seen;
    for (const MemberLine &m : members) {
        const QString path = isNeverRead(m) ? QString() : fs.resolve(dir, m.path);
        if (!path.isEmpty() && !seen.contains(path)) {
            seen.insert(path);
            paths << path;
        }
    }
    std::vector<std::optional<CodePageScores>> scores(size_t(paths.size()));
    threads = threadsFor(paths.size(), kFilesPerReadThread, threads);
    std::vector<QByteArray> buffers(static_cast<size_t>(threads));
    parallelFor(scores.size(), threads, [&](size_t k, int slot) {
        QByteArray &bytes = buffers[size_t(slot)];
        if (fs.readInto(paths[qsizetype(k)], bytes, nullptr))
            scores[k] = codePageScores(loadablePart(bytes));
    });
    QHash<QString, CodePageScores> out;
    for (qsizetype k = 0; k < paths.size(); ++k)
        if (scores[size_t(k)])
            out.insert(paths[k], *scores[size_t(k)]);
    return out;
}

} // namespace

std::optional<Diagnostic> readMember(const FileSystem &fs, const QString &vbpPath,
                                     const ProjectSources::Member &member, QByteArray &into)
{
    QString error;
    if (fs.readInto(member.path, into, &error))
        return std::nullopt;
    return readFailure(vbpPath, member.line, error);
}

void placeReadFailures(std::vector<Diagnostic> &diagnostics, std::vector<std::pair<std::size_t, Diagnostic>> failures)
{
    if (failures.empty())
        return;
    std::vector<Diagnostic> merged;
    merged.reserve(diagnostics.size() + failures.size());
    size_t next = 0;
    for (size_t k = 0; k <= diagnostics.size(); ++k) {
        for (; next < failures.size() && failures[next].first <= k; ++next)
            merged.push_back(std::move(failures[next].second));
        if (k < diagnostics.size())
            merged.push_back(std::move(diagnostics[k]));
    }
    diagnostics = std::move(merged);
}

namespace {

/// Reads every unread member into its own bytes; members that cannot be read are left out.
void readMembers(const FileSystem &fs, ProjectSources &sources, std::vector<Diagnostic> &diagnostics, int threads)
{
    auto &members = sources.members;
    std::vector<std::optional<Diagnostic>> failed(members.size());
    parallelFor(members.size(), threadsFor(qsizetype(members.size()), kFilesPerReadThread, threads),
                [&](size_t k, int) {
                    if (members[k].unread)
                        failed[k] = readMember(fs, sources.path, members[k], members[k].bytes);
                });
    std::vector<std::pair<std::size_t, Diagnostic>> failures;
    std::vector<ProjectSources::Member> kept;
    for (size_t k = 0; k < members.size(); ++k) {
        if (failed[k]) {
            failures.emplace_back(members[k].failureAt, std::move(*failed[k]));
        } else {
            members[k].unread = false;
            kept.push_back(std::move(members[k]));
        }
    }
    members = std::move(kept);
    placeReadFailures(diagnostics, std::move(failures));
}

} // namespace

std::optional<ProjectSources> readProjectSources(const FileSystem &fs, const QString &vbpPath, CodePage cp,
                                                 std::vector<Diagnostic> &diagnostics, int threads, MemberReads reads)
{
    QString error;
    const std::optional<QByteArray> vbp = fs.read(vbpPath, &error);
    if (!vbp) {
        diagnostics.push_back({vbpPath, 0, QStringLiteral("The project file could not be loaded: %1").arg(error)});
        return std::nullopt;
    }
    const QString dir = directoryOf(vbpPath);
    QHash<QString, CodePageScores> scoresOf; // per member path, with Auto only

    const bool guessing = cp == CodePage::Auto;
    if (guessing) {
        const std::vector<CodePage> allowed = candidatesByNames(fs, dir, [&](CodePage c) {
            QStringList names;
            for (const MemberLine &m : quietParseProject(*vbp, c, vbpPath).members)
                names << m.path;
            return names;
        });
        CodePageScores total = codePageScores(QByteArrayView(*vbp));
        scoresOf = scoreMembers(fs, dir, quietParseProject(*vbp, allowed.front(), vbpPath).members, threads);
        for (const CodePageScores &s : std::as_const(scoresOf))
            total += s;
        cp = chooseAmong(allowed, total);
        // Where files disagree, the project takes the code page most of them read cleanly with.
        QHash<CodePage, int> votes;
        for (const CodePageScores &s : std::as_const(scoresOf))
            if (s.nonAscii)
                ++votes[codePageOfFile(s, cp)];
        int most = votes.value(cp);
        for (CodePage c : allowed)
            if (votes.value(c) > most) {
                most = votes.value(c);
                cp = c;
            }
    }

    ProjectSources sources;
    sources.path = vbpPath;
    sources.codePage = cp;
    sources.project = parseProject(decodeLines(*vbp, cp, vbpPath, diagnostics), vbpPath, diagnostics);
    struct Listing {
        int line = 0;    // the .vbp line that loads the file
        int repeats = 0; // how often it is listed again
        int firstRepeatLine = 0;
    };
    QHash<QString, Listing> listed; // by resolved path
    std::vector<std::pair<QString, QString>> repeated; // (path, as the .vbp writes it), in order
    for (const MemberLine &m : sources.project.members) {
        auto fail = [&](const QString &why) { diagnostics.push_back(readFailure(vbpPath, m, why)); };
        if (FileSystem::isAbsolute(m.path)) {
            fail(QStringLiteral("absolute paths are not followed"));
            continue;
        }
        const QString path = fs.resolve(dir, m.path);
        if (path.isEmpty()) {
            fail(QStringLiteral("No such file"));
            continue;
        }
        // One module listed many times would be read and parsed as often.
        if (auto it = listed.find(path); it != listed.end()) {
            if (it->repeats++ == 0) {
                it->firstRepeatLine = m.line;
                repeated.emplace_back(path, m.path);
            }
            continue;
        }
        listed.insert(path, {m.line, 0, 0});
        if (isNeverRead(m)) {
            if (fs.isDirectory(path))
                fail(QStringLiteral("Is a directory"));
            else
                sources.members.push_back({m, path, {}, cp});
            continue;
        }
        const std::size_t failureAt = diagnostics.size();
        CodePage own = cp;
        if (guessing) {
            own = codePageOfFile(scoresOf.value(path), cp);
            if (own != cp)
                diagnostics.push_back({path, 0,
                                       QStringLiteral("Saved in another code page than the rest of the project: "
                                                      "decoded as %1, not %2")
                                           .arg(codePageName(own), codePageName(cp))});
        }
        sources.members.push_back({m, path, {}, own, true, failureAt});
    }
    for (const auto &[path, written] : repeated) {
        const Listing &l = listed[path];
        diagnostics.push_back({vbpPath, l.firstRepeatLine,
                               QStringLiteral("The file '%1' is listed %2 more time(s); only line %3 loads it")
                                   .arg(detail::printable(written))
                                   .arg(l.repeats)
                                   .arg(l.line)});
    }
    if (reads == MemberReads::Now)
        readMembers(fs, sources, diagnostics, threads);
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
        cp = chooseAmong(allowed, codePageScores(QByteArrayView(*vbg)));
    }

    GroupSources sources;
    sources.path = vbgPath;
    sources.codePage = cp;
    sources.group = parseGroup(decodeLines(*vbg, cp, vbgPath, diagnostics), vbgPath, diagnostics);
    if (!sources.group.hasHeader)
        return std::nullopt;
    for (qsizetype i = 0; i < sources.group.projects.size(); ++i) {
        const QString &name = sources.group.projects[i];
        if (FileSystem::isAbsolute(name)) {
            diagnostics.push_back({vbgPath, sources.group.projectLines.value(i),
                                   QStringLiteral("The project '%1' could not be loaded: absolute paths are not followed").arg(detail::printable(name))});
            continue;
        }
        const QString path = fs.resolve(dir, name);
        if (path.isEmpty()) {
            diagnostics.push_back({vbgPath, sources.group.projectLines.value(i),
                                   QStringLiteral("The project '%1' could not be found").arg(detail::printable(name))});
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
