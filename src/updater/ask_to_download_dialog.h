// SPDX-License-Identifier: MIT

#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QPlainTextEdit;

namespace zr {

// "Update Available": the running and the offered version, the maker's home
// page as a link, the release notes, and the choice between "Download Updates"
// (accepted) and "Do Not Download" (rejected).
class AskToDownloadDialog : public QDialog {
  Q_OBJECT

public:
  explicit AskToDownloadDialog(QWidget* parent = nullptr);

  void setYourVersion(const QString& version);
  void setUpdateVersion(const QString& version);
  // One memo line per note, the first 10000 of them, then "..." if there are more.
  void setNotes(const QStringList& notes);
  void setHomePage(const QString& address);

protected:
  void showEvent(QShowEvent* event) override;

private:
  QLabel* lblAppName_;
  QLabel* lblYourVersion_;
  QLabel* lblUpdateVersion_;
  QLabel* lblHomePage_;
  QPlainTextEdit* mmoNotes_;
};

} // namespace zr
