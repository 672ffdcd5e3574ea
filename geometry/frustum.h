#pragma once
// The six planes of the current view volume, in world coordinates, and the
// point and sphere tests against them.
#include <cstdint>

#include "geometry/vector3d.h"

// Plane order: 0 right, 1 left, 2 bottom, 3 top, 4 far, 5 near. Each plane
// (a, b, c, d) is normalised with (a, b, c) pointing into the volume, so
// a*x + b*y + c*z + d is a signed distance, positive inside.
extern float frustum[6][4];

// Fills frustum from the current projection and model-view matrices.
void ExtractFrustum();

bool PointInFrustum(VECTOR3D p);
// True unless the sphere lies wholly outside some plane (touching counts as outside).
bool SphereInFrustum(VECTOR3D centre, float radius);
// The same test against one plane only; plane must be 0 to 5.
bool SphereInsideSinglePlaneFrustum(int32_t plane, VECTOR3D centre, float radius);
// Where the line through p along the axis the plane chiefly faces meets the
// plane; (0, 0, 0) for an index outside 0 to 5.
VECTOR3D PointAtEdgeOfFrustum(int32_t plane, VECTOR3D p);
