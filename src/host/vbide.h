#pragma once
// The IDE's extensibility object model (VBIDE with the Office command bars), as the
// add-in sees it. Collections are 1-based; `item` takes an index or a name and throws
// host::Error 9 when there is no such item. Objects are reference counted like COM
// objects: a reference stays readable after its owner dropped it, but a removed
// project's objects throw 91 on use.
#include "host/constants.h"
#include "host/error.h"
#include "host/picture.h"
#include "host/signal.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

namespace host {

template <class T>
using Ptr = std::shared_ptr<T>;

class VBE;
class VBProjects;
class VBProject;
class VBComponents;
class VBComponent;
class CodeModule;
class CodePane;
class CodePanes;
class Members;
class Member;
class References;
class Reference;
class Properties;
class Property;
class VBForm;
class VBControls;
class VBControl;
class Windows;
class Window;
class CommandBars;
class CommandBar;
class CommandBarControls;
class CommandBarControl;
class Events;
class Addins;
class AddIn;

/// Base of objects the host creates by ProgID for an add-in (tool-window documents,
/// connection classes), the IUnknown of this model.
class ComObject {
public:
    virtual ~ComObject() = default;
};

class Property {
public:
    virtual ~Property() = default;
    virtual QString name() const = 0;
    /// Booleans for -1/0, numbers as numbers, strings unquoted, companion-file
    /// references as written (`"Form1.frx":0000`).
    virtual QVariant value() const = 0;
};

class Properties {
public:
    virtual ~Properties() = default;
    virtual int count() const = 0;
    virtual Ptr<Property> item(int index) const = 0;
    virtual Ptr<Property> item(const QString &name) const = 0;
};

class Member {
public:
    virtual ~Member() = default;
    virtual QString name() const = 0;
    virtual MemberType type() const = 0;
    virtual Scope scope() const = 0;
    virtual bool isStatic() const = 0;
    /// Pane line: ProcStartLine for procedures, the declaration's line otherwise.
    virtual int codeLocation() const = 0;
    virtual QString description() const = 0;
};

class Members {
public:
    virtual ~Members() = default;
    virtual int count() const = 0;
    virtual Ptr<Member> item(int index) const = 0;
    virtual Ptr<Member> item(const QString &name) const = 0;
};

class CodeModule {
public:
    virtual ~CodeModule() = default;
    virtual Ptr<VBComponent> parent() const = 0;
    virtual QString name() const = 0;
    virtual int countOfLines() const = 0;
    virtual int countOfDeclarationLines() const = 0;
    /// Pane lines start .. start+count-1 joined with CR LF; count clipped at the end.
    /// Throws 5 for start outside 1..CountOfLines+1 or count < 0.
    virtual QString lines(int startLine, int count) const = 0;
    /// Throw 35 when no procedure of that name and kind exists.
    virtual int procStartLine(const QString &procName, ProcKind kind) const = 0;
    virtual int procBodyLine(const QString &procName, ProcKind kind) const = 0;
    virtual int procCountLines(const QString &procName, ProcKind kind) const = 0;
    /// Name of the procedure owning `line` ("" in the declarations); writes its kind.
    /// Throws 5 for a line outside 1..CountOfLines.
    virtual QString procOfLine(int line, ProcKind &kind) const = 0;
    /// Searches forward for `target`; on success the four positions hold the match,
    /// `endCol` one past its last character. -1 for endLine/endCol means "to the end".
    /// matchCase together with patternSearch throws 5.
    virtual bool find(const QString &target, int &startLine, int &startCol, int &endLine,
                      int &endCol, bool wholeWord = false, bool matchCase = false,
                      bool patternSearch = false) const = 0;
    virtual Ptr<Members> members() const = 0;
    virtual Ptr<CodePane> codePane() const = 0;
};

class CodePane {
public:
    virtual ~CodePane() = default;
    virtual Ptr<CodeModule> codeModule() const = 0;
    virtual Ptr<Window> window() const = 0;
    virtual void show() = 0;
    virtual void getSelection(int &startLine, int &startCol, int &endLine, int &endCol) const = 0;
    /// Lines are clipped to 1..CountOfLines and columns to 1..length+1.
    virtual void setSelection(int startLine, int startCol, int endLine, int endCol) = 0;
    virtual int topLine() const = 0;
    virtual void setTopLine(int line) = 0;
    virtual int countOfVisibleLines() const = 0;
};

class CodePanes {
public:
    virtual ~CodePanes() = default;
    virtual int count() const = 0;
    virtual Ptr<CodePane> item(int index) const = 0;
    virtual Ptr<CodePane> current() const = 0;
};

class VBControl {
public:
    virtual ~VBControl() = default;
    virtual QString name() const = 0;
    /// Index within a control array, -1 outside one.
    virtual int index() const = 0;
    /// The class part of the type (`TextBox`).
    virtual QString className() const = 0;
    /// `Lib.Class` as written (`VB.TextBox`, `MSComctlLib.ListView`).
    virtual QString progId() const = 0;
    virtual Ptr<Properties> properties() const = 0;
    virtual Ptr<VBControls> containedVBControls() const = 0;
    /// Null for controls placed directly on the designer.
    virtual Ptr<VBControl> container() const = 0;
    /// Whether the control is among the designer's selected controls.
    virtual bool inSelection() const = 0;
    virtual void setInSelection(bool selected) = 0;
};

class VBControls {
public:
    virtual ~VBControls() = default;
    virtual int count() const = 0;
    virtual Ptr<VBControl> item(int index) const = 0;
    virtual Ptr<VBControl> item(const QString &name) const = 0;
};

/// The designer of a form, MDI form, user control, property page or user document.
class VBForm {
public:
    virtual ~VBForm() = default;
    /// Every control, nested ones included, in file order.
    virtual Ptr<VBControls> vbControls() const = 0;
    /// Controls placed directly on the designer.
    virtual Ptr<VBControls> containedVBControls() const = 0;
};

class VBComponent {
public:
    virtual ~VBComponent() = default;
    virtual QString name() const = 0;
    virtual ComponentType type() const = 0;
    virtual Ptr<VBComponents> collection() const = 0;
    /// Throws 91 for resource files and related documents.
    virtual Ptr<CodeModule> codeModule() const = 0;
    /// Null where the component has no designer.
    virtual Ptr<VBForm> designer() const = 0;
    virtual QString designerID() const = 0;
    virtual Ptr<Properties> properties() const = 0;
    virtual int fileCount() const = 0;
    /// 1-based.
    virtual QString fileNames(int index) const = 0;
    virtual bool hasOpenDesigner() const = 0;
    /// Opens (or shows) the designer window.
    virtual Ptr<Window> designerWindow() = 0;
    virtual void activate() = 0;
};

class VBComponents {
public:
    virtual ~VBComponents() = default;
    virtual int count() const = 0;
    virtual Ptr<VBComponent> item(int index) const = 0;
    virtual Ptr<VBComponent> item(const QString &name) const = 0;
    virtual Ptr<VBProject> parent() const = 0;
    /// Adds a new, empty component; raises VBComponentsEvents.ItemAdded.
    virtual Ptr<VBComponent> add(ComponentType type) = 0;
    virtual void remove(const Ptr<VBComponent> &component) = 0;
};

class Reference {
public:
    virtual ~Reference() = default;
    virtual QString name() const = 0;
    virtual QString description() const = 0;
    virtual QString fullPath() const = 0;
    virtual QString guid() const = 0;
    virtual int major() const = 0;
    virtual int minor() const = 0;
    virtual bool builtIn() const = 0;
    virtual bool isBroken() const = 0;
    virtual ReferenceKind type() const = 0;
};

class References {
public:
    virtual ~References() = default;
    virtual int count() const = 0;
    virtual Ptr<Reference> item(int index) const = 0;
    virtual Ptr<Reference> item(const QString &name) const = 0;
    virtual Ptr<VBProject> parent() const = 0;
};

class VBProject {
public:
    virtual ~VBProject() = default;
    virtual QString name() const = 0;
    virtual ProjectType type() const = 0;
    /// Absolute path of the .vbp.
    virtual QString fileName() const = 0;
    virtual QString buildFileName() const = 0;
    virtual QString description() const = 0;
    virtual QString helpFile() const = 0;
    virtual long helpContextID() const = 0;
    virtual Ptr<VBComponents> vbComponents() const = 0;
    virtual Ptr<References> references() const = 0;
    virtual Ptr<VBProjects> collection() const = 0;
    virtual Ptr<VBE> vbe() const = 0;
};

class VBProjects {
public:
    virtual ~VBProjects() = default;
    virtual int count() const = 0;
    virtual Ptr<VBProject> item(int index) const = 0;
    virtual Ptr<VBProject> item(const QString &name) const = 0;
    virtual Ptr<VBProject> startProject() const = 0;
    /// The .vbg of the loaded group, "" without one.
    virtual QString fileName() const = 0;
    /// Loads a .vbp or .vbg; raises VBProjectsEvents.ItemAdded per project.
    /// Throws when nothing could be loaded.
    virtual std::vector<Ptr<VBProject>> addFromFile(const QString &fileName, bool exclusive = false) = 0;
    /// Raises VBProjectsEvents.ItemRemoved while the project is still readable.
    virtual void remove(const Ptr<VBProject> &project) = 0;
};

class Window {
public:
    virtual ~Window() = default;
    virtual QString caption() const = 0;
    virtual WindowType type() const = 0;
    virtual bool visible() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void setFocus() = 0;
    virtual void close() = 0;
    virtual Ptr<Windows> collection() const = 0;
};

class Windows {
public:
    virtual ~Windows() = default;
    virtual int count() const = 0;
    virtual Ptr<Window> item(int index) const = 0;
    virtual Ptr<Window> item(const QString &caption) const = 0;
    /// Creates the document registered under `progId` inside a new dockable window;
    /// the document is written to `docObj`.
    virtual Ptr<Window> createToolWindow(const Ptr<AddIn> &addIn, const QString &progId,
                                         const QString &caption, const QString &guidPosition,
                                         Ptr<ComObject> &docObj) = 0;
};

class CommandBarControl {
public:
    virtual ~CommandBarControl() = default;
    virtual QString caption() const = 0;
    virtual void setCaption(const QString &caption) = 0;
    virtual ControlType type() const = 0;
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool visible() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual QString tag() const = 0;
    virtual void setTag(const QString &tag) = 0;
    virtual int index() const = 0;
    virtual Ptr<CommandBar> parent() const = 0;
    /// Controls of a popup; null for a button.
    virtual Ptr<CommandBarControls> controls() const = 0;
    /// Button face from the bitmap on the clipboard.
    virtual void pasteFace() = 0;
    virtual Picture face() const = 0;
    virtual void deleteControl(bool temporary = false) = 0;
    /// The default action: raises CommandBarEvents.Click and, unless a handler
    /// cancelled it, runs the built-in command.
    virtual void execute() = 0;
};

class CommandBarControls {
public:
    virtual ~CommandBarControls() = default;
    virtual int count() const = 0;
    virtual Ptr<CommandBarControl> item(int index) const = 0;
    /// Case-insensitive caption match.
    virtual Ptr<CommandBarControl> item(const QString &caption) const = 0;
    /// `before` is 1-based; 0 appends.
    virtual Ptr<CommandBarControl> add(ControlType type, int id = 0, const QVariant &parameter = {},
                                       int before = 0, bool temporary = false) = 0;
};

class CommandBar {
public:
    virtual ~CommandBar() = default;
    /// English name in every UI language.
    virtual QString name() const = 0;
    virtual QString nameLocal() const = 0;
    virtual Ptr<CommandBarControls> controls() const = 0;
    virtual bool visible() const = 0;
};

class CommandBars {
public:
    virtual ~CommandBars() = default;
    virtual int count() const = 0;
    virtual Ptr<CommandBar> item(int index) const = 0;
    /// Throws 5 for an unknown name.
    virtual Ptr<CommandBar> item(const QString &name) const = 0;
};

// Event sources. Each is a set of signals; subscribing returns a Subscription.

class VBProjectsEvents {
public:
    virtual ~VBProjectsEvents() = default;
    Signal<const Ptr<VBProject> &> ItemAdded;
    Signal<const Ptr<VBProject> &> ItemRemoved;
    Signal<const Ptr<VBProject> &, const QString &> ItemRenamed;
    Signal<const Ptr<VBProject> &> ItemActivated;
};

class VBComponentsEvents {
public:
    virtual ~VBComponentsEvents() = default;
    Signal<const Ptr<VBComponent> &> ItemAdded;
    Signal<const Ptr<VBComponent> &> ItemRemoved;
    Signal<const Ptr<VBComponent> &, const QString &> ItemRenamed;
    Signal<const Ptr<VBComponent> &> ItemSelected;
    Signal<const Ptr<VBComponent> &> ItemActivated;
    Signal<const Ptr<VBComponent> &> ItemReloaded;
};

class ReferencesEvents {
public:
    virtual ~ReferencesEvents() = default;
    Signal<const Ptr<Reference> &> ItemAdded;
    Signal<const Ptr<Reference> &> ItemRemoved;
};

class VBControlsEvents {
public:
    virtual ~VBControlsEvents() = default;
    Signal<const Ptr<VBControl> &> ItemAdded;
    Signal<const Ptr<VBControl> &> ItemRemoved;
    Signal<const Ptr<VBControl> &, const QString &, int> ItemRenamed;
};

class CommandBarEvents {
public:
    virtual ~CommandBarEvents() = default;
    /// (control, handled, cancelDefault): both flags start false and are shared by all handlers.
    Signal<const Ptr<CommandBarControl> &, bool &, bool &> Click;
};

class Events {
public:
    virtual ~Events() = default;
    virtual Ptr<VBProjectsEvents> vbProjectsEvents() = 0;
    /// A null project (or form) means all of them.
    virtual Ptr<VBComponentsEvents> vbComponentsEvents(const Ptr<VBProject> &project) = 0;
    virtual Ptr<ReferencesEvents> referencesEvents(const Ptr<VBProject> &project) = 0;
    virtual Ptr<VBControlsEvents> vbControlsEvents(const Ptr<VBProject> &project,
                                                   const Ptr<VBForm> &form) = 0;
    virtual Ptr<CommandBarEvents> commandBarEvents(const Ptr<CommandBarControl> &control) = 0;
};

/// What the IDE calls on an add-in's connection class (IDTExtensibility).
class AddinInstance : public ComObject {
public:
    virtual void onConnection(const Ptr<VBE> &application, ConnectMode connectMode,
                              const Ptr<AddIn> &addInInst) = 0;
    virtual void onDisconnection(DisconnectMode removeMode) = 0;
    virtual void onStartupComplete() {}
    virtual void onAddInsUpdate() {}
};

class AddIn {
public:
    virtual ~AddIn() = default;
    virtual QString progId() const = 0;
    virtual QString guid() const = 0;
    virtual QString description() const = 0;
    virtual bool connect() const = 0;
    /// True creates the connection class and calls onConnection; false calls
    /// onDisconnection and releases it.
    virtual void setConnect(bool connect) = 0;
    virtual Ptr<ComObject> object() const = 0;
    virtual Ptr<VBE> vbe() const = 0;
    virtual Ptr<Addins> collection() const = 0;
};

class Addins {
public:
    virtual ~Addins() = default;
    virtual int count() const = 0;
    virtual Ptr<AddIn> item(int index) const = 0;
    /// By ProgID; throws 9 for an unknown one.
    virtual Ptr<AddIn> item(const QString &progId) const = 0;
    virtual void update() = 0;
};

class VBE {
public:
    virtual ~VBE() = default;
    virtual QString version() const = 0;
    virtual QString fullName() const = 0;
    virtual Ptr<VBProjects> vbProjects() const = 0;
    virtual Ptr<VBProject> activeVBProject() const = 0;
    virtual Ptr<VBComponent> selectedVBComponent() const = 0;
    /// Null when no code pane is open.
    virtual Ptr<CodePane> activeCodePane() const = 0;
    virtual void setActiveCodePane(const Ptr<CodePane> &pane) = 0;
    virtual Ptr<CodePanes> codePanes() const = 0;
    virtual Ptr<Window> activeWindow() const = 0;
    virtual Ptr<Window> mainWindow() const = 0;
    virtual Ptr<Windows> windows() const = 0;
    virtual Ptr<CommandBars> commandBars() const = 0;
    virtual Ptr<Events> events() const = 0;
    virtual Ptr<Addins> addins() const = 0;
    virtual QString lastUsedPath() const = 0;
};

} // namespace host
