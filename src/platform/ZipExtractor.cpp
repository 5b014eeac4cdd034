#include "platform/ZipExtractor.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <zip.h>

#include "platform/Cp1252.h"

namespace velmora {

namespace {

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryCloser {
    void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};
using ArchivePtr = std::unique_ptr<zip_t, ArchiveCloser>;
using EntryPtr = std::unique_ptr<zip_file_t, EntryCloser>;

// Unix file type and mode bits, kept in the upper half of the external attributes by Unix zippers.
constexpr zip_uint32_t kUnixTypeMask = 0170000;
constexpr zip_uint32_t kUnixSymlink = 0120000;
constexpr zip_uint32_t kUnixExecutable = 0111;

constexpr qsizetype kChunk = 64 * 1024;

QString libzipText(zip_error_t* error) {
    return QString::fromUtf8(zip_error_strerror(error));
}

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

// The path of an entry below the destination folder, as its parts, with "." and ".." resolved;
// nothing when the name could reach outside the folder.
std::optional<QStringList> safeParts(const QString& name) {
    QString path = name;
    // Archives made on Windows may separate folders with backslashes.
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // A leading "/" is an absolute path or a network share; a colon names a drive ("C:x" too) or,
    // on Windows, a hidden stream of another file.
    if (path.startsWith(QLatin1Char('/')) || path.contains(QLatin1Char(':'))) {
        return std::nullopt;
    }
    QStringList parts;
    for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".")) {
            continue;
        }
        if (part == QLatin1String("..")) {
            if (parts.isEmpty()) {
                return std::nullopt;
            }
            parts.removeLast();
            continue;
        }
        // Windows drops trailing dots and blanks from names, which would make ".. " or "..." climb.
        qsizetype kept = part.size();
        while (kept > 0 && (part[kept - 1] == QLatin1Char('.') || part[kept - 1] == QLatin1Char(' '))) {
            --kept;
        }
        if (kept == 0) {
            return std::nullopt;
        }
        parts << part;
    }
    return parts;
}

bool isSymlink(zip_t* archive, zip_uint64_t index) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0) {
        return false;
    }
    return system == ZIP_OPSYS_UNIX && ((attributes >> 16) & kUnixTypeMask) == kUnixSymlink;
}

bool isExecutable(zip_t* archive, zip_uint64_t index) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0) {
        return false;
    }
    return system == ZIP_OPSYS_UNIX && ((attributes >> 16) & kUnixExecutable) != 0;
}

// One run over one archive: the entries read so far wait in temporary files until all are good.
class Extraction {
public:
    Extraction(zip_t* archive, const QString& archiveName, const QString& root,
               const ZipExtractor::ConfirmOverwrite& confirmOverwrite,
               const std::function<void(qint64, qint64)>& progress, ZipResult& result)
        : m_archive(archive),
          m_archiveName(archiveName),
          m_root(root),
          m_confirmOverwrite(confirmOverwrite),
          m_progress(progress),
          m_result(result) {}

    void run() {
        const zip_int64_t count = zip_get_num_entries(m_archive, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            zip_stat_t stat;
            if (zip_stat_index(m_archive, static_cast<zip_uint64_t>(i), 0, &stat) == 0 &&
                (stat.valid & ZIP_STAT_SIZE)) {
                m_total += static_cast<qint64>(stat.size);
            }
        }
        report();
        for (zip_int64_t i = 0; i < count && !m_failed; ++i) {
            entry(static_cast<zip_uint64_t>(i));
        }
        if (!m_failed) {
            commit();
        }
        if (m_failed) {
            rollBack();
        } else {
            m_done = m_total;
            report();
        }
    }

    const QStringList& errors() const { return m_errors; }

private:
    struct Pending {
        QString temporary;
        QString destination;
    };

