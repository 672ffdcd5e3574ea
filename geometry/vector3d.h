#pragma once
// Small value records for points, directions, angle triples and screen
// positions, and the free functions over them.
//
// Precision: records hold floats. A product with a double (a scale, a sine,
// a length) is worked in double and rounded to float when stored; sums and
// products of two records' components alone stay in single precision.
#include "front/colour4d.h"

struct VECTOR3D {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct point2d {
    float x = 0.0f;
    float y = 0.0f;
};

VECTOR3D MakePoint(float x, float y, float z);
point2d Make2DPoint(float x, float y);
colour4d MakeColour(float r, float g, float b, float a);

VECTOR3D AddVectors(VECTOR3D a, VECTOR3D b);
// The first argument minus the second.
VECTOR3D SubtractVectors(VECTOR3D a, VECTOR3D b);
VECTOR3D MultiplyVectors(VECTOR3D a, VECTOR3D b);
// No test for a zero divisor: IEEE results.
VECTOR3D DivideVectors(VECTOR3D a, VECTOR3D b);

VECTOR3D ScaleVector(VECTOR3D v, double s);
double VectorLength(VECTOR3D v);
float VectorLengthNOSQRT(VECTOR3D v);
// The SQUARE of the distance: cheap, and all the depth sort needs.
double DistanceBetweenVectors(VECTOR3D a, VECTOR3D b);
VECTOR3D NormalizeVector(VECTOR3D v);
float VectorDotProduct(VECTOR3D a, VECTOR3D b);
VECTOR3D VectorCrossProduct(VECTOR3D a, VECTOR3D b);
// (p1 - p2) x (p2 - p3), not normalised.
VECTOR3D CalculateNormal(VECTOR3D p1, VECTOR3D p2, VECTOR3D p3);
// Exact IEEE equality of every component.
bool CompareVectors(VECTOR3D a, VECTOR3D b);

// Turns v in place by angles in degrees about the fixed X, then Y, then Z axis
// (right-handed). An axis whose angle is 0 is skipped, bit for bit.
void Rotate(VECTOR3D* v, float ax, float ay, float az);

// Wraps value by whole steps of high: below low, add high; at or above high,
// subtract high. Defined for finite values and high > 0.
double clamp(double value, double low, double high);
