#include "widgets/FormFont.h"

#include <QFont>
#include <QStringList>
#include <QWidget>

void FormFont::Apply(QWidget& window)
{
    // No style sheet on the window: under one, Qt hands no font down to the
    // controls, and they would show the desktop's larger font instead.
    QFont font = window.font();
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Nimbus Sans")});
    font.setPixelSize(11);
    font.setLetterSpacing(QFont::PercentageSpacing, 96);
    window.setFont(font);
}
