// without_gl.cpp - the GL and GLU entry points the scene's drawing names,
// doing nothing, for a program that runs the scene's logic only and never
// draws.
#include <GL/gl.h>
#include <GL/glu.h>

void GLAPIENTRY glBindTexture(GLenum, GLuint) {}
void GLAPIENTRY glBlendFunc(GLenum, GLenum) {}
void GLAPIENTRY glClear(GLbitfield) {}
void GLAPIENTRY glClearColor(GLclampf, GLclampf, GLclampf, GLclampf) {}
void GLAPIENTRY glColor3f(GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY glDisable(GLenum) {}
void GLAPIENTRY glDisableClientState(GLenum) {}
void GLAPIENTRY glDrawArrays(GLenum, GLint, GLsizei) {}
void GLAPIENTRY glDrawElements(GLenum, GLsizei, GLenum, const GLvoid*) {}
void GLAPIENTRY glEnable(GLenum) {}
void GLAPIENTRY glEnableClientState(GLenum) {}
void GLAPIENTRY glFlush() {}
void GLAPIENTRY glInterleavedArrays(GLenum, GLsizei, const GLvoid*) {}
void GLAPIENTRY glLightf(GLenum, GLenum, GLfloat) {}
void GLAPIENTRY glLightfv(GLenum, GLenum, const GLfloat*) {}
void GLAPIENTRY glLoadIdentity() {}
void GLAPIENTRY glMaterialfv(GLenum, GLenum, const GLfloat*) {}
void GLAPIENTRY glMatrixMode(GLenum) {}
void GLAPIENTRY glNormalPointer(GLenum, GLsizei, const GLvoid*) {}
void GLAPIENTRY glPolygonMode(GLenum, GLenum) {}
void GLAPIENTRY glPolygonOffset(GLfloat, GLfloat) {}
void GLAPIENTRY glPopMatrix() {}
void GLAPIENTRY glPushMatrix() {}
void GLAPIENTRY glScalef(GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY glShadeModel(GLenum) {}
void GLAPIENTRY glTexParameteri(GLenum, GLenum, GLint) {}
void GLAPIENTRY glTranslatef(GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY glVertexPointer(GLint, GLenum, GLsizei, const GLvoid*) {}
void GLAPIENTRY glViewport(GLint, GLint, GLsizei, GLsizei) {}

GLint GLAPIENTRY gluBuild2DMipmaps(GLenum, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*) {
    return 0;
}
void GLAPIENTRY gluLookAt(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble,
                          GLdouble, GLdouble) {}
void GLAPIENTRY gluPerspective(GLdouble, GLdouble, GLdouble, GLdouble) {}
