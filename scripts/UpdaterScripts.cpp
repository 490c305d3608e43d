#include "scripts/UpdaterScripts.h"

#include "base/StrUtils.h"

namespace scripts {

std::vector<std::string> AccountParams(const std::string& user, const std::string& password) {
    return {"user_name=" + user, "password=" + password};
}

void BlankCommitWorkLines(std::vector<std::string>& lines) {
    for (std::string& line : lines)
        if (base::UpperCase(line).find("COMMIT WORK") != std::string::npos)
            line = " ";
}

} // namespace scripts
