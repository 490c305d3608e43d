#pragma once

#include <QImage>
#include <gtest/gtest.h>

#include "runtime/Canvas.h"
#include "tests/support/ImageProbe.h"

namespace testsupport {

// A canvas that writes black 16-pixel Verdana over a clear brush, with font
// antialiasing off so that pixel checks see exact colours.
class CanvasFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs draw on a white picture and returns the picture.
    template <typename Draw> QImage Render(Draw draw, int width = 300, int height = 120) {
        QImage image = Blank(width, height, Qt::white);
        {
            runtime::TCanvasDevice device(canvas, image);
            draw();
        }
        return image;
    }

    runtime::TCanvas canvas;
};

} // namespace testsupport
