#include "components/ShellOpen.h"

#include <QProcess>
#include <QStringList>
#include <utility>

#include "runtime/QtText.h"

namespace components {

namespace {

void OpenWithDesktop(const std::string& target) {
    QProcess::startDetached(QStringLiteral("xdg-open"), QStringList{runtime::ToQString(target)});
}

TShellOpener& Opener() {
    static TShellOpener opener = OpenWithDesktop;
    return opener;
}

} // namespace

void ShellOpen(const std::string& target) {
    Opener()(target);
}

TShellOpener SetShellOpener(TShellOpener opener) {
    return std::exchange(Opener(), std::move(opener));
}

} // namespace components
