#pragma once

#include <functional>

#include <QString>
#include <QStringList>

namespace velmora {

struct ZipResult {
    bool ok = false;
    QString error;
    QStringList written;
    QStringList kept;
    QStringList refused;
};

// Unpacks zip archives into a folder, recreating the stored folder paths.
class ZipExtractor {
public:
    using ConfirmOverwrite = std::function<bool(const QString& destinationPath)>;
    ZipResult extractAll(const QString& archivePath, const QString& destinationFolder,
                         ConfirmOverwrite confirmOverwrite, const QString& password = QString(),
                         std::function<void(qint64 done, qint64 total)> progress = {});
};

}  // namespace velmora
