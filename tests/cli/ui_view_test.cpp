// The ui view of forms and of the IDE side, and JSON that stays valid whatever the names.
#include "cli/ui_view.h"
#include "controls/form.h"
#include "controls/platform.h"
#include "controls/standard_controls.h"
#include "frontend/session.h"
#include "frontend/ui_actions.h"
#include "shared/bas_quillbox.h"
#include "support/test_project.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace controls;
using testing_support::TestProject;

namespace {

QJsonValue parse(const frontend::Json &json)
{
    QJsonParseError error;
    // A one-element array takes any value at the top, a bare array included.
    const QString text = QStringLiteral("[") + json.dump() + QStringLiteral("]");
    const auto doc = QJsonDocument::fromJson(text.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n" << text.toStdString();
    return doc.array().at(0);
}

struct ViewFixture : testing::Test {
    HeadlessPlatform platform;
    ScopedPlatform scoped{platform};
    frontend::Session session;

    void open(const QString &projectName)
    {
        // The old IDE disconnects its add-in through the shared module: close it first.
        session = frontend::Session();
        shared::resetBasQuillbox();
        TestProject project(projectName);
        project.module(QStringLiteral("Module1"), QStringLiteral("Sub Main()\nEnd Sub\n"));
        session = frontend::openSession(project.vbpPath(), ide::files::CodePage::Cp932, project.files());
    }
    void SetUp() override { open(QStringLiteral("Alpha")); }
    void TearDown() override { shared::resetBasQuillbox(); }
};

} // namespace

TEST_F(ViewFixture, FormsListTheDocumentThenEachLoadedFormWithItsControls)
{
    Form dialog(QStringLiteral("frmDialog"));
    dialog.setCaption(QStringLiteral("検索"));
    Label lblFind(QStringLiteral("lblFind"));
    CheckBox chkCase(QStringLiteral("chkCase"));
    ComboBox cboFind(QStringLiteral("cboFind"));
    CommandButton cmdOK(QStringLiteral("cmdOK"));
    lblFind.setCaption(QStringLiteral("検索する文字列:"));
    chkCase.setCaption(QStringLiteral("大文字と小文字を区別する"));
    cboFind.addItem(QStringLiteral("Sub"));
    cboFind.addItem(QStringLiteral("Dim"));
    cmdOK.setCaption(QStringLiteral("OK"));
    cmdOK.setEnabled(false);
    for (Control *c : std::initializer_list<Control *>{&lblFind, &chkCase, &cboFind, &cmdOK})
        c->setContainer(&dialog);
    dialog.show(true);
    cboFind.chooseItem(1);
    chkCase.press();

    const QJsonArray forms = parse(cli::formsJson(session)).toArray();
    ASSERT_EQ(forms.size(), 3);
    const QJsonObject doc = forms[0].toObject();
    EXPECT_EQ(doc[QStringLiteral("name")].toString(), QStringLiteral("docMain"));
    EXPECT_EQ(doc[QStringLiteral("caption")].toString(), QStringLiteral("Tessary"));
    EXPECT_TRUE(doc[QStringLiteral("visible")].toBool());
    const QJsonObject docControls = doc[QStringLiteral("controls")].toObject();
    EXPECT_TRUE(docControls.contains(QStringLiteral("tvwProject(3)")));
    EXPECT_TRUE(docControls.contains(QStringLiteral("tbrMain(1)")));
    EXPECT_FALSE(docControls[QStringLiteral("prgMain")].toObject()[QStringLiteral("visible")].toBool());
    EXPECT_EQ(docControls[QStringLiteral("imgcboProject")].toObject()[QStringLiteral("items")].toArray(),
              QJsonArray{QStringLiteral("Alpha")});
    EXPECT_EQ(forms[1].toObject()[QStringLiteral("name")].toString(), QStringLiteral("frmAbout"));
    EXPECT_FALSE(forms[1].toObject()[QStringLiteral("visible")].toBool());

    const QJsonObject shown = forms[2].toObject();
    EXPECT_EQ(shown[QStringLiteral("caption")].toString(), QStringLiteral("検索"));
    EXPECT_TRUE(shown[QStringLiteral("visible")].toBool());
    EXPECT_TRUE(shown[QStringLiteral("modal")].toBool());
    const QJsonObject controls = shown[QStringLiteral("controls")].toObject();
    EXPECT_EQ(controls.keys(), (QStringList{"cboFind", "chkCase", "cmdOK", "lblFind"}));
    EXPECT_EQ(controls[QStringLiteral("lblFind")].toObject(),
              (QJsonObject{{"caption", QStringLiteral("検索する文字列:")}, {"enabled", true}, {"visible", true}}));
    EXPECT_EQ(controls[QStringLiteral("chkCase")].toObject()[QStringLiteral("value")].toInt(), 1);
    EXPECT_EQ(controls[QStringLiteral("cboFind")].toObject(),
              (QJsonObject{{"text", "Dim"}, {"value", 1}, {"items", QJsonArray{"Sub", "Dim"}}, {"enabled", true},
                           {"visible", true}}));
    EXPECT_FALSE(controls[QStringLiteral("cmdOK")].toObject()[QStringLiteral("enabled")].toBool());

    dialog.hide();
    EXPECT_FALSE(parse(cli::formsJson(session)).toArray()[2].toObject()[QStringLiteral("modal")].toBool());
}

TEST_F(ViewFixture, IdeSideShowsWindowsImmediateTextAndCommandsRunByDefaultAction)
{
    auto vbe = session.ide->vbe();
    auto window = vbe->commandBars()->item(QStringLiteral("Window"))->controls();
    window->item(QStringLiteral("上下に並べて表示(&H)"))->execute();
    // The add-in's own command handles its click; no IDE command runs.
    vbe->commandBars()->item(QStringLiteral("Add-Ins"))->controls()->item(QStringLiteral("Tessary"))->execute();
    window->item(QStringLiteral("ｱｲｺﾝの整列(&A)"))->execute();
    std::vector<frontend::UiAction> actions;
    QString error;
    ASSERT_TRUE(frontend::parseUiActions({"--immediate", "?Now"}, actions, error));
    frontend::applyUiAction(session, actions[0]);

    const QJsonObject ide = parse(cli::ideJson(*session.ide)).toObject();
    EXPECT_EQ(ide[QStringLiteral("commandsRun")].toArray(),
              (QJsonArray{QStringLiteral("上下に並べて表示(&H)"), QStringLiteral("ｱｲｺﾝの整列(&A)")}));
    EXPECT_EQ(ide[QStringLiteral("immediate")].toString(), QStringLiteral("?Now"));
    QStringList captions;
    for (const auto &w : ide[QStringLiteral("windows")].toArray()) {
        const QJsonObject o = w.toObject();
        EXPECT_EQ(o.keys(), (QStringList{"caption", "type", "visible"}));
        captions << o[QStringLiteral("caption")].toString();
    }
    EXPECT_TRUE(captions.contains(QStringLiteral("ｲﾐﾃﾞｨｴｲﾄ")));
    EXPECT_TRUE(captions.contains(QStringLiteral("Tessary")));   // the tool window
}

TEST_F(ViewFixture, JsonStaysValidWhateverTheNames)
{
    const QString odd = QStringLiteral("a\"b\\c\x01\t\u2028日本ﾃｽﾄ");
    open(QStringLiteral("P") + odd);
    Form dialog(QStringLiteral("frm") + odd);
    dialog.setCaption(odd);
    Label label(odd);
    label.setCaption(odd);
    label.setContainer(&dialog);
    dialog.load();
    session.ide->setImmediateText(odd);

    const QJsonObject ui = parse(cli::uiState(session, {odd})).toObject();
    const QJsonArray forms = ui[QStringLiteral("forms")].toArray();
    ASSERT_EQ(forms.size(), 3);
    EXPECT_EQ(forms[2].toObject()[QStringLiteral("name")].toString(), QStringLiteral("frm") + odd);
    EXPECT_EQ(forms[2].toObject()[QStringLiteral("controls")].toObject()[odd].toObject()[QStringLiteral("caption")].toString(),
              odd);
    EXPECT_EQ(ui[QStringLiteral("ide")].toObject()[QStringLiteral("immediate")].toString(), odd);
    EXPECT_EQ(ui[QStringLiteral("messages")].toArray()[0].toString(), odd);
    const QString items = QJsonDocument(ui[QStringLiteral("projectBox")].toObject()[QStringLiteral("items")].toArray())
                              .toJson(QJsonDocument::Compact);
    EXPECT_TRUE(items.contains(QStringLiteral("日本ﾃｽﾄ"))) << items.toStdString();
}
