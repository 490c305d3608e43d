#pragma once

#include <string>
#include <vector>

#include <QWidget>

#include "runtime/Controls.h"

namespace runtime {

// A status bar of sunken panels, each of a fixed width except the last, which
// reaches to the right edge.
class TStatusBar : public QWidget {
public:
    TStatusBar(QWidget* parent, const std::string& name, const TBounds& bounds);

    void AddPanel(int width, const std::string& text);
    int PanelCount() const { return static_cast<int>(panels_.size()); }
    const std::string& PanelText(int index) const;
    void SetPanelText(int index, const std::string& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Panel {
        int width;
        std::string text;
    };
    void UpdateSpokenName();

    std::vector<Panel> panels_;
};

} // namespace runtime
