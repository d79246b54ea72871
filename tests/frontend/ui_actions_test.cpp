// The scripted actions on the tool window and on any loaded form, through the models.
#include "controls/form.h"
#include "controls/platform.h"
#include "controls/standard_controls.h"
#include "docmain/doc_main.h"
#include "frontend/forms.h"
#include "frontend/session.h"
#include "frontend/ui_actions.h"
#include "shared/bas_quillbox.h"
#include "support/test_project.h"

#include <gtest/gtest.h>

using namespace controls;
using testing_support::TestProject;

namespace {

/// A dialog of the kind the add-in's own dialogs are: a check box, a list-style combo,
/// an editable combo and two buttons on a frame.
struct TestDialog : Form {
    TestDialog() : Form(QStringLiteral("frmTest"))
    {
        setCaption(QStringLiteral("Test"));
        fraOptions.setContainer(this);
        for (Control *c : std::initializer_list<Control *>{&chkWord, &cboScope, &cboFind, &cmdOK})
            c->setContainer(&fraOptions);
        cboScope.setStyle(ComboStyle::DropdownList);
        cboScope.addItem(QStringLiteral("ｶﾚﾝﾄ ﾌﾟﾛｼﾞｪｸﾄ"));
        cboScope.addItem(QStringLiteral("全てのﾌﾟﾛｼﾞｪｸﾄ"));
        auto &first = cmdRun.add(0);
        first.setContainer(this);
        subscriptions.push_back(cmdOK.click.connect([this] { ++okClicks; }));
        subscriptions.push_back(first.click.connect([this] { hide(); }));
    }
    Frame fraOptions{QStringLiteral("fraOptions")};
    CheckBox chkWord{QStringLiteral("chkWord")};
    ComboBox cboScope{QStringLiteral("cboScope")};
    ComboBox cboFind{QStringLiteral("cboFind")};
    CommandButton cmdOK{QStringLiteral("cmdOK")};
    ControlArray<CommandButton> cmdRun{QStringLiteral("cmdRun")};
    std::vector<host::Subscription> subscriptions;
    int okClicks = 0;
};

struct SessionFixture : testing::Test {
    HeadlessPlatform platform;
    ScopedPlatform scoped{platform};
    frontend::Session session;

    void SetUp() override
    {
        shared::resetBasQuillbox();
        TestProject project(QStringLiteral("Alpha"));
        project.module(QStringLiteral("Module1"), QStringLiteral("Sub Main()\nEnd Sub\n"));
        session = frontend::openSession(project.vbpPath(), ide::files::CodePage::Cp932, project.files());
    }
    void TearDown() override { shared::resetBasQuillbox(); }

    /// Parses and applies; the parse must succeed.
    void run(const QStringList &args)
    {
        std::vector<frontend::UiAction> actions;
        QString error;
        ASSERT_TRUE(frontend::parseUiActions(args, actions, error)) << error.toStdString();
        for (const auto &a : actions)
            frontend::applyUiAction(session, a);
    }
    /// The message of the error the actions end with; empty when they all ran.
    QString failure(const QStringList &args)
    {
        try {
            run(args);
        } catch (const host::Error &e) {
            return e.description();
        }
        return {};
    }
};

QStringList names(const std::vector<Form *> &forms)
{
    QStringList list;
    for (const Form *f : forms)
        list << f->name();
    return list;
}

} // namespace

