#include "scripts/ScriptText.h"

namespace scripts {

bool IsBlank(std::string_view text) {
    for (char c : text)
        if (!IsBlankChar(c))
            return false;
    return true;
}

} // namespace scripts
