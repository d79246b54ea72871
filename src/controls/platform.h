#pragma once
// The operating-system services the add-in uses besides the controls: message boxes,
// DoEvents, the screen's mouse pointer, temporary files, the Open dialog, the clipboard,
// the shell. One injectable object; the headless one (tests, CLI) records what is asked of
// it and answers from scripts, the desktop front end overrides the interactive parts.
#include "controls/control.h"
#include "host/picture.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

namespace controls {

class Form;

// MsgBox buttons and icons (VbMsgBoxStyle); combine with |.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbAbortRetryIgnore = 2;
inline constexpr int vbYesNoCancel = 3;
inline constexpr int vbYesNo = 4;
inline constexpr int vbRetryCancel = 5;
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
inline constexpr int vbDefaultButton1 = 0;
inline constexpr int vbDefaultButton2 = 256;
inline constexpr int vbDefaultButton3 = 512;
inline constexpr int vbApplicationModal = 0;
inline constexpr int vbSystemModal = 4096;

// MsgBox results (VbMsgBoxResult).
inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbAbort = 3;
inline constexpr int vbRetry = 4;
inline constexpr int vbIgnore = 5;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

/// The answers a message box of style `buttons` offers, in button order.
QList<int> msgBoxAnswers(int buttons);
/// The answer of the style's default button (what Enter would choose).
int msgBoxDefaultAnswer(int buttons);

/// GlobalMemoryStatus, in bytes.
struct MemoryStatus {
    quint64 totalPhysical = 0;
    quint64 availablePhysical = 0;
    quint64 totalPageFile = 0;
    quint64 availablePageFile = 0;
    quint64 totalVirtual = 0;
    quint64 availableVirtual = 0;
    bool operator==(const MemoryStatus &) const = default;
};

/// The services. File operations work on the real file system in every implementation;
/// the interactive ones are what a front end provides.
class Platform {
public:
    virtual ~Platform();

    /// MsgBox(prompt, buttons, title): returns vbOK, vbYes, ...
    virtual int msgBox(const QString &prompt, int buttons = vbOKOnly, const QString &title = {}) = 0;
    /// Lets pending user input run (clicks can arrive here).
    virtual void doEvents() = 0;

    /// Screen.MousePointer.
    virtual MousePointer screenMousePointer() const = 0;
    virtual void setScreenMousePointer(MousePointer pointer) = 0;
    /// Screen.Width / Screen.Height (twips).
    virtual int screenWidth() const = 0;
    virtual int screenHeight() const = 0;
    /// Width of a one-line text and height of a line in `font` (twips).
    virtual int textWidth(const QString &text, const Font &font) const;
    virtual int textHeight(const Font &font) const;

    /// The user's temporary folder with a trailing separator (GetTempPath); empty on failure.
    virtual QString tempPath() const;
    /// Names (not paths) of the files in `dir` matching `pattern`, a Windows wildcard
    /// ("Qlx*.*", "*.vbp;*.vbg"), compared case-insensitively, sorted. Empty when `dir`
    /// does not exist.
    virtual QStringList listFiles(const QString &dir, const QString &pattern) const;
    /// True when the file was deleted.
    virtual bool deleteFile(const QString &path);
    virtual bool fileExists(const QString &path) const;
    /// GetTempFileName with unique number 0: creates an empty file named prefix (first
    /// three characters), a hexadecimal number and ".tmp" in `dir`; its path, or empty.
    virtual QString createTempFile(const QString &dir, const QString &prefix);
    /// CopyFile; `overwrite` false fails when `to` exists.
    virtual bool copyFile(const QString &from, const QString &to, bool overwrite = true);
    /// CurDir.
    virtual QString currentDirectory() const;

    /// The system's ANSI code page by codec name ("windows-31j" on a Japanese system):
    /// what files written for non-Unicode programs are encoded in.
    const QByteArray &ansiCodePage() const { return m_ansiCodePage; }
    void setAnsiCodePage(const QByteArray &codecName) { m_ansiCodePage = codecName; }
    /// `text` in the ANSI code page; characters it cannot hold become '?'.
    QByteArray toAnsi(const QString &text) const;

