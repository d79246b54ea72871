#include "ide/files/file_system.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include "test_printers.h"

#include <gtest/gtest.h>

using namespace ide::files;

namespace {

QString u(const char *utf8) { return QString::fromUtf8(utf8); }

/// The same tree on either file system: a project folder beside a shared one.
const char *const TreeFiles[] = {
    "proj/Project1.vbp",
    "proj/Forms/frmMain.frm",
    "proj/DataReport1.dsr",
    "proj/My Modules (old)/Module1.bas",
    "proj/計算２.frm",
    "proj/Case/Form1.frm",
    "proj/Case/form1.frm",
    "proj/Case/Other.FRM",
    "Shared/Lib/cUtil.cls",
};

struct ResolveCase {
    const char *what;
    const char *windowsPath;
    const char *expected; // relative to the tree root; nullptr = not found
};

const ResolveCase ResolveCases[] = {
    {"exact", "Forms\\frmMain.frm", "proj/Forms/frmMain.frm"},
    {"file in the wrong case", "forms\\FRMMAIN.FRM", "proj/Forms/frmMain.frm"},
    {"extension case (.Dsr)", "DataReport1.Dsr", "proj/DataReport1.dsr"},
    {"parent folder", "..\\shared\\LIB\\cUtil.cls", "Shared/Lib/cUtil.cls"},
    {"dot folder and doubled separators", ".\\Forms\\\\frmMain.frm", "proj/Forms/frmMain.frm"},
    {"spaces and brackets", "my modules (OLD)\\module1.bas", "proj/My Modules (old)/Module1.bas"},
    {"Japanese name with a full-width digit", "計算２.frm", "proj/計算２.frm"},
    {"full-width digit is not folded", "計算2.frm", nullptr},
    {"exact match preferred (1)", "Case\\Form1.frm", "proj/Case/Form1.frm"},
    {"exact match preferred (2)", "Case\\form1.frm", "proj/Case/form1.frm"},
    {"several case matches: stable choice", "Case\\FORM1.FRM", "proj/Case/Form1.frm"},
    {"trailing dot and space as on Windows", "Case\\Other.frm. ", "proj/Case/Other.FRM"},
    {"quoted", "\"Forms\\frmMain.frm\"", "proj/Forms/frmMain.frm"},
    {"a directory", "forms", "proj/Forms"},
    {"missing file", "Forms\\frmGone.frm", nullptr},
    {"missing folder", "Gone\\frmMain.frm", nullptr},
    {"drive of another machine", "C:\\Projects\\Forms\\frmMain.frm", nullptr},
    {"UNC path", "\\\\server\\share\\a.frm", nullptr},
    {"empty", "", nullptr},
    {"above the root stays at the root", "..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\x", nullptr},
};

void checkResolve(const FileSystem &fs, const QString &root)
{
    const QString base = root + u("/proj");
    for (const ResolveCase &c : ResolveCases) {
        const QString expected = c.expected ? root + QLatin1Char('/') + u(c.expected) : QString();
        EXPECT_EQ(fs.resolve(base, u(c.windowsPath)), expected) << c.what;
    }
}

} // namespace

TEST(MemoryFileSystem, ResolvesAsWindowsWould)
{
    MemoryFileSystem fs;
    for (const char *f : TreeFiles)
        fs.add(u("/t/") + u(f), "x");
    checkResolve(fs, u("/t"));
    // A project never reaches outside its folders through an absolute path.
    EXPECT_EQ(fs.resolve(u("/elsewhere"), u("/t/proj/Forms/frmMain.frm")), QString());
    EXPECT_TRUE(FileSystem::isAbsolute(u("\"/t/x\"")));
    EXPECT_FALSE(FileSystem::isAbsolute(u("..\\t\\x")));
}

TEST(MemoryFileSystem, DecomposedNamesOnDiskMatchComposedNamesInTheProject)
{
    MemoryFileSystem fs;
    const QString nfd = u("ボタン.frm").normalized(QString::NormalizationForm_D);
    ASSERT_NE(nfd, u("ボタン.frm"));
    fs.add(u("/p/") + nfd, "x");
    EXPECT_EQ(fs.resolve(u("/p"), u("ボタン.frm")), u("/p/") + nfd);
}

