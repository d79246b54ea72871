#include "controls/common.h"

#include <algorithm>

namespace controls {

namespace {
struct Text {
    int number;
    const char *japanese;
    const char *english;
};

// Numbers the host's table does not carry.
constexpr Text kTexts[] = {
    {340, "コントロール配列の要素 '%1' は存在しません。", "Control array element '%1' doesn't exist"},
    {360, "オブジェクトは既に読み込まれています。", "Object already loaded"},
    {362, "デザイン時に作成したコントロールはアンロードできません。",
     "Can't unload controls created at design time"},
    {381, "プロパティ配列のインデックスが不正です。", "Invalid property array index"},
    {383, "'Text' プロパティは読み取り専用です。", "'Text' property is read-only"},
};
} // namespace

host::Error controlError(int number, const QString &argument)
{
    QString text = host::errorText(number, host::errorLanguage());
    if (text.isEmpty()) {
        for (const Text &t : kTexts) {
            if (t.number == number) {
                text = QString::fromUtf8(host::errorLanguage() == host::Language::Japanese ? t.japanese
                                                                                            : t.english);
                break;
            }
        }
    }
    if (text.isEmpty())
        return host::Error(number);
    if (text.contains(QLatin1String("%1")))
        text = text.arg(argument);
    return host::Error(number, text);
}

bool isNumericKey(const QString &key)
{
    const QString s = key.trimmed();
    if (s.isEmpty())
        return false;
    if (s.size() > 2 && s[0] == QLatin1Char('&') && (s[1] == QLatin1Char('H') || s[1] == QLatin1Char('h'))) {
        for (qsizetype i = 2; i < s.size(); ++i) {
            const char16_t c = s[i].unicode();
            const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
            if (!hex)
                return false;
        }
        return true;
    }
    qsizetype i = 0;
    if (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))
        ++i;
    bool digits = false;
    while (i < s.size() && s[i].unicode() >= '0' && s[i].unicode() <= '9') {
        ++i;
        digits = true;
    }
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        ++i;
        while (i < s.size() && s[i].unicode() >= '0' && s[i].unicode() <= '9') {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return false;
    if (i < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        ++i;
        if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
            ++i;
        bool exponent = false;
        while (i < s.size() && s[i].unicode() >= '0' && s[i].unicode() <= '9') {
            ++i;
            exponent = true;
        }
        if (!exponent)
            return false;
    }
    return i == s.size();
}

int compareText(const QString &a, const QString &b)
{
    // ASCII first, as Qt folds it (letters to lower case): sorted tree nodes compare names
    // on every insertion.
    const qsizetype n = std::min(a.size(), b.size());
    const char16_t *x = reinterpret_cast<const char16_t *>(a.utf16());
    const char16_t *y = reinterpret_cast<const char16_t *>(b.utf16());
    for (qsizetype k = 0; k < n; ++k) {
        char16_t c = x[k], d = y[k];
        if (c >= 0x80 || d >= 0x80)
            return QString::compare(a, b, Qt::CaseInsensitive);
        if (c >= u'A' && c <= u'Z')
            c |= 0x20;
        if (d >= u'A' && d <= u'Z')
            d |= 0x20;
        if (c != d)
            return int(c) - int(d);
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace controls
