// The stand-in IDE through the host contract: loading, collections, events,
// command bars, code panes, windows, add-ins and bad input.
#include "support/error_number.h"
#include "ide/files/module_file.h"
#include "ide/files/project_sources.h"
#include "ide/shell/ide.h"
#include "support/test_project.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::errorNumber;
using host::ComponentType;
using host::Ptr;
using testing_support::TestProject;

namespace {
QString examplesDir() { return QStringLiteral(TESSARY_SOURCE_DIR "/examples"); }


std::vector<std::pair<QString, int>> componentsOf(const Ptr<host::VBProject> &project)
{
    std::vector<std::pair<QString, int>> list;
    auto components = project->vbComponents();
    for (int i = 1; i <= components->count(); ++i)
        list.emplace_back(components->item(i)->name(), int(components->item(i)->type()));
    return list;
}

} // namespace

TEST(IdeLoad, ExampleGroupLoadsEveryComponentKindInVbpOrder)
{
    ide::Ide ide;
    ide.load(examplesDir() + QStringLiteral("/Tessary.vbg"));
    EXPECT_TRUE(ide.diagnostics().empty()) << ide.diagnostics().front().message.toStdString();
    auto projects = ide.vbe()->vbProjects();
    ASSERT_EQ(projects->count(), 2);
    EXPECT_EQ(projects->startProject()->name(), QStringLiteral("Stock"));
    EXPECT_EQ(projects->fileName(), examplesDir() + QStringLiteral("/Tessary.vbg"));

    auto stock = projects->item(QStringLiteral("Stock"));
    EXPECT_EQ(int(stock->type()), 0);
    EXPECT_EQ(stock->description(), QStringLiteral("在庫管理システム (サンプル)"));
    EXPECT_EQ(stock->helpContextID(), 1000);
    EXPECT_EQ(stock->buildFileName(), examplesDir() + QStringLiteral("/bin/Stock.exe"));
    EXPECT_EQ(ide.codePageOf(stock), ide::files::CodePage::Cp932);
    const std::vector<std::pair<QString, int>> expected = {
        {"frmMain", 6},  {"frmOrder", 5},   {"frmAbout", 5},    {"basMain", 1},  {"basUtil", 1},
        {"clsOrder", 2}, {"cls在庫", 2},    {"rptOrders", 11},  {"readme.txt", 10}, {"Stock.res", 4}};
    EXPECT_EQ(componentsOf(stock), expected);

    auto gauge = projects->item(2);
    EXPECT_EQ(int(gauge->type()), 3);
    EXPECT_EQ(gauge->buildFileName(), examplesDir() + QStringLiteral("/Gauge/GaugeLib.ocx"));
    const std::vector<std::pair<QString, int>> gaugeExpected = {
        {"ctlGauge", 8}, {"ppgGauge", 7}, {"docViewer", 9}, {"clsRange", 2}, {"basGauge", 1}};
    EXPECT_EQ(componentsOf(gauge), gaugeExpected);

    auto order = stock->vbComponents()->item(QStringLiteral("frmOrder"));
    EXPECT_TRUE(order->properties()->item(QStringLiteral("MDIChild"))->value().toBool());
    EXPECT_FALSE(stock->vbComponents()->item(QStringLiteral("frmAbout"))->properties()->item(QStringLiteral("MDIChild"))->value().toBool());
    EXPECT_EQ(errorNumber([&] { stock->vbComponents()->item(QStringLiteral("readme.txt"))->codeModule(); }), 91);
    EXPECT_EQ(errorNumber([&] { stock->vbComponents()->item(QStringLiteral("Stock.res"))->codeModule(); }), 91);
    EXPECT_EQ(errorNumber([&] { stock->vbComponents()->item(QStringLiteral("nothing")); }), 9);
    EXPECT_EQ(errorNumber([&] { stock->vbComponents()->item(0); }), 9);
    EXPECT_EQ(stock->vbComponents()->item(QStringLiteral("basMain"))->designer(), nullptr);
}

