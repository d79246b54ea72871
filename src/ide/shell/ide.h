#pragma once
// The stand-in VB6 IDE: loads projects from disk (or an in-memory file map) and
// answers through the host contract as the real IDE does.
#include "host/vbide.h"
#include "ide/files/encoding.h"
#include "ide/files/file_system.h"
#include "ide/files/project_file.h"

#include <QHash>
#include <functional>
#include <memory>
#include <optional>

namespace ide {

struct IdeState;
class VBEImpl;

/// A dialog of the IDE opened by a menu command (project properties, references,
/// components, make, add-in manager), with the lines it shows.
struct CommandDialog {
    QString command;
    QString caption;
    QStringList lines;
    bool operator==(const CommandDialog &) const = default;
};

/// What the IDE does with a built-in menu command; the desktop front end opens
/// its dialogs here, headless runs just record the command.
using CommandHandler = std::function<void(const QString &commandId)>;

class Ide {
public:
    explicit Ide(std::shared_ptr<files::FileSystem> fileSystem = nullptr);
    /// Shuts down unless shutDown() did.
    ~Ide();
    /// Tells the connected add-ins that the IDE is closing, once.
    void shutDown();
    Ide(const Ide &) = delete;
    Ide &operator=(const Ide &) = delete;

    host::Ptr<host::VBE> vbe() const;

    /// Loads a .vbp or .vbg as File > Add Project does; problems become diagnostics.
    /// Returns the projects added (none when nothing could be loaded).
    std::vector<host::Ptr<host::VBProject>> load(const QString &path);
    const std::vector<files::Diagnostic> &diagnostics() const;
    void clearDiagnostics();

    /// Code page for module files of projects loaded from now on; Auto guesses per project.
    void setCodePage(files::CodePage codePage);
    /// Threads that read a project's modules while loading it; 0 (the default) chooses from the
    /// machine and the project's size. What is loaded is the same for every count.
    void setLoadThreads(int threads);
    /// From the next load on, a module whose file cannot hold `text` (ide::mayHold) is listed
    /// with its header and designer, but its code is built when first asked for, from the file
    /// read again, and its own diagnostics (a missing End Sub, ...) join diagnostics() then.
    /// Whatever decoding the file reports is reported at load all the same, or the module is
    /// built at once. A Find for `text` passes such a module by: a one-off search of a large
    /// project builds only where the text may be. An empty text (the default) builds every module.
    void setCodeOnDemand(const QString &text);
    /// The code page a loaded project was decoded with.
    files::CodePage codePageOf(const host::Ptr<host::VBProject> &project) const;

    /// Add-ins the add-in manager lists; connecting one creates its class through the factory.
    void registerAddIn(const QString &progId, const QString &description,
                       std::function<host::Ptr<host::AddinInstance>()> factory);
    /// Classes CreateToolWindow can create by ProgID.
    void registerDocument(const QString &progId, std::function<host::Ptr<host::ComObject>()> factory);

    void setCommandHandler(CommandHandler handler);
    /// Ids of built-in commands run so far (menu default actions).
    const QStringList &executedCommands() const;
    /// Captions of the menu commands whose default action ran, in order.
    const QStringList &commandsRun() const;

    QString immediateText() const;
    /// Replaces the Immediate window's text; the caret goes to its end.
    void setImmediateText(const QString &text);
    /// The Immediate window's selection as (anchor, caret), 0-based offsets into its text.
    std::pair<qsizetype, qsizetype> immediateSelection() const;

    /// Keystrokes typed into the IDE's active window (SendKeys syntax). The stand-in handles
    /// the keys of the Immediate window itself; false when the active window is another one.
    /// Throws host::Error(5) for a malformed string.
    bool sendKeys(const QString &keys);
    /// sendKeys of this IDE for as long as it lives, then false: what a platform's keystroke
    /// injection calls.
    std::function<bool(const QString &)> keyHandler() const;

    /// The dialog the last menu command opened; none when it was closed.
    const std::optional<CommandDialog> &commandDialog() const;
    void closeCommandDialog();
    /// The last arrangement of the code and designer windows: "TileHorizontally",
    /// "TileVertically", "Cascade", "ArrangeIcons"; empty before the first.
    QString arrangement() const;

    /// Where PasteFace reads the clipboard's bitmap.
    void setClipboardImageProvider(std::function<host::Picture()> provider);

    /// Fault seam for tests: the named host call (e.g. "CodeModule.Find",
    /// "VBComponent.CodeModule", "VBProjects.Item", "Window.SetFocus") throws host::Error(number).
    void failOn(const QString &call, int number);
    void clearFaults();

    /// Drops a command bar, as a host without that menu would have none.
    void removeCommandBar(const QString &name);

    /// How many lines a front end's view of `pane` shows, so a selection scrolls into view
    /// as it does there. Ignored for panes of another host.
    void setCountOfVisibleLines(const host::Ptr<host::CodePane> &pane, int lines);

    /// The tool window's document of a window created by CreateToolWindow.
    host::Ptr<host::ComObject> documentOf(const host::Ptr<host::Window> &window) const;

    /// Raised after anything a front end shows changed (windows, selection, projects).
    host::Signal<> &changed();

private:
    bool m_shutDown = false;
    std::shared_ptr<IdeState> m_state;
    std::shared_ptr<VBEImpl> m_vbe;
};

} // namespace ide
