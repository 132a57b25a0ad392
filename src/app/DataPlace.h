#pragma once

#include <functional>
#include <optional>
#include <string>

namespace qv {

// Where the program keeps its own files (setting.ini, lastv901.ctask, the stroke fonts, the test drawings and
// the data directory): beside the executable when that directory is writable, as on a machine where the
// program was unpacked by hand; otherwise, as after a system-wide install, in the user's data directory
// ($XDG_DATA_HOME/quorvane/, by default ~/.local/share/quorvane/).
struct DataPlace {
    std::string dir;           // ends in '/'
    bool besideProgram = true; // false: the per-user place
    std::string error;         // set when neither place can be used; `dir` is then empty
};

struct DataPlaceInputs {
    std::string exeDir;                                   // ends in '/'
    std::optional<std::string> xdgDataHome;               // the variable as set, if it is
    std::optional<std::string> home;                      // $HOME, if set
    std::function<bool(const std::string& dir)> writable; // may the program create files in this directory
    // Makes the directory and its parents; false when it cannot be made.
    std::function<bool(const std::string& dir)> makeDirectories;
};

// The rule itself, without touching the file system but through the inputs' two functions. An
// $XDG_DATA_HOME that is empty or not absolute is ignored, as the base-directory rules ask.
DataPlace ChooseDataPlace(const DataPlaceInputs& inputs);

// The rule for the running program: its directory, the environment, access(2) and the file system.
DataPlace ChooseDataPlace(const std::string& exeDir);

} // namespace qv
