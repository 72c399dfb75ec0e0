// shapes.cpp - the box and the sprite quad.
#include "scene/shapes.h"

#include "scene/world_tables.h"

void DrawBox(const GLfloat* corners) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, corners);
    glNormalPointer(GL_FLOAT, 0, cc_normals);
    glDrawElements(GL_QUADS, 24, GL_UNSIGNED_INT, cc_faces);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void DrawSpriteQuad() {
    glInterleavedArrays(GL_T2F_N3F_V3F, 0, g_cubeVertices);
    glDrawArrays(GL_QUADS, 0, 4);
}

void DrawFlatSprite(GLfloat x, GLfloat y, GLfloat z, GLfloat scaleX, GLfloat scaleY) {
    glPushMatrix();
    glTranslatef(x, y, z);
    glScalef(scaleX, scaleY, 10.0f);
    DrawSpriteQuad();
    glPopMatrix();
}
