#pragma once
// Small helpers the scene tests share: replaying rand(), and the views the
// field is seen through.
#include <vector>

// The next n values of rand() after srand(seed), leaving the generator seeded
// with seed again afterwards is up to the caller.
std::vector<int> Draws(unsigned seed, int n);

// The 3-D field at rest: gluPerspective(45, 4/3, 1, 100), eye (0, 0, 25) looking toward -z.
// Leaves the model-view matrix selected. withFrustum: also extract the frustum.
void LoadRestView(bool withFrustum = false);
