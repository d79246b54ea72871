#pragma once
// The lists of a project as a whole: six of its properties, and its references.
#include "analysis/tool_window.h"
#include "host/vbide.h"

namespace analysis {

/// Six rows: BuildFileName, Description, FileName, HelpContextID, HelpFile, Type. Host
/// errors are not trapped here: they end the list and go to the caller.
void ShowProjectProperties(ToolWindow &window, const host::VBE &vbe, const QString &projectName,
                           bool createColumns);
/// One row per reference of the current project that is not broken.
void ShowReferences(ToolWindow &window, const host::VBE &vbe, bool createColumns);

/// "Standard Exe", "ActiveX Exe", "ActiveX DLL", "ActiveX Control"; "" for other codes.
QString projectTypeText(host::ProjectType type);

} // namespace analysis
