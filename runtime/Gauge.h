#pragma once

#include <string>

#include <QWidget>

#include "base/Color.h"
#include "runtime/Controls.h"

namespace runtime {

// A horizontal percentage bar: the foreground colour fills the done share on
// the background colour inside a one-pixel border, with the percentage drawn
// as text ("%d%%"). Progress stays within MinValue..MaxValue, and the gauge
// repaints only when the whole percent changes. A screen reader meets a
// progress bar with the name it stands for, its value and the percentage as
// its description.
class TGauge : public QWidget {
public:
    TGauge(QWidget* parent, const std::string& name, const TBounds& bounds, const std::string& spokenName);

    int Progress() const { return progress_; }
    void SetProgress(int value);
    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    void SetMaxValue(int value);
    void SetForeColor(base::TColor color);
    void SetBackColor(base::TColor color);
    // The whole percent done.
    int PercentDone() const;
    // The percentage as the gauge writes it ("42%").
    QString PercentText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void UpdateSpokenPercent();

    int min_ = 0;
    int max_ = 100;
    int progress_ = 0;
    base::TColor fore_ = base::clBlack;
    base::TColor back_ = base::clWhite;
};

} // namespace runtime
