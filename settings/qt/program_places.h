#pragma once
// The one decision, made at start-up, of where the program's files are read
// and written (settings/program_dir.h), with the system's answers filled in:
// the executable's folder and the user's data folder.
#include <QString>

#include "settings/program_dir.h"

namespace t27 {

// `override_dir` is --program-dir (empty when not given); `program_folder` the
// folder the programs run from. An installed program's user folder is made
// when it does not exist yet (bringing along an earlier version's files), and
// catalogue copies an earlier version made that still equal the shipped ones
// are dropped, so the shipped catalogue is read.
ProgramPlaces program_places(const QString& override_dir, const QString& program_folder);

}  // namespace t27