TEST(IdeLoad, DesignerControlsAreListedNestedInFileOrder)
{
    ide::Ide ide;
    ide.load(examplesDir() + QStringLiteral("/Stock/Stock.vbp"));
    auto order = ide.vbe()->vbProjects()->item(1)->vbComponents()->item(QStringLiteral("frmOrder"));
    auto controls = order->designer()->vbControls();
    std::vector<std::tuple<QString, int, QString>> seen;
    for (int i = 1; i <= controls->count(); ++i) {
        auto c = controls->item(i);
        seen.emplace_back(c->name(), c->index(), c->progId());
    }
    const std::vector<std::tuple<QString, int, QString>> expected = {
        {"fraItem", -1, "VB.Frame"},         {"txtQty", 1, "VB.TextBox"},        {"txtQty", 0, "VB.TextBox"},
        {"cboItem", -1, "VB.ComboBox"},      {"lblQty", 0, "VB.Label"},          {"cmdAction", 1, "VB.CommandButton"},
        {"cmdAction", 0, "VB.CommandButton"}, {"chkUrgent", -1, "VB.CheckBox"}};
    EXPECT_EQ(seen, expected);
    auto frame = controls->item(1);
    EXPECT_EQ(frame->containedVBControls()->count(), 4);
    EXPECT_EQ(controls->item(2)->container()->name(), QStringLiteral("fraItem"));
    EXPECT_EQ(order->designer()->containedVBControls()->count(), 4);
    EXPECT_EQ(controls->item(2)->className(), QStringLiteral("TextBox"));
    EXPECT_EQ(controls->item(8)->properties()->item(QStringLiteral("Caption"))->value().toString(), QStringLiteral("至急"));
}

namespace {

using PropertyList = std::vector<std::pair<QString, QVariant>>;

PropertyList propertiesOf(const Ptr<host::Properties> &properties)
{
    PropertyList out;
    for (int i = 1; i <= properties->count(); ++i)
        out.emplace_back(properties->item(i)->name(), properties->item(i)->value());
    return out;
}

/// What a collection holds when filled from a designer block's values one after another:
/// `Name` first, a repeated key replacing the earlier value in place.
PropertyList filledFrom(const QString &name, const QList<QPair<QString, QVariant>> &values)
{
    PropertyList out{{QStringLiteral("Name"), name}};
    for (const auto &[key, value] : values) {
        auto same = std::find_if(out.begin(), out.end(), [&](const auto &p) {
            return p.first.compare(key, Qt::CaseInsensitive) == 0;
        });
        if (same != out.end())
            same->second = value;
        else
            out.emplace_back(key, value);
    }
    return out;
}

void collectNodes(const ide::files::ControlNode &node, std::vector<const ide::files::ControlNode *> &out)
{
    for (const auto &child : node.children) {
        out.push_back(&child);
        collectNodes(child, out);
    }
}

} // namespace

