// matrices.cpp - the calls on the model-view and projection stacks the
// context keeps, and the viewport.
//
// A change to the projection matrix or the viewport is a change of the
// DrawState; the model-view matrix is applied on the CPU as each draw is
// added, so changing it leaves the pending batch as it is.
#include "context.h"
#include "unsupported.h"

#include <cstring>

using namespace gl11;

extern "C" {

void glMatrixMode(GLenum mode) {
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION) {
        NotImplemented("glMatrixMode", mode);
    }
    if (Context* c = CurrentContext()) {
        c->matrixMode = mode;
    }
}

void glLoadIdentity() {
    if (Context* c = CurrentContext()) {
        c->Current() = Identity();
        c->stateChanged = c->stateChanged || c->matrixMode == GL_PROJECTION;
    }
}

void glPushMatrix() {
    if (Context* c = CurrentContext()) {
        std::vector<Matrix>& stack = c->CurrentStack();
        if (static_cast<int>(stack.size()) == kMatrixStackDepth) {
            Fail("glPushMatrix", "stack overflow (GL_STACK_OVERFLOW)");
        }
        stack.push_back(stack.back());
    }
}

void glPopMatrix() {
    if (Context* c = CurrentContext()) {
        std::vector<Matrix>& stack = c->CurrentStack();
        if (stack.size() == 1) {
            Fail("glPopMatrix", "stack underflow (GL_STACK_UNDERFLOW)");
        }
        stack.pop_back();
        c->stateChanged = c->stateChanged || c->matrixMode == GL_PROJECTION;
    }
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    if (Context* c = CurrentContext()) {
        Translate(&c->Current(), x, y, z);
        c->stateChanged = c->stateChanged || c->matrixMode == GL_PROJECTION;
    }
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    if (Context* c = CurrentContext()) {
        Scale(&c->Current(), x, y, z);
        c->stateChanged = c->stateChanged || c->matrixMode == GL_PROJECTION;
    }
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (width < 0 || height < 0) {
        Fail("glViewport", "negative size (GL_INVALID_VALUE)");
    }
    if (Context* c = CurrentContext()) {
        const int viewport[4] = {x, y, width, height};
        std::memcpy(c->viewport, viewport, sizeof(viewport));
        c->stateChanged = true;
    }
}

} // extern "C"
