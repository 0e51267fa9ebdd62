#pragma once

#include <QPushButton>

// A push button whose caption wraps onto further lines when it is wider than
// the button, as the captions of the program's fixed-size buttons were drawn.
class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    static constexpr int kCaptionFlags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

    WrappingButton(const QString& text, QWidget* parent = nullptr);

    // Where the caption is drawn.
    QRect captionArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
