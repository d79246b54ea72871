// SendKeys strings as key strokes, and their delivery.
#include "gui/send_keys.h"
#include "gui_test_support.h"

#include "host/error.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace ide {
// Readable strokes in GoogleTest's messages (found by argument-dependent lookup).
void PrintTo(const KeyStroke &s, std::ostream *out)
{
    *out << "{" << s.key << "," << int(s.modifiers) << ",'" << s.text.toStdString() << "'}";
}
} // namespace ide

namespace {

using gui::KeyStroke;

KeyStroke stroke(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = {})
{
    return KeyStroke{key, modifiers, text};
}

TEST(SendKeysTest, ParsesVbsSyntax)
{
    const auto ctrl = Qt::ControlModifier;
    const auto shift = Qt::ShiftModifier;
    const auto alt = Qt::AltModifier;
    struct Case {
        const char *keys;
        QList<KeyStroke> strokes;
    };
    const Case cases[] = {
        {"", {}},
        {"ab", {stroke(Qt::Key_A, {}, QStringLiteral("a")), stroke(Qt::Key_B, {}, QStringLiteral("b"))}},
        {"A1", {stroke(Qt::Key_A, {}, QStringLiteral("A")), stroke(Qt::Key_1, {}, QStringLiteral("1"))}},
        {"^({Home})", {stroke(Qt::Key_Home, ctrl)}},
        {"^(+({End}))", {stroke(Qt::Key_End, ctrl | shift)}},
        {"{Del}", {stroke(Qt::Key_Delete)}},
        {"{DELETE}{bs}{BKSP}",
         {stroke(Qt::Key_Delete), stroke(Qt::Key_Backspace), stroke(Qt::Key_Backspace)}},
        {"~", {stroke(Qt::Key_Return, {}, QStringLiteral("\r"))}},
        {"{ENTER}", {stroke(Qt::Key_Return, {}, QStringLiteral("\r"))}},
        {"+{F10}", {stroke(Qt::Key_F10, shift)}},
        {"%fx", {stroke(Qt::Key_F, alt, QStringLiteral("f")), stroke(Qt::Key_X, {}, QStringLiteral("x"))}},
        {"^(ab)c",
         {stroke(Qt::Key_A, ctrl, QStringLiteral("a")), stroke(Qt::Key_B, ctrl, QStringLiteral("b")),
          stroke(Qt::Key_C, {}, QStringLiteral("c"))}},
        {"{DOWN 3}", {stroke(Qt::Key_Down), stroke(Qt::Key_Down), stroke(Qt::Key_Down)}},
        {"{+}{^}{%}{~}{(}{)}",
         {stroke(Qt::Key_Plus, {}, QStringLiteral("+")), stroke(Qt::Key_AsciiCircum, {}, QStringLiteral("^")),
          stroke(Qt::Key_Percent, {}, QStringLiteral("%")), stroke(Qt::Key_AsciiTilde, {}, QStringLiteral("~")),
          stroke(Qt::Key_ParenLeft, {}, QStringLiteral("(")), stroke(Qt::Key_ParenRight, {}, QStringLiteral(")"))}},
        {"{{}{}}", {stroke(Qt::Key_BraceLeft, {}, QStringLiteral("{")), stroke(Qt::Key_BraceRight, {}, QStringLiteral("}"))}},
        {"{TAB}{ESC}{PGDN}{F16}",
         {stroke(Qt::Key_Tab, {}, QStringLiteral("\t")), stroke(Qt::Key_Escape), stroke(Qt::Key_PageDown),
          stroke(Qt::Key_F16)}},
        {"{x 0}", {}},
    };
    for (const Case &c : cases) {
        const QList<KeyStroke> parsed = gui::parseSendKeys(QString::fromUtf8(c.keys));
        EXPECT_EQ(parsed, c.strokes) << c.keys;
    }
}

TEST(SendKeysTest, MalformedStringsRaise5)
{
    for (const char *keys : {"{", "}", "{}", "(", "a)", "^(a", "{NOSUCHKEY}", "{DOWN x}", "{DOWN -1}", "{Home"}) {
        try {
            gui::parseSendKeys(QString::fromUtf8(keys));
            ADD_FAILURE() << keys << " parsed";
        } catch (const host::Error &e) {
            EXPECT_EQ(e.number(), 5) << keys;
        }
    }
}

TEST(SendKeysTest, DeliversToTheWidget)
{
    gui_test::app();
    QLineEdit edit;
    edit.setText(QStringLiteral("hello world"));
    gui::deliverKeys(&edit, gui::parseSendKeys(QStringLiteral("{HOME}+{END}{DEL}ab{LEFT}X")));
    EXPECT_EQ(edit.text(), QStringLiteral("aXb"));
    gui::deliverKeys(nullptr, gui::parseSendKeys(QStringLiteral("abc"))); // nowhere to go: nothing happens
}

} // namespace
