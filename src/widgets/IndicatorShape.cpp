#include "widgets/IndicatorShape.h"

#include <QPainter>

IndicatorShape::IndicatorShape(QWidget* parent) : QWidget(parent) {}

void IndicatorShape::SetFillColor(int color)
{
    color_ = color;
    update();
}

void IndicatorShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor fill(color_ & 0xFF, (color_ >> 8) & 0xFF, (color_ >> 16) & 0xFF);
    painter.fillRect(rect(), fill);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
