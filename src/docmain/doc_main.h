#pragma once
// docMain: the add-in's dockable tool window — the project explorer with its four
// tree/list pairs, toolbars, project box, status bar and progress bar.
#include "analysis/source_text.h"
#include "analysis/tool_window.h"
#include "controls/control_array.h"
#include "controls/cool_bar.h"
#include "controls/form.h"
#include "controls/image_combo.h"
#include "controls/list_view.h"
#include "controls/progress_bar.h"
#include "controls/standard_controls.h"
#include "controls/status_bar.h"
#include "controls/tab_strip.h"
#include "controls/toolbar.h"
#include "controls/tree_view.h"
#include "find/frm_find.h"
#include "host/vbide.h"
#include "inspection/frm_optimize.h"

#include <array>
#include <memory>
#include <vector>

namespace about {
class FrmAbout;
}

namespace docmain {

/// Tab indexes (1-based, as the tab strip counts them).
enum TabIndex { TabGeneral = 1, TabRelative = 2, TabOptimize = 3, TabSearch = 4 };

using analysis::ComponentKind;
using analysis::componentKind;
using analysis::componentKinds;

/// The tool window's document. Its controls are public, as a VB form's are, so the
/// front ends can render and drive them.
class DocMain : public host::ComObject, public analysis::ToolWindow {
public:
    DocMain();
    ~DocMain() override;

    // ---- controls --------------------------------------------------------------
    /// The document surface; its scale size is the tool window's inner size.
    controls::Form userDocument;
    controls::CoolBar cbrMain;
    controls::ImageCombo imgcboProject;
    controls::ControlArray<controls::Toolbar> tbrMain;
    controls::ComboBox cboHelpWord;
    controls::TabStrip tbsProject;
    controls::ControlArray<controls::TreeView> tvwProject;
    controls::PictureBox picSplit;
    controls::ControlArray<controls::ListView> lvwDetail;
    controls::StatusBar staMain;
    controls::ProgressBar prgMain;

    // ---- state -----------------------------------------------------------------
    controls::ImageList *mobjImageList = nullptr;   // not owned: frmAbout's
    int mintTabCount = 0;
    int mintCurrentTab = 0;
    bool mblnSplitDrag = false;
    /// Projects in the explorer, keyed (exactly) by name, in the order added.
    std::vector<std::pair<QString, host::Ptr<host::VBProject>>> mcolProjects;
    QString mstrCurrentProject;
    QString mstrCurrentTag;
    /// Column widths per list kind (slots 1 to 11; index 0 unused).
    std::array<std::vector<int>, 12> ColumnWidthTable;
    /// 0-based column by which a list was last sorted through a header click.
    int mintLastSortColumn = 0;
    /// The clicked node's tag differs from the previous one: the list builders recreate
    /// their columns.
    bool mblnNewColumns = false;

    /// The version form that holds the shared image list.
    about::FrmAbout &frmAbout() { return *m_frmAbout; }
    /// The Find dialog, created on first use; null before.
    find::FrmFind *frmFind() const { return m_frmFind.get(); }
    /// Creates the Find dialog if needed, shows it and refreshes its target list.
    void ShowFindDialog();
    /// The version dialog with this machine's memory figures, modal, centred on the screen.
    void ShowAboutDialog();
    /// A toolbar command, a node click or a reload is running (pending clicks can arrive
    /// while it lets window messages run).
    bool busy() const { return m_busy > 0; }
    /// While busy: says so in a message box and answers true, so the click is dropped.
    bool refuseWhileBusy();
    /// The inspection dialog, created on first use; null before.
    inspection::FrmOptimize *frmOptimize() const { return m_frmOptimize.get(); }
    /// Drops the last inspection results, creates the inspection dialog if needed, shows it
    /// and rebuilds its module tree.
    void ShowOptimizeDialog();

    // ---- host-facing events ----------------------------------------------------
    /// UserDocument_Initialize: runs once when the host creates the document.
    void UserDocument_Initialize();
    /// UserDocument_Resize: the tool window's inner size changed (twips).
    void resize(int width, int height);

    // ---- public methods ----------------------------------------------------------
    void FindNewProject(bool blnReLoad);
    void RemoveProject(const host::Ptr<host::VBProject> &objProject);
    void FindComponent(const host::Ptr<host::VBProject> &objProject,
                       const host::Ptr<host::VBComponent> &objVBComponent);
    void AddComponent(const QString &strProjectName, const host::Ptr<host::VBComponent> &objComponent);
    void SetStatusMessage(int intPanel, const QString &strMessage) override;
    void SetProgress(int intProgress, int intMaxValue) override;

    /// Shows the active code pane's selection in the system's text editor.
    void OpenEditor();
    /// The shown detail list as tab-separated text on the clipboard.
    void CopyListToClipboard();
    /// The text OpenEditor hands to the editor: the selection of `pane`.
    static QString selectedText(const host::Ptr<host::CodePane> &pane);

