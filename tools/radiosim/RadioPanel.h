#pragma once

#include <QWidget>

class QFormLayout;
class QLabel;
class QListWidget;
class RadioModel;

// The simulated radio's front panel: what a real transceiver would show on
// its display, plus the newest commands that came over the CAT line.
class RadioPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShownCommands = 12;

    // `linePath` is the terminal (or its link) a CAT program opens.
    RadioPanel(const RadioModel& radio, const QString& linePath, QWidget* parent = nullptr);

private:
    QLabel* AddValue(QFormLayout* form, const QString& caption, const QString& name);
    void ShowState();
    void ShowCommand(const QByteArray& command);

    const RadioModel& radio_;
    QLabel* vfoA_;
    QLabel* vfoB_;
    QLabel* mode_;
    QLabel* rit_;
    QLabel* xit_;
    QLabel* transmit_;
    QLabel* split_;
    QLabel* power_;
    QLabel* keyerSpeed_;
    QListWidget* lastCommands_;
};
