// The tool window as the analysis sees it.
#include "docmain/doc_main.h"

#include "controls/platform.h"
#include "shared/bas_quillbox.h"

#include <gtest/gtest.h>

TEST(AnalysisToolWindow, DocMainAnswersWithItsOwnControlsAndState)
{
    controls::HeadlessPlatform platform;
    controls::ScopedPlatform scoped(platform);
    shared::resetBasQuillbox();
    auto doc = docmain::createDocument();
    analysis::ToolWindow &window = *doc;
    EXPECT_EQ(&window.tree(1), &doc->tvwProject(1));
    EXPECT_EQ(&window.list(3), &doc->lvwDetail(3));
    EXPECT_EQ(window.currentTab(), doc->mintCurrentTab);
    EXPECT_TRUE(window.buttonDown(QStringLiteral("PROC")));
    EXPECT_FALSE(window.buttonDown(QStringLiteral("CTRL")));
}
