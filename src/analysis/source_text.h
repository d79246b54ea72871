#pragma once
// The rules every analysis shares: component kinds, reading a line, comment lines, the three
// ways of searching a module through CodeModule.Find, scope words.
#include "host/vbide.h"

#include <QString>
#include <vector>

namespace analysis {

/// One kind of component as the explorer shows it.
struct ComponentKind {
    host::ComponentType type;
    const char *folderCaption;
    const char *folderSuffix; // key suffix and tag of the folder
    const char *image;
    const char *tag;          // tag of the component's node
};

/// The explorer's component kinds in folder order; resource files and related documents,
/// which hold no code, are not among them.
const std::vector<ComponentKind> &componentKinds();
/// The kind of a host type code; null for kinds the explorer does not show.
const ComponentKind *componentKind(host::ComponentType type);
/// The image key of a component: its kind's, "MDICHILD" for a form whose MDIChild property is
/// True; "" for kinds without code. Host errors leave the kind's image.
QString componentImage(const host::Ptr<host::VBComponent> &component);

/// `text` without leading and trailing spaces (tabs stay, as with VB's Trim).
QStringView trimmedSpaces(QStringView text);
/// Line `line` of the module without leading and trailing spaces.
QString trimmedLine(const host::CodeModule &module, int line);
/// A trimmed line that starts with an apostrophe; nothing else counts as a comment.
inline bool isCommentLine(QStringView trimmed) { return trimmed.startsWith(QLatin1Char('\'')); }

/// A match of a search: first and last line (0 when nothing was found).
struct FoundLines {
    int line = 0;
    int lastLine = 0;
    explicit operator bool() const { return line > 0; }
};
/// The first whole-word, case-insensitive match in the declarations section (options,
/// external declarations). May throw host::Error.
FoundLines findInDeclarations(const host::CodeModule &module, const QString &target);
/// The first case-insensitive pattern match from `startLine` to the end of the module, not
/// whole word (names and "Sub " & name). May throw host::Error.
FoundLines findFrom(const host::CodeModule &module, const QString &target, int startLine);

/// "Private", "Public", "Friend" for scope codes 1 to 3, "" otherwise.
QString scopeWord(host::Scope scope);

} // namespace analysis
