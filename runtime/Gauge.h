#pragma once

#include <string>

#include <QWidget>

#include "base/Color.h"
#include "runtime/Controls.h"

namespace runtime {

// A horizontal percentage bar: the foreground colour fills the done share on
// the background colour inside a one-pixel border, with the percentage drawn
// as text ("%d%%"). Progress stays within MinValue..MaxValue, and the gauge
// repaints only when the whole percent changes. A screen reader speaks the
// name it stands for, with the percentage as its description.
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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The percentage as the gauge writes it.
    QString PercentText() const;
    void UpdateSpokenPercent();

    int min_ = 0;
    int max_ = 100;
    int progress_ = 0;
    base::TColor fore_ = base::clBlack;
    base::TColor back_ = base::clWhite;
};

} // namespace runtime
