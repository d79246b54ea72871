#include "controls/platform.h"

#include <QStringEncoder>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace controls {

namespace {

bool matchWildcard(QStringView name, QStringView pattern)
{
    qsizetype n = 0;
    qsizetype p = 0;
    qsizetype starP = -1;
    qsizetype starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == QLatin1Char('?') || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

// A Windows wildcard: "*.*" style patterns also match names without an extension.
bool matchFilePattern(const QString &name, const QString &pattern)
{
    const QString folded = name.toCaseFolded();
    const QString pat = pattern.trimmed().toCaseFolded();
    if (pat.isEmpty())
        return false;
    if (matchWildcard(folded, pat))
        return true;
    if (pat.endsWith(QLatin1String(".*")) && !folded.contains(QLatin1Char('.')))
        return matchWildcard(folded, QStringView(pat).chopped(2));
    return false;
}

bool isWide(char16_t c)
{
    if (c < 0x1100)
        return false;
    if (c >= 0xFF61 && c <= 0xFFDC) // half-width katakana and Hangul
        return false;
    if (c >= 0xFFE8 && c <= 0xFFEE)
        return false;
    return true;
}

int pixelSize(const Font &font)
{
    return std::max(1, static_cast<int>(font.size * 96.0 / 72.0 + 0.5));
}

quint64 meminfoValue(const QByteArray &text, const char *field)
{
    const QByteArray key = QByteArray(field) + ':';
    const qsizetype at = text.indexOf(key);
    if (at < 0)
        return 0;
    const qsizetype end = text.indexOf('\n', at);
    QByteArray value = text.mid(at + key.size(), end < 0 ? -1 : end - at - key.size()).trimmed();
    if (value.endsWith(" kB"))
        value.chop(3);
    return value.trimmed().toULongLong() * 1024;
}

Platform *g_platform = nullptr;

} // namespace

QList<int> msgBoxAnswers(int buttons)
{
    switch (buttons & 7) {
    case vbOKCancel:
        return {vbOK, vbCancel};
    case vbAbortRetryIgnore:
        return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel:
        return {vbYes, vbNo, vbCancel};
    case vbYesNo:
        return {vbYes, vbNo};
    case vbRetryCancel:
        return {vbRetry, vbCancel};
    default:
        return {vbOK};
    }
}

int msgBoxDefaultAnswer(int buttons)
{
    const QList<int> answers = msgBoxAnswers(buttons);
    const int which = (buttons >> 8) & 3;
    return which < answers.size() ? answers[which] : answers.front();
}

QString openFileBuffer(const QStringList &paths, int capacity)
{
    if (paths.isEmpty())
        return {};
    QString buffer;
    if (paths.size() == 1) {
        buffer = QDir::toNativeSeparators(paths.front());
    } else {
        const QFileInfo first(paths.front());
        buffer = QDir::toNativeSeparators(first.absolutePath()) + QChar(0);
        for (const QString &path : paths)
            buffer += QFileInfo(path).fileName() + QChar(0);
    }
    buffer += QChar(0);
    if (buffer.size() > capacity)
        return {};
    return buffer;
}

// ---- Platform --------------------------------------------------------------------------

Platform::~Platform() = default;

int Platform::textWidth(const QString &text, const Font &font) const
{
    const int px = pixelSize(font);
    int width = 0;
    for (QChar c : text)
        width += isWide(c.unicode()) ? px : (px + 1) / 2;
    return width * kTwipsPerPixel;
}

int Platform::textHeight(const Font &font) const
{
    return (pixelSize(font) + 4) * kTwipsPerPixel;
}

QByteArray Platform::toAnsi(const QString &text) const
{
    QStringEncoder encoder(m_ansiCodePage.constData(), QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return text.toLatin1();
    QByteArray out;
    out.reserve(text.size() * 2);
    // Encode per character so one that the code page lacks becomes '?' alone.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QStringView piece(text.constData() + i, n);
        QByteArray bytes = encoder.encode(piece);
        if (encoder.hasError() || bytes.isEmpty() || (bytes == "?" && piece != u"?") || bytes.contains('\x1a')) {
            encoder.resetState();
            bytes = "?";
        }
        out += bytes;
        i += n - 1;
    }
    return out;
}

QString Platform::tempPath() const
{
    const QString path = QDir::tempPath();
    if (path.isEmpty())
        return {};
    QString native = QDir::toNativeSeparators(path);
    if (!native.endsWith(QDir::separator()))
        native += QDir::separator();
    return native;
}

QStringList Platform::listFiles(const QString &dir, const QString &pattern) const
{
    const QDir folder(dir);
    if (dir.isEmpty() || !folder.exists())
        return {};
    const QStringList patterns = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    QStringList result;
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &name : names) {
        for (const QString &p : patterns) {
            if (matchFilePattern(name, p)) {
                result.append(name);
                break;
            }
        }
    }
    return result;
}

bool Platform::deleteFile(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    return QFile::remove(path);
}

bool Platform::fileExists(const QString &path) const
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

QString Platform::createTempFile(const QString &dir, const QString &prefix)
{
    if (dir.isEmpty() || !QDir(dir).exists())
        return {};
    const QString head = prefix.left(3);
    static quint32 counter = static_cast<quint32>(QDateTime::currentMSecsSinceEpoch());
    for (int attempt = 0; attempt < 0xFFFF; ++attempt) {
        counter = (counter + 1) & 0xFFFF;
        if (counter == 0)
            counter = 1;
        const QString name = head + QString::number(counter, 16).toUpper() + QStringLiteral(".tmp");
        const QString path = QDir::toNativeSeparators(QDir(dir).filePath(name));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            file.close();
            return path;
        }
        if (!QFileInfo::exists(path))
            return {}; // not a name clash: the folder cannot be written
    }
    return {};
}

