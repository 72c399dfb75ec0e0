// matrix.cpp - matrix products, translation, scaling and the normal matrix.
#include "matrix.h"

namespace gl11 {

Matrix Identity() {
    return Matrix{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix product{};
    for (int row = 0; row < 4; ++row) {
        const float a0 = a.m[row];
        const float a1 = a.m[4 + row];
        const float a2 = a.m[8 + row];
        const float a3 = a.m[12 + row];
        for (int column = 0; column < 4; ++column) {
            const float* b_ = b.m + column * 4;
            product.m[column * 4 + row] = a0 * b_[0] + a1 * b_[1] + a2 * b_[2] + a3 * b_[3];
        }
    }
    return product;
}

void Translate(Matrix* matrix, float x, float y, float z) {
    float* m = matrix->m;
    for (int row = 0; row < 4; ++row) {
        m[12 + row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    }
}

void Scale(Matrix* matrix, float x, float y, float z) {
    float* m = matrix->m;
    for (int row = 0; row < 4; ++row) {
        m[row] *= x;
        m[4 + row] *= y;
        m[8 + row] *= z;
    }
}

void TransformPoint(const Matrix& matrix, const float point[3], float out[4]) {
    const float* m = matrix.m;
    for (int row = 0; row < 4; ++row) {
        out[row] = m[row] * point[0] + m[4 + row] * point[1] + m[8 + row] * point[2] + m[12 + row];
    }
}

void TransformDirection(const Matrix& matrix, const float direction[3], float out[3]) {
    const float* m = matrix.m;
    for (int row = 0; row < 3; ++row) {
        out[row] = m[row] * direction[0] + m[4 + row] * direction[1] + m[8 + row] * direction[2];
    }
}

bool NormalMatrix(const Matrix& matrix, float out[9]) {
    // a(r, c) of the upper-left 3 by 3; the inverse transpose is the matrix of
    // cofactors divided by the determinant.
    const auto a = [&](int r, int c) { return matrix.m[c * 4 + r]; };
    const float c00 = a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1);
    const float c01 = a(1, 2) * a(2, 0) - a(1, 0) * a(2, 2);
    const float c02 = a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0);
    const float determinant = a(0, 0) * c00 + a(0, 1) * c01 + a(0, 2) * c02;
    if (determinant == 0.0f) {
        return false;
    }
    const float c10 = a(0, 2) * a(2, 1) - a(0, 1) * a(2, 2);
    const float c11 = a(0, 0) * a(2, 2) - a(0, 2) * a(2, 0);
    const float c12 = a(0, 1) * a(2, 0) - a(0, 0) * a(2, 1);
    const float c20 = a(0, 1) * a(1, 2) - a(0, 2) * a(1, 1);
    const float c21 = a(0, 2) * a(1, 0) - a(0, 0) * a(1, 2);
    const float c22 = a(0, 0) * a(1, 1) - a(0, 1) * a(1, 0);
    const float inverse = 1.0f / determinant;
    // Row r of the result is the cofactors of row r of the matrix.
    const float rows[3][3] = {{c00, c01, c02}, {c10, c11, c12}, {c20, c21, c22}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            out[c * 3 + r] = rows[r][c] * inverse;
        }
    }
    return true;
}

} // namespace gl11
