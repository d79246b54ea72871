#pragma once
#include "ide/files/diagnostic.h"
#include "ide/files/encoding.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace ide::files {

/// One `Begin <progId> <name>` block of a designer file.
struct ControlNode {
    QString progId;      // `VB.TextBox`, `MSComctlLib.ListView`, `{GUID}` for designers, "" for a class BEGIN
    QString name;
    int index = -1;      // `Index = n` of a control-array element
    int fileLine = 0;    // line of the Begin
    /// Top-level values only (not inside BeginProperty groups), comments stripped: bool for
    /// -1/0 with a 'True/'False comment, int/qlonglong/double for numbers (`&H8000000F&` as
    /// its 32-bit value), QString for quoted strings (unquoted, "" undoubled) and other text;
    /// companion-file references (`$"x.frx":0000`, `"x.frx":0000`) as raw text.
    QList<QPair<QString, QVariant>> properties;
    std::vector<ControlNode> children; // in file order, menus included

    /// The value of `key` (case-insensitive), or an invalid QVariant.
    QVariant property(const QString &key) const;
};

enum class ModuleKind { Basic, Class, Form, MDIForm, UserControl, PropertyPage, UserDocument, Designer, Unknown };

struct ModuleFile {
    ModuleKind kind = ModuleKind::Unknown;
    QString vbName;          // from Attribute VB_Name (fallback: the top-level block name)
    QString designerId;      // {GUID} of a `Begin {GUID} Name` block
    ControlNode root;        // the top-level Begin/BEGIN block
    QStringList objects;     // `Object = ...` header values as written
    QStringList codeLines;   // every physical line after the header block, attribute lines included
    int codeFirstFileLine = 1;
    /// The `Attribute VB_* = value` lines that open the code part, values raw.
    QList<QPair<QString, QString>> attributes;
    int attributesEnd = 0; // index of the first line after them (the number of lines when none follows)
};

/// Splits a module file into its header (VERSION, Object lines, the Begin block) and its code.
/// Never fails: what cannot be read becomes a diagnostic.
ModuleFile parseModule(const QStringList &lines, const QString &fileName, std::vector<Diagnostic> &diagnostics);
/// The same over lines in one buffer, leaving codeLines empty: the code is lines from
/// codeFirstFileLine - 1 on.
ModuleFile parseModule(const TextLines &lines, const QString &fileName, std::vector<Diagnostic> &diagnostics);
ModuleFile parseModule(const MixedLines &lines, const QString &fileName, std::vector<Diagnostic> &diagnostics);

/// The kind a file extension suggests (.bas, .cls, .frm, .ctl, .pag, .dob, .dsr); Unknown otherwise.
ModuleKind moduleKindFromExtension(const QString &fileName);

/// Reads one value as written after `key =` in a designer block (see ControlNode::properties).
QVariant parsePropertyValue(QStringView text);

} // namespace ide::files
