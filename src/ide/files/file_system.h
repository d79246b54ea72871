#pragma once
#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace ide::files {

/// Where project files come from: the disk, or a map in memory for tests. Paths are absolute
/// host paths with '/' separators.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    /// Reads a whole file; on failure returns nullopt and sets *error (if given) to a clear
    /// message ("No such file", "Is a directory", "Permission denied", ...).
    virtual std::optional<QByteArray> read(const QString &path, QString *error) const = 0;
    /// read() into `into`, whose storage is reused where the file system can: fresh memory for
    /// every file of a large project costs more than reading them.
    virtual bool readInto(const QString &path, QByteArray &into, QString *error) const;
    virtual bool exists(const QString &path) const = 0;
    virtual bool isDirectory(const QString &path) const = 0;
    /// Names (not paths) of the entries of `dir`; empty when it is not a directory.
    virtual QStringList entries(const QString &dir) const = 0;

    /// Resolves a path as a .vbp writes it (backslashes, `..\`, spaces, any letter case)
    /// against `baseDir`, matching each component case-insensitively as Windows would and
    /// preferring an exact match. Trailing dots and spaces of a component are ignored, as on
    /// Windows. Absolute paths of every form (`C:\...`, `\\server\...`, `\...`, "/x/y") are
    /// never followed and give "": a project must not pull in files from outside its folders.
    /// Returns the host path of an existing file or directory, or "".
    QString resolve(const QString &baseDir, const QString &windowsPath) const;
    /// True for a drive, UNC, root-relative or host-absolute path, quoted or not.
    static bool isAbsolute(const QString &windowsPath);

    /// While one of these lives, each folder is listed and case-folded once: a project that
    /// names its members in another letter case than the disk would otherwise list the folder
    /// again for every lookup; and each path resolve() tries is checked once (a project of
    /// hundreds of files in a few folders asked the disk about those folders thousands of
    /// times). Both are dropped with the last scope, so the next load sees the disk as it is then.
    class ListingScope {
    public:
        explicit ListingScope(const FileSystem &fs);
        ~ListingScope();
        ListingScope(const ListingScope &) = delete;
        ListingScope &operator=(const ListingScope &) = delete;

    private:
        const FileSystem &m_fs;
    };

protected:
    /// The entry of `dir` that Windows would open for `name`, or "".
    QString matchEntry(const QString &dir, const QString &name) const;

private:
    // A cache, not state: filled through const lookups.
    mutable int m_listingScopes = 0;
    mutable QHash<QString, QHash<QString, QString>> m_listings; // dir -> folded name -> entry
    mutable QHash<QString, bool> m_exists;
    QHash<QString, QString> *listing(const QString &dir) const;
    /// exists(), answered once per path while a ListingScope lives.
    bool existsOnce(const QString &path) const;
};

/// The real disk through QFile/QDir.
/// The real disk. Only regular files are read (never a device, pipe or socket, even behind a
/// symbolic link), and never more than their size.
class DiskFileSystem : public FileSystem {
public:
    std::optional<QByteArray> read(const QString &path, QString *error) const override;
    bool readInto(const QString &path, QByteArray &into, QString *error) const override;
    bool exists(const QString &path) const override;
    bool isDirectory(const QString &path) const override;
    QStringList entries(const QString &dir) const override;
};

/// Files in memory, case-sensitive like a Linux disk; directories are implied by file paths.
class MemoryFileSystem : public FileSystem {
public:
    void add(const QString &path, QByteArray bytes);
    /// An empty directory (directories holding files need no call).
    void addDirectory(const QString &path);
    /// Makes reading `path` fail with `message` (e.g. "Permission denied") while it still exists.
    void setReadError(const QString &path, const QString &message);

    std::optional<QByteArray> read(const QString &path, QString *error) const override;
    bool exists(const QString &path) const override;
    bool isDirectory(const QString &path) const override;
    QStringList entries(const QString &dir) const override;

private:
    QHash<QString, QByteArray> m_files;
    QHash<QString, QString> m_readErrors;
    QMap<QString, QSet<QString>> m_children; // directory -> names of files and subdirectories
};

} // namespace ide::files