TEST(IdeLoad, DesignerPropertiesReadOnFirstUseHoldTheFilesValues)
{
    // Controls' and components' Properties are built when first asked for: whatever the order
    // of the first reads (nested controls before their containers here), each holds the values
    // of the file's block as a whole parse of the file gives them.
    ide::Ide ide;
    ide.load(examplesDir() + QStringLiteral("/Stock/Stock.vbp"));
    auto components = ide.vbe()->vbProjects()->item(1)->vbComponents();
    int checkedControls = 0;
    for (const char *formName : {"frmMain", "frmOrder", "frmAbout"}) {
        SCOPED_TRACE(formName);
        auto component = components->item(QString::fromLatin1(formName));
        QFile file(component->fileNames(1));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        std::vector<ide::files::Diagnostic> diagnostics;
        const QStringList lines = ide::files::decodeLines(file.readAll(), ide::files::CodePage::Cp932,
                                                          file.fileName(), diagnostics);
        const ide::files::ModuleFile parsed = ide::files::parseModule(lines, file.fileName(), diagnostics);
        std::vector<const ide::files::ControlNode *> nodes;
        collectNodes(parsed.root, nodes);

        auto controls = component->designer()->vbControls();
        ASSERT_EQ(controls->count(), int(nodes.size()));
        for (int i = controls->count(); i >= 1; --i) {
            const auto *node = nodes[size_t(i - 1)];
            auto first = controls->item(i)->properties();
            EXPECT_EQ(propertiesOf(first), filledFrom(node->name, node->properties)) << node->name.toStdString();
            EXPECT_EQ(controls->item(i)->properties(), first) << "built once";
            ++checkedControls;
        }
        PropertyList expected = filledFrom(component->name(), parsed.root.properties);
        if (component->type() == ComponentType::VBForm
            && std::none_of(expected.begin(), expected.end(), [](const auto &p) { return p.first == u"MDIChild"; }))
            expected.emplace_back(QStringLiteral("MDIChild"), false);
        EXPECT_EQ(propertiesOf(component->properties()), expected);
    }
    EXPECT_GT(checkedControls, 8);
}

