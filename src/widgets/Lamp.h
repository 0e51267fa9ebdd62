#pragma once

#include "core/ILamp.h"

#include <QWidget>

// A filled rectangle showing a connection: green while it stands, red otherwise.
class Lamp : public QWidget, public ILamp {
    Q_OBJECT
public:
    explicit Lamp(QWidget* parent = nullptr);

    void SetUp(bool up) override;
    bool isUp() const { return up_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool up_ = false;
};
