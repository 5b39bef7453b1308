// SPDX-License-Identifier: MIT

#pragma once

#include "app/system_options_dialog.h"

namespace zr {

class DataFiles;
struct Settings;
class SysTray;

// The settings of a run: the system options and the tray's notices on close and on
// minimize, read from and written to the settings file through DataFiles, which also
// learns whether it keeps the snoozed copies.
class ProgramSettings {
public:
  ProgramSettings(DataFiles& files, SysTray& tray) : files_(files), tray_(tray) {}

  SystemOptions& options() { return options_; }
  const SystemOptions& options() const { return options_; }
  // A file that cannot be read leaves the defaults for this run (see DataFiles).
  void read();
  // Values changed in the file outside the program come back from the write.
  void write();

private:
  void use(const Settings& settings);

  DataFiles& files_;
  SysTray& tray_;
  SystemOptions options_;
};

} // namespace zr
