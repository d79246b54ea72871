// The option pieces both programs share.
#include "frontend/console.h"
#include "frontend/options.h"

#include <gtest/gtest.h>

TEST(Options, EncodingTakesBothSpellingsAndNamesTheUnknownOne)
{
    using ide::files::CodePage;
    struct Case {
        QStringList args;
        bool ok;
        CodePage page;
        int next;   // index after the option
    };
    const std::vector<Case> cases = {
        {{"--encoding", "cp1252", "x.vbp"}, true, CodePage::Cp1252, 1},
        {{"--encoding=utf-8"}, true, CodePage::Utf8, 0},
        {{"--encoding=cp932"}, true, CodePage::Cp932, 0},
        {{"--encoding", "ebcdic"}, false, CodePage::Auto, 1},
        {{"--encoding"}, false, CodePage::Auto, 0},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(frontend::isEncodingOption(c.args[0]));
        int i = 0;
        CodePage page = CodePage::Auto;
        QString error;
        EXPECT_EQ(frontend::takeEncoding(c.args, i, page, error), c.ok) << c.args.join(' ').toStdString();
        EXPECT_EQ(page, c.page);
        EXPECT_EQ(i, c.next);
        EXPECT_EQ(error.isEmpty(), c.ok);
    }
    EXPECT_FALSE(frontend::isEncodingOption(QStringLiteral("--encodings")));
}

TEST(Console, PathsAreShownFromTheNamedFilesFolder)
{
    EXPECT_EQ(frontend::relativePath(QStringLiteral("/a/examples"), QStringLiteral("/a/examples/Stock/Stock.vbp")),
              QStringLiteral("Stock/Stock.vbp"));
    EXPECT_EQ(frontend::relativePath(QStringLiteral("/a/examples/Gauge"), QStringLiteral("/a/examples/bin/x.ocx")),
              QStringLiteral("../bin/x.ocx"));
    // Paths as a project file writes them stay as they are.
    EXPECT_EQ(frontend::relativePath(QStringLiteral("/a"), QStringLiteral("C:\\WINDOWS\\x.dll")),
              QStringLiteral("C:\\WINDOWS\\x.dll"));
    EXPECT_EQ(frontend::relativePath(QStringLiteral("/a"), QStringLiteral("..\\lib\\x.tlb")),
              QStringLiteral("..\\lib\\x.tlb"));
    EXPECT_EQ(frontend::relativePath(QString(), QStringLiteral("/a/b.vbp")), QStringLiteral("/a/b.vbp"));
}
