#pragma once
#include <QString>
#include <exception>
#include <functional>
#include <string>

namespace host {

/// The single error type of the host and the controls: a VB run-time error
/// (number, description, source) as `Err` would show it.
class Error : public std::exception {
public:
    Error(int number, QString description, QString source = {});
    /// Error with VB6's standard text for `number` in the IDE's language.
    explicit Error(int number);

    int number() const { return m_number; }
    const QString &description() const { return m_description; }
    const QString &source() const { return m_source; }
    const char *what() const noexcept override { return m_what.c_str(); }

private:
    int m_number;
    QString m_description;
    QString m_source;
    std::string m_what;
};

enum class Language { Japanese, English };

/// VB6's run-time error text for `number`; empty for numbers it does not know.
QString errorText(int number, Language language);
/// Language of the texts `Error(number)` uses; the stand-in IDE is the Japanese one.
void setErrorLanguage(Language language);
Language errorLanguage();

/// `On Error Resume Next` for one statement: runs it and swallows a host::Error.
/// Returns false when it was swallowed.
inline bool resumeNext(const std::function<void()> &statement)
{
    try {
        statement();
        return true;
    } catch (const Error &) {
        return false;
    }
}

namespace err {
inline constexpr int InvalidCall = 5;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int SubNotDefined = 35;
inline constexpr int FileNotFound = 53;
inline constexpr int ObjectNotSet = 91;
inline constexpr int ElementNotFound = 35601;
inline constexpr int KeyNotUnique = 35602;
} // namespace err

} // namespace host
