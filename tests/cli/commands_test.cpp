// The command-line front end on the bundled examples: dump keys and the ui view.
#include "cli/commands.h"
#include "cli/dump.h"
#include "cli/ui_view.h"
#include "frontend/session.h"
#include "frontend/ui_actions.h"
#include "controls/platform.h"
#include "docmain/doc_main.h"
#include "shared/bas_quillbox.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QFile>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {
QString examples() { return QStringLiteral(TESSARY_SOURCE_DIR "/examples/Tessary.vbg"); }

QJsonObject parse(const frontend::Json &json)
{
    QJsonParseError error;
    const auto doc = QJsonDocument::fromJson(json.dump().toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return doc.object();
}

QStringList keys(const QJsonObject &o)
{
    QStringList k = o.keys();
    k.sort();
    return k;
}
} // namespace

TEST(TessaryDump, KeysOfEveryLevel)
{
    ide::Ide ide;
    ide.load(examples());
    QStringList chunks;
    frontend::JsonWriter out([&](const QString &chunk) { chunks << chunk; });
    cli::dumpIde(ide, true, QString(), out);
    const QJsonObject root = QJsonDocument::fromJson(chunks.join(QLatin1Char('\n')).toUtf8()).object();
    EXPECT_EQ(keys(root), (QStringList{"diagnostics", "projects"}));
    const QJsonObject project = root[QStringLiteral("projects")].toArray()[0].toObject();
    EXPECT_EQ(keys(project), (QStringList{"buildFileName", "components", "description", "fileName", "helpContextId",
                                          "helpFile", "name", "references", "type"}));
    EXPECT_EQ(keys(project[QStringLiteral("references")].toArray()[0].toObject()),
              (QStringList{"builtIn", "description", "fullPath", "guid", "isBroken", "name"}));
    const QJsonArray components = project[QStringLiteral("components")].toArray();
    const QJsonObject form = components[1].toObject();   // frmOrder
    EXPECT_EQ(keys(form), (QStringList{"controls", "countOfDeclarationLines", "countOfLines", "lines", "mdiChild",
                                       "members", "name", "procs", "type"}));
    EXPECT_TRUE(form[QStringLiteral("mdiChild")].toBool());
    EXPECT_EQ(keys(form[QStringLiteral("procs")].toArray()[0].toObject()),
              (QStringList{"bodyLine", "countLines", "kind", "name", "startLine"}));
    EXPECT_EQ(keys(form[QStringLiteral("controls")].toArray()[0].toObject()), (QStringList{"index", "name", "type"}));
    EXPECT_EQ(form[QStringLiteral("lines")].toArray().size(), form[QStringLiteral("countOfLines")].toInt());
    const QJsonObject module = components[3].toObject();   // basMain
    EXPECT_FALSE(module.contains(QStringLiteral("mdiChild")));
    EXPECT_FALSE(module.contains(QStringLiteral("controls")));
    const QJsonObject related = components[8].toObject();   // readme.txt
    EXPECT_FALSE(related.contains(QStringLiteral("countOfDeclarationLines")));
    EXPECT_FALSE(related.contains(QStringLiteral("countOfLines")));
}

