#pragma once
// A 4x4 matrix of doubles and the free functions over it.
//
// Storage is column-major: row r, column c is m[c * 4 + r]; m[12..14] hold the
// translation. Points are column vectors multiplied on the right. Arithmetic
// is done in double; a VECTOR3D result is rounded to float when stored.
#include "geometry/vector3d.h"

class MATRIX {
public:
    MATRIX();
    void Zero();
    void Identity();
    // Writes m[12], m[13], m[14] and nothing else.
    void SetTranslation(VECTOR3D v);

    double m[16];
};

MATRIX AddMatrix(MATRIX a, MATRIX b);
// The second taken from the first.
MATRIX SubtractMatrix(MATRIX a, MATRIX b);
// The product a * b: applied to a point, b acts first.
MATRIX MultiplyMatrix(MATRIX a, MATRIX b);

// p as a point (w = 1), no perspective division.
VECTOR3D MatrixPointMultiply(MATRIX m, VECTOR3D p);
// The upper-left 3x3 alone.
VECTOR3D MatrixRotatePoint(MATRIX m, VECTOR3D p);
// The transpose of the upper-left 3x3: the inverse turn for a pure rotation.
VECTOR3D MatrixInverseRotatePoint(MATRIX m, VECTOR3D p);
VECTOR3D MatrixTranslatePoint(MATRIX m, VECTOR3D p);
VECTOR3D MatrixInverseTranslatePoint(MATRIX m, VECTOR3D p);

// A rotation from angles in degrees. Its convention differs from Rotate(): the
// matrix turns a point by -x about X, then y about Y, then -z about Z.
MATRIX MatrixFromAngle(VECTOR3D angles);
// The inverse of MatrixFromAngle, each angle wrapped into [0, 360). Within
// about 0.29 degrees of Y = +-90 the X angle is folded into Z.
VECTOR3D AngleFromMatrix(MATRIX m);

// Appends a blank line and the four columns, one per line, to "test.txt" in
// the current directory. Writes nothing when the file cannot be opened.
void SaveMatrix(MATRIX m);
