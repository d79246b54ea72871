#pragma once
// Reading one VB statement as text: what stands before its comment, its top-level parts,
// the parenthesis that closes an argument list, continued lines. String literals are
// respected, so an apostrophe, a comma or a bracket inside quotes is only text.
#include "inspection/check.h"

#include <QString>
#include <QStringList>

namespace inspection {

/// `text` up to its first apostrophe outside a string literal (the trailing comment cut).
QString codePart(const QString &text);

/// The parts of `text` split at every `separator` that stands outside parentheses and
/// string literals ("a(1, 2), b" gives "a(1, 2)" and " b"); one part without separators.
QStringList splitTopLevel(const QString &text, QChar separator);

/// Index of the ")" that closes the "(" at `open`, skipping string literals; -1 if none.
qsizetype closingParenthesis(const QString &text, qsizetype open);

/// The text holds the word "As" followed by a blank, not case-sensitive ("x As Long", not
/// "Has ").
bool holdsAsClause(const QString &text);

/// The last character is one of the type characters $ & % ! @.
bool endsWithTypeCharacter(QStringView text);

/// `text` without a leading continuation mark "_" and the blanks after it.
QString withoutContinuationMark(const QString &text);

/// Line `line` of the module with the lines that continue it (while the trimmed text ends in
/// "_"), joined without a separator; `lastLine` receives the statement's last line.
QString continuedStatement(const host::CodeModule &code, int line, int *lastLine = nullptr);

/// The header line of a procedure: the first line of its range that holds `name` as a whole
/// word and is not a comment line (the lines above a header are blank or comments); 0 when
/// there is none.
int procedureHeaderLine(const host::CodeModule &code, const ProcRange &range, const QString &name);

/// The keyword that declares procedure `name` in a header: "Sub", "Function", "Property Get",
/// "Property Let" or "Property Set"; "" when the header declares no procedure of that name.
/// `nameEnd` receives the index after the name.
QString procedureKeyword(const QString &header, const QString &name, qsizetype *nameEnd = nullptr);

/// Index of the "(" that opens the argument list of a procedure header: the first after the
/// procedure's name; -1 when there is none.
qsizetype argumentListStart(const QString &header, const QString &name);

/// The trimmed statement begins with "End Sub", "End Function" or "End Property".
bool isProcedureEnd(const QString &statement);

} // namespace inspection