TEST(TessaryUi, ExamplesShowTheExpectedTreeAndActionsReachTheModels)
{
    controls::HeadlessPlatform platform;
    controls::ScopedPlatform scoped(platform);
    shared::resetBasQuillbox();
    frontend::Session s = frontend::openSession(examples(), ide::files::CodePage::Auto);
    std::vector<frontend::UiAction> actions;
    QString error;
    ASSERT_TRUE(frontend::parseUiActions({"--expand", "Stock_Cls", "--click", "Stock_cls在庫", "--resize", "9000", "6000"},
                                    actions, error));
    for (const auto &a : actions)
        frontend::applyUiAction(s, a);
    const QJsonObject ui = parse(cli::uiState(s, {}));
    EXPECT_EQ(keys(ui), (QStringList{"forms", "ide", "layout", "lists", "messages", "progress", "projectBox", "status",
                                     "tab", "toolbars", "trees"}));
    const QJsonArray roots = ui[QStringLiteral("trees")].toArray()[0].toObject()[QStringLiteral("nodes")].toArray();
    ASSERT_EQ(roots.size(), 2);
    EXPECT_EQ(roots[0].toObject()[QStringLiteral("key")].toString(), QStringLiteral("GaugeLib"));
    const QJsonArray folders = roots[1].toObject()[QStringLiteral("children")].toArray();
    QStringList folderKeys;
    for (const auto &f : folders)
        folderKeys << f.toObject()[QStringLiteral("key")].toString();
    EXPECT_EQ(folderKeys, (QStringList{"Stock_References", "Stock_VBForm", "Stock_VBMDIForm", "Stock_Std", "Stock_Cls",
                                       "Stock_ActiveX"}));
    const QJsonObject classes = folders[4].toObject();
    EXPECT_TRUE(classes[QStringLiteral("expanded")].toBool());
    const QJsonObject cls = classes[QStringLiteral("children")].toArray()[1].toObject();
    EXPECT_EQ(cls[QStringLiteral("text")].toString(), QStringLiteral("cls在庫"));
    EXPECT_TRUE(cls[QStringLiteral("selected")].toBool());
    EXPECT_TRUE(cls[QStringLiteral("visible")].toBool());
    EXPECT_EQ(ui[QStringLiteral("status")].toArray()[3].toString(), QStringLiteral("cls在庫"));
    EXPECT_EQ(ui[QStringLiteral("layout")].toObject()[QStringLiteral("docMain")].toArray()[2].toInt(), 9000);
    EXPECT_EQ(ui[QStringLiteral("projectBox")].toObject()[QStringLiteral("selected")].toString(), QStringLiteral("Stock"));

    EXPECT_FALSE(frontend::parseUiActions({"--bogus"}, actions, error));
    EXPECT_FALSE(frontend::parseUiActions({"--resize", "1"}, actions, error));
    EXPECT_THROW(frontend::applyUiAction(s, {QStringLiteral("click"), {QStringLiteral("NoSuchKey")}, {}}), host::Error);
    shared::resetBasQuillbox();
}

namespace {
struct RunResult {
    int code = -1;
    QString out;
    QString err;
};

RunResult tessary(const QStringList &args)
{
    RunResult r;
    const frontend::Console console{[&](const QString &t) { r.out += t + QLatin1Char('\n'); },
                                    [&](const QString &t) { r.err += t + QLatin1Char('\n'); }};
    r.code = cli::run(args, console);
    return r;
}
} // namespace

