#include "ui/folder_chooser.hpp"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QString>

namespace gapmerge {

namespace {

const QString lastFolderKey = QStringLiteral("lastFolder");

QString startingFolder(const QSettings& settings, const std::string& startFolder) {
  for (const QString& folder :
       {QFile::decodeName(startFolder.c_str()), settings.value(lastFolderKey).toString()}) {
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
      return folder;
    }
  }
  return QDir::currentPath();
}

}  // namespace

std::optional<std::string> chooseFolder(const std::string& startFolder) {
  // ~/.config/gapmerge/gapmerge.conf
  QSettings settings(QStringLiteral("gapmerge"), QStringLiteral("gapmerge"));
  const QString folder = QFileDialog::getExistingDirectory(
      nullptr, QStringLiteral("Choose the folder to merge"), startingFolder(settings, startFolder));
  if (folder.isEmpty()) {
    return std::nullopt;
  }
  settings.setValue(lastFolderKey, folder);
  return QFile::encodeName(folder).toStdString();
}

}  // namespace gapmerge
