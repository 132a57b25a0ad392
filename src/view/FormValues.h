#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace qv {

// A text of a dialog's resources: the Chinese one and the English one of the English resource set, which is
// in use only while Language is 1.
struct UiText {
    const char* zh;
    const char* en;

    const char* Of(int32_t language) const { return language == 1 ? en : zh; }
};

// What the controls of a dialog show, by control identifier. A form loads it from the values it edits, the
// widget shows it and writes the operator's changes back, and the form checks it on OK.
struct FormValues {
    std::map<int, std::string> texts; // edit fields
    std::map<int, bool> checks;       // check boxes
    std::map<int, int> selections;    // drop-down lists: the selected index, -1 for none

    bool operator==(const FormValues&) const = default;
};

} // namespace qv
