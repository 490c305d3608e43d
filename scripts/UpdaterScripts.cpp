#include "scripts/UpdaterScripts.h"

#include "scripts/ScriptText.h"

namespace scripts {

void BlankCommitWorkLines(std::vector<std::string>& lines) {
    for (std::string& line : lines)
        if (UpperCase(line).find("COMMIT WORK") != std::string::npos)
            line = " ";
}

} // namespace scripts
