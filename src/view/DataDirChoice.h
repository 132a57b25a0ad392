#pragma once

#include "view/DialogMessage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

class Notifier;

// The software settings dialog's "修改" (260): a folder for the watched data directory, whose every file is
// read into the task list and deleted. The widget shows the folder browser titled Msg::DataDirBrowseTitle; a
// cancelled browser changes nothing. For a chosen folder:
//   Refuse   the executable's own directory, or no usable path: Msg::DataDirInvalid, the previous one stays;
//   Ask      the folder holds files (subfolders do not count): DataDirNotEmptyQuestion() first, accepted on OK;
//   Accept   otherwise.
// Whatever the outcome, the dialog then shows its current directory and DataDir takes it at once, so an
// accepted folder stays in force even when the dialog is cancelled.
struct DataDirChoice {
    enum class Outcome : uint8_t { Accept, Ask, Refuse };
    Outcome outcome = Outcome::Refuse;
    std::string path; // the folder ending in one '/', for Accept and Ask

    bool operator==(const DataDirChoice&) const = default;
};

// `folder` is the browser's answer; `exeDir` ends in '/'.
DataDirChoice ChooseDataDir(std::string_view folder, std::string_view exeDir);

DialogMessage DataDirNotEmptyQuestion();
DialogMessage DataDirInvalidMessage();

// Shows the refusal or asks the question through `notifier`, and returns the directory in force afterwards:
// the chosen one once accepted, `previous` otherwise.
std::string SettleDataDirChoice(const DataDirChoice& choice, std::string_view previous, Notifier& notifier);

} // namespace qv
