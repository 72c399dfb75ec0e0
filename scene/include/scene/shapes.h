// shapes.h - the two shapes every actor is drawn with.
#pragma once

#include <GL/gl.h>

// A box through the shared corner indices and per-corner normals: the vertex
// and normal arrays are enabled for the one indexed draw and disabled after.
// Blocks pass their own world-space corners, movers cc_points under a
// transform.
void DrawBox(const GLfloat* corners);

// The sprite quad: the +z face of g_cubeVertices, 100 by 100 at height 50,
// textured corner to corner. The interleaved arrays it enables stay enabled
// and pointing at the table afterwards, and the next frame's boxes take their
// texture coordinates from it.
void DrawSpriteQuad();

// A flat glowing rectangle: the sprite quad stretched to 100 * scaleX by
// 100 * scaleY, lying 500 above (x, y, z). Floor tiles and clouds are drawn
// with exactly these calls.
void DrawFlatSprite(GLfloat x, GLfloat y, GLfloat z, GLfloat scaleX, GLfloat scaleY);
