#pragma once

#include <QWidget>

// A filled rectangle showing a connection: green while it stands, red otherwise.
class Lamp : public QWidget {
    Q_OBJECT
public:
    explicit Lamp(QWidget* parent = nullptr);

    void ShowConnected(bool connected);
    bool isConnected() const { return connected_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool connected_ = false;
};
