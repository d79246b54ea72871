#pragma once
#include "ide/files/diagnostic.h"
#include "ide/files/encoding.h"
#include "ide/files/file_system.h"
#include "ide/files/module_file.h"
#include "ide/files/project_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace ide::files {

/// VB holds at most 65,534 lines in a code module; a file of more than this many lines (header
/// included) is none that VB saved, and is cut here so that memory stays bounded.
constexpr qsizetype MaxFileLines = 100000;

/// Decodes a whole file and splits it into physical lines, recording a diagnostic for the first
/// invalid byte sequence (with the count), for each line over VB's 1023-character limit, for
/// NUL bytes (a run of them at the end, left by a crash, is dropped) and for lines past
/// MaxFileLines, which are not loaded.
QStringList decodeLines(QByteArrayView bytes, CodePage cp, const QString &fileName, std::vector<Diagnostic> &diagnostics);
/// decodeLines() into one buffer, for module files.
TextLines decodeTextLines(QByteArrayView bytes, CodePage cp, const QString &fileName,
                          std::vector<Diagnostic> &diagnostics);
/// decodeLines() leaving ASCII lines as bytes; `bytes` must outlive the result.
MixedLines decodeMixedLines(QByteArrayView bytes, CodePage cp, const QString &fileName,
                            std::vector<Diagnostic> &diagnostics);

/// parseModule(decodeMixedLines(bytes, ...)) read only as far as the end of the attributes that
/// open the code part, for a file plainly free of what decoding reports: no NUL, no line longer
/// than VB allows even in bytes, no lone CR, far fewer lines than MaxFileLines, nothing the code
/// page cannot decode, and its VB_Name among those attributes. Then the result and the
/// diagnostics it adds are those of the whole file's; otherwise nullopt, and nothing is added.
std::optional<ModuleFile> skimModule(QByteArrayView bytes, CodePage cp, const QString &fileName,
                                      std::vector<Diagnostic> &diagnostics);

/// A .vbp and the bytes of every member file it names, under one code page.
struct ProjectSources {
    QString path;                        // host path of the .vbp
    CodePage codePage = CodePage::Cp1252; // never Auto
    ProjectFile project;
    struct Member {
        MemberLine line;
        QString path;     // resolved host path
        QByteArray bytes; // empty for RelatedDoc and ResFile32, which are never read
        CodePage codePage = CodePage::Cp1252; // the project's, unless this file was saved in another
        bool unread = false;     // left for the caller to read (readMember)
        std::size_t failureAt = 0; // where in the diagnostics a failure to read it belongs
    };
    std::vector<Member> members; // the members that were found, in .vbp order
};

/// How readProjectSources reads the member files.
enum class MemberReads {
    Now,      // before it returns, into `bytes`; members that cannot be read are left out
    ByCaller, // not at all: every member that is read is `unread`, for the caller's readMember
};

/// Reads a .vbp and its members. Missing or unreadable members, absolute paths and files listed
/// a second time are skipped with a diagnostic on their .vbp line.
///
/// With CodePage::Auto the code page is chosen from two kinds of evidence: the .vbp is decoded
/// with each candidate and only those under which the most member names exist on disk remain
/// (`Form=計算2.frm` in cp932 against UTF-8 names); among them the content of the .vbp and all
/// members decides (guessCodePage). A member that the project's code page cannot decode, or
/// that is plainly UTF-8 in a single-byte project (re-saved by another editor), is decoded with
/// its own, with a diagnostic; the project then takes the code page most of its files use.
/// Returns nullopt when the .vbp itself cannot be read. Files are read on up to `threads`
/// threads (0: as many as the machine and the number of files make worthwhile).
std::optional<ProjectSources> readProjectSources(const FileSystem &fs, const QString &vbpPath, CodePage cp,
                                                 std::vector<Diagnostic> &diagnostics, int threads = 1,
                                                 MemberReads reads = MemberReads::Now);

/// Reads an unread member's file into `into`, reusing its storage. On failure returns the
/// diagnostic to put at the member's `failureAt` (placeReadFailures).
std::optional<Diagnostic> readMember(const FileSystem &fs, const QString &vbpPath,
                                     const ProjectSources::Member &member, QByteArray &into);

/// Puts each (failureAt, diagnostic) of `failures`, given in member order, where readProjectSources
/// left its place in `diagnostics`, so they read as if every file had been read in turn.
void placeReadFailures(std::vector<Diagnostic> &diagnostics,
                       std::vector<std::pair<std::size_t, Diagnostic>> failures);

/// A .vbg with its projects resolved.
struct GroupSources {
    QString path;
    CodePage codePage = CodePage::Cp1252;
    GroupFile group;
    QStringList projectPaths; // host paths in load order, the startup project first; missing ones left out
    QString startupPath;      // "" when the group names none or it is missing
};

/// Reads a .vbg; listed projects that do not exist are left out with a diagnostic. The code page
/// is chosen as for a project, from the project names that resolve and the file's content.
std::optional<GroupSources> readGroupSources(const FileSystem &fs, const QString &vbgPath, CodePage cp,
                                       std::vector<Diagnostic> &diagnostics);

} // namespace ide::files
