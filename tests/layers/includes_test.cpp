// Which src/ folder may include which: the add-in sees only host/ and controls/, the front
// ends share frontend/ and never include each other. Every #include "dir/..." in src/ is checked.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QStringList kAddIn = {"connect", "docmain", "analysis", "find", "inspection", "about", "shared"};

/// The folders a source folder may include from (its own is always allowed); empty
/// for folders without a rule.
QStringList allowedFrom(const QString &folder)
{
    const QStringList model = {"host", "controls"};
    if (folder == QLatin1String("host"))
        return {};
    if (folder == QLatin1String("controls"))
        return {"host"};
    if (folder == QLatin1String("ide"))
        return {"host"};
    if (kAddIn.contains(folder))
        return model + kAddIn;
    if (folder == QLatin1String("frontend"))
        return model + kAddIn + QStringList{"ide"};
    if (folder == QLatin1String("cli") || folder == QLatin1String("gui"))
        return model + kAddIn + QStringList{"ide", "frontend"};
    return {};
}

/// Why `folder` may not include `included` ("dir/file.h"); empty when it may.
QString violation(const QString &folder, const QString &included)
{
    const QString target = included.section(QLatin1Char('/'), 0, 0);
    if (!included.contains(QLatin1Char('/')) || target == folder)
        return {};
    if (!QDir(QStringLiteral(TESSARY_SOURCE_DIR "/src/") + target).exists())
        return {};   // not a src/ folder (a Qt or system header in quotes)
    if (allowedFrom(folder).contains(target))
        return {};
    return QStringLiteral("%1/ includes %2").arg(folder, included);
}

} // namespace

TEST(Layers, TheRulesRejectIncludesThatGoTheWrongWay)
{
    for (const char *addIn : {"connect", "docmain", "about", "shared"}) {
        for (const char *above : {"ide/shell/ide.h", "gui/app.h", "cli/dump.h", "frontend/session.h"})
            EXPECT_FALSE(violation(addIn, above).isEmpty()) << addIn << " -> " << above;
        EXPECT_TRUE(violation(addIn, "host/vbide.h").isEmpty());
        EXPECT_TRUE(violation(addIn, "controls/form.h").isEmpty());
    }
    for (const char *above : {"docmain/doc_main.h", "ide/shell/ide.h", "frontend/json.h"}) {
        EXPECT_FALSE(violation("controls", above).isEmpty()) << above;
        EXPECT_FALSE(violation("host", above).isEmpty()) << above;
    }
    EXPECT_FALSE(violation("host", "controls/form.h").isEmpty());
    EXPECT_FALSE(violation("ide", "docmain/doc_main.h").isEmpty());
    EXPECT_FALSE(violation("cli", "gui/app.h").isEmpty());
    EXPECT_FALSE(violation("gui", "cli/dump.h").isEmpty());
    EXPECT_FALSE(violation("frontend", "gui/app.h").isEmpty());
    EXPECT_TRUE(violation("gui", "frontend/session.h").isEmpty());
    EXPECT_TRUE(violation("cli", "ide/shell/ide.h").isEmpty());
    EXPECT_TRUE(violation("gui", "gui/units.h").isEmpty());
}

TEST(Layers, NoIncludeInSrcCrossesThemTheWrongWay)
{
    const QString src = QStringLiteral(TESSARY_SOURCE_DIR "/src/");
    static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s*"([^"]+)")re"),
                                            QRegularExpression::MultilineOption);
    QStringList found;
    int files = 0;
    QDirIterator it(src, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = path.mid(src.size());
        const QString folder = relative.section(QLatin1Char('/'), 0, 0);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        ++files;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto m = include.globalMatch(text); m.hasNext();) {
            const QString why = violation(folder, m.next().captured(1));
            if (!why.isEmpty())
                found << relative + QLatin1String(": ") + why;
        }
    }
    EXPECT_GT(files, 50);
    EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
}

TEST(Layers, OnlyTheDesktopUsesQtsGuiModules)
{
    // The command line must start without loading the GUI libraries, so everything it links
    // (every src/ folder but gui/) names neither them in CMake nor their headers by module.
    const QString src = QStringLiteral(TESSARY_SOURCE_DIR "/src/");
    static const QRegularExpression linked(QStringLiteral(R"re(Qt6?::(Gui|Widgets))re"));
    static const QRegularExpression included(QStringLiteral(R"re(^\s*#\s*include\s*<Qt(Gui|Widgets)/)re"),
                                             QRegularExpression::MultilineOption);
    QStringList found;
    QDirIterator it(src, {QStringLiteral("CMakeLists.txt"), QStringLiteral("*.h"), QStringLiteral("*.cpp")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = path.mid(src.size());
        if (relative.startsWith(QLatin1String("gui/")))
            continue;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString text = QString::fromUtf8(file.readAll());
        const bool cmake = relative.endsWith(QLatin1String("CMakeLists.txt"));
        if (cmake ? text.contains(linked) : text.contains(included))
            found << relative;
    }
    EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
}
