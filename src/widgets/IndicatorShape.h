#pragma once

#include "core/IIndicator.h"

#include <QWidget>

// A filled rectangle showing a connection state; colours come in the
// Windows blue-green-red order (255 red, 65280 green).
class IndicatorShape : public QWidget, public IIndicator {
    Q_OBJECT
public:
    explicit IndicatorShape(QWidget* parent = nullptr);

    void SetFillColor(int color) override;
    int fillColor() const { return color_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int color_ = kRed;
};
