#pragma once

// What screen readers are told about the framework's own controls, which
// Qt would otherwise present as plain widgets: a label is a label named by
// its caption, the gauge a progress bar with its value, the status bar a
// status bar. The controls install this once, when the first is made.
namespace runtime {

void InstallAccessibleControls();

} // namespace runtime