TEST(IdeLoad, ReferencesListBuiltInsFirstThenVbpOrder)
{
    auto ide = TestProject()
                   .vbpLine(QStringLiteral("Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#C:\\WINDOWS\\system32\\stdole2.tlb#OLE Automation"))
                   .vbpLine(QStringLiteral("Reference=*\\G{11111111-2222-3333-4444-555555555555}#a.1#9#..\\lib\\My Lib.dll#My Library"))
                   .vbpLine(QStringLiteral("Reference=*\\A..\\Other\\Other.vbp"))
                   .module(QStringLiteral("Module1"), QStringLiteral("Option Explicit\n"))
                   .build();
    auto refs = ide->vbe()->vbProjects()->item(1)->references();
    ASSERT_EQ(refs->count(), 5);
    std::vector<std::tuple<QString, bool, bool, int, int>> seen;
    for (int i = 1; i <= refs->count(); ++i) {
        auto r = refs->item(i);
        seen.emplace_back(r->name(), r->builtIn(), r->isBroken(), r->major(), r->minor());
    }
    const std::vector<std::tuple<QString, bool, bool, int, int>> expected = {
        {"VB", true, false, 6, 0},       {"VBRUN", true, false, 6, 0}, {"stdole", false, false, 2, 0},
        {"My Lib", false, true, 10, 1}, {"Other", false, true, 0, 0}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(refs->item(4)->description(), QStringLiteral("My Library"));
    EXPECT_EQ(int(refs->item(5)->type()), 1);
}

TEST(IdeProjects, GroupLoadRaisesOneItemAddedPerProjectAfterItsComponents)
{
    ide::Ide ide;
    auto events = ide.vbe()->events()->vbProjectsEvents();
    std::vector<std::pair<QString, int>> added;
    auto sub = events->ItemAdded.connect([&](const Ptr<host::VBProject> &p) {
        added.emplace_back(p->name(), p->vbComponents()->count());
    });
    ide.vbe()->vbProjects()->addFromFile(examplesDir() + QStringLiteral("/Tessary.vbg"), false);
    const std::vector<std::pair<QString, int>> expected = {{"Stock", 10}, {"GaugeLib", 5}};
    EXPECT_EQ(added, expected);
}

TEST(IdeProjects, RemovedProjectIsReadableInItemRemovedThenRaises91)
{
    auto fs = std::make_shared<ide::files::MemoryFileSystem>();
    TestProject(QStringLiteral("Alpha")).module(QStringLiteral("Module1"), QStringLiteral("Sub A()\nEnd Sub\n")).writeTo(*fs);
    TestProject(QStringLiteral("Beta")).module(QStringLiteral("Module1"), QStringLiteral("Sub B()\nEnd Sub\n")).writeTo(*fs);
    fs->add(QStringLiteral("/project/Alpha2/Alpha2.vbp"), "Type=Exe\r\nName=\"Alpha\"\r\n");
    ide::Ide ide(fs);
    auto projects = ide.vbe()->vbProjects();
    projects->addFromFile(QStringLiteral("/project/Alpha/Alpha.vbp"), false);
    projects->addFromFile(QStringLiteral("/project/Beta/Beta.vbp"), false);
    ASSERT_EQ(projects->count(), 2);

    // A second project of the same name is refused.
    EXPECT_EQ(errorNumber([&] { projects->addFromFile(QStringLiteral("/project/Alpha2/Alpha2.vbp"), false); }), 53);
    EXPECT_EQ(projects->count(), 2);

    auto alpha = projects->item(1);
    auto module = alpha->vbComponents()->item(1)->codeModule();
    QString nameInHandler;
    int componentsInHandler = -1;
    auto sub = ide.vbe()->events()->vbProjectsEvents()->ItemRemoved.connect([&](const Ptr<host::VBProject> &p) {
        nameInHandler = p->name();
        componentsInHandler = p->vbComponents()->count();
    });
    module->codePane()->show();
    ASSERT_NE(ide.vbe()->activeCodePane(), nullptr);
    projects->remove(alpha);
    EXPECT_EQ(nameInHandler, QStringLiteral("Alpha"));
    EXPECT_EQ(componentsInHandler, 1);
    EXPECT_EQ(projects->count(), 1);
    EXPECT_EQ(errorNumber([&] { alpha->name(); }), 91);
    EXPECT_EQ(errorNumber([&] { module->countOfLines(); }), 91);
    EXPECT_EQ(ide.vbe()->activeCodePane(), nullptr);
    EXPECT_EQ(ide.vbe()->activeVBProject()->name(), QStringLiteral("Beta"));
}

TEST(IdeProjects, ComponentEventsFollowTheirProjectFilter)
{
    auto ide = TestProject().module(QStringLiteral("Module1"), QStringLiteral("")).build();
    auto project = ide->vbe()->vbProjects()->item(1);
    auto all = ide->vbe()->events()->vbComponentsEvents(nullptr);
    auto mine = ide->vbe()->events()->vbComponentsEvents(project);
    QStringList seen;
    auto s1 = all->ItemAdded.connect([&](const Ptr<host::VBComponent> &c) { seen << QStringLiteral("all:") + c->name(); });
    auto s2 = mine->ItemAdded.connect([&](const Ptr<host::VBComponent> &c) { seen << QStringLiteral("mine:") + c->name(); });
    auto added = project->vbComponents()->add(ComponentType::ClassModule);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("all:Class1"), QStringLiteral("mine:Class1")}));
    EXPECT_EQ(added->codeModule()->countOfLines(), 0);
    s1.reset();
    project->vbComponents()->add(ComponentType::StdModule);
    EXPECT_EQ(seen.last(), QStringLiteral("mine:Module2"));
    EXPECT_EQ(seen.size(), 3);
}

