#pragma once

#include "core/IIndicator.h"

#include <QList>

class RecordingIndicator : public IIndicator {
public:
    void SetFillColor(int c) override
    {
        color = c;
        history.append(c);
    }
    int color = -1;
    QList<int> history;
};
