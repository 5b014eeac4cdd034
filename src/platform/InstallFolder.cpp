#include "platform/InstallFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmora {

QString findNoCase(const QString& folder, const QString& name) {
    const QString direct = folder + QLatin1Char('/') + name;
    if (QFileInfo::exists(direct)) {
        return direct;
    }
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            return folder + QLatin1Char('/') + entry;
        }
    }
    return direct;
}

InstallFolder::InstallFolder(QString root) : m_root(QDir::cleanPath(QDir(root).absolutePath())) {}

InstallFolder InstallFolder::fromEnvironment() {
#ifdef Q_OS_WIN
    const QString fallback = QStringLiteral("C:/VELMORA");
#else
    const QString fallback = QDir::homePath() + QStringLiteral("/VELMORA");
#endif
    const QString home = qEnvironmentVariable("VELMORA_HOME");
    return InstallFolder(home.isEmpty() ? fallback : home);
}

QString InstallFolder::path(const QString& name) const {
    QString current = m_root;
    const QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        current = findNoCase(current, part);
    }
    return current;
}

bool InstallFolder::exists(const QString& name) const {
    return QFileInfo::exists(path(name));
}

bool InstallFolder::remove(const QString& name) const {
    const QString file = path(name);
    if (!QFileInfo::exists(file)) {
        return true;
    }
    return QFile::remove(file);
}

QString InstallFolder::adminMarkerPath() const {
    QDir parent(m_root);
    if (!parent.cdUp()) {
        return QString();
    }
    return findNoCase(parent.absolutePath(), QString::fromLatin1(kAdminMarker));
}

}  // namespace velmora
