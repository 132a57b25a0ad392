#include "view/DataDirChoice.h"

#include "app/MessageCatalog.h"

#include <filesystem>

namespace qv {

namespace {

// The poll of the data directory reads everything that is not a directory; so does this count.
bool HoldsFiles(const std::string& folder)
{
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_directory(typeError))
            return true;
    }
    return false;
}

} // namespace

DataDirChoice ChooseDataDir(std::string_view folder, std::string_view exeDir)
{
    while (!folder.empty() && folder.back() == '/')
        folder.remove_suffix(1);
    std::string path = std::string(folder) + "/";
    // Two characters or less is no folder of its own ("/" itself among them).
    if (path == exeDir || path.size() <= 2)
        return {DataDirChoice::Outcome::Refuse, {}};
    const bool ask = HoldsFiles(path);
    return {ask ? DataDirChoice::Outcome::Ask : DataDirChoice::Outcome::Accept, std::move(path)};
}

DialogMessage DataDirNotEmptyQuestion()
{
    // Both texts exist in Chinese only.
    return {std::string(MessageText(Msg::DataDirNotEmptyQuestion, 0)), std::string(MessageText(Msg::CaptionWarning, 0)),
            MsgButtons::OkCancel, MsgIcon::Warning};
}

DialogMessage DataDirInvalidMessage()
{
    return {std::string(MessageText(Msg::DataDirInvalid, 0)), "", MsgButtons::Ok, MsgIcon::Warning};
}

std::string SettleDataDirChoice(const DataDirChoice& choice, std::string_view previous, Notifier& notifier)
{
    switch (choice.outcome) {
    case DataDirChoice::Outcome::Refuse:
        DataDirInvalidMessage().ShowWith(notifier);
        return std::string(previous);
    case DataDirChoice::Outcome::Ask:
        if (DataDirNotEmptyQuestion().ShowWith(notifier) != MsgAnswer::Ok)
            return std::string(previous);
        break;
    case DataDirChoice::Outcome::Accept:
        break;
    }
    return choice.path;
}

} // namespace qv
