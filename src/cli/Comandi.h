#pragma once

#include <QString>
#include <QStringList>

#include "platform/InstallFolder.h"

namespace velmora::cli {

// Runs one command of velmora-cli; returns the process exit code.
int esegui(const InstallFolder& folder, const QString& command, const QStringList& args);

}  // namespace velmora::cli
