#pragma once
// Connect: the add-in's connection class. The IDE calls it on connection and
// disconnection; it adds the two menu commands, follows the IDE's project events
// and owns the tool window for the time it is connected.
#include "host/vbide.h"

namespace addin {

inline constexpr char kConnectProgId[] = "Quillbox.Connect";
inline constexpr char kAddInDescription[] = "Tessary - VB6 ｺｰﾄﾞ ｴｸｽﾌﾟﾛｰﾗ";
/// Keys the tool window's docking position in the IDE.
inline constexpr char kGuidPosition[] = "{6D3C2A0E-5B8F-4E21-9A47-3F1C0B7D2E95}";
inline constexpr char kToolWindowCaption[] = "Tessary";
inline constexpr char kEditorCommandCaption[] = "ﾃｷｽﾄ ｴﾃﾞｨﾀで表示";

class Connect : public host::AddinInstance, public std::enable_shared_from_this<Connect> {
public:
    Connect();
    ~Connect() override;

    void onConnection(const host::Ptr<host::VBE> &application, host::ConnectMode connectMode,
                      const host::Ptr<host::AddIn> &addInInst) override;
    void onDisconnection(host::DisconnectMode removeMode) override;

    /// The "Tessary" command of the Add-Ins menu: an existing one of that caption, a new
    /// one, or null when the IDE has no such menu.
    host::Ptr<host::CommandBarControl> AddToAddInCommandBar(const QString &sCaption);
    host::Ptr<host::CommandBarControl> AddToCodeWindowMenu(const QString &sCaption);

    // The event sources; setting one subscribes, setting null unsubscribes.
    void setMenuHandler(host::Ptr<host::CommandBarEvents> source);
    void setContextMenuHandler(host::Ptr<host::CommandBarEvents> source);
    void setRefHandler(host::Ptr<host::ReferencesEvents> source);
    void setPrjHandler(host::Ptr<host::VBProjectsEvents> source);
    void setCmpHandler(host::Ptr<host::VBComponentsEvents> source);
    void setCtlHandler(host::Ptr<host::VBControlsEvents> source);
    const host::Ptr<host::CommandBarEvents> &MenuHandler() const { return m_menuHandler; }
    const host::Ptr<host::CommandBarEvents> &ContextMenuHandler() const { return m_contextMenuHandler; }
    const host::Ptr<host::ReferencesEvents> &RefHandler() const { return m_refHandler; }
    const host::Ptr<host::VBProjectsEvents> &PrjHandler() const { return m_prjHandler; }
    const host::Ptr<host::VBComponentsEvents> &CmpHandler() const { return m_cmpHandler; }
    const host::Ptr<host::VBControlsEvents> &CtlHandler() const { return m_ctlHandler; }

    // Event handlers.
    void MenuHandler_Click(const host::Ptr<host::CommandBarControl> &control, bool &handled, bool &cancelDefault);
    void ContextMenuHandler_Click(const host::Ptr<host::CommandBarControl> &control, bool &handled,
                                  bool &cancelDefault);
    void PrjHandler_ItemAdded(const host::Ptr<host::VBProject> &project);
    void PrjHandler_ItemRemoved(const host::Ptr<host::VBProject> &project);
    void CmpHandler_ItemAdded(const host::Ptr<host::VBComponent> &component);

    const host::Ptr<host::CommandBarControl> &AddInMenuControl() const { return m_addInMenuControl; }
    const host::Ptr<host::CommandBarControl> &CodeWindowMenuControl() const { return m_codeWindowMenuControl; }

private:
    host::Ptr<host::CommandBarControl> addToCommandBar(const QString &barName, const QString &caption, bool withFace);
    void createToolWindow(const host::Ptr<host::VBE> &vbe, const host::Ptr<host::AddIn> &addIn);

    host::Ptr<host::CommandBarEvents> m_menuHandler;
    host::Ptr<host::CommandBarEvents> m_contextMenuHandler;
    host::Ptr<host::ReferencesEvents> m_refHandler;
    host::Ptr<host::VBProjectsEvents> m_prjHandler;
    host::Ptr<host::VBComponentsEvents> m_cmpHandler;
    host::Ptr<host::VBControlsEvents> m_ctlHandler;
    std::vector<host::Subscription> m_menuSubscriptions;
    std::vector<host::Subscription> m_contextSubscriptions;
    std::vector<host::Subscription> m_prjSubscriptions;
    std::vector<host::Subscription> m_cmpSubscriptions;
    host::Ptr<host::CommandBarControl> m_addInMenuControl;
    host::Ptr<host::CommandBarControl> m_codeWindowMenuControl;
};

/// The connection class as the IDE's add-in list creates it.
host::Ptr<host::AddinInstance> createConnect();

} // namespace addin