TEST(TessaryExitCodes, LoadedNothingLoadedAndUsageAsGrepHasThem)
{
    EXPECT_EQ(tessary({"dump", examples()}).code, 0);
    EXPECT_EQ(tessary({"ui", examples(), "--tab", "2"}).code, 0);

    const QString missing = QStringLiteral(TESSARY_SOURCE_DIR "/examples/missing.vbp");
    for (const char *command : {"dump", "ui"}) {
        const RunResult r = tessary({command, missing});
        EXPECT_EQ(r.code, 1) << command;
        EXPECT_TRUE(r.err.contains(QStringLiteral("missing.vbp"))) << r.err.toStdString();
    }

    const std::vector<QStringList> usage = {
        {},
        {"bogus", examples()},
        {"dump"},
        {"dump", "--bogus", examples()},
        {"dump", "--encoding", "ebcdic", examples()},
        {"dump", "--encoding"},
        {"ui", examples(), "--bogus"},
        {"ui", examples(), "--set", "x=1"},
    };
    for (const QStringList &args : usage) {
        const RunResult r = tessary(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("usage:"))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(TessaryExitCodes, AnActionOnSomethingThatDoesNotExistSaysWhich)
{
    const std::vector<std::pair<QStringList, QString>> cases = {
        {{"--form", "frmNone", "--press", "cmdOK"}, "frmNone"},
        {{"--form", "docMain", "--press", "cmdNone"}, "cmdNone"},
        {{"--form", "docMain", "--set", "\"\\\x01日本=1"}, "\"\\\x01日本"},
        {{"--click", "NoSuchKey"}, "NoSuchKey"},
        {{"--button", "NOBUTTON"}, "NOBUTTON"},
    };
    for (const auto &[actions, name] : cases) {
        const RunResult r = tessary(QStringList{QStringLiteral("ui"), examples()} + actions);
        EXPECT_EQ(r.code, 2) << actions.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(name)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(TessaryUi, EveryButtonOfBothToolbarsRunsWithoutAMessage)
{
    const QStringList keys = {"REFRESH", "DEPENDENCY", "PROC",    "CTRL",      "DOWN",      "UP",    "SAVE",
                              "COPY",    "FIND",       "EDITOR",  "ABOUT",     "OPEN",      "PRJPROP", "REFERENCE",
                              "COMPONENT", "ADDIN",    "COMPILE", "WIPER",     "MSDN",      "HORIZONTAL",
                              "VERTICAL", "TILE",      "ICON",    "CLOSE"};
    for (const QString &key : keys) {
        const RunResult r = tessary({"ui", examples(), "--click", "Stock_basMain", "--button", key});
        ASSERT_EQ(r.code, 0) << key.toStdString() << r.err.toStdString();
        const QJsonObject ui = QJsonDocument::fromJson(r.out.toUtf8()).object();
        EXPECT_TRUE(ui[QStringLiteral("messages")].toArray().isEmpty()) << key.toStdString() << r.out.toStdString();
    }
    // The IDE shows what its commands did.
    const QJsonObject ide = QJsonDocument::fromJson(tessary({"ui", examples(), "--button", "REFERENCE"}).out.toUtf8())
                                .object()[QStringLiteral("ide")]
                                .toObject();
    EXPECT_EQ(ide[QStringLiteral("dialog")].toObject()[QStringLiteral("command")].toString(), QStringLiteral("References"));
}

TEST(TessaryExplore, TreeProcsAndCallsSayWhatIsMissing)
{
    EXPECT_EQ(tessary({"tree", examples()}).code, 0);
    EXPECT_EQ(tessary({"procs", examples(), "Stock.basUtil"}).code, 0);
    const std::vector<std::pair<QStringList, QString>> cases = {
        {{"procs", examples(), "basNone"}, "basNone"},
        {{"calls", examples(), "NoProject"}, "NoProject"},
        {{"calls", examples(), "Stock", "NoSuchProc"}, "NoSuchProc"},
    };
    for (const auto &[args, name] : cases) {
        const RunResult r = tessary(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(name)) << r.err.toStdString();
    }
    for (const QStringList &args : {QStringList{"tree"}, QStringList{"procs", "--bogus", examples()},
                                    QStringList{"calls", examples()},
                                    QStringList{"calls", examples(), "Stock", "--callers", "--callees"}}) {
        const RunResult r = tessary(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("usage:"))) << r.err.toStdString();
    }
    EXPECT_EQ(tessary({"tree", QStringLiteral(TESSARY_SOURCE_DIR "/examples/missing.vbp")}).code, 1);
}

TEST(TessaryExplore, AProjectWithoutModulesListsNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile vbp(dir.filePath(QStringLiteral("Empty.vbp")));
    ASSERT_TRUE(vbp.open(QIODevice::WriteOnly));
    vbp.write("Type=Exe\r\nName=\"Empty\"\r\n");
    vbp.close();
    for (const QStringList &args : {QStringList{"procs", vbp.fileName()}, QStringList{"calls", vbp.fileName(), "Empty"}}) {
        const RunResult r = tessary(args);
        EXPECT_EQ(r.code, 0) << args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(r.out.trimmed(), QString()) << args.join(' ').toStdString();
    }
}