TEST(IdeCommandBars, AddedControlRaisesClickOncePerSinkAndCancelsTheDefault)
{
    ide::Ide ide;
    auto bars = ide.vbe()->commandBars();
    auto addIns = bars->item(QStringLiteral("Add-Ins"));
    const int before = addIns->controls()->count();
    auto control = addIns->controls()->add(host::ControlType::Button);
    control->setCaption(QStringLiteral("Tessary"));
    EXPECT_EQ(addIns->controls()->count(), before + 1);
    EXPECT_EQ(addIns->controls()->item(before + 1)->caption(), QStringLiteral("Tessary"));

    int clicks = 0;
    bool handledSeenBySecond = false;
    auto e1 = ide.vbe()->events()->commandBarEvents(control);
    auto e2 = ide.vbe()->events()->commandBarEvents(control);
    auto s1 = e1->Click.connect([&](const Ptr<host::CommandBarControl> &, bool &handled, bool &) {
        ++clicks;
        handled = true;
    });
    auto s2 = e2->Click.connect([&](const Ptr<host::CommandBarControl> &, bool &handled, bool &) {
        ++clicks;
        handledSeenBySecond = handled;
    });
    control->execute();
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(handledSeenBySecond);
    control->deleteControl();
    EXPECT_EQ(addIns->controls()->count(), before);

    // A built-in command runs unless a sink cancels it.
    auto window = bars->item(QStringLiteral("Window"));
    auto tile = window->controls()->item(QStringLiteral("上下に並べて表示(&H)"));
    tile->execute();
    EXPECT_EQ(ide.executedCommands(), QStringList{QStringLiteral("TileHorizontally")});
    auto e3 = ide.vbe()->events()->commandBarEvents(tile);
    auto s3 = e3->Click.connect([](const Ptr<host::CommandBarControl> &, bool &, bool &cancel) { cancel = true; });
    tile->execute();
    EXPECT_EQ(ide.executedCommands().size(), 1);
    EXPECT_EQ(errorNumber([&] { bars->item(QStringLiteral("No Such Bar")); }), 5);
}

TEST(IdeCommandBars, ProjectCaptionsFollowTheActiveProject)
{
    auto ide = TestProject(QStringLiteral("在庫")).module(QStringLiteral("Module1"), QString()).build();
    auto bar = ide->vbe()->commandBars()->item(QStringLiteral("Project"));
    QStringList captions;
    for (int i = 1; i <= bar->controls()->count(); ++i)
        captions << bar->controls()->item(i)->caption();
    EXPECT_TRUE(captions.contains(QStringLiteral("在庫 のﾌﾟﾛﾊﾟﾃｨ(&E)..."))) << captions.join(QLatin1Char('|')).toStdString();
    auto file = ide->vbe()->commandBars()->item(QStringLiteral("File"));
    bool make = false;
    for (int i = 1; i <= file->controls()->count(); ++i)
        make = make || file->controls()->item(i)->caption().contains(QStringLiteral("在庫.exe の作成"));
    EXPECT_TRUE(make);
}

TEST(IdeCodePane, SelectionIsClippedAndShowActivatesThePane)
{
    auto ide = TestProject().module(QStringLiteral("Module1"), QStringLiteral("Sub A()\n    x = 1\nEnd Sub\n")).build();
    auto module = ide->vbe()->vbProjects()->item(1)->vbComponents()->item(1)->codeModule();
    auto pane = module->codePane();
    EXPECT_EQ(ide->vbe()->activeCodePane(), nullptr);
    pane->show();
    EXPECT_EQ(ide->vbe()->activeCodePane(), pane);
    EXPECT_EQ(int(pane->window()->type()), 0);
    EXPECT_TRUE(pane->window()->visible());
    pane->setSelection(2, 5, 2, 500);
    int sl, sc, el, ec;
    pane->getSelection(sl, sc, el, ec);
    EXPECT_EQ(std::tie(sl, sc, el, ec), std::make_tuple(2, 5, 2, 10));
    pane->setSelection(-3, 0, 99, 1);
    pane->getSelection(sl, sc, el, ec);
    EXPECT_EQ(std::tie(sl, sc, el, ec), std::make_tuple(1, 1, 3, 1));
    EXPECT_EQ(ide->vbe()->codePanes()->count(), 1);
    pane->window()->close();
    EXPECT_EQ(ide->vbe()->codePanes()->count(), 0);
    EXPECT_EQ(ide->vbe()->activeCodePane(), nullptr);
}

