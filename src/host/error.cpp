#include "host/error.h"

namespace host {

namespace {
Language g_language = Language::Japanese;

struct Text {
    int number;
    const char *japanese;
    const char *english;
};

constexpr Text kTexts[] = {
    {3, "Return に対応する GoSub がありません。", "Return without GoSub"},
    {5, "プロシージャの呼び出し、または引数が不正です。", "Invalid procedure call or argument"},
    {6, "オーバーフローしました。", "Overflow"},
    {7, "メモリが不足しています。", "Out of memory"},
    {9, "インデックスが有効範囲にありません。", "Subscript out of range"},
    {13, "型が一致しません。", "Type mismatch"},
    {35, "Sub または Function が定義されていません。", "Sub or Function not defined"},
    {52, "ファイル名または番号が不正です。", "Bad file name or number"},
    {53, "ファイルが見つかりません。", "File not found"},
    {62, "ファイルにこれ以上データがありません。", "Input past end of file"},
    {70, "書き込みできません。", "Permission denied"},
    {75, "パス名が無効です。", "Path/File access error"},
    {76, "パスが見つかりません。", "Path not found"},
    {91, "オブジェクト変数または With ブロック変数が設定されていません。",
     "Object variable or With block variable not set"},
    {380, "プロパティの値が不正です。", "Invalid property value"},
    {438, "オブジェクトは、このプロパティまたはメソッドをサポートしていません。",
     "Object doesn't support this property or method"},
    {521, "クリップボードを開けません。", "Can't open Clipboard"},
    {35600, "インデックスが範囲を超えています。", "Index out of bounds"},
    {35601, "要素が見つかりません。", "Element not found"},
    {35602, "キーがコレクション内で一意ではありません。", "Key is not unique in collection"},
    {35603, "引数が無効です。", "Invalid key"},
    {35605, "コントロールが削除されました。", "Control has been deleted"},
};
} // namespace

QString errorText(int number, Language language)
{
    for (const Text &t : kTexts) {
        if (t.number == number)
            return QString::fromUtf8(language == Language::Japanese ? t.japanese : t.english);
    }
    return {};
}

void setErrorLanguage(Language language) { g_language = language; }
Language errorLanguage() { return g_language; }

Error::Error(int number, QString description, QString source)
    : m_number(number), m_description(std::move(description)), m_source(std::move(source))
{
    m_what = QStringLiteral("%1: %2").arg(m_number).arg(m_description).toStdString();
}

Error::Error(int number) : Error(number, errorText(number, g_language))
{
    if (m_description.isEmpty())
        m_description = QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。");
}

} // namespace host
