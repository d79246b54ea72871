// Loading what real and damaged projects hold: mixed code pages, NUL bytes, devices and pipes,
// letter case, huge files, repeated members, absolute paths and files that are no project.
#include "ide/files/project_sources.h"
#include "ide/shell/ide.h"
#include "ide/files/test_printers.h"

#include <QDir>
#include <QRegularExpression>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <mutex>
#include <sys/stat.h>

using host::Ptr;
using ide::files::CodePage;
using ide::files::MemoryFileSystem;

namespace {

QString u(const char *utf8) { return QString::fromUtf8(utf8); }

/// A module file: the name attribute, then `code` with CR LF line ends.
QByteArray moduleBytes(const char *name, const QByteArray &code)
{
    return QByteArray("Attribute VB_Name = \"") + name + "\"\r\n" + code;
}

QStringList paneLines(const Ptr<host::VBProject> &project, const QString &component)
{
    auto module = project->vbComponents()->item(component)->codeModule();
    const int n = module->countOfLines();
    return n == 0 ? QStringList() : module->lines(1, n).split(QStringLiteral("\r\n"));
}

/// Every diagnostic as "file:line: message" with the file's name only, one per line.
std::string diagnosticsOf(const ide::Ide &ide)
{
    QStringList out;
    for (const auto &d : ide.diagnostics())
        out << QStringLiteral("%1:%2: %3").arg(d.file.section(QLatin1Char('/'), -1)).arg(d.line).arg(d.message);
    return out.join(QLatin1Char('\n')).toStdString();
}

std::string lines(const QStringList &list) { return list.join(QLatin1Char('\n')).toStdString(); }

/// Counts what the loader asks of the file system, which it reads on several threads.
class CountingFileSystem : public MemoryFileSystem {
public:
    std::optional<QByteArray> read(const QString &path, QString *error) const override
    {
        {
            const std::lock_guard lock(m_mutex);
            ++reads[path];
        }
        return MemoryFileSystem::read(path, error);
    }
    QStringList entries(const QString &dir) const override
    {
        {
            const std::lock_guard lock(m_mutex);
            ++listings[dir];
        }
        return MemoryFileSystem::entries(dir);
    }
    mutable QHash<QString, int> reads;
    mutable QHash<QString, int> listings;

private:
    mutable std::mutex m_mutex;
};

} // namespace