    /// The Open dialog (multiple selection): empty when cancelled; one chosen file is its
    /// full path; several are the folder, then the names, each followed by a NUL and a
    /// final extra NUL, as the Windows dialog's buffer holds them. `filter` is the Windows
    /// filter string (description NUL pattern NUL ...).
    virtual QString getOpenFileName(const QString &filter, const QString &title, const QString &initialDir) = 0;

    /// Clipboard.Clear / SetText / GetText / SetData / GetData; 521 "Can't open Clipboard"
    /// when the clipboard is not available.
    virtual void clearClipboard() = 0;
    virtual void setClipboardText(const QString &text) = 0;
    virtual QString clipboardText() const = 0;
    virtual void setClipboardImage(const host::Picture &image) = 0;
    virtual host::Picture clipboardImage() const = 0;

    /// ShellExecute(verb, path, directory): opens a document with its program; true on success.
    virtual bool shellExecute(const QString &path, const QString &verb = QStringLiteral("open"),
                              const QString &directory = {}) = 0;
    /// LockWindowUpdate: freezes the drawing of `control`; nullptr releases the lock.
    virtual void lockWindowUpdate(const Control *control) = 0;
    /// SendKeys with VB's key syntax ("^({Home})").
    virtual void sendKeys(const QString &keys, bool wait) = 0;
    /// Looks a word up in the help system's index (the MSDN Library's keyword search).
    virtual void showHelpKeyword(const QString &word) = 0;
    /// ShellAbout: the operating system's about box.
    virtual void shellAbout(const QString &title, const QString &extraText) = 0;
    virtual MemoryStatus memoryStatus() const = 0;
    /// Runs a form shown modally until it is hidden (Form::show with modal true).
    virtual void showModal(Form &form) = 0;

private:
    QByteArray m_ansiCodePage = "windows-31j";
};

/// A message box as the headless platform saw it.
struct MessageRecord {
    QString prompt;
    int buttons = 0;
    QString title;
    int answer = 0;
    bool operator==(const MessageRecord &) const = default;
};

struct ShellRecord {
    QString path;
    QString verb;
    QString directory;
    bool operator==(const ShellRecord &) const = default;
};

struct OpenFileRequest {
    QString filter;
    QString title;
    QString initialDir;
    bool operator==(const OpenFileRequest &) const = default;
};

/// Builds the Open dialog's answer for `paths` (see Platform::getOpenFileName); empty when
/// the result does not fit `capacity` characters, as the dialog then fails.
QString openFileBuffer(const QStringList &paths, int capacity = 256);

/// The platform of tests and of the CLI. Records every request; answers from scripts.
class HeadlessPlatform : public Platform {
public:
    HeadlessPlatform();

    int msgBox(const QString &prompt, int buttons = vbOKOnly, const QString &title = {}) override;
    void doEvents() override;
    MousePointer screenMousePointer() const override { return m_screenPointer; }
    void setScreenMousePointer(MousePointer pointer) override { m_screenPointer = pointer; }
    int screenWidth() const override { return m_screenWidth; }
    int screenHeight() const override { return m_screenHeight; }
    QString tempPath() const override;
    QString getOpenFileName(const QString &filter, const QString &title, const QString &initialDir) override;
    void clearClipboard() override;
    void setClipboardText(const QString &text) override;
    QString clipboardText() const override;
    void setClipboardImage(const host::Picture &image) override;
    host::Picture clipboardImage() const override;
    bool shellExecute(const QString &path, const QString &verb = QStringLiteral("open"),
                      const QString &directory = {}) override;
    void lockWindowUpdate(const Control *control) override;
    void sendKeys(const QString &keys, bool wait) override;
    void showHelpKeyword(const QString &word) override;
    void shellAbout(const QString &title, const QString &extraText) override;
    MemoryStatus memoryStatus() const override;
    void showModal(Form &form) override;

    // Message boxes.
    const QList<MessageRecord> &messages() const { return m_messages; }
    void clearMessages() { m_messages.clear(); }
    /// Answers for the next message boxes, first in first out; after them the handler, if
    /// any, else the style's default button answers.
    void queueAnswer(int answer) { m_answers.push_back(answer); }
    void setMsgBoxHandler(std::function<int(const MessageRecord &)> handler) { m_msgBoxHandler = std::move(handler); }

