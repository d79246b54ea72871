#pragma once

namespace host {

/// vbext_ComponentType.
enum class ComponentType {
    StdModule = 1,
    ClassModule = 2,
    MSForm = 3,
    ResFile = 4,
    VBForm = 5,
    VBMDIForm = 6,
    PropPage = 7,
    UserControl = 8,
    DocObject = 9,
    RelatedDocument = 10,
    ActiveXDesigner = 11,
};

/// vbext_ProjectType.
enum class ProjectType {
    StandardExe = 0,
    ActiveXExe = 1,
    ActiveXDll = 2,
    ActiveXControl = 3,
};

/// vbext_ProcKind.
enum class ProcKind {
    Proc = 0,
    Let = 1,
    Set = 2,
    Get = 3,
};

/// vbext_MemberType.
enum class MemberType {
    Method = 1,
    Property = 2,
    Variable = 3,
    Event = 4,
    Const = 5,
};

/// vbext_Scope.
enum class Scope {
    Private = 1,
    Public = 2,
    Friend = 3,
};

/// vbext_RefKind.
enum class ReferenceKind {
    TypeLib = 0,
    Project = 1,
};

/// vbext_WindowType.
enum class WindowType {
    CodeWindow = 0,
    Designer = 1,
    Browser = 2,
    Watch = 3,
    Locals = 4,
    Immediate = 5,
    ProjectWindow = 6,
    PropertyWindow = 7,
    Find = 8,
    FindReplace = 9,
    Toolbox = 10,
    LinkedWindowFrame = 11,
    MainWindow = 12,
    Preview = 13,
    ColorPalette = 14,
    ToolWindow = 15,
};

/// ext_ConnectMode.
enum class ConnectMode {
    AfterStartup = 0,
    Startup = 1,
    External = 2,
    CommandLine = 3,
};

/// ext_DisconnectMode.
enum class DisconnectMode {
    HostShutdown = 0,
    UserClosed = 1,
};

/// MsoControlType values the IDE's command bars use.
enum class ControlType {
    Button = 1,
    Popup = 10,
};

} // namespace host
