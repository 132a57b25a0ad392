#pragma once

#include <string>
#include <vector>

namespace qv::cli {

// Each subcommand takes the words after its name and returns the process exit status.
int RunSettings(const std::vector<std::string>& words);
int RunMachine(const std::vector<std::string>& words);
int RunImport(const std::vector<std::string>& words);
int RunInfo(const std::vector<std::string>& words);
int RunEdit(const std::vector<std::string>& words);
int RunStation(const std::vector<std::string>& words);
int RunJob(const std::vector<std::string>& words);
int RunPreview(const std::vector<std::string>& words);
int RunSend(const std::vector<std::string>& words);
int RunExport(const std::vector<std::string>& words);
int RunView(const std::vector<std::string>& words);

} // namespace qv::cli
