#include "hpgl/ImportReport.h"

namespace qv {

std::string CountList(const std::map<std::string, uint32_t>& counts)
{
    std::string text;
    for (const auto& [mnemonic, count] : counts) {
        if (!text.empty())
            text += ", ";
        text += mnemonic + " " + std::to_string(count);
    }
    return text;
}

} // namespace qv