TEST(LoaderCodePages, ModulesSavedInAnotherCodePageDecodeWithTheirOwn)
{
    // A Spanish cp1252 project whose last module another editor re-saved as UTF-8, with
    // replacement characters where it had lost letters: its evidence outweighs the rest.
    auto fs = std::make_shared<MemoryFileSystem>();
    fs->add(u("/es/Tienda.vbp"), "Type=Exe\r\nModule=Uno; uno.bas\r\nModule=Dos; dos.bas\r\n"
                                  "Module=Tres; tres.bas\r\nName=\"Tienda\"\r\n");
    fs->add(u("/es/uno.bas"), moduleBytes("Uno", "' A\xF1o y n\xFAmero\r\nConst C = \"Espa\xF1ol\"\r\n"));
    fs->add(u("/es/dos.bas"), moduleBytes("Dos", "' Canci\xF3n\r\n"));
    QByteArray saved = "' p\xEF\xBF\xBDgina N\xEF\xBF\xBDmero \xC3\xA1rbol\r\n";
    for (int i = 0; i < 8; ++i)
        saved += "' l\xEF\xBF\xBDnea \xEF\xBF\xBD\xEF\xBF\xBD\r\n";
    fs->add(u("/es/tres.bas"), moduleBytes("Tres", saved));

    ide::Ide ide(fs);
    auto projects = ide.load(u("/es/Tienda.vbp"));
    ASSERT_EQ(projects.size(), 1u);
    EXPECT_EQ(ide.codePageOf(projects[0]), CodePage::Cp1252);
    EXPECT_EQ(paneLines(projects[0], u("Uno")), QStringList({u("' Año y número"), u("Const C = \"Español\"")}));
    EXPECT_EQ(paneLines(projects[0], u("Dos")), QStringList({u("' Canción")}));
    const QStringList tres = paneLines(projects[0], u("Tres"));
    ASSERT_EQ(tres.size(), 9);
    EXPECT_EQ(tres[0], u("' p\uFFFDgina N\uFFFDmero árbol"));
    EXPECT_EQ(diagnosticsOf(ide),
              lines({u("tres.bas:0: Saved in another code page than the rest of the project: decoded as utf-8, not cp1252")}));

    // A Japanese project with one module re-saved as UTF-8.
    fs->add(u("/ja/在庫.vbp"), "Type=Exe\r\nModule=A; a.bas\r\nModule=B; b.bas\r\nName=\"Zaiko\"\r\n");
    fs->add(u("/ja/a.bas"), moduleBytes("A", "' \x8D\xDD\x8C\xC9\x82\xF0\x8A\x6D\x94\x46\x82\xB7\x82\xE9\r\n"
                                             "Const T = \"\x83\x65\x83\x58\x83\x67\"\r\n"));
    fs->add(u("/ja/b.bas"), moduleBytes("B", "' 在庫を数える関数です\r\n"));
    auto ja = ide.load(u("/ja/在庫.vbp"));
    ASSERT_EQ(ja.size(), 1u);
    EXPECT_EQ(ide.codePageOf(ja[0]), CodePage::Cp932);
    EXPECT_EQ(paneLines(ja[0], u("A")), QStringList({u("' 在庫を確認する"), u("Const T = \"テスト\"")}));
    EXPECT_EQ(paneLines(ja[0], u("B")), QStringList({u("' 在庫を数える関数です")}));
    EXPECT_EQ(QString::fromStdString(diagnosticsOf(ide)).section(QLatin1Char('\n'), -1).toStdString(),
              "b.bas:0: Saved in another code page than the rest of the project: decoded as utf-8, not cp932");

    // A project saved in UTF-8 throughout stays UTF-8, without a word.
    fs->add(u("/u8/U.vbp"), "Type=Exe\r\nModule=M; m.bas\r\nModule=N; n.bas\r\nName=\"U\"\r\n");
    fs->add(u("/u8/m.bas"), moduleBytes("M", "' Año y número, canción\r\n"));
    fs->add(u("/u8/n.bas"), moduleBytes("N", "' Gruß, Größe, naïve\r\n"));
    const size_t before = ide.diagnostics().size();
    auto u8 = ide.load(u("/u8/U.vbp"));
    ASSERT_EQ(u8.size(), 1u);
    EXPECT_EQ(ide.codePageOf(u8[0]), CodePage::Utf8);
    EXPECT_EQ(paneLines(u8[0], u("M")), QStringList({u("' Año y número, canción")}));
    EXPECT_EQ(ide.diagnostics().size(), before) << diagnosticsOf(ide);
}

TEST(LoaderDamagedText, NulBytesAreReportedAndATrailingRunIsDropped)
{
    auto fs = std::make_shared<MemoryFileSystem>();
    fs->add(u("/p/P.vbp"), QByteArray("Type=Exe\r\nModule=Cut; cut.bas\r\nModule=Long; long.bas\r\nModule=N; n\0.bas\r\n", 72));
    fs->add(u("/p/n.bas"), moduleBytes("N", ""));
    fs->add(u("/p/cut.bas"), moduleBytes("Cut", QByteArray("Sub A()\r\n  x = 1\0\0\r\nEnd Sub\r\nSub B()\r\n", 38)
                                                    + QByteArray(4096, '\0')));
    QByteArray empty = moduleBytes("Long", "Sub C()\r\nEnd Sub");
    empty += QByteArray(ide::files::MaxFileLines + 50, '\r');
    fs->add(u("/p/long.bas"), empty);

    ide::Ide ide(fs);
    auto projects = ide.load(u("/p/P.vbp"));
    ASSERT_EQ(projects.size(), 1u);
    EXPECT_EQ(paneLines(projects[0], u("Cut")),
              QStringList({u("Sub A()"), QStringLiteral("  x = 1") + QChar(0) + QChar(0), u("End Sub"), u("Sub B()")}));
    auto cut = projects[0]->vbComponents()->item(u("Cut"))->codeModule();
    EXPECT_EQ(cut->procStartLine(u("A"), host::ProcKind::Proc), 1);
    auto longModule = projects[0]->vbComponents()->item(u("Long"))->codeModule();
    EXPECT_EQ(longModule->countOfLines(), ide::files::MaxFileLines - 1); // the attribute line is hidden
    EXPECT_EQ(diagnosticsOf(ide),
              lines({u("P.vbp:4: NUL bytes in the text (first on this line): the file may be damaged"),
                     u("P.vbp:4: The file 'n?.bas' could not be loaded: No such file"),
                     u("cut.bas:3: NUL bytes in the text (first on this line): the file may be damaged"),
                           u("cut.bas:6: 4096 NUL bytes at the end of the file are not loaded: it may have been cut short"),
                           u("cut.bas:5: End Sub missing for B"),
                           u("long.bas:100001: More than 100000 lines: the rest of the file is not loaded")}));
}

