#pragma once
// A colour of four single-precision components, each 0.0 to 1.0.
struct colour4d {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};
