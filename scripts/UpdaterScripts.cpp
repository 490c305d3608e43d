#include "scripts/UpdaterScripts.h"

#include "runtime/StrUtils.h"

namespace scripts {

void BlankCommitWorkLines(std::vector<std::string>& lines) {
    for (std::string& line : lines)
        if (runtime::UpperCase(line).find("COMMIT WORK") != std::string::npos)
            line = " ";
}

} // namespace scripts
