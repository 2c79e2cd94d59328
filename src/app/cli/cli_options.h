// The command line of brannock-cli:
//   brannock-cli [--registry PATH] [--view 32|64] [--out-dir DIR] [-SA] [-SI] [-SO] [-ST]
//   brannock-cli [--registry PATH] --render FILE
//   brannock-cli [--registry PATH] --render-typelib {GUID} MAJOR.MINOR
//   brannock-cli [--registry PATH] --list-typelibs FILE
//   brannock-cli [--registry PATH] --show TEXT
//   brannock-cli --help | --version
// --verbose adds, on standard error, which registry is read.
// The batch switches are those of the window program ("-" or "/" and the
// two letters, any case).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/render_command.h"
#include "catalogue/batch_mode.h"
#include "registry/registry_backend.h"

namespace brannock::cli {

struct CliOptions {
  BatchSwitches switches;
  std::optional<std::filesystem::path> registryPath;
  // --view 32|64: the registry view read; the source's own when not given.
  std::optional<registry::RegistryView> view;
  // Where list files go; the executable's folder when not given.
  std::optional<std::filesystem::path> outDir;
  RenderRequest render;
  // --show TEXT: the detail pane of the objects with that GUID or name.
  std::optional<std::string> show;
  bool help = false;
  bool version = false;
  // Name the registry read (and the places passed over) on standard error.
  bool verbose = false;

  bool HasRender() const {
    return render.file.has_value() || render.typeLibGuid.has_value() || render.listFile.has_value();
  }
};

// Parses the arguments after the program name (UTF-8 on every platform).
// False with a message in `error` for an unknown argument, a missing option
// value or conflicting render options. Empty arguments are ignored.
bool ParseCliOptions(const std::vector<std::string>& args, CliOptions& options, std::string& error);

// A file-system path from an argument.
std::filesystem::path PathFromArgument(const std::string& arg);

std::string UsageText();

}  // namespace brannock::cli
