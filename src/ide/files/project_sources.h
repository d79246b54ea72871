#pragma once
#include "ide/files/diagnostic.h"
#include "ide/files/encoding.h"
#include "ide/files/file_system.h"
#include "ide/files/project_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace ide::files {

/// Decodes a whole file and splits it into physical lines, recording a diagnostic for the first
/// invalid byte sequence (with the count) and for each line over VB's 1023-character limit.
QStringList decodeLines(QByteArrayView bytes, CodePage cp, const QString &fileName, std::vector<Diagnostic> &diagnostics);

/// A .vbp and the bytes of every member file it names, under one code page.
struct ProjectSources {
    QString path;                        // host path of the .vbp
    CodePage codePage = CodePage::Cp1252; // never Auto
    ProjectFile project;
    struct Member {
        MemberLine line;
        QString path;     // resolved host path
        QByteArray bytes; // empty for RelatedDoc and ResFile32, which are never read
    };
    std::vector<Member> members; // the members that were found, in .vbp order
};

/// Reads a .vbp and its members. Missing or unreadable members are skipped with a diagnostic
/// ("The file ... could not be loaded: No such file") on their .vbp line.
///
/// With CodePage::Auto the code page is chosen from two kinds of evidence: the .vbp is decoded
/// with each candidate and only those under which the most member names exist on disk remain
/// (`Form=計算2.frm` in cp932 against UTF-8 names); among them the content of the .vbp and all
/// members decides (guessCodePage). Returns nullopt when the .vbp itself cannot be read.
std::optional<ProjectSources> readProjectSources(const FileSystem &fs, const QString &vbpPath, CodePage cp,
                                                 std::vector<Diagnostic> &diagnostics);

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