    void entry(zip_uint64_t index) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(m_archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME)) {
            fail(QStringLiteral("entry %1: %2").arg(index).arg(libzipText(zip_get_error(m_archive))));
            return;
        }
        const QString name = QString::fromUtf8(stat.name);
        const qint64 size = (stat.valid & ZIP_STAT_SIZE) ? static_cast<qint64>(stat.size) : 0;
        const bool folder = name.endsWith(QLatin1Char('/')) || name.endsWith(QLatin1Char('\\'));
        const std::optional<QStringList> parts = safeParts(name);
        if (!parts || (!folder && parts->isEmpty())) {
            refuse(name, QStringLiteral("would land outside %1").arg(QDir::toNativeSeparators(m_root)), size);
            return;
        }
        if (isSymlink(m_archive, index)) {
            refuse(name, QStringLiteral("is a symbolic link"), size);
            return;
        }
        if (folder) {
            makeFolders(name, *parts);
            return;
        }
        QStringList folderParts = *parts;
        const QString fileName = folderParts.takeLast();
        if (!makeFolders(name, folderParts)) {
            return;
        }
        const QString destination = m_root + QLatin1Char('/') + parts->join(QLatin1Char('/'));
        const QFileInfo existing(destination);
        if (existing.isDir() && !existing.isSymLink()) {
            fail(entryText(name, QStringLiteral("a folder of that name exists in the destination")));
            return;
        }
        if (existing.exists() || existing.isSymLink()) {
            if (m_confirmOverwrite && !m_confirmOverwrite(destination)) {
                m_result.kept << destination;
                m_done += size;
                report();
                return;
            }
        }
        unpack(index, stat, name, destination, fileName);
    }

    void unpack(zip_uint64_t index, const zip_stat_t& stat, const QString& name, const QString& destination,
                const QString& fileName) {
        const bool encrypted =
            (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE;
        EntryPtr file(zip_fopen_index(m_archive, index, 0));
        if (!file) {
            zip_error_t* error = zip_get_error(m_archive);
            QString why;
            switch (zip_error_code_zip(error)) {
                case ZIP_ER_WRONGPASSWD:
                    why = QStringLiteral("wrong password");
                    break;
                case ZIP_ER_NOPASSWD:
                    why = QStringLiteral("the entry is protected by a password and none was given");
                    break;
                default:
                    why = QStringLiteral("cannot be read");
                    break;
            }
            fail(entryText(name, QStringLiteral("%1 (%2)").arg(why, libzipText(error))));
            return;
        }

        const QString folder = QFileInfo(destination).path();
        QTemporaryFile temporary(folder + QLatin1Char('/') + fileName + QStringLiteral(".XXXXXX.part"));
        temporary.setAutoRemove(false);
        if (!temporary.open()) {
            fail(entryText(name, QStringLiteral("cannot create a temporary file in %1 (%2)")
                                     .arg(QDir::toNativeSeparators(folder), temporary.errorString())));
            return;
        }
        const QString temporaryPath = temporary.fileName();
        m_pending.push_back({temporaryPath, destination});

        std::vector<char> buffer(kChunk);
        qint64 read = 0;
        for (;;) {
            // libzip checks the CRC when the last byte has been handed out: a damaged entry, or a
            // wrong password that slipped past the one-byte header check, fails only here.
            const zip_int64_t n = zip_fread(file.get(), buffer.data(), buffer.size());
            if (n < 0) {
                const QString text = libzipText(zip_file_get_error(file.get()));
                fail(entryText(name, encrypted
                                         ? QStringLiteral("wrong password or damaged data (%1)").arg(text)
                                         : QStringLiteral("damaged data (%1)").arg(text)));
                return;
            }
            if (n == 0) {
                break;
            }
            if (temporary.write(buffer.data(), n) != n) {
                fail(entryText(name,
                               QStringLiteral("cannot write %1 (%2)")
                                   .arg(QDir::toNativeSeparators(temporaryPath), temporary.errorString())));
                return;
            }
            read += n;
            m_done += n;
            report();
        }
        if ((stat.valid & ZIP_STAT_SIZE) && read != static_cast<qint64>(stat.size)) {
            fail(entryText(name, QStringLiteral("damaged data (%1 bytes instead of %2)")
                                     .arg(read)
                                     .arg(static_cast<qint64>(stat.size))));
            return;
        }

        // The new file keeps the permissions of the one it replaces; a new one is readable by all.
        QFileDevice::Permissions permissions = QFileInfo::exists(destination)
                                                   ? QFile::permissions(destination)
                                                   : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                         QFileDevice::ReadUser | QFileDevice::WriteUser |
                                                         QFileDevice::ReadGroup | QFileDevice::ReadOther;
        if (isExecutable(m_archive, index)) {
            permissions |=
                QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup | QFileDevice::ExeOther;
        }
        temporary.setPermissions(permissions);
        if (stat.valid & ZIP_STAT_MTIME) {
            temporary.flush();
            temporary.setFileTime(QDateTime::fromSecsSinceEpoch(static_cast<qint64>(stat.mtime)),
                                  QFileDevice::FileModificationTime);
        }
        temporary.close();
        if (temporary.error() != QFileDevice::NoError) {
            fail(entryText(name, QStringLiteral("cannot write %1 (%2)")
                                     .arg(QDir::toNativeSeparators(temporaryPath), temporary.errorString())));
        }
    }

    // Creates the folders of `parts` below the root, remembering the new ones for a roll-back.
    bool makeFolders(const QString& name, const QStringList& parts) {
        QString path = m_root;
        for (const QString& part : parts) {
            path += QLatin1Char('/') + part;
            const QFileInfo info(path);
            if (info.isDir()) {
                continue;
            }
            if (info.exists() || info.isSymLink()) {
                fail(entryText(
                    name,
                    QStringLiteral("%1 exists and is not a folder").arg(QDir::toNativeSeparators(path))));
                return false;
            }
            if (!QDir().mkdir(path)) {
                fail(entryText(
                    name, QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(path))));
                return false;
            }
            m_createdFolders << path;
        }
        return true;
    }

    void commit() {
        for (const Pending& pending : m_pending) {
            std::error_code error;
            std::filesystem::rename(fsPath(pending.temporary), fsPath(pending.destination), error);
            if (error) {
                fail(QStringLiteral("%1: cannot replace %2 (%3)")
                         .arg(m_archiveName, QDir::toNativeSeparators(pending.destination),
                              QString::fromLocal8Bit(error.message())));
                return;
            }
            m_result.written << pending.destination;
        }
        m_pending.clear();
    }

    void rollBack() {
        for (const Pending& pending : m_pending) {
            QFile::remove(pending.temporary);
        }
        m_pending.clear();
        // Folders made for this archive go again, deepest first, unless a written file is in them.
        for (auto it = m_createdFolders.crbegin(); it != m_createdFolders.crend(); ++it) {
            QDir().rmdir(*it);
        }
    }

    void refuse(const QString& name, const QString& why, qint64 size) {
        m_result.refused << name;
        m_errors << entryText(name, why + QStringLiteral("; it was not written"));
        m_done += size;
        report();
    }

    void fail(const QString& text) {
        m_failed = true;
        m_errors << text;
    }

    QString entryText(const QString& name, const QString& why) const {
        return QStringLiteral("%1: entry \"%2\" %3").arg(m_archiveName, name, why);
    }

    void report() {
        if (m_progress) {
            m_progress(std::min(m_done, m_total), m_total);
        }
    }

    zip_t* m_archive;
    QString m_archiveName;
    QString m_root;
    const ZipExtractor::ConfirmOverwrite& m_confirmOverwrite;
    const std::function<void(qint64, qint64)>& m_progress;
    ZipResult& m_result;
    QStringList m_errors;
    std::vector<Pending> m_pending;
    QStringList m_createdFolders;
    qint64 m_done = 0;
    qint64 m_total = 0;
    bool m_failed = false;
};

}  // namespace

