// Project properties and references of a project.
#include "analysis/project_info.h"

#include "support/tool_window.h"

#include <gtest/gtest.h>

using testing_support::columnLines;
using testing_support::OpenToolWindow;
using testing_support::rowKeys;
using testing_support::rowLines;
using testing_support::TestProject;

namespace {

std::unique_ptr<ide::Ide> libraryProject()
{
    return TestProject(QStringLiteral("Lib"), QStringLiteral("OleDll"))
        .module(QStringLiteral("Module1"), QString())
        .vbpLine(QStringLiteral("Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\..\\WINDOWS\\system32\\stdole2.tlb#OLE Automation"))
        .vbpLine(QStringLiteral("Reference=*\\G{11111111-2222-3333-4444-555555555555}#1.0#0#C:\\Missing\\gone.dll#Missing Library"))
        .vbpLine(QStringLiteral("Description=\"部品ライブラリ\""))
        .vbpLine(QStringLiteral("HelpFile=\"lib.hlp\""))
        .vbpLine(QStringLiteral("HelpContextID=\"42\""))
        .vbpLine(QStringLiteral("ExeName32=\"Lib.dll\""))
        .build();
}

} // namespace

TEST(AnalysisProjectInfo, PropertiesOfAProject)
{
    OpenToolWindow w(libraryProject());
    auto &list = w.doc->lvwDetail(0);
    w.showFor(QStringLiteral("Lib"), QStringLiteral("Project"));
    analysis::ShowProjectProperties(*w.doc, w.vbe(), QStringLiteral("Lib"), true);
    EXPECT_EQ(columnLines(list), (QStringList{"Property", "Value"}));
    const auto project = w.ide->vbe()->vbProjects()->item(1);
    EXPECT_EQ(rowLines(list), (QStringList{"BuildFileName|PROJECT|" + project->buildFileName(),
                                           QStringLiteral("Description|PROJECT|部品ライブラリ"),
                                           "FileName|PROJECT|" + project->fileName(),
                                           QStringLiteral("HelpContextID|PROJECT|42"),
                                           QStringLiteral("HelpFile|PROJECT|lib.hlp"),
                                           QStringLiteral("Type|PROJECT|ActiveX DLL")}));
    EXPECT_TRUE(project->buildFileName().endsWith(QStringLiteral("Lib.dll")));

    // Not guarded: an unknown project is the caller's error.
    EXPECT_THROW(analysis::ShowProjectProperties(*w.doc, w.vbe(), QStringLiteral("Gone"), true), host::Error);

    EXPECT_EQ(analysis::projectTypeText(host::ProjectType::StandardExe), QStringLiteral("Standard Exe"));
    EXPECT_EQ(analysis::projectTypeText(host::ProjectType::ActiveXExe), QStringLiteral("ActiveX Exe"));
    EXPECT_EQ(analysis::projectTypeText(host::ProjectType::ActiveXControl), QStringLiteral("ActiveX Control"));
    EXPECT_EQ(analysis::projectTypeText(host::ProjectType(9)), QString());
}

TEST(AnalysisProjectInfo, ReferencesWithoutTheBrokenOnes)
{
    OpenToolWindow w(libraryProject());
    auto &list = w.doc->lvwDetail(0);
    w.showFor(QStringLiteral("Lib"), QStringLiteral("Reference"));
    analysis::ShowReferences(*w.doc, w.vbe(), true);
    EXPECT_EQ(columnLines(list), (QStringList{"Reference", "Description", "FullPath", "GUID"}));

    const auto references = w.ide->vbe()->vbProjects()->item(1)->references();
    ASSERT_EQ(references->count(), 4);
    EXPECT_EQ(rowKeys(list), (QStringList{"VB", "VBRUN", "stdole"}));
    const QStringList rows = rowLines(list);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("VB (ﾋﾞﾙﾄｲﾝ)|LIBRARY|Visual Basic objects and procedures|")));
    EXPECT_TRUE(rows[0].endsWith(QStringLiteral("|{FCFB3D2E-A0FA-1068-A738-08002B3371B5}")));
    EXPECT_TRUE(rows[1].startsWith(QStringLiteral("VBRUN (ﾋﾞﾙﾄｲﾝ)|LIBRARY|")));
    EXPECT_TRUE(rows[2].startsWith(QStringLiteral("stdole|LIBRARY|OLE Automation|"))) << rows[2].toStdString();

    // A project the host no longer has lists nothing.
    w.showFor(QStringLiteral("Gone"), QStringLiteral("Reference"));
    analysis::ShowReferences(*w.doc, w.vbe(), true);
    EXPECT_EQ(list.listItems().count(), 0);
    EXPECT_TRUE(w.platform.messages().isEmpty());
}
