#include "ide/files/file_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ide::files {

namespace {

constexpr qint64 MaxFileSize = 256LL * 1024 * 1024; // far beyond any VB6 file; guards memory

QString joinPath(const QString &dir, const QString &name)
{
    return dir.endsWith(QLatin1Char('/')) ? dir + name : dir + QLatin1Char('/') + name;
}

QString parentPath(const QString &dir)
{
    const qsizetype slash = dir.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return dir;
    return slash == 0 ? QStringLiteral("/") : dir.left(slash);
}

/// Windows compares names by upper-casing each UTF-16 unit; NFC also makes macOS's NFD
/// names comparable with names decoded from a .vbp.
QString foldName(const QString &name)
{
    bool ascii = true;
    for (QChar c : name)
        ascii = ascii && c.unicode() < 0x80;
    QString s = ascii ? name : name.normalized(QString::NormalizationForm_C);
    for (QChar &c : s)
        c = QChar(QChar::toUpper(c.unicode()));
    return s;
}

QString withoutTrailingDotsAndSpaces(const QString &name)
{
    qsizetype n = name.size();
    while (n > 0 && (name[n - 1] == QLatin1Char('.') || name[n - 1] == QLatin1Char(' ')))
        --n;
    return name.left(n);
}

QString cleanHostPath(const QString &path)
{
    return QDir::cleanPath(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')));
}

void linkToParents(QMap<QString, QSet<QString>> &children, QString path)
{
    while (path.size() > 1) {
        const QString parent = parentPath(path);
        if (parent == path)
            break;
        children[parent].insert(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
        path = parent;
    }
}

} // namespace

FileSystem::ListingScope::ListingScope(const FileSystem &fs) : m_fs(fs)
{
    ++m_fs.m_listingScopes;
}

FileSystem::ListingScope::~ListingScope()
{
    if (--m_fs.m_listingScopes == 0) {
        m_fs.m_listings.clear();
        m_fs.m_exists.clear();
    }
}

bool FileSystem::existsOnce(const QString &path) const
{
    if (m_listingScopes == 0)
        return exists(path);
    auto it = m_exists.constFind(path);
    if (it == m_exists.cend())
        it = m_exists.insert(path, exists(path));
    return *it;
}

QHash<QString, QString> *FileSystem::listing(const QString &dir) const
{
    if (m_listingScopes == 0)
        return nullptr;
    auto it = m_listings.find(dir);
    if (it == m_listings.end()) {
        QHash<QString, QString> folded;
        for (const QString &entry : entries(dir)) {
            QString &best = folded[foldName(entry)];
            if (best.isEmpty() || entry < best)
                best = entry;
        }
        it = m_listings.insert(dir, std::move(folded));
    }
    return &*it;
}

QString FileSystem::matchEntry(const QString &dir, const QString &name) const
{
    if (existsOnce(joinPath(dir, name)))
        return name;
    const QString stripped = withoutTrailingDotsAndSpaces(name);
    if (stripped.isEmpty())
        return {};
    if (stripped != name && existsOnce(joinPath(dir, stripped)))
        return stripped;
    const QString wanted = foldName(stripped);
    if (const QHash<QString, QString> *cached = listing(dir))
        return cached->value(wanted);
    QString best;
    for (const QString &entry : entries(dir))
        if (foldName(entry) == wanted && (best.isEmpty() || entry < best))
            best = entry;
    return best;
}

namespace {

QString unquoted(const QString &windowsPath)
{
    QString path = windowsPath.trimmed();
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        path = path.mid(1, path.size() - 2).trimmed();
    return path;
}

} // namespace

bool FileSystem::isAbsolute(const QString &windowsPath)
{
    const QString path = unquoted(windowsPath);
    if (path.startsWith(QLatin1Char('\\')) || path.startsWith(QLatin1Char('/')))
        return true; // UNC, root of the current drive, or a host path
    return path.size() >= 2 && path[1] == QLatin1Char(':') && path[0].unicode() < 0x80 && path[0].isLetter();
}

QString FileSystem::resolve(const QString &baseDir, const QString &windowsPath) const
{
    QString path = unquoted(windowsPath);
    if (path.isEmpty() || isAbsolute(path) || baseDir.isEmpty())
        return {};
    // Windows allows no control character in a name; a NUL would also cut the path short.
    if (std::any_of(path.cbegin(), path.cend(), [](QChar c) { return c.unicode() < 0x20; }))
        return {};
    QString dir = cleanHostPath(baseDir);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            dir = parentPath(dir);
            continue;
        }
        const QString found = matchEntry(dir, part);
        if (found.isEmpty())
            return {};
        dir = joinPath(dir, found);
    }
    return existsOnce(dir) ? dir : QString();
}

