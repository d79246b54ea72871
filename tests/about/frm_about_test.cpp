// The version dialog: its labels, the memory figures, closing and the system's about box.
#include "about/frm_about.h"

#include <QLocale>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct AboutDialog : testing::Test {
    controls::HeadlessPlatform platform;
    controls::ScopedPlatform scoped{platform};
    about::FrmAbout form;

    /// `digits` with the locale's thousands separator where "," stands.
    static QString grouped(QString digits)
    {
        QString separator = QLocale::system().groupSeparator();
        return digits.replace(QLatin1Char(','), separator.isEmpty() ? QStringLiteral(",") : separator);
    }
};

TEST_F(AboutDialog, FiguresGetASeparatorAfterEveryThirdDigitAndKeepAllSixtyFourBits)
{
    const std::vector<std::pair<quint64, const char *>> cases = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {2147483647, "2,147,483,647"},
        {4294967296ull, "4,294,967,296"},   // one past what a 32-bit counter holds
        {18446744073709551615ull, "18,446,744,073,709,551,615"},
    };
    for (const auto &[bytes, text] : cases)
        EXPECT_EQ(about::formatByteCount(bytes), grouped(QString::fromLatin1(text))) << bytes;
}

TEST_F(AboutDialog, GetMemoryInfoFillsTheSixFiguresInTheirOrder)
{
    controls::MemoryStatus memory;
    memory.totalPhysical = 64ull << 30;
    memory.availablePhysical = 5ull << 30;
    memory.totalPageFile = 1;
    memory.availablePageFile = 22;
    memory.totalVirtual = 333;
    memory.availableVirtual = 4444;
    platform.setMemoryStatus(memory);
    form.load();
    form.GetMemoryInfo();
    QStringList shown;
    for (const auto &label : form.lblInfo)
        shown << label.caption();
    EXPECT_EQ(shown, (QStringList{grouped(QStringLiteral("68,719,476,736")), grouped(QStringLiteral("5,368,709,120")),
                                  QStringLiteral("1"), QStringLiteral("22"), QStringLiteral("333"),
                                  grouped(QStringLiteral("4,444"))}));
}

TEST_F(AboutDialog, TheMachinesOwnFiguresAreSound)
{
    const controls::MemoryStatus memory = platform.memoryStatus();
#ifdef Q_OS_LINUX
    EXPECT_GT(memory.totalPhysical, 0u);
#endif
    EXPECT_LE(memory.availablePhysical, memory.totalPhysical);
    EXPECT_LE(memory.availablePageFile, memory.totalPageFile);
    EXPECT_LE(memory.availableVirtual, memory.totalVirtual);
}

TEST_F(AboutDialog, LoadingFillsTheCaptionsAndDrawsTheEdge)
{
    form.load();
    EXPECT_EQ(form.caption(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(form.lblAppVer.caption(), about::applicationVersion());
    EXPECT_TRUE(form.lblAppVer.caption().contains(QRegularExpression(QStringLiteral("^Tessary \\d+\\.\\d+\\.\\d+$"))));
    QStringList names;
    for (const auto &label : form.Label)
        names << label.caption();
    EXPECT_EQ(names, (QStringList{"総物理メモリ：", "空物理メモリ：", "総ページングファイル：", "空ページングファイル：",
                                  "総仮想ユーザーメモリ：", "空仮想ユーザーメモリ："}));
    for (const auto &unit : form.LabelUnit)
        EXPECT_EQ(unit.caption(), QStringLiteral("Bytes"));
    EXPECT_EQ(form.LabelUnit[5].name(), QStringLiteral("Label18"));
    EXPECT_EQ(form.cmdOSVersion.caption(), QStringLiteral("Windowsのﾊﾞｰｼﾞｮﾝ"));
    ASSERT_EQ(form.drawnEdges().size(), 1);
    EXPECT_EQ(form.drawnEdges().first().edge, 4);
    EXPECT_EQ(form.drawnEdges().first().flags, 15);
}

TEST_F(AboutDialog, OkAndTheCloseBoxOnlyHideTheFormSoItsImageListStays)
{
    form.show();
    form.cmdOK.press();
    EXPECT_FALSE(form.visible());
    EXPECT_TRUE(form.loaded());
    form.show();
    EXPECT_FALSE(form.userClose());
    EXPECT_FALSE(form.visible());
    EXPECT_TRUE(form.loaded());
}

TEST_F(AboutDialog, TheWindowsButtonShowsTheSystemsAboutBox)
{
    form.show();
    form.cmdOSVersion.press();
    const QList<std::pair<QString, QString>> boxes = {{QStringLiteral("Windows"), QString()}};
    EXPECT_EQ(platform.aboutBoxes(), boxes);
}

TEST(ResourceBitmap, IsTheFileOfTheKeyAsItsBytes)
{
    const host::Picture folder = about::resourceBitmap(QStringLiteral("FOLDER"));
    EXPECT_TRUE(folder.bytes().startsWith("\x89PNG"));
    EXPECT_EQ(folder.size(), QSize(16, 16));
    EXPECT_NE(folder, about::resourceBitmap(QStringLiteral("FOLDOPEN")));
    EXPECT_TRUE(about::resourceBitmap(QStringLiteral("NO SUCH KEY")).isNull());
}

} // namespace
