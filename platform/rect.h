#pragma once
// A rectangle of four floats: origin x, y and size width, height (pixels).
struct Rect {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};