    /// Adds a row to the current tab's list; `subItems` are columns 2, 3, ...
    void AddDetailItem(const QString &key, const QStringList &subItems, const QString &text,
                       const QString &image) override;
    void SaveColumnWidths();
    void RestoreColumnWidths() override;
    /// The width slot of the list currently shown (1 to 11), 0 for none.
    int columnWidthSlot() const;

    // ---- detail lists --------------------------------------------------------------
    void ShowModuleList(bool createColumns);
    void ShowProcedureList(const QString &componentName, bool createColumns);
    void ShowControlCounts(bool createColumns);
    void ShowControlList(const QString &componentName, bool createColumns);
    void ShowProjectProperties(const QString &projectName, bool createColumns);
    void ShowReferences(bool createColumns);

    // ---- event handlers ----------------------------------------------------------
    void tbsProject_Click();
    void tvwProject_NodeClick(int index, controls::Node *node);
    void imgcboProject_Click();
    void lvwDetail_ColumnClick(int index, controls::ColumnHeader *columnHeader);
    void lvwDetail_DblClick(int index);
    void lvwDetail_KeyDown(int index, int &keyCode, int shift);
    void cboHelpWord_KeyDown(int &keyCode, int shift);
    void picSplit_MouseDown(int button, int shift, int x, int y);
    void picSplit_MouseMove(int button, int shift, int x, int y);
    void picSplit_MouseUp(int button, int shift, int x, int y);
    void cbrMain_HeightChanged();
    void tbrMain_ButtonClick(int index, controls::Button *button);
    /// Hides every code window, designer and object browser of the IDE.
    void CloseCodeWindows();
    /// Empties the Immediate window, when it is shown, by keystrokes.
    void ClearImmediateWindow();
    /// Shows or hides the help-word band and its box (the MSDN toggle).
    void showHelpWordBand(bool show);

    // ---- procedure call references ------------------------------------------------
    void AnalyzeProcedureCalls();
    void ShowCallees(controls::Node *node, bool createColumns);
    void ShowCallers(controls::Node *node, bool createColumns);

    // ---- search results ----------------------------------------------------------
    /// Builds the Search tab from the shared hits and shows the first node's list.
    void SetFindResult();
    void ShowFindList(bool createColumns);
    /// Opens the code pane of the selected hit at its line.
    void SelectFindLine();

    // ---- inspection report -------------------------------------------------------
    /// Builds the Optimize tab from the shared inspection results and shows the first project.
    void SetAnalizeResult();
    void ShowAnalizeReport(bool createColumns);

    // ---- what the analysis reads ------------------------------------------------
    int currentTab() const override { return mintCurrentTab; }
    QString currentProject() const override { return mstrCurrentProject; }
    QString currentTag() const override { return mstrCurrentTag; }
    controls::TreeView &tree(int index) override { return tvwProject(index); }
    controls::ListView &list(int index) override { return lvwDetail(index); }
    bool buttonDown(const QString &key) const override;

    /// The tree and list of the visible tab.
    controls::TreeView &currentTree() { return tvwProject(mintCurrentTab - 1); }
    controls::ListView &currentList() { return lvwDetail(mintCurrentTab - 1); }

    /// The project a node key belongs to: the text in front of the first "_".
    static QString projectOfKey(const QString &key);

private:
    void LoadImages();
    void SetupControls();
    void LayoutControls();
    void ReadTempPath();
    QString CreateTempFile();
    void BuildProjectTree(const host::Ptr<host::VBProject> &objProject);
    void addFolder(controls::TreeView &tree, const QString &projectName, const ComponentKind &kind);
    host::Ptr<host::VBProject> findInCollection(const QString &name) const;
    /// The IDE the add-in is connected to; 91 before the connection.
    static const host::VBE &vbe();
    void fillDetailList(int index, controls::Node *node);
    void sortByNumber(controls::ListView &list, int column);
    void AddHelpWordHistory();
    host::Ptr<host::VBComponent> selectedComponent(const QString &moduleName) const;
    void OpenModuleCode(int index);
    void OpenProcedureCode(int index);
    void OpenModuleDesigner(int index);
    void SelectDesignerControl(int index);

    /// Counts the running commands, node clicks and reloads while it is alive.
    struct BusyScope {
        explicit BusyScope(DocMain &doc) : m_doc(doc) { ++m_doc.m_busy; }
        ~BusyScope() { --m_doc.m_busy; }
        BusyScope(const BusyScope &) = delete;
        BusyScope &operator=(const BusyScope &) = delete;
        DocMain &m_doc;
    };

    std::unique_ptr<about::FrmAbout> m_frmAbout;
    std::unique_ptr<find::FrmFind> m_frmFind;
    std::unique_ptr<inspection::FrmOptimize> m_frmOptimize;
    std::vector<host::Subscription> m_subscriptions;
    bool m_initialized = false;
    int m_busy = 0;
};

} // namespace docmain

namespace docmain {

inline constexpr char kDocumentProgId[] = "Quillbox.docMain";

/// What the host's CreateToolWindow does for "Quillbox.docMain": creates the document
/// and runs its initialisation.
std::shared_ptr<DocMain> createDocument();

} // namespace docmain