TEST(IdeCodePane, ACaretInViewStaysInViewWhenTheViewShrinks)
{
    QString code;
    for (int i = 1; i <= 60; ++i)
        code += QStringLiteral("' line %1\n").arg(i);
    auto ide = TestProject().module(QStringLiteral("Module1"), code).build();
    auto pane = ide->vbe()->vbProjects()->item(1)->vbComponents()->item(1)->codeModule()->codePane();
    pane->show();
    pane->setSelection(25, 1, 25, 1); // in view with the default height
    EXPECT_EQ(pane->topLine(), 1);
    ide->setCountOfVisibleLines(pane, 10);
    EXPECT_LE(pane->topLine(), 25);
    EXPECT_GT(pane->topLine() + pane->countOfVisibleLines(), 25);
    pane->setTopLine(50); // scrolled away by the user: a resize does not bring it back
    ide->setCountOfVisibleLines(pane, 8);
    EXPECT_EQ(pane->topLine(), 50);
    pane->window()->close();
    EXPECT_EQ(ide->vbe()->codePanes()->count(), 0);
    EXPECT_EQ(ide->vbe()->activeCodePane(), nullptr);
}

namespace {
class Document : public host::ComObject {
public:
    int created = 1;
};

class RecordingAddIn : public host::AddinInstance {
public:
    QStringList *log;
    explicit RecordingAddIn(QStringList *l) : log(l) {}
    void onConnection(const Ptr<host::VBE> &vbe, host::ConnectMode mode, const Ptr<host::AddIn> &addIn) override
    {
        *log << QStringLiteral("connect %1 %2").arg(int(mode)).arg(addIn->connect());
        Ptr<host::ComObject> doc;
        auto window = vbe->windows()->createToolWindow(addIn, QStringLiteral("Test.Doc"), QStringLiteral("Tool"),
                                                       QStringLiteral("{00000000-0000-0000-0000-000000000001}"), doc);
        *log << QStringLiteral("window %1 %2").arg(window->caption()).arg(doc != nullptr);
    }
    void onDisconnection(host::DisconnectMode mode) override { *log << QStringLiteral("disconnect %1").arg(int(mode)); }
};
} // namespace

TEST(IdeAddins, ConnectCreatesTheClassAndToolWindowDisconnectReleasesIt)
{
    ide::Ide ide;
    QStringList log;
    ide.registerDocument(QStringLiteral("Test.Doc"), [] { return std::make_shared<Document>(); });
    ide.registerAddIn(QStringLiteral("Test.Connect"), QStringLiteral("Test add-in"),
                      [&] { return std::make_shared<RecordingAddIn>(&log); });
    auto addIn = ide.vbe()->addins()->item(QStringLiteral("Test.Connect"));
    EXPECT_EQ(addIn->guid().size(), 38);
    addIn->setConnect(true);
    addIn->setConnect(true);   // already connected: nothing
    EXPECT_NE(addIn->object(), nullptr);
    addIn->setConnect(false);
    EXPECT_EQ(addIn->object(), nullptr);
    EXPECT_EQ(log, (QStringList{QStringLiteral("connect 0 1"), QStringLiteral("window Tool 1"), QStringLiteral("disconnect 1")}));
    auto tool = ide.vbe()->windows()->item(QStringLiteral("Tool"));
    EXPECT_EQ(int(tool->type()), 15);
    EXPECT_NE(std::dynamic_pointer_cast<Document>(ide.documentOf(tool)), nullptr);
    EXPECT_EQ(errorNumber([&] { ide.vbe()->addins()->item(QStringLiteral("Nope.Connect")); }), 9);
    Ptr<host::ComObject> doc;
    EXPECT_EQ(errorNumber([&] { ide.vbe()->windows()->createToolWindow(addIn, QStringLiteral("Nope.Doc"), QString(), QString(), doc); }), 429);
}

