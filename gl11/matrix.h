// matrix.h - 4 by 4 matrices as GL keeps them, and the operations the scene
// applies to them.
//
// Column-major floats, element (row r, column c) at m[c * 4 + r], as GL and
// its callers lay them out. Every operation computes in single precision in
// the order GL drivers do, so that a point lands where the desktop's GL puts
// it: the 16-bit depth buffer turns small differences into different pixels.
#pragma once

namespace gl11 {

struct Matrix {
    float m[16];
};

Matrix Identity();
// a * b: b applied first, as glMultMatrix multiplies the current matrix.
Matrix Multiply(const Matrix& a, const Matrix& b);
// The current matrix times a translation or a scale, as glTranslatef and glScalef.
void Translate(Matrix* matrix, float x, float y, float z);
void Scale(Matrix* matrix, float x, float y, float z);

// m * (x, y, z, 1).
void TransformPoint(const Matrix& matrix, const float point[3], float out[4]);
// The upper-left 3 by 3 of m times the direction.
void TransformDirection(const Matrix& matrix, const float direction[3], float out[3]);

// The matrix normals are carried by: the inverse transpose of the upper-left
// 3 by 3, as three columns (column c at out[c * 3]). False when it has no
// inverse, which leaves the normals as they are.
bool NormalMatrix(const Matrix& matrix, float out[9]);

} // namespace gl11
