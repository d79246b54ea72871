#include "ide/files/file_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

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

QString FileSystem::matchEntry(const QString &dir, const QString &name) const
{
    if (exists(joinPath(dir, name)))
        return name;
    const QString stripped = withoutTrailingDotsAndSpaces(name);
    if (stripped.isEmpty())
        return {};
    if (stripped != name && exists(joinPath(dir, stripped)))
        return stripped;
    const QString wanted = foldName(stripped);
    QString best;
    for (const QString &entry : entries(dir))
        if (foldName(entry) == wanted && (best.isEmpty() || entry < best))
            best = entry;
    return best;
}

QString FileSystem::resolve(const QString &baseDir, const QString &windowsPath) const
{
    QString path = windowsPath.trimmed();
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        path = path.mid(1, path.size() - 2).trimmed();
    if (path.isEmpty() || path.startsWith(QLatin1Char('\\')))
        return {}; // UNC or root of the current drive
    if (path.size() >= 2 && path[1] == QLatin1Char(':') && path[0].unicode() < 0x80 && path[0].isLetter())
        return {}; // a drive of another machine
    QString dir;
    if (path.startsWith(QLatin1Char('/')))
        dir = QStringLiteral("/");
    else if (baseDir.isEmpty())
        return {};
    else
        dir = cleanHostPath(baseDir);
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
    return exists(dir) ? dir : QString();
}

// --- DiskFileSystem ----------------------------------------------------------------------

std::optional<QByteArray> DiskFileSystem::read(const QString &path, QString *error) const
{
    auto fail = [error](const QString &message) -> std::optional<QByteArray> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail(QStringLiteral("No such file"));
    if (info.isDir())
        return fail(QStringLiteral("Is a directory"));
    if (info.size() > MaxFileSize)
        return fail(QStringLiteral("File too large"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.error() == QFileDevice::PermissionsError || !info.isReadable())
            return fail(QStringLiteral("Permission denied"));
        return fail(file.errorString());
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    return bytes;
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
