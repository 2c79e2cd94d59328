// Running a helper program and collecting what it writes to its standard
// output.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "common/text.h"

namespace brannock::platform {

#if !defined(_WIN32)
// Runs `argv` (argv[0] looked up through PATH when it holds no "/") with the
// `environment` entries (NAME=VALUE) added to the inherited ones, and waits
// for its end, at most `limit`; a program still running then is killed.
// Returns its standard output, or none when it could not be started or was
// killed. The output goes through a temporary file rather than a pipe, so a
// daemon that the program leaves behind (wineserver) cannot hold the read
// open.
std::optional<std::string> RunProgramOutput(const TextList& argv, const TextList& environment,
                                            std::chrono::milliseconds limit);
#endif

}  // namespace brannock::platform