bool Platform::copyFile(const QString &from, const QString &to, bool overwrite)
{
    if (!QFileInfo(from).isFile())
        return false;
    if (QFileInfo::exists(to)) {
        if (!overwrite || !QFile::remove(to))
            return false;
    }
    return QFile::copy(from, to);
}

QString Platform::currentDirectory() const
{
    return QDir::toNativeSeparators(QDir::currentPath());
}

// ---- HeadlessPlatform ------------------------------------------------------------------

HeadlessPlatform::HeadlessPlatform() = default;

int HeadlessPlatform::msgBox(const QString &prompt, int buttons, const QString &title)
{
    MessageRecord record{prompt, buttons, title, 0};
    if (!m_answers.empty()) {
        record.answer = m_answers.front();
        m_answers.pop_front();
    } else if (m_msgBoxHandler) {
        record.answer = m_msgBoxHandler(record);
    } else {
        record.answer = msgBoxDefaultAnswer(buttons);
    }
    m_messages.append(record);
    return record.answer;
}

void HeadlessPlatform::doEvents()
{
    ++m_doEventsCount;
    if (!m_doEventsHandler || m_inDoEvents)
        return;
    m_inDoEvents = true;
    try {
        m_doEventsHandler();
    } catch (...) {
        m_inDoEvents = false;
        throw;
    }
    m_inDoEvents = false;
}

QString HeadlessPlatform::tempPath() const
{
    if (m_tempPath.isEmpty())
        return Platform::tempPath();
    QString path = m_tempPath;
    if (!path.endsWith(QLatin1Char('/')) && !path.endsWith(QLatin1Char('\\')))
        path += QDir::separator();
    return path;
}

void HeadlessPlatform::setScreenSize(int widthTwips, int heightTwips)
{
    m_screenWidth = widthTwips;
    m_screenHeight = heightTwips;
}

QString HeadlessPlatform::getOpenFileName(const QString &filter, const QString &title, const QString &initialDir)
{
    const OpenFileRequest request{filter, title, initialDir};
    m_openFileRequests.append(request);
    return m_openFileHandler ? m_openFileHandler(request) : QString();
}

void HeadlessPlatform::checkClipboard() const
{
    if (!m_clipboardAvailable)
        throw controlError(err::CantOpenClipboard);
}

void HeadlessPlatform::clearClipboard()
{
    checkClipboard();
    m_clipboardText.clear();
    m_clipboardImage = host::Picture();
}

void HeadlessPlatform::setClipboardText(const QString &text)
{
    checkClipboard();
    m_clipboardText = text;
}

QString HeadlessPlatform::clipboardText() const
{
    checkClipboard();
    return m_clipboardText;
}

void HeadlessPlatform::setClipboardImage(const host::Picture &image)
{
    checkClipboard();
    m_clipboardImage = image;
}

host::Picture HeadlessPlatform::clipboardImage() const
{
    checkClipboard();
    return m_clipboardImage;
}

bool HeadlessPlatform::shellExecute(const QString &path, const QString &verb, const QString &directory)
{
    m_shellCalls.append({path, verb, directory});
    return m_shellResult;
}

void HeadlessPlatform::lockWindowUpdate(const Control *control)
{
    m_locked = control;
    ++m_lockCount;
}

void HeadlessPlatform::sendKeys(const QString &keys, bool wait)
{
    m_sentKeys.append({keys, wait});
    m_lastKeysHandled = false;
    if (m_keyHandler)
        m_lastKeysHandled = m_keyHandler(keys);
}

void HeadlessPlatform::showHelpKeyword(const QString &word)
{
    m_helpKeywords.append(word);
}

void HeadlessPlatform::shellAbout(const QString &title, const QString &extraText)
{
    m_aboutBoxes.append({title, extraText});
}

MemoryStatus HeadlessPlatform::memoryStatus() const
{
    if (m_memory)
        return *m_memory;
    MemoryStatus status;
    QFile file(QStringLiteral("/proc/meminfo"));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray text = file.read(64 * 1024);
        status.totalPhysical = meminfoValue(text, "MemTotal");
        status.availablePhysical = meminfoValue(text, "MemAvailable");
        status.totalPageFile = status.totalPhysical + meminfoValue(text, "SwapTotal");
        status.availablePageFile = status.availablePhysical + meminfoValue(text, "SwapFree");
    }
    // The user part of a 32-bit process's address space, as VB6 programs see it.
    status.totalVirtual = 0x7FFE0000ull;
    status.availableVirtual = status.totalVirtual;
    return status;
}

void HeadlessPlatform::showModal(Form &form)
{
    m_modalForms.append(&form);
    if (m_modalHandler)
        m_modalHandler(form);
}

// ---- The current platform --------------------------------------------------------------

static HeadlessPlatform &builtInPlatform()
{
    static HeadlessPlatform instance;
    return instance;
}

Platform &platform()
{
    return g_platform ? *g_platform : builtInPlatform();
}

void setPlatform(Platform *platform)
{
    g_platform = platform;
}

ScopedPlatform::ScopedPlatform(Platform &platform) : m_previous(g_platform)
{
    g_platform = &platform;
}

ScopedPlatform::~ScopedPlatform()
{
    g_platform = m_previous;
}

} // namespace controls
