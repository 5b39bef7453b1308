// SPDX-License-Identifier: MIT

// Speed of reading the largest update information file the updater accepts
// (1 MiB) and of showing its notes, both on the user-interface thread: a
// server must not be able to freeze the window with it.

#include "core/update_info.h"
#include "updater/ask_to_download_dialog.h"

#include <QStringList>
#include <benchmark/benchmark.h>
#include <string>

namespace {

constexpr std::size_t kLargest = 1024 * 1024;

// A 1 MiB file whose notes are lines of the given length: one-character lines
// make the most lines, long lines the fewest.
std::string updateInfo(std::size_t lineLength) {
  std::string text =
      "[VERSION]\r\n2.1.3.0\r\n[FILES]\r\nhttps://h/ZRDorvelSetup.exe\r\n[NOTES]\r\n";
  const std::string line = std::string(lineLength, 'n') + "\r\n";
  while (text.size() + line.size() <= kLargest)
    text += line;
  return text;
}

void BM_ReadUpdateOffer(benchmark::State& state) {
  const std::string text = updateInfo(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(zr::readUpdateOffer(text, true));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadUpdateOffer)->Arg(1)->Arg(80)->Unit(benchmark::kMillisecond);

void BM_ShowNotes(benchmark::State& state) {
  const zr::UpdateOffer offer =
      zr::readUpdateOffer(updateInfo(static_cast<std::size_t>(state.range(0))), true);
  QStringList notes;
  for (const std::string& note : offer.notes)
    notes.append(QString::fromLocal8Bit(note));
  for (auto _ : state) {
    zr::AskToDownloadDialog dialog;
    dialog.setNotes(notes);
  }
}
BENCHMARK(BM_ShowNotes)->Arg(1)->Arg(80)->Unit(benchmark::kMillisecond);

} // namespace
