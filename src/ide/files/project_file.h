#pragma once
#include "ide/files/diagnostic.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <vector>

namespace ide::files {

/// A `Reference=` line: `*\G{GUID}#maj.min#lcid#path#description` (version and LCID in hex;
/// the description follows the last '#') or `*\A<path>` for another project.
struct ReferenceLine {
    bool isProject = false;
    QString guid;
    int major = 0, minor = 0;
    int lcid = 0;
    QString path;
    QString description;
    int line = 0;
};

/// A member line. key: Form, Module, Class, UserControl, PropertyPage, UserDocument, Designer,
/// RelatedDoc or ResFile32; name only for Module and Class (`Name; file`).
struct MemberLine {
    QString key;
    QString name;
    QString path;
    int line = 0;
};

/// An INI-style section after the main part of a .vbp (`[MS Transaction Server]`, add-in data).
struct ProjectSection {
    QString name;
    QList<QPair<QString, QString>> keys;
    int line = 0;
};

struct ProjectFile {
    QString name;  // "" when the file has no Name= line
    int type = 0;  // Exe 0, OleExe 1, OleDll 2, Control 3
    bool hasType = false; // a Type= line: what every project file holds, and other files do not
    QString description, helpFile, title, exeName32, path32, startup;
    long helpContextId = 0;
    std::vector<MemberLine> members;
    std::vector<ReferenceLine> references;
    QStringList objects; // `Object=` values as written
    QList<QPair<QString, QString>> keys; // every key=value of the main section, raw, in order
    std::vector<ProjectSection> sections;
};

/// Reads the lines of a .vbp. Unknown keys and sections are kept without complaint; a line
/// that cannot be read gives a diagnostic with its line number and reading goes on.
ProjectFile parseProject(const QStringList &lines, const QString &fileName, std::vector<Diagnostic> &diagnostics);

/// A `Reference=` value; false (and `error` set) when it is not one of the two forms.
bool parseReference(const QString &value, ReferenceLine &out, QString *error);

struct GroupFile {
    bool hasHeader = false;  // the `VBGROUP` line that makes a file a group
    QString startupProject;  // "" when the file names none
    QStringList projects;    // the startup project first, then Project= lines in order, each once
    QList<int> projectLines; // the file line of each entry of `projects`
};

/// Reads the lines of a .vbg.
GroupFile parseGroup(const QStringList &lines, const QString &fileName, std::vector<Diagnostic> &diagnostics);

} // namespace ide::files
