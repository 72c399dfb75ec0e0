// frame_composition.cpp - one frame of the scene, in its four passes.
//
//   glow pass   no depth test, glow texture, additive blending:
//               glowing movers, floor tiles, clouds, the glowing square
//   block pass  depth test, no texture; each block blends or not by itself
//   red pass    red lit movers, blended additively by their own draws
//   blue pass   blue lit movers, likewise
//
// Each pass sets its state once; what the objects' draws leave behind
// (blending on after the lit movers, the texture-coordinate array enabled by
// the sprite quads) carries into the next pass and the next frame.
#include "platform/win32.h"
#include "scene/glow_texture.h"
#include "scene/vesk_nb_17.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

// Materials (ambient-and-diffuse, specular) of the passes.
constexpr GLfloat kGlowColour[4] = {0.7f, 0.7f, 0.7f, 0.8f};
constexpr GLfloat kGlowShine[4] = {0.857f, 0.857f, 0.857f, 0.9f};
constexpr GLfloat kBlockColour[4] = {0.01f, 0.01f, 0.01f, 0.95f};
constexpr GLfloat kBlockShine[4] = {0.4201f, 0.4201f, 0.4201f, 0.63f};
constexpr GLfloat kRedColour[4] = {0.9102f, 0.102f, 0.102f, 0.3f};
constexpr GLfloat kBlueColour[4] = {0.102f, 0.102f, 0.702f, 0.3f};
constexpr GLfloat kMoverShine[4] = {0.913101f, 0.913101f, 0.913101f, 0.6303f};

constexpr DWORD kFramePause = 2; // milliseconds

void EnableLights() {
    glEnable(GL_LIGHTING);
    for (int i = 0; i < kLampjes; ++i) {
        glEnable(static_cast<GLenum>(GL_LIGHT0 + i));
    }
}

void SetMaterial(const GLfloat* colour, const GLfloat* shine) {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, colour);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, shine);
}

} // namespace

void ProcessMbance() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    Zenith[0].CalcCamera();
    const Camera& camera = Zenith[0];
    gluLookAt(camera.eye[0], camera.eye[1], camera.eye[2], camera.center[0], camera.center[1],
              camera.center[2], 0.0, 0.0, 1.0);
    EnableLights();
    // After the view is set, so positions and directions are world coordinates.
    for (int i = 0; i < kLampjes; ++i) {
        licht[i].CalcLampje(i);
    }
    glShadeModel(GL_SMOOTH);
    glClear(GL_DEPTH_BUFFER_BIT);

    // Glow pass.
    glDisable(GL_DEPTH_TEST);
    SetMaterial(kGlowColour, kGlowShine);
    glBindTexture(GL_TEXTURE_2D, mtex[0]);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glPushMatrix();
    for (Moverz& glowing : mover) {
        glowing.CalcMoverz();
        glowing.DrawMoverz();
    }
    glPopMatrix();
    glPushMatrix();
    for (Floor& tile : vloer) {
        tile.DrawFloor();
    }
    glPopMatrix();
    glPushMatrix();
    for (Cloud& cloud : cloudz) {
        cloud.CalcCloud();
        cloud.DrawCloud();
    }
    glPopMatrix();
    glPushMatrix();
    for (Moverzbl3& square : moverbl3) {
        square.CalcMoverzbl3();
        square.DrawMoverzbl3();
    }
    glPopMatrix();

    // Block pass.
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    SetMaterial(kBlockColour, kBlockShine);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    for (Carz& block : kar) {
        block.DrawCarz();
    }

    // Red mover pass.
    SetMaterial(kRedColour, kMoverShine);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glShadeModel(GL_SMOOTH);
    glPushMatrix();
    for (Moverzbl& red : moverbl) {
        red.CalcMoverzbl();
        red.DrawMoverzbl();
    }
    glPopMatrix();

    // Blue mover pass.
    SetMaterial(kBlueColour, kMoverShine);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glPushMatrix();
    for (Moverzbl2& blue : moverbl2) {
        blue.CalcMoverzbl2();
        blue.DrawMoverzbl2();
    }
    glPopMatrix();

    Sleep(kFramePause);
}

void AdvanceScene() {
    Zenith[0].CalcCamera();
    for (Lampje& lamp : licht) {
        lamp.AdvanceLampje();
    }
    for (Moverz& glowing : mover) {
        glowing.CalcMoverz();
    }
    for (Cloud& cloud : cloudz) {
        cloud.CalcCloud();
    }
    for (Moverzbl3& square : moverbl3) {
        square.CalcMoverzbl3();
    }
    for (Moverzbl& red : moverbl) {
        red.CalcMoverzbl();
    }
    for (Moverzbl2& blue : moverbl2) {
        blue.CalcMoverzbl2();
    }
}
