// SPDX-License-Identifier: MIT

#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zr {

// What the status window shows of a transfer run.
struct TransferStatus {
  QString caption;
  QString fileText;
  QString progressText;
  int minimum = 0;
  int maximum = 1;
  int position = 0;
};

// The modeless "Status" window of a transfer run: the run's headline, the file
// line, the progress line, a progress bar and Cancel. Cancel (also the close
// box or Escape) shows "Terminating..." and asks once for the run to stop.
class StatusWindow : public QDialog {
  Q_OBJECT

public:
  explicit StatusWindow(QWidget* parent = nullptr);

  void showStatus(const TransferStatus& status);

signals:
  void cancelRequested();

protected:
  void reject() override;

private:
  void cancel();

  QLabel* lblStatus_;
  QLabel* lblFile_;
  QLabel* lblProgress_;
  QProgressBar* barProgress_;
  QPushButton* btnCancel_;
};

} // namespace zr