TEST(UiActionsParse, FormGoesInFrontOfSetAndPress)
{
    std::vector<frontend::UiAction> actions;
    QString error;
    ASSERT_TRUE(frontend::parseUiActions({"--form", "frmA", "--set", "chk=1", "--press", "cmdOK", "--tab", "2",
                                          "--immediate", "?1"},
                                         actions, error));
    ASSERT_EQ(actions.size(), 4u);
    EXPECT_EQ(actions[0].form, QStringLiteral("frmA"));
    EXPECT_EQ(actions[1].form, QStringLiteral("frmA"));   // one --form serves the actions after it
    EXPECT_EQ(frontend::actionText(actions[1]), QStringLiteral("--form frmA --press cmdOK"));
    EXPECT_TRUE(actions[2].form.isEmpty());
    EXPECT_EQ(actions[3].args, QStringList{"?1"});

    for (const QStringList &bad : {QStringList{"--set", "chk=1"}, QStringList{"--tab", "1", "--press", "cmdOK"},
                                   QStringList{"--form", "frmA"}, QStringList{"--form", "frmA", "--tab", "1"},
                                   QStringList{"--form", "frmA", "--set", "chk"}, QStringList{"--immediate"}}) {
        actions.clear();
        EXPECT_FALSE(frontend::parseUiActions(bad, actions, error)) << bad.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST_F(SessionFixture, FormsAreTheDocumentThenLoadedFormsInLoadOrder)
{
    EXPECT_EQ(names(frontend::sessionForms(session)), (QStringList{"docMain", "frmAbout"}));
    {
        TestDialog dialog;
        EXPECT_EQ(names(frontend::sessionForms(session)).size(), 2);   // not loaded yet
        dialog.load();
        EXPECT_EQ(names(frontend::sessionForms(session)), (QStringList{"docMain", "frmAbout", "frmTest"}));
        EXPECT_EQ(frontend::findForm(session, QStringLiteral("frmTest")), &dialog);
        QStringList controls;
        for (const Control *c : frontend::formControls(dialog))
            controls << frontend::controlName(*c);
        EXPECT_EQ(controls, (QStringList{"fraOptions", "chkWord", "cboScope", "cboFind", "cmdOK", "cmdRun(0)"}));
        dialog.unload();
        EXPECT_EQ(frontend::findForm(session, QStringLiteral("frmTest")), nullptr);
        dialog.load();
    }
    // A destroyed form leaves the collection.
    EXPECT_EQ(names(frontend::sessionForms(session)), (QStringList{"docMain", "frmAbout"}));
}

TEST_F(SessionFixture, SetAndPressActAsTheUser)
{
    TestDialog dialog;
    dialog.show(true);
    EXPECT_TRUE(dialog.modal());
    run({"--form", "frmTest", "--set", "chkWord=1", "--set", "cboScope=全てのﾌﾟﾛｼﾞｪｸﾄ", "--set", "cboFind=a=b",
         "--press", "cmdOK"});
    EXPECT_EQ(dialog.chkWord.value(), vbChecked);
    EXPECT_EQ(dialog.cboScope.listIndex(), 1);
    EXPECT_EQ(dialog.cboFind.text(), QStringLiteral("a=b"));   // the first '=' splits
    EXPECT_EQ(dialog.okClicks, 1);

    // A grey box takes two clicks to clear; the same value takes none.
    dialog.chkWord.setValue(vbGrayed);
    run({"--form", "frmTest", "--set", "chkWord=0"});
    EXPECT_EQ(dialog.chkWord.value(), vbUnchecked);
    run({"--form", "frmTest", "--set", "chkWord=0"});
    EXPECT_EQ(dialog.chkWord.value(), vbUnchecked);

    // A disabled button ignores the press, as it would the mouse.
    dialog.cmdOK.setEnabled(false);
    run({"--form", "frmTest", "--press", "cmdOK"});
    EXPECT_EQ(dialog.okClicks, 1);

    run({"--form", "frmTest", "--press", "cmdRun(0)"});
    EXPECT_FALSE(dialog.visible());
    EXPECT_FALSE(dialog.modal());
}

TEST_F(SessionFixture, TheToolWindowIsAFormToo)
{
    run({"--form", "docMain", "--set", "imgcboProject=Alpha", "--set", "cboHelpWord=MsgBox"});
    EXPECT_EQ(session.doc->cboHelpWord.text(), QStringLiteral("MsgBox"));
    EXPECT_EQ(session.doc->imgcboProject.selectedItem()->text(), QStringLiteral("Alpha"));
}

TEST_F(SessionFixture, ImmediateTextIsTypedAfterWhatIsThere)
{
    run({"--immediate", "?1", "--immediate", "\r\n日本"});
    EXPECT_EQ(session.ide->immediateText(), QStringLiteral("?1\r\n日本"));
}

TEST_F(SessionFixture, MissingFormsControlsAndValuesSayWhich)
{
    TestDialog dialog;
    dialog.load();
    EXPECT_TRUE(failure({"--form", "frmNone", "--press", "cmdOK"}).contains(QStringLiteral("frmNone")));
    EXPECT_TRUE(failure({"--form", "frmTest", "--press", "cmdNone"}).contains(QStringLiteral("cmdNone")));
    EXPECT_TRUE(failure({"--form", "frmTest", "--press", "cmdRun(1)"}).contains(QStringLiteral("cmdRun(1)")));
    EXPECT_TRUE(failure({"--form", "frmTest", "--press", "chkWord"}).contains(QStringLiteral("chkWord")));
    EXPECT_TRUE(failure({"--form", "frmTest", "--set", "chkWord=2"}).contains(QStringLiteral("chkWord")));
    EXPECT_TRUE(failure({"--form", "frmTest", "--set", "cboScope=nothing"}).contains(QStringLiteral("nothing")));
    EXPECT_TRUE(failure({"--form", "frmTest", "--set", "cmdOK=1"}).contains(QStringLiteral("cmdOK")));
    EXPECT_TRUE(failure({"--form", "docMain", "--set", "lvwDetail(0)=nothing"}).contains(QStringLiteral("nothing")));
    EXPECT_TRUE(failure({"--form", "docMain", "--set", "imgcboProject=Beta"}).contains(QStringLiteral("Beta")));
    EXPECT_TRUE(failure({"--form", "frmAbout", "--set", "x\"\\=1"}).contains(QStringLiteral("x\"\\")));
    EXPECT_EQ(dialog.chkWord.value(), vbUnchecked);
}
