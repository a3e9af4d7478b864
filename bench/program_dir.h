#pragma once
// A throw-away program directory: the shipped catalogues and pictures plus a
// settings file that selects the interface, so a benchmark never writes into
// the build's own bin folder.
#include <QString>

namespace t27::bench {

// Copies the catalogues (*.ini) and bmp/ from `data_dir` into `dir` and writes
// a settings file selecting `link_interface` (0 RS-232, 1 Ethernet) at
// 127.0.0.1 on COM1. False when a file could not be written.
bool fill_program_dir(const QString& dir, const QString& data_dir, int link_interface);

}  // namespace t27::bench
