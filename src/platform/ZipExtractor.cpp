#include "platform/ZipExtractor.h"

#include <zip.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmora {

namespace {
bool safeName(const QString& name) {
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        (name.size() > 1 && name[1] == QLatin1Char(':'))) {
        return false;
    }
    for (const QString& part : name.split(QLatin1Char('/'))) {
        if (part == QLatin1String("..")) {
            return false;
        }
    }
    return true;
}
}  // namespace

ZipResult ZipExtractor::extractAll(const QString& archivePath, const QString& destinationFolder,
                                   ConfirmOverwrite confirmOverwrite, const QString& password,
                                   std::function<void(qint64, qint64)> progress) {
    ZipResult result;
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(archivePath).constData(), ZIP_RDONLY, &error);
    if (!archive) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, error);
        result.error =
            QStringLiteral("Cannot open %1: %2").arg(archivePath, QString::fromUtf8(zip_error_strerror(&ze)));
        zip_error_fini(&ze);
        return result;
    }
    if (!password.isEmpty()) {
        zip_set_default_password(archive, password.toLatin1().constData());
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    QStringList errors;
    for (zip_int64_t i = 0; i < count; ++i) {
        const QString name =
            QString::fromUtf8(zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS));
        if (!safeName(name)) {
            result.refused << name;
            errors
                << QStringLiteral("Entry %1 would land outside %2: not written").arg(name, destinationFolder);
            continue;
        }
        const QString target = destinationFolder + QLatin1Char('/') + name;
        if (name.endsWith(QLatin1Char('/'))) {
            QDir().mkpath(target);
            continue;
        }
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (QFileInfo::exists(target) && confirmOverwrite && !confirmOverwrite(target)) {
            result.kept << target;
            continue;
        }
        zip_file_t* entry = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (!entry) {
            errors << QStringLiteral("%1: %2").arg(name, QString::fromUtf8(zip_strerror(archive)));
            continue;
        }
        const QString temp = target + QStringLiteral(".part");
        QFile out(temp);
        bool ok = out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        char buffer[65536];
        while (ok) {
            const zip_int64_t n = zip_fread(entry, buffer, sizeof buffer);
            if (n < 0) {
                errors << QStringLiteral("%1: %2").arg(name, QString::fromUtf8(zip_file_strerror(entry)));
                ok = false;
                break;
            }
            if (n == 0) {
                break;
            }
            ok = out.write(buffer, n) == n;
        }
        zip_fclose(entry);
        out.close();
        if (ok) {
            QFile::remove(target);
            ok = QFile::rename(temp, target);
        }
        if (!ok) {
            QFile::remove(temp);
            continue;
        }
        result.written << target;
        if (progress) {
            progress(i + 1, count);
        }
    }
    zip_discard(archive);
    result.ok = errors.isEmpty();
    result.error = errors.join(QLatin1Char('\n'));
    return result;
}

}  // namespace velmora