TEST(IdeSeam, NamedCallThrowsTheRequestedError)
{
    auto ide = TestProject().module(QStringLiteral("Module1"), QStringLiteral("Sub A()\nEnd Sub\n")).build();
    auto module = ide->vbe()->vbProjects()->item(1)->vbComponents()->item(1)->codeModule();
    ide->failOn(QStringLiteral("CodeModule.Find"), 7);
    int a = 1, b = 1, c = -1, d = -1;
    EXPECT_EQ(errorNumber([&] { module->find(QStringLiteral("A"), a, b, c, d); }), 7);
    ide->clearFaults();
    EXPECT_TRUE(module->find(QStringLiteral("A"), a, b, c, d, true));
}

TEST(IdeBadInput, EveryProblemIsADiagnosticAndTheRestLoads)
{
    auto fs = std::make_shared<ide::files::MemoryFileSystem>();
    const QByteArray vbp = "Type=Exe\r\nModule=Good; good.bas\r\nModule=Missing; missing.bas\r\n"
                           "Form=broken.frm\r\nClass=Garbage; garbage.cls\r\nModule=Huge; huge.bas\r\n"
                           "Form=Folder\r\nName=\"Bad\"\r\n";
    fs->add(QStringLiteral("/p/bad.vbp"), vbp);
    fs->add(QStringLiteral("/p/good.bas"), "Attribute VB_Name = \"Good\"\r\nSub Ok()\r\nEnd Sub\r\n");
    fs->add(QStringLiteral("/p/broken.frm"), "VERSION 5.00\r\nBegin VB.Form broken\r\n   Begin VB.TextBox t\r\n"
                                             "Attribute VB_Name = \"broken\"\r\nSub X()\r\nEnd Sub\r\n");
    QByteArray garbage;
    for (int i = 0; i < 20000; ++i)
        garbage.append(char((i * 7919) % 256));
    fs->add(QStringLiteral("/p/garbage.cls"), garbage);
    QByteArray huge = "Attribute VB_Name = \"Huge\"\r\nConst S = \"";
    huge.append(QByteArray(400000, 'x'));
    huge.append("\"\r\nSub Y()\r\nEnd Sub\r\n\0\0\r\n");
    fs->add(QStringLiteral("/p/huge.bas"), huge);
    fs->addDirectory(QStringLiteral("/p/Folder"));
    fs->add(QStringLiteral("/p/empty.vbp"), QByteArray());

    ide::Ide ide(fs);
    ide.load(QStringLiteral("/p/bad.vbp"));
    ide.load(QStringLiteral("/p/empty.vbp"));
    ide.load(QStringLiteral("/p/nothing.vbp"));
    ide.load(QStringLiteral("/p"));
    auto projects = ide.vbe()->vbProjects();
    ASSERT_EQ(projects->count(), 1);
    auto components = projects->item(1)->vbComponents();
    EXPECT_NO_THROW(components->item(QStringLiteral("Good")));
    EXPECT_NO_THROW(components->item(QStringLiteral("Huge")));
    EXPECT_EQ(components->item(QStringLiteral("Huge"))->codeModule()->procStartLine(QStringLiteral("Y"), host::ProcKind::Proc), 2);
    QStringList files;
    for (const auto &d : ide.diagnostics()) {
        EXPECT_FALSE(d.message.isEmpty());
        files << d.file.section(QLatin1Char('/'), -1);
    }
    for (const char *name : {"bad.vbp", "broken.frm", "huge.bas", "empty.vbp", "nothing.vbp", "p"})
        EXPECT_TRUE(files.contains(QString::fromLatin1(name))) << name << " in " << files.join(QLatin1Char(',')).toStdString();
}

TEST(IdeBadInput, UnreadableProjectOnDiskIsReported)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir(dir.path()).mkdir(QStringLiteral("proj.vbp"));
    ide::Ide ide;
    EXPECT_TRUE(ide.load(dir.path() + QStringLiteral("/proj.vbp")).empty());
    ASSERT_EQ(ide.diagnostics().size(), 1u);
    EXPECT_TRUE(ide.diagnostics()[0].file.endsWith(QStringLiteral("proj.vbp")));
}
