// world_tables.h - the constants and tables the scene's actors share.
//
// The world's extent and grid, the two cube meshes (an indexed cube of
// half-edge 25 for the lit boxes, an interleaved cube of half-edge 50 whose
// first face is the glowing sprite quad), the scratch vector through which
// light parameters reach GL, and the degree tables the glow texture is drawn
// with. Plain globals, read and written by name; they are defined with the
// scene in vesk_nb_17.cpp.
#pragma once

#include <GL/gl.h>

inline constexpr float worldsize = 170000.0f; // the world runs from -worldsize to +worldsize
inline constexpr float blocksize = 24000.0f;  // one cell of the block grid
inline constexpr int texo = 128;              // edge of the glow texture, in texels
inline constexpr int maxd = 360;              // entries of the degree tables

// worldsize truncated to an integer: the modulus of the constructors' position draws.
inline constexpr int kWorldModulus = static_cast<int>(worldsize);

// Cube of half-edge 25: corners, quads of corner indices, and one normal per
// corner. Corner k is lit with normal k whichever face it belongs to, and
// corners 6 and 7 carry zero normals: that shading is the boxes' look.
extern const GLfloat cc_points[8][3];
extern const GLuint cc_faces[6][4];
extern const GLfloat cc_normals[8][3];

// Cube of half-edge 50 as interleaved (s, t, nx, ny, nz, x, y, z) vertices,
// four a face in the order +z, +x, -z, -x, +y, -y. Only the +z face is drawn.
extern const GLfloat g_cubeVertices[24][8];

extern GLfloat lposition[4]; // filled right before each glLightfv

extern float cosd[maxd]; // cosine of whole degrees, with pi taken as 3.14159265
extern float sind[maxd];
