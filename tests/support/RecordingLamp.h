#pragma once

#include "core/ILamp.h"

class RecordingLamp : public ILamp {
public:
    void SetUp(bool isUp) override { up = isUp; }
    bool up = false;
};
