#pragma once
// basQuillbox: the state every part of the add-in shares, and the routines more than
// one place needs.
#include "host/vbide.h"
#include "shared/records.h"

#include <QString>
#include <vector>

namespace controls {
class Form;
}

namespace docmain {
class DocMain;
}

namespace shared {

/// The add-in's shared variables; one set per loaded add-in.
struct BasQuillbox {
    host::Ptr<host::VBE> gVBInstance;
    host::Ptr<host::AddIn> gAddInInstance;
    host::Ptr<host::Window> gToolWindow;
    std::shared_ptr<docmain::DocMain> gDocMain;
    QString gFindText;
    int gFindCount = 0;
    QString gTempPath;
    std::vector<FindResult> gFindResults;
    std::vector<AnalizeModule> gAnalizeModules;
    std::vector<AnalizeResult> gAnalizeResults;
    int gAnalizeCount = 0;

    /// Drops the search and inspection results (a removed project takes them along).
    void eraseResults();
};

/// The add-in's one instance of the shared variables.
BasQuillbox &basQuillbox();
/// Back to a freshly loaded add-in (tests; a new connection).
void resetBasQuillbox();

inline constexpr char kTempPrefix[] = "Qlx";
inline constexpr int kOpenFileBufferSize = 256;

/// Deletes every "Qlx*.*" file in gTempPath; errors are ignored.
void DeleteTempFiles();

/// The Open dialog's buffer: the full path for one file, the folder then the names
/// (separated by NUL) for several; "" when cancelled. `filter` is
/// "description\0pattern\0...".
QString ShowOpenFileDialog(const QString &initialDir, const QString &title, const QString &filter);

/// Adds the project files the user picks to the IDE; errors go to a message box.
void AddProjectFiles(const host::Ptr<host::VBE> &vbe);

/// Runs the first control of command bar `barName` whose caption contains `fragment`
/// (case-insensitive). Does nothing when there is no such bar or control.
void ExecuteIdeMenu(const host::Ptr<host::VBE> &vbe, const QString &barName, const QString &fragment);

/// Centres a form on the screen.
void CenterForm(controls::Form &form);
/// Draws a raised inner edge 20 twips inside the form's client area.
void DrawFormEdge(controls::Form &form);

/// Shows the error's description in a message box with the exclamation icon: what the
/// add-in's error traps do.
void showError(const host::Error &error);
void showError(const std::exception &error);

/// Runs a routine with the standard error trap: any error ends it with a message box.
/// Never lets an exception escape (event handlers must not throw into the host or Qt).
template <class F>
void trapped(F &&routine)
{
    try {
        routine();
    } catch (const host::Error &e) {
        showError(e);
    } catch (const std::exception &e) {
        showError(e);
    }
}

} // namespace shared