// --- DiskFileSystem ----------------------------------------------------------------------

bool FileSystem::readInto(const QString &path, QByteArray &into, QString *error) const
{
    std::optional<QByteArray> bytes = read(path, error);
    if (bytes)
        into = std::move(*bytes);
    return bool(bytes);
}

std::optional<QByteArray> DiskFileSystem::read(const QString &path, QString *error) const
{
    QByteArray bytes;
    if (!readInto(path, bytes, error))
        return std::nullopt;
    return bytes;
}

bool DiskFileSystem::readInto(const QString &path, QByteArray &bytes, QString *error) const
{
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    auto failErrno = [&](int code) {
        switch (code) {
        case ENOENT:
        case ENOTDIR: return fail(QStringLiteral("No such file"));
        case EACCES:
        case EPERM: return fail(QStringLiteral("Permission denied"));
        case EISDIR: return fail(QStringLiteral("Is a directory"));
        default: return fail(QString::fromLocal8Bit(std::strerror(code)));
        }
    };
    // Non-blocking, so that opening a named pipe returns at once; the descriptor's own type is
    // checked, so a file swapped for a device after a look-up is refused all the same.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failErrno(errno);
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return failErrno(errno);
    if (S_ISDIR(st.st_mode))
        return fail(QStringLiteral("Is a directory"));
    if (!S_ISREG(st.st_mode))
        return fail(QStringLiteral("Not a regular file (a device, pipe or socket)"));
    if (st.st_size > MaxFileSize)
        return fail(QStringLiteral("File too large"));
    bytes.resize(qsizetype(st.st_size));
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failErrno(errno);
        if (n == 0)
            break; // cut short while we read: keep what is there
        got += n;
    }
    bytes.truncate(got);
    return true;
}

bool DiskFileSystem::exists(const QString &path) const
{
    return QFileInfo::exists(path);
}

bool DiskFileSystem::isDirectory(const QString &path) const
{
    return QFileInfo(path).isDir();
}

QStringList DiskFileSystem::entries(const QString &dir) const
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                               QDir::Name);
}

// --- MemoryFileSystem --------------------------------------------------------------------

void MemoryFileSystem::add(const QString &path, QByteArray bytes)
{
    const QString p = cleanHostPath(path);
    m_files.insert(p, std::move(bytes));
    linkToParents(m_children, p);
}

void MemoryFileSystem::addDirectory(const QString &path)
{
    const QString p = cleanHostPath(path);
    m_children[p]; // present, maybe empty
    linkToParents(m_children, p);
}

void MemoryFileSystem::setReadError(const QString &path, const QString &message)
{
    m_readErrors.insert(cleanHostPath(path), message);
}

std::optional<QByteArray> MemoryFileSystem::read(const QString &path, QString *error) const
{
    const QString p = cleanHostPath(path);
    QString message;
    if (auto it = m_readErrors.find(p); it != m_readErrors.end())
        message = *it;
    else if (auto f = m_files.find(p); f != m_files.end())
        return *f;
    else
        message = isDirectory(p) ? QStringLiteral("Is a directory") : QStringLiteral("No such file");
    if (error)
        *error = message;
    return std::nullopt;
}

bool MemoryFileSystem::exists(const QString &path) const
{
    const QString p = cleanHostPath(path);
    return m_files.contains(p) || isDirectory(p);
}

bool MemoryFileSystem::isDirectory(const QString &path) const
{
    const QString p = cleanHostPath(path);
    return p == QLatin1String("/") || m_children.contains(p);
}

QStringList MemoryFileSystem::entries(const QString &dir) const
{
    const auto it = m_children.find(cleanHostPath(dir));
    if (it == m_children.end())
        return {};
    QStringList names(it->begin(), it->end());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace ide::files
