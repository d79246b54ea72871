// basQuillbox routines: temporary files, adding projects through the Open dialog,
// IDE menu commands by caption, and the inspection record's total.
#include "controls/platform.h"
#include "shared/bas_quillbox.h"
#include "support/test_project.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using controls::HeadlessPlatform;
using controls::ScopedPlatform;
using testing_support::TestProject;

namespace {
void touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}
} // namespace

TEST(BasQuillbox, DeleteTempFilesRemovesOnlyQlxFiles)
{
    QTemporaryDir dir;
    HeadlessPlatform platform;
    ScopedPlatform scoped(platform);
    shared::resetBasQuillbox();
    shared::basQuillbox().gTempPath = dir.path() + QLatin1Char('/');
    for (const char *name : {"Qlx1A.tmp", "Qlx1A.txt", "Qlx.x", "other.tmp", "aQlx.tmp"})
        touch(dir.filePath(QString::fromLatin1(name)));
    shared::DeleteTempFiles();
    QStringList left = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(left, (QStringList{"aQlx.tmp", "other.tmp"}));
    shared::resetBasQuillbox();
}

TEST(BasQuillbox, DeleteTempFilesGoesOnPastAFileThatCannotBeDeleted)
{
    // The file system refuses one name, as Windows does for a file still open in the editor.
    struct Refusing : HeadlessPlatform {
        bool deleteFile(const QString &path) override
        {
            return !path.endsWith(QStringLiteral("Qlx1.txt")) && HeadlessPlatform::deleteFile(path);
        }
    };
    QTemporaryDir dir;
    Refusing platform;
    ScopedPlatform scoped(platform);
    shared::resetBasQuillbox();
    shared::basQuillbox().gTempPath = dir.path() + QLatin1Char('/');
    for (const char *name : {"Qlx0.txt", "Qlx1.txt", "Qlx2.txt"})
        touch(dir.filePath(QString::fromLatin1(name)));
    shared::DeleteTempFiles();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name), QStringList{QStringLiteral("Qlx1.txt")});
    EXPECT_TRUE(platform.messages().isEmpty());
    shared::resetBasQuillbox();
}

TEST(BasQuillbox, AddProjectFilesAddsEachChosenFileInDialogOrder)
{
    QTemporaryDir dir;
    for (const char *name : {"A", "B", "C"}) {
        QDir(dir.path()).mkdir(QString::fromLatin1(name));
        QFile f(dir.filePath(QStringLiteral("%1.vbp").arg(QLatin1String(name))));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("Type=Exe\r\nName=\"%1\"\r\n").arg(QLatin1String(name)).toLatin1());
    }
    HeadlessPlatform platform;
    ScopedPlatform scoped(platform);
    ide::Ide ide;
    QList<controls::OpenFileRequest> requests;
    QString answer;
    platform.setOpenFileHandler([&](const controls::OpenFileRequest &r) {
        requests << r;
        return answer;
    });
    const QChar nul(0);

    answer = QString();   // cancelled
    shared::AddProjectFiles(ide.vbe());
    EXPECT_EQ(ide.vbe()->vbProjects()->count(), 0);
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].title, QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄの追加（複数選択可）"));
    EXPECT_TRUE(requests[0].filter.startsWith(QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄ ﾌｧｲﾙ (*.vbp; *.mak; *.vbg)") + nul + QStringLiteral("*.vbp;*.mak;*.vbg")));

    answer = dir.filePath(QStringLiteral("B.vbp")) + nul + nul;   // one file: the full path
    shared::AddProjectFiles(ide.vbe());
    ASSERT_EQ(ide.vbe()->vbProjects()->count(), 1);

    answer = dir.path() + nul + QStringLiteral("C.vbp") + nul + QStringLiteral("gone.vbp") + nul +
             QStringLiteral("A.vbp") + nul + nul;
    shared::AddProjectFiles(ide.vbe());
    QStringList names;
    for (int i = 1; i <= ide.vbe()->vbProjects()->count(); ++i)
        names << ide.vbe()->vbProjects()->item(i)->name();
    EXPECT_EQ(names, (QStringList{"B", "C", "A"}));
    EXPECT_TRUE(platform.messages().isEmpty());

    // A file the IDE refuses (same project again) ends the routine with its description.
    answer = dir.filePath(QStringLiteral("A.vbp"));
    shared::AddProjectFiles(ide.vbe());
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_EQ(platform.messages()[0].buttons, controls::vbExclamation);
}

TEST(BasQuillbox, ExecuteIdeMenuRunsOnlyTheFirstMatchingControl)
{
    HeadlessPlatform platform;
    ScopedPlatform scoped(platform);
    ide::Ide ide;
    shared::ExecuteIdeMenu(ide.vbe(), QStringLiteral("Window"), QStringLiteral("並べて表示"));
    EXPECT_EQ(ide.executedCommands(), QStringList{QStringLiteral("TileHorizontally")});
    shared::ExecuteIdeMenu(ide.vbe(), QStringLiteral("Add-Ins"), QStringLiteral("ｱﾄﾞｲﾝ ﾏﾈｰｼﾞｬ"));
    shared::ExecuteIdeMenu(ide.vbe(), QStringLiteral("Project"), QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ"));
    shared::ExecuteIdeMenu(ide.vbe(), QStringLiteral("No Such Bar"), QStringLiteral("x"));
    shared::ExecuteIdeMenu(ide.vbe(), QStringLiteral("Window"), QStringLiteral("no such caption"));
    EXPECT_EQ(ide.executedCommands(),
              (QStringList{"TileHorizontally", "AddInManager", "ProjectProperties"}));
    EXPECT_TRUE(platform.messages().isEmpty());
}

TEST(BasQuillbox, InspectionTotalCountsOptionExplicitAsOneFinding)
{
    shared::AnalizeResult r;
    EXPECT_EQ(r.total(), 0);
    r.OptionExplicit = false;
    EXPECT_EQ(r.total(), 1);
    r.list(shared::FindingList::DebugPrint).count = 2;
    r.list(shared::FindingList::Scope).count = 40000;
    EXPECT_EQ(r.total(), 40003);
}
