#include "widgets/Lamp.h"

#include <QPainter>

Lamp::Lamp(QWidget* parent) : QWidget(parent) {}

void Lamp::ShowConnected(bool connected)
{
    connected_ = connected;
    update();
}

void Lamp::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), connected_ ? Qt::green : Qt::red);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