TEST(MemoryFileSystem, ReadErrorsAndListing)
{
    MemoryFileSystem fs;
    fs.add(u("/p/a.frm"), "form");
    fs.add(u("/p/sub/b.bas"), "module");
    fs.addDirectory(u("/p/empty"));
    fs.add(u("/p/locked.cls"), "secret");
    fs.setReadError(u("/p/locked.cls"), u("Permission denied"));

    QString error;
    EXPECT_EQ(fs.read(u("/p/a.frm"), &error), std::optional<QByteArray>("form"));
    EXPECT_EQ(fs.read(u("/p/missing.frm"), &error), std::nullopt);
    EXPECT_EQ(error, u("No such file"));
    EXPECT_EQ(fs.read(u("/p/sub"), &error), std::nullopt);
    EXPECT_EQ(error, u("Is a directory"));
    EXPECT_EQ(fs.read(u("/p/locked.cls"), &error), std::nullopt);
    EXPECT_EQ(error, u("Permission denied"));
    EXPECT_EQ(fs.read(u("/p/A.FRM"), nullptr), std::nullopt); // case-sensitive like Linux

    EXPECT_EQ(fs.entries(u("/p")), QStringList({"a.frm", "empty", "locked.cls", "sub"}));
    EXPECT_EQ(fs.entries(u("/")), QStringList({"p"}));
    EXPECT_EQ(fs.entries(u("/p/empty")), QStringList());
    EXPECT_EQ(fs.entries(u("/p/a.frm")), QStringList());
    EXPECT_TRUE(fs.isDirectory(u("/p/sub")));
    EXPECT_FALSE(fs.isDirectory(u("/p/a.frm")));
    EXPECT_TRUE(fs.exists(u("/p/empty")));
    EXPECT_FALSE(fs.exists(u("/p/nothing")));
}

TEST(MemoryFileSystem, ALoadSeesTheFilesOfItsOwnTime)
{
    // Paths are checked once while a listing scope lives; the next scope asks again.
    MemoryFileSystem fs;
    fs.add(u("/p/Forms/A.frm"), "x");
    {
        const FileSystem::ListingScope scope(fs);
        EXPECT_EQ(fs.resolve(u("/p"), u("Forms\\a.frm")), u("/p/Forms/A.frm"));
        EXPECT_EQ(fs.resolve(u("/p"), u("Forms\\A.frm")), u("/p/Forms/A.frm"));
        EXPECT_EQ(fs.resolve(u("/p"), u("Forms\\B.frm")), QString());
        EXPECT_EQ(fs.resolve(u("/p"), u("Forms\\B.frm")), QString());
    }
    fs.add(u("/p/Forms/B.frm"), "y");
    {
        const FileSystem::ListingScope scope(fs);
        EXPECT_EQ(fs.resolve(u("/p"), u("Forms\\B.frm")), u("/p/Forms/B.frm"));
        EXPECT_EQ(fs.resolve(u("/p"), u("forms\\b.FRM")), u("/p/Forms/B.frm"));
    }
    EXPECT_EQ(fs.resolve(u("/p"), u("Forms\\A.frm")), u("/p/Forms/A.frm"));
}

TEST(DiskFileSystem, ResolvesAsWindowsWould)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    for (const char *f : TreeFiles) {
        const QString path = tmp.path() + QLatin1Char('/') + u(f);
        ASSERT_TRUE(QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/')))));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write("x");
    }
    DiskFileSystem fs;
    checkResolve(fs, tmp.path());
}

TEST(DiskFileSystem, ReadErrors)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString dir = tmp.path();
    QDir().mkpath(dir + u("/Project1.vbp"));
    {
        QFile f(dir + u("/Module1.bas"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("Attribute VB_Name = \"Module1\"\r\n\0\x81", 34));
    }
    DiskFileSystem fs;
    QString error;
    EXPECT_EQ(fs.read(dir + u("/Module1.bas"), &error), std::optional<QByteArray>(QByteArray("Attribute VB_Name = \"Module1\"\r\n\0\x81", 34)));
    EXPECT_EQ(fs.read(dir + u("/Missing.bas"), &error), std::nullopt);
    EXPECT_EQ(error, u("No such file"));
    EXPECT_EQ(fs.read(fs.resolve(dir, u("PROJECT1.VBP")), &error), std::nullopt);
    EXPECT_EQ(error, u("Is a directory"));
    EXPECT_EQ(fs.entries(dir), QStringList({"Module1.bas", "Project1.vbp"}));
}

TEST(DiskFileSystem, PermissionDenied)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    DiskFileSystem fs;
    QString error;
    QFile locked(tmp.path() + u("/locked.cls"));
    ASSERT_TRUE(locked.open(QIODevice::WriteOnly));
    locked.close();
    locked.setPermissions(QFileDevice::Permissions());
    QFile probe(locked.fileName());
    if (probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running with rights that ignore file permissions";
    EXPECT_EQ(fs.read(locked.fileName(), &error), std::nullopt);
    EXPECT_EQ(error, u("Permission denied"));
}
