#pragma once

#include <string>
#include <vector>

namespace kelno::cli {

// Each command takes the words after its name and returns the exit status.
int RunAnalyze(const std::vector<std::string>& args);
int RunConvert(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
int RunDrawCalls(const std::vector<std::string>& args);

}  // namespace kelno::cli
