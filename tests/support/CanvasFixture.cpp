#include "tests/support/CanvasFixture.h"

#include "runtime/Font.h"

namespace testsupport {

void CanvasFixture::SetUp() {
    runtime::SetFontAntialiasing(false);
    canvas.Font().SetName("Verdana");
    canvas.Font().SetHeight(-16);
    canvas.Font().SetColor(base::clBlack);
    canvas.Brush().Style = runtime::bsClear;
}

void CanvasFixture::TearDown() {
    runtime::SetFontAntialiasing(true);
}

} // namespace testsupport