TEST(LoaderFileSystem, MembersAreListedOnceReadOnceAndFoldersListedOncePerLoad)
{
    auto fs = std::make_shared<CountingFileSystem>();
    QByteArray vbp = "Type=Exe\r\nName=\"Many\"\r\n";
    for (int i = 1; i <= 300; ++i) {
        const QByteArray name = QByteArray("m") + QByteArray::number(i);
        fs->add(u("/many/src/") + QString::fromLatin1(name) + u(".bas"), moduleBytes(name.constData(), "Sub A()\r\nEnd Sub\r\n"));
        vbp += "Module=" + name + "; SRC\\" + name.toUpper() + ".BAS\r\n"; // made on Windows
    }
    fs->add(u("/many/dup.bas"), moduleBytes("Dup", "' once\r\n"));
    for (int i = 0; i < 200; ++i)
        vbp += i % 2 ? "Module=Dup; dup.bas\r\n" : "Module=Dup; .\\DUP.BAS\r\n";
    fs->add(u("/many/Many.vbp"), vbp);

    ide::Ide ide(fs);
    auto projects = ide.load(u("/many/Many.vbp"));
    ASSERT_EQ(projects.size(), 1u);
    EXPECT_EQ(projects[0]->vbComponents()->count(), 301);
    // Once for the code page's evidence, once to load it: not once a listing.
    EXPECT_EQ(fs->reads.value(u("/many/dup.bas")), 2);
    EXPECT_EQ(fs->reads.value(u("/many/src/m300.bas")), 2);
    EXPECT_EQ(fs->listings.value(u("/many/src")), 1);
    EXPECT_EQ(fs->listings.value(u("/many")), 1);
    EXPECT_EQ(diagnosticsOf(ide),
              lines({u("Many.vbp:304: The file 'dup.bas' is listed 199 more time(s); only line 303 loads it")}));

    // The next load sees the folder as it is then.
    fs->add(u("/many/src/late.bas"), moduleBytes("Late", ""));
    fs->add(u("/many/Late.vbp"), "Type=Exe\r\nName=\"Late\"\r\nModule=Late; src\\LATE.BAS\r\n");
    ASSERT_EQ(ide.load(u("/many/Late.vbp")).size(), 1u);
    EXPECT_EQ(fs->listings.value(u("/many/src")), 2);
}

TEST(LoaderFileSystem, AbsolutePathsOfEveryFormAreRefused)
{
    auto fs = std::make_shared<MemoryFileSystem>();
    fs->add(u("/etc/hostname"), "secret\n");
    fs->add(u("/work/shared/util.bas"), moduleBytes("Util", "Sub U()\r\nEnd Sub\r\n"));
    fs->add(u("/work/app/App.vbp"), "Type=Exe\r\nName=\"App\"\r\nModule=Host; /etc/hostname\r\n"
                                     "Module=Env; \"/proc/self/environ\"\r\nModule=Drive; C:\\shared\\util.bas\r\n"
                                     "Module=Unc; \\\\server\\share\\util.bas\r\nModule=Root; \\etc\\hostname\r\n"
                                     "Module=Util; ..\\shared\\util.bas\r\n");
    fs->add(u("/work/app/G.vbg"), "VBGROUP 5.0\r\nStartupProject=App.vbp\r\nProject=/work/app/App.vbp\r\n");
    ide::Ide ide(fs);
    auto projects = ide.load(u("/work/app/G.vbg"));
    ASSERT_EQ(projects.size(), 1u);
    EXPECT_EQ(projects[0]->vbComponents()->count(), 1);
    EXPECT_EQ(projects[0]->vbComponents()->item(1)->name(), u("Util"));
    const QStringList expected = {
        u("G.vbg:3: The project '/work/app/App.vbp' could not be loaded: absolute paths are not followed"),
        u("App.vbp:3: The file '/etc/hostname' could not be loaded: absolute paths are not followed"),
        u("App.vbp:4: The file '/proc/self/environ' could not be loaded: absolute paths are not followed"),
        u("App.vbp:5: The file 'C:\\shared\\util.bas' could not be loaded: absolute paths are not followed"),
        u("App.vbp:6: The file '\\\\server\\share\\util.bas' could not be loaded: absolute paths are not followed"),
        u("App.vbp:7: The file '\\etc\\hostname' could not be loaded: absolute paths are not followed")};
    EXPECT_EQ(diagnosticsOf(ide), lines(expected));
}

