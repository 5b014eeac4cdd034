#pragma once

#include <functional>

#include <QString>
#include <QStringList>

namespace velmora {

struct ZipResult {
    bool ok = false;
    // One line per problem, each naming the archive and the entry; empty when ok.
    QString error;
    // Full destination paths of the files put into place.
    QStringList written;
    // Full destination paths of existing files the caller chose to keep.
    QStringList kept;
    // Entry names, as stored in the archive, that were never written because they would land
    // outside the destination folder or are symbolic links.
    QStringList refused;
};

// Unpacks zip archives into a folder, recreating the folder paths stored in the archive.
//
// Every file is first unpacked into a temporary file beside its destination and checked against
// the archive's CRC; only when every entry of the archive has read back whole are the temporary
// files renamed into place. A damaged archive, a wrong password or a failed write therefore
// changes nothing in the folder: no file is replaced, no temporary file and no new folder is
// left behind. Entries with unsafe names are the exception: they are refused and reported, and
// the other entries are still unpacked.
class ZipExtractor {
public:
    // Asked with the full destination path of each entry whose file already exists; false keeps
    // the existing file. An empty function replaces existing files without asking.
    using ConfirmOverwrite = std::function<bool(const QString& destinationPath)>;

    // `password` opens entries protected by the traditional PKWARE encryption (text in the
    // Windows-1252 code page); empty means none. `progress` gets the uncompressed bytes handled
    // so far and the archive's total; the last call after a successful run has done == total.
    ZipResult extractAll(const QString& archivePath, const QString& destinationFolder,
                         ConfirmOverwrite confirmOverwrite, const QString& password = QString(),
                         std::function<void(qint64 done, qint64 total)> progress = {});
};

}  // namespace velmora
