#include "widgets/FormFont.h"

#include <QFont>
#include <QStringList>
#include <QWidget>

void FormFont::Apply(QWidget& window)
{
    QFont font = window.font();
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Nimbus Sans")});
    font.setPixelSize(11);
    font.setLetterSpacing(QFont::PercentageSpacing, 96);
    window.setFont(font);
    window.setStyleSheet(QStringLiteral("QPushButton { padding: 0px 1px; }"));
}
