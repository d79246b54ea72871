#include "ide/shell/send_keys.h"

#include "host/error.h"

#include <QHash>

namespace ide {

namespace {

const QHash<QString, int> &keyNames()
{
    static const QHash<QString, int> names = [] {
        QHash<QString, int> n{
            {QStringLiteral("BACKSPACE"), Qt::Key_Backspace}, {QStringLiteral("BS"), Qt::Key_Backspace},
            {QStringLiteral("BKSP"), Qt::Key_Backspace},      {QStringLiteral("BREAK"), Qt::Key_Pause},
            {QStringLiteral("CAPSLOCK"), Qt::Key_CapsLock},   {QStringLiteral("DELETE"), Qt::Key_Delete},
            {QStringLiteral("DEL"), Qt::Key_Delete},          {QStringLiteral("DOWN"), Qt::Key_Down},
            {QStringLiteral("END"), Qt::Key_End},             {QStringLiteral("ENTER"), Qt::Key_Return},
            {QStringLiteral("ESC"), Qt::Key_Escape},          {QStringLiteral("HELP"), Qt::Key_Help},
            {QStringLiteral("HOME"), Qt::Key_Home},           {QStringLiteral("INSERT"), Qt::Key_Insert},
            {QStringLiteral("INS"), Qt::Key_Insert},          {QStringLiteral("LEFT"), Qt::Key_Left},
            {QStringLiteral("NUMLOCK"), Qt::Key_NumLock},     {QStringLiteral("PGDN"), Qt::Key_PageDown},
            {QStringLiteral("PGUP"), Qt::Key_PageUp},         {QStringLiteral("PRTSC"), Qt::Key_Print},
            {QStringLiteral("RIGHT"), Qt::Key_Right},         {QStringLiteral("SCROLLLOCK"), Qt::Key_ScrollLock},
            {QStringLiteral("TAB"), Qt::Key_Tab},             {QStringLiteral("UP"), Qt::Key_Up},
            {QStringLiteral("ADD"), Qt::Key_Plus},            {QStringLiteral("SUBTRACT"), Qt::Key_Minus},
            {QStringLiteral("MULTIPLY"), Qt::Key_Asterisk},   {QStringLiteral("DIVIDE"), Qt::Key_Slash},
        };
        for (int f = 1; f <= 16; ++f)
            n.insert(QStringLiteral("F%1").arg(f), Qt::Key_F1 + (f - 1));
        return n;
    }();
    return names;
}

[[noreturn]] void malformed() { throw host::Error(host::err::InvalidCall); }

KeyStroke charStroke(QChar c, Qt::KeyboardModifiers modifiers)
{
    KeyStroke s;
    s.modifiers = modifiers;
    s.text = QString(c);
    const QChar upper = c.toUpper();
    if (upper.unicode() >= 'A' && upper.unicode() <= 'Z')
        s.key = Qt::Key_A + (upper.unicode() - 'A');
    else if (c.unicode() < 0x80)
        s.key = c.unicode(); // Qt's key codes equal ASCII for the printable characters
    else
        s.key = Qt::Key_unknown;
    return s;
}

KeyStroke namedStroke(int key, Qt::KeyboardModifiers modifiers)
{
    KeyStroke s;
    s.key = key;
    s.modifiers = modifiers;
    if (key == Qt::Key_Return)
        s.text = QStringLiteral("\r");
    else if (key == Qt::Key_Tab)
        s.text = QStringLiteral("\t");
    else if (key == Qt::Key_Plus || key == Qt::Key_Minus || key == Qt::Key_Asterisk || key == Qt::Key_Slash)
        s.text = QChar(key);
    return s;
}

class Parser {
public:
    explicit Parser(const QString &text) : m_text(text) {}

    QList<KeyStroke> parse()
    {
        QList<KeyStroke> out;
        parseSequence(out, Qt::NoModifier, false);
        return out;
    }

private:
    void parseSequence(QList<KeyStroke> &out, Qt::KeyboardModifiers outer, bool inGroup)
    {
        Qt::KeyboardModifiers pending;
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos];
            if (c == QLatin1Char(')')) {
                if (!inGroup)
                    malformed();
                ++m_pos;
                return;
            }
            ++m_pos;
            if (c == QLatin1Char('+')) {
                pending |= Qt::ShiftModifier;
            } else if (c == QLatin1Char('^')) {
                pending |= Qt::ControlModifier;
            } else if (c == QLatin1Char('%')) {
                pending |= Qt::AltModifier;
            } else if (c == QLatin1Char('(')) {
                parseSequence(out, outer | pending, true);
                pending = {};
            } else if (c == QLatin1Char('{')) {
                braced(out, outer | pending);
                pending = {};
            } else if (c == QLatin1Char('}')) {
                malformed();
            } else if (c == QLatin1Char('~')) {
                out.append(namedStroke(Qt::Key_Return, outer | pending));
                pending = {};
            } else {
                out.append(charStroke(c, outer | pending));
                pending = {};
            }
        }
        if (inGroup)
            malformed();
    }

    void braced(QList<KeyStroke> &out, Qt::KeyboardModifiers modifiers)
    {
        // "{}}" and "{{}": a brace right after the opening one is the key itself.
        qsizetype end = m_text.indexOf(QLatin1Char('}'), m_pos + 1);
        if (end < 0)
            malformed();
        const QString body = m_text.mid(m_pos, end - m_pos);
        m_pos = end + 1;
        QString name = body;
        int count = 1;
        const qsizetype space = body.lastIndexOf(QLatin1Char(' '));
        if (space > 0) {
            bool ok = false;
            count = body.mid(space + 1).toInt(&ok);
            if (!ok || count < 0)
                malformed();
            name = body.left(space);
        }
        KeyStroke stroke;
        if (name.size() == 1) {
            stroke = charStroke(name[0], modifiers);
        } else {
            auto it = keyNames().constFind(name.toUpper());
            if (it == keyNames().constEnd())
                malformed();
            stroke = namedStroke(*it, modifiers);
        }
        for (int i = 0; i < count; ++i)
            out.append(stroke);
    }

    const QString &m_text;
    qsizetype m_pos = 0;
};

} // namespace

QList<KeyStroke> parseSendKeys(const QString &keys) { return Parser(keys).parse(); }

} // namespace ide
