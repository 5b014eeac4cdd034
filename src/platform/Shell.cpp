#include "platform/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace velmora {

bool SystemShell::open(const QString& target) {
    QUrl url = QUrl::fromUserInput(target);
    if (QFileInfo::exists(target)) {
        url = QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
    }
    return QDesktopServices::openUrl(url);
}

}  // namespace velmora