    /// Runs at each DoEvents (not again from inside itself).
    void setDoEventsHandler(std::function<void()> handler) { m_doEventsHandler = std::move(handler); }
    int doEventsCount() const { return m_doEventsCount; }

    void setScreenSize(int widthTwips, int heightTwips);
    /// Overrides the temporary folder; empty goes back to the system's.
    void setTempPath(const QString &path) { m_tempPath = path; }

    /// Answers the Open dialog; without one the dialog is cancelled.
    void setOpenFileHandler(std::function<QString(const OpenFileRequest &)> handler)
    {
        m_openFileHandler = std::move(handler);
    }
    const QList<OpenFileRequest> &openFileRequests() const { return m_openFileRequests; }

    /// False makes every clipboard operation fail with 521.
    void setClipboardAvailable(bool available) { m_clipboardAvailable = available; }

    const QList<ShellRecord> &shellCalls() const { return m_shellCalls; }
    void setShellResult(bool result) { m_shellResult = result; }

    /// The control whose drawing is frozen, and how many lock/unlock calls were made.
    const Control *lockedWindow() const { return m_locked; }
    int lockWindowUpdateCount() const { return m_lockCount; }

    /// (keys, wait) per SendKeys call.
    const QList<std::pair<QString, bool>> &sentKeys() const { return m_sentKeys; }
    /// Where SendKeys goes: the IDE's own key handling; it answers false when the window
    /// that has the focus takes no keys there. May throw host::Error for malformed keys.
    void setKeyHandler(std::function<bool(const QString &)> handler) { m_keyHandler = std::move(handler); }
    /// The key handler took the keys of the last SendKeys.
    bool lastKeysHandled() const { return m_lastKeysHandled; }
    const QStringList &helpKeywords() const { return m_helpKeywords; }
    /// (title, extra text) per ShellAbout call.
    const QList<std::pair<QString, QString>> &aboutBoxes() const { return m_aboutBoxes; }

    /// Fixes the memory figures; without it they come from /proc/meminfo where it exists.
    void setMemoryStatus(const MemoryStatus &status) { m_memory = status; }

    /// Runs when a form is shown modally (a test plays the user there); the show returns
    /// after it.
    void setModalHandler(std::function<void(Form &)> handler) { m_modalHandler = std::move(handler); }
    const QList<Form *> &modalForms() const { return m_modalForms; }

private:
    void checkClipboard() const;

    QList<MessageRecord> m_messages;
    std::deque<int> m_answers;
    std::function<int(const MessageRecord &)> m_msgBoxHandler;
    std::function<void()> m_doEventsHandler;
    int m_doEventsCount = 0;
    bool m_inDoEvents = false;
    MousePointer m_screenPointer = MousePointer::Default;
    int m_screenWidth = 1920 * kTwipsPerPixel;
    int m_screenHeight = 1080 * kTwipsPerPixel;
    QString m_tempPath;
    std::function<QString(const OpenFileRequest &)> m_openFileHandler;
    QList<OpenFileRequest> m_openFileRequests;
    bool m_clipboardAvailable = true;
    QString m_clipboardText;
    host::Picture m_clipboardImage;
    QList<ShellRecord> m_shellCalls;
    bool m_shellResult = true;
    const Control *m_locked = nullptr; // not owned
    int m_lockCount = 0;
    QList<std::pair<QString, bool>> m_sentKeys;
    std::function<bool(const QString &)> m_keyHandler;
    bool m_lastKeysHandled = false;
    QStringList m_helpKeywords;
    QList<std::pair<QString, QString>> m_aboutBoxes;
    std::optional<MemoryStatus> m_memory;
    std::function<void(Form &)> m_modalHandler;
    QList<Form *> m_modalForms;
};

/// The platform in use; a built-in HeadlessPlatform until setPlatform is called.
Platform &platform();
/// Installs `platform` (not owned); nullptr goes back to the built-in headless one.
void setPlatform(Platform *platform);

/// Installs a platform for the lifetime of the object (tests).
class ScopedPlatform {
public:
    explicit ScopedPlatform(Platform &platform);
    ~ScopedPlatform();
    ScopedPlatform(const ScopedPlatform &) = delete;
    ScopedPlatform &operator=(const ScopedPlatform &) = delete;

private:
    Platform *m_previous;
};

} // namespace controls