ZipResult ZipExtractor::extractAll(const QString& archivePath, const QString& destinationFolder,
                                   ConfirmOverwrite confirmOverwrite, const QString& password,
                                   std::function<void(qint64 done, qint64 total)> progress) {
    ZipResult result;
    const QFileInfo archiveInfo(archivePath);
    const QString archiveName = archiveInfo.fileName();
    // libzip takes an empty file for an empty archive; here it is a download that went wrong.
    if (archiveInfo.isFile() && archiveInfo.size() == 0) {
        result.error = QStringLiteral("Cannot open the archive %1: the file is empty")
                           .arg(QDir::toNativeSeparators(archivePath));
        return result;
    }
    int code = ZIP_ER_OK;
    ArchivePtr archive(zip_open(QFile::encodeName(archivePath).constData(), ZIP_RDONLY, &code));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        result.error = QStringLiteral("Cannot open the archive %1: %2")
                           .arg(QDir::toNativeSeparators(archivePath), libzipText(&error));
        zip_error_fini(&error);
        return result;
    }
    if (!password.isEmpty() && zip_set_default_password(archive.get(), toCp1252(password).constData()) != 0) {
        result.error = QStringLiteral("%1: %2").arg(archiveName, libzipText(zip_get_error(archive.get())));
        return result;
    }

    const QString root = QDir::cleanPath(QFileInfo(destinationFolder).absoluteFilePath());
    if (!QFileInfo(root).isDir() && !QDir().mkpath(root)) {
        result.error = QStringLiteral("%1: cannot create the folder %2")
                           .arg(archiveName, QDir::toNativeSeparators(root));
        return result;
    }

    Extraction extraction(archive.get(), archiveName, root, confirmOverwrite, progress, result);
    extraction.run();
    result.ok = extraction.errors().isEmpty();
    result.error = extraction.errors().join(QLatin1Char('\n'));
    return result;
}

}  // namespace velmora