TEST(LoaderFileSystem, FilesThatAreNoGroupOrProjectLoadNothing)
{
    auto fs = std::make_shared<MemoryFileSystem>();
    fs->add(u("/g/self.vbg"), "VBGROUP 5.0\r\nStartupProject=self.vbg\r\n");
    fs->add(u("/g/a.vbg"), "VBGROUP 5.0\r\nStartupProject=b.vbg\r\n");
    fs->add(u("/g/b.vbg"), "VBGROUP 5.0\r\nStartupProject=a.vbg\r\n");
    fs->add(u("/g/headless.vbg"), "StartupProject=P.vbp\r\n");
    fs->add(u("/g/P.vbp"), "Type=Exe\r\nName=\"P\"\r\n");
    fs->add(u("/g/notes.txt"), "colour=blue\r\n");
    ide::Ide ide(fs);
    for (const char *file : {"/g/self.vbg", "/g/a.vbg", "/g/headless.vbg", "/g/notes.txt"}) {
        const size_t before = ide.diagnostics().size();
        EXPECT_TRUE(ide.load(u(file)).empty()) << file;
        EXPECT_GT(ide.diagnostics().size(), before) << file;
    }
    EXPECT_EQ(ide.vbe()->vbProjects()->count(), 0);
    const QStringList d = QString::fromStdString(diagnosticsOf(ide)).split(QLatin1Char('\n'));
    EXPECT_TRUE(d.contains(u("self.vbg:0: Not a Visual Basic project file: no Type= line."))) << d.join(u("\n")).toStdString();
    EXPECT_TRUE(d.contains(u("headless.vbg:1: Missing 'VBGROUP 5.0' header: not a project group")));
    EXPECT_TRUE(d.contains(u("notes.txt:0: Not a Visual Basic project file: no Type= line.")));
}

TEST(LoaderDisk, DevicesAndPipesAreRefusedAndTheRestLoads)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString dir = tmp.path();
    auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile f(dir + u("/") + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write(u("good.bas"), moduleBytes("Good", "Sub G()\r\nEnd Sub\r\n"));
    write(u("P.vbp"), "Type=Exe\r\nName=\"P\"\r\nModule=Pipe; pipe.bas\r\nModule=Zero; zero.bas\r\n"
                      "Module=Good; good.bas\r\n");
    write(u("G.vbg"), "VBGROUP 5.0\r\nStartupProject=zero.vbp\r\nProject=P.vbp\r\n");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + u("/pipe.bas")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(u("/dev/zero"), dir + u("/zero.bas")));
    ASSERT_TRUE(QFile::link(u("/dev/zero"), dir + u("/zero.vbp")));

    ide::Ide ide;
    auto projects = ide.load(dir + u("/G.vbg"));
    ASSERT_EQ(projects.size(), 1u);
    EXPECT_EQ(projects[0]->vbComponents()->count(), 1);
    EXPECT_TRUE(ide.load(u("/dev/zero")).empty());
    const QString refused = u("Not a regular file (a device, pipe or socket)");
    EXPECT_EQ(diagnosticsOf(ide),
              lines({u("zero.vbp:0: The project file could not be loaded: ") + refused,
                           u("P.vbp:3: The file 'pipe.bas' could not be loaded: ") + refused,
                           u("P.vbp:4: The file 'zero.bas' could not be loaded: ") + refused,
                           u("zero:0: The project file could not be loaded: ") + refused}));
}

