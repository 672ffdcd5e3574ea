#pragma once
// Captures what a piece of drawing code sends to GL, through GL's own
// feedback mode on the real context: each quad's corners in object
// coordinates, with their colours and texture coordinates.
#include <functional>
#include <vector>

struct FeedbackVertex {
    double x, y, z;     // object coordinates, recovered with the current matrices
    float r, g, b, a;   // as GL keeps them: clamped to 0..1
    float s, t;
};

struct FeedbackQuad {
    FeedbackVertex corner[4];  // in the order sent
};

// Runs draw() in feedback mode and returns the quads it produced. GL splits
// each quad into the triangles (0, 1, 3) and (1, 2, 3); the quads are rebuilt
// from them. Primitives outside the view volume are clipped away by GL.
std::vector<FeedbackQuad> CaptureQuads(const std::function<void()>& draw);
