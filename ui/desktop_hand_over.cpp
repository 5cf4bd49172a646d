#include "ui/desktop_hand_over.hpp"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace gapmerge {

bool openWithDesktop(const std::string& file, const std::string& folder) {
  return QProcess::startDetached(QStringLiteral("xdg-open"),
                                 QStringList{QString::fromLocal8Bit(file)},
                                 QString::fromLocal8Bit(folder));
}

}  // namespace gapmerge
