// The Find dialog over the stand-in IDE: its target list, history and the search it runs.
#include "find/frm_find.h"

#include "controls/platform.h"
#include "support/test_project.h"

#include <gtest/gtest.h>

using find::FrmFind;
using testing_support::TestProject;

namespace {

std::unique_ptr<ide::Ide> projects(bool two)
{
    auto files = std::make_shared<ide::files::MemoryFileSystem>();
    TestProject(QStringLiteral("Alpha"))
        .module(QStringLiteral("basZ"), QStringLiteral("Sub Z()\n    Beep\nEnd Sub\n"))
        .module(QStringLiteral("basA"), QStringLiteral("Sub A()\n    Beep\nEnd Sub\n"))
        .form(QStringLiteral("frmChild"), QStringLiteral("Private Sub Form_Load()\n    Beep\nEnd Sub\n"), {}, true)
        .form(QStringLiteral("frmMain"), QString())
        .classModule(QStringLiteral("Widget"), QString())
        .relatedDoc(QStringLiteral("readme.txt"))
        .writeTo(*files);
    TestProject(QStringLiteral("Beta")).module(QStringLiteral("Util"), QStringLiteral("Sub U()\n    Beep\nEnd Sub\n")).writeTo(*files);
    auto ide = std::make_unique<ide::Ide>(files);
    ide->load(QStringLiteral("/project/Alpha/Alpha.vbp"));
    if (two)
        ide->load(QStringLiteral("/project/Beta/Beta.vbp"));
    return ide;
}

struct Dialog {
    explicit Dialog(bool two)
        : ide(projects(two))
    {
        shared::resetBasQuillbox();
        shared::basQuillbox().gVBInstance = ide->vbe();
        form.onFound = [this] { ++handedOver; };
        form.show();
    }
    ~Dialog() { shared::resetBasQuillbox(); }

    QStringList targets() const
    {
        QStringList out;
        for (const controls::ComboItem *item : form.imgcboTarget.comboItems())
            out << QStringLiteral("%1|%2|%3").arg(item->text(), item->tag()).arg(item->indentation());
        return out;
    }
    void find(const QString &text)
    {
        form.show();
        form.cboFindString.setText(text);
        form.cmdFind.press();
    }

    controls::HeadlessPlatform platform;
    controls::ScopedPlatform scoped{platform};
    std::unique_ptr<ide::Ide> ide;
    FrmFind form;
    int handedOver = 0;
};

TEST(FrmFind, TargetsListProjectsAndTheirComponentsByKindThenName)
{
    Dialog d(true);
    EXPECT_EQ(d.form.caption(), QStringLiteral("検索"));
    EXPECT_EQ(d.targets(), (QStringList{"すべてのﾌﾟﾛｼﾞｪｸﾄ|PROJECTS|0", "Alpha|PROJECT|0", "Widget|Alpha|2",
                                        "frmMain|Alpha|2", "frmChild|Alpha|2", "basA|Alpha|2", "basZ|Alpha|2",
                                        "Beta|PROJECT|0", "Util|Beta|2"}));
    EXPECT_EQ(d.form.imgcboTarget.selectedItem()->key(), QStringLiteral("PROJECTS"));
}

TEST(FrmFind, WithOneProjectItIsSelectedAndThereIsNoAllItem)
{
    Dialog d(false);
    EXPECT_EQ(d.targets().first(), QStringLiteral("Alpha|PROJECT|0"));
    EXPECT_EQ(d.form.imgcboTarget.selectedItem()->key(), QStringLiteral("Alpha"));
}

TEST(FrmFind, ASearchWithHitsHandsOverAndHides)
{
    Dialog d(true);
    d.find(QStringLiteral("Beep"));
    EXPECT_EQ(d.handedOver, 1);
    EXPECT_FALSE(d.form.visible());
    EXPECT_EQ(shared::basQuillbox().gFindCount, 4);

    // One component as the target.
    d.form.imgcboTarget.setSelectedItem(d.form.imgcboTarget.comboItems()(QStringLiteral("Alpha_frmChild")));
    d.form.chkCriteria(0).setValue(controls::vbChecked);
    d.find(QStringLiteral("Beep"));
    EXPECT_EQ(shared::basQuillbox().gFindCount, 1);
    EXPECT_EQ(shared::basQuillbox().gFindResults[0].ProcName, QStringLiteral("Form_Load"));
    EXPECT_EQ(d.handedOver, 2);
}

TEST(FrmFind, NothingFoundOrBlankTextHidesWithoutHandingOver)
{
    Dialog d(true);
    d.find(QStringLiteral("   "));
    EXPECT_EQ(d.handedOver, 0);
    EXPECT_FALSE(d.form.visible());
    EXPECT_EQ(d.form.cboFindString.items(), QStringList{QStringLiteral("   ")});
    d.find(QString());
    EXPECT_TRUE(d.form.visible());   // empty text: the dialog stays
    EXPECT_TRUE(d.platform.messages().isEmpty());
}

TEST(FrmFind, HistoryKeepsOneCopyNewestFirst)
{
    Dialog d(true);
    for (const char *text : {"Beep", "Sub", "Beep"})
        d.find(QString::fromUtf8(text));
    EXPECT_EQ(d.form.cboFindString.items(), (QStringList{"Beep", "Sub"}));
    EXPECT_EQ(d.form.cboFindString.text(), QStringLiteral("Beep"));
}

TEST(FrmFind, ClosingFromTheControlMenuOnlyHides)
{
    Dialog d(true);
    EXPECT_FALSE(d.form.userClose());
    EXPECT_TRUE(d.form.loaded());
    EXPECT_FALSE(d.form.visible());
}

} // namespace
