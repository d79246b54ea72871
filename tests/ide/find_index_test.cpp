// The whole-word token index (and the substring index behind searches without whole word)
// gives exactly what a plain scan gives, on the bundled example code: every word of every
// module and parts of them, with each option combination.
#include "ide/shell/impl.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

TEST(FindIndex, EqualsPlainScanOnTheExamples)
{
    ide::Ide ide;
    ide.load(QStringLiteral(TESSARY_SOURCE_DIR "/examples/Tessary.vbg"));
    auto projects = ide.vbe()->vbProjects();
    int compared = 0;
    int hits = 0;
    for (int p = 1; p <= projects->count(); ++p) {
        auto components = projects->item(p)->vbComponents();
        QSet<QString> words;
        std::vector<std::shared_ptr<ide::CodeModuleImpl>> modules;
        for (int c = 1; c <= components->count(); ++c) {
            std::shared_ptr<host::CodeModule> module;
            if (!host::resumeNext([&] { module = components->item(c)->codeModule(); }))
                continue;
            auto impl = std::dynamic_pointer_cast<ide::CodeModuleImpl>(module);
            ASSERT_NE(impl, nullptr);
            modules.push_back(impl);
            static const QRegularExpression word(QStringLiteral("[\\w$]+|\\.[A-Za-z]+"));
            for (int line = 1; line <= impl->countOfLines(); ++line) {
                auto it = word.globalMatch(impl->lines(line, 1));
                while (it.hasNext())
                    words.insert(it.next().captured());
            }
        }
        // Parts of words: what searches without whole word find inside longer tokens.
        for (const QString &w : QStringList(words.begin(), words.end())) {
            if (w.size() >= 4) {
                words.insert(w.mid(1, w.size() - 2));
                words.insert(w.left(3));
            }
        }
        // Patterns with wildcards around literal runs (the inspection's "Property*" & name).
        int patterns = 0;
        for (const QString &w : QStringList(words.begin(), words.end())) {
            if (w.size() < 4 || !w.front().isLetter() || ++patterns > 150)
                continue;
            words.insert(QStringLiteral("Property*") + w);
            words.insert(QStringLiteral("*") + w.mid(1) + QStringLiteral("?"));
            words.insert(w.left(2) + QStringLiteral("#*") + w.right(2));
        }
        words.insert(QStringLiteral("[a-c]*Sub"));
        words.insert(QStringLiteral("ELSE"));
        words.insert(QStringLiteral("n_C"));
        words.insert(QStringLiteral("e.S"));
        words.insert(QStringLiteral("在庫数"));
        for (const auto &module : modules) {
            const auto &code = module->code();
            for (const QString &w : words) {
                for (int options = 0; options < 8; ++options) {
                    const bool wholeWord = options & 1;
                    const bool matchCase = options & 2;
                    const bool pattern = options & 4;
                    if (matchCase && pattern)
                        continue;
                    // Walk every hit the way callers do, from the top to the end.
                    int line = 1, col = 1;
                    for (int guard = 0; guard < 1000; ++guard) {
                        int a1 = line, b1 = col, c1 = -1, d1 = -1;
                        int a2 = line, b2 = col, c2 = -1, d2 = -1;
                        const bool f1 = code.find(w, a1, b1, c1, d1, wholeWord, matchCase, pattern);
                        const bool f2 = code.findByScan(w, a2, b2, c2, d2, wholeWord, matchCase, pattern);
                        ++compared;
                        ASSERT_EQ(f1, f2) << w.toStdString() << " in " << module->name().toStdString();
                        ASSERT_EQ(std::tie(a1, b1, c1, d1), std::tie(a2, b2, c2, d2)) << w.toStdString();
                        if (!f1)
                            break;
                        ++hits;
                        line = a1;
                        col = d1;
                    }
                }
            }
        }
    }
    EXPECT_GT(compared, 10000);
    EXPECT_GT(hits, 1000);
}
