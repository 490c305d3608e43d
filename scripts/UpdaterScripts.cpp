#include "scripts/UpdaterScripts.h"

#include "base/StrUtils.h"
#include "scripts/ScriptText.h"

#include <algorithm>

namespace scripts {

std::vector<std::string> AccountParams(const std::string& user, const std::string& password) {
    return {"user_name=" + user, "password=" + password};
}

namespace {

constexpr std::string_view kCommitWork = "COMMIT WORK";

} // namespace

bool HoldsCommitWork(std::string_view line) {
    return base::UpperCase(line).find(kCommitWork) != std::string::npos;
}

void BlankCommitWorkLines(std::vector<std::string>& lines) {
    for (std::string& line : lines)
        if (HoldsCommitWork(line))
            line = " ";
}

bool CommitWorkWithOtherText(std::string_view line) {
    if (!HoldsCommitWork(line))
        return false;
    const std::string rest = base::StringReplace(line, kCommitWork, "", base::rfReplaceAll | base::rfIgnoreCase);
    return std::any_of(rest.begin(), rest.end(), [](char c) { return !IsBlankChar(c) && c != ';'; });
}

} // namespace scripts
