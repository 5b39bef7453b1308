#include "updater/document_name.h"

#include <QUrl>

namespace zr {

QString documentName(const QString& address) {
  const QString path = QUrl(address).path(QUrl::FullyEncoded);
  return path.mid(path.lastIndexOf(u'/') + 1);
}

} // namespace zr