TEST(LoaderThreads, EveryThreadCountLoadsTheSameProject)
{
    // Modules of every kind and damage, so that each carries its own diagnostics; two claim the
    // same name, and the one listed first must win whichever thread reads it.
    auto fs = std::make_shared<MemoryFileSystem>();
    QByteArray vbp = "Type=Exe\r\nName=\"Threads\"\r\n";
    for (int i = 1; i <= 40; ++i) {
        const QByteArray n = QByteArray::number(i);
        QByteArray code;
        switch (i % 5) {
        case 0: code = "Sub Open" + n + "()\r\n  x = 1\r\n"; break;                 // End Sub missing
        case 1: code = QByteArray("' NUL\0here\r\nSub A()\r\nEnd Sub\r\n", 30); break;
        case 2: code = "Private Type T\r\n  a As Long\r\n"; break;                  // End Type missing
        case 3: code = "' caf\xE9 " + QByteArray(1100, 'x') + "\r\n"; break;        // over 1023 characters
        default: code = "Public Function F" + n + "() As Long\r\nEnd Function\r\n"; break;
        }
        const QByteArray name = i == 17 ? QByteArray("M3") : "M" + n;
        fs->add(u("/t/m") + QString::number(i) + u(".bas"), moduleBytes(name.constData(), code));
        vbp += "Module=" + name + "; m" + n + ".bas\r\n";
        // Files that cannot be read, between ones that are missing or refused: their messages
        // keep the order of the .vbp's lines whichever thread found them unreadable.
        if (i % 9 == 0)
            fs->setReadError(u("/t/m") + QString::number(i) + u(".bas"), u("Permission denied"));
        if (i % 9 == 1)
            vbp += "Module=Gone" + n + "; gone" + n + ".bas\r\nModule=Abs" + n + "; C:\\abs.bas\r\n";
    }
    fs->add(u("/t/f.frm"), "VERSION 5.00\r\nBegin VB.Form Form1\r\n   Caption = \"x\"\r\nEnd\r\n"
                           "Attribute VB_Name = \"Form1\"\r\nSub Form_Load()\r\n");
    vbp += "Form=f.frm\r\n";
    fs->add(u("/t/T.vbp"), vbp);

    auto loaded = [&](int threads) {
        ide::Ide ide(fs);
        ide.setLoadThreads(threads);
        auto projects = ide.load(u("/t/T.vbp"));
        QStringList out;
        if (projects.size() != 1)
            return std::string("not loaded");
        auto components = projects[0]->vbComponents();
        for (int c = 1; c <= components->count(); ++c) {
            auto module = components->item(c)->codeModule();
            out << components->item(c)->name() + u(" ") + QString::number(module->countOfLines()) + u(" ")
                       + module->lines(1, module->countOfLines());
        }
        return diagnosticsOf(ide) + "\n" + lines(out);
    };
    const std::string one = loaded(1);
    const QStringList vbpLines = QString::fromStdString(one).split(u'\n').filter(QRegularExpression(u("^T\\.vbp:")));
    ASSERT_EQ(vbpLines.size(), 5 * 2 + 4) << one; // gone and absolute after m1, m10, ..., m37; m9 ... m36 unreadable
    EXPECT_EQ(vbpLines[0], u("T.vbp:4: The file 'gone1.bas' could not be loaded: No such file")) << one;
    EXPECT_EQ(vbpLines[2], u("T.vbp:13: The file 'm9.bas' could not be loaded: Permission denied")) << one;
    int previous = 0;
    for (const QString &line : vbpLines) {
        const int at = line.section(u':', 1, 1).toInt();
        EXPECT_GT(at, previous) << one;
        previous = at;
    }
    EXPECT_NE(one.find("m17.bas:0: A component named M3 is already loaded"), std::string::npos) << one;
    EXPECT_NE(one.find("f.frm:6: End Sub missing for Form_Load"), std::string::npos) << one;
    EXPECT_EQ(loaded(2), one);
    EXPECT_EQ(loaded(4), one);
    EXPECT_EQ(loaded(64), one);
    EXPECT_EQ(loaded(0), one);
}
