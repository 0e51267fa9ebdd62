#pragma once

// A connection lamp: up (green) while the connection stands, down (red) otherwise.
class ILamp {
public:
    virtual ~ILamp() = default;
    virtual void SetUp(bool up) = 0;
};
