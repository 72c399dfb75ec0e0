// vesk_nb_17.cpp - the world tables, the scene's objects and its hooks.
#include "scene/vesk_nb_17.h"

#include "platform/runtime.h"
#include "scene/glow_texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

const GLfloat cc_points[8][3] = {
    {-25, 25, 25},  {25, 25, 25},  {25, -25, 25},  {-25, -25, 25},
    {-25, 25, -25}, {25, 25, -25}, {25, -25, -25}, {-25, -25, -25},
};

const GLuint cc_faces[6][4] = {
    {0, 3, 2, 1}, {1, 2, 6, 5}, {5, 6, 7, 4}, {4, 7, 3, 0}, {4, 0, 1, 5}, {3, 7, 6, 2},
};

const GLfloat cc_normals[8][3] = {
    {0, 0, 1}, {1, 0, 0}, {0, 0, -1}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 0}, {0, 0, 0},
};

const GLfloat g_cubeVertices[24][8] = {
    {1, 1, 0, 0, 1, -50, 50, 50},    {0, 1, 0, 0, 1, 50, 50, 50},
    {0, 0, 0, 0, 1, 50, -50, 50},    {1, 0, 0, 0, 1, -50, -50, 50},
    {1, 1, 1, 0, 0, 50, 50, 50},     {0, 1, 1, 0, 0, 50, -50, 50},
    {0, 0, 1, 0, 0, 50, -50, -50},   {1, 0, 1, 0, 0, 50, 50, -50},
    {1, 1, 0, 0, -1, 50, 50, -50},   {0, 1, 0, 0, -1, 50, -50, -50},
    {0, 0, 0, 0, -1, -50, -50, -50}, {1, 0, 0, 0, -1, -50, 50, -50},
    {1, 1, -1, 0, 0, -50, 50, -50},  {0, 1, -1, 0, 0, -50, -50, -50},
    {0, 0, -1, 0, 0, -50, -50, 50},  {1, 0, -1, 0, 0, -50, 50, 50},
    {1, 1, 0, 1, 0, -50, 50, -50},   {0, 1, 0, 1, 0, -50, 50, 50},
    {0, 0, 0, 1, 0, 50, 50, 50},     {1, 0, 0, 1, 0, 50, 50, -50},
    {1, 1, 0, -1, 0, -50, -50, 50},  {0, 1, 0, -1, 0, -50, -50, -50},
    {0, 0, 0, -1, 0, 50, -50, -50},  {1, 0, 0, -1, 0, 50, -50, 50},
};

GLfloat lposition[4] = {0.0f, 0.15f, 0.1f, 1.0f};

float cosd[maxd];
float sind[maxd];

GL_Window* g_window = nullptr;
Keys* g_keys = nullptr;

// One translation unit, in this order: each constructor draws from the
// generator, so the order of construction is the layout.
Lampje licht[kLampjes];
Camera Zenith[kCameras];
Floor vloer[kFloors];
Cloud cloudz[kClouds];
Carz kar[kBlocks];
Moverz mover[kMovers];
Moverzbl moverbl[kRedMovers];
Moverzbl2 moverbl2[kBlueMovers];
Moverzbl3 moverbl3[kGlowSquares];

namespace {

constexpr double kFieldOfView = 85.0;
constexpr double kNear = 4.0;
constexpr double kFar = 3500000.0;
constexpr double kPi = 3.14159265; // the scene's own pi, short of the full constant
constexpr GLenum kLights[kLampjes] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT3,
                                      GL_LIGHT4, GL_LIGHT5, GL_LIGHT6, GL_LIGHT7};

} // namespace

void FillDegreeTables() {
    for (int i = 0; i < maxd; ++i) {
        const double angle = i * 360.0 / 360.0 * kPi / 180.0;
        cosd[i] = static_cast<float>(std::cos(angle));
        sind[i] = static_cast<float>(std::sin(angle));
    }
}

void SetupBlocks() {
    for (Carz& block : kar) {
        block.SetupCarz();
    }
}

BOOL Initialize(GL_Window* window, Keys* keys) {
    g_window = window;
    g_keys = keys;

    glViewport(0, 0, window->width, window->height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, static_cast<GLdouble>(window->width) / window->height, kNear,
                   kFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnable(GL_DEPTH_TEST);

    // The lights add specular light only: nothing sets ambient or diffuse again.
    const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    for (const GLenum light : kLights) {
        glLightfv(light, GL_AMBIENT, black);
        glLightfv(light, GL_DIFFUSE, black);
        glLightfv(light, GL_SPECULAR, black);
    }
    glEnable(GL_LIGHTING);
    for (const GLenum light : kLights) {
        glEnable(light);
    }
    glShadeModel(GL_SMOOTH);

    // Every filled polygon of the run is drawn with this offset.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-1.0f, -2.0f);

    StartScene(SceneStart::WithContext);
    return 1;
}

void StartScene(SceneStart start) {
    platform::srand(static_cast<unsigned int>(platform::time(nullptr)));

    FillDegreeTables();

    if (start == SceneStart::WithContext) {
        settexmap01();
        // The texture's name is the image's first byte, always 0: the default
        // texture object holds the glow.
        glBindTexture(GL_TEXTURE_2D, mtex[0]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, texo, texo, GL_RGBA, GL_UNSIGNED_BYTE, mtex);
    } else {
        BuildGlowImage();
    }

    SetupBlocks();
}

void Update(unsigned long /*milliseconds*/) {
    // Motion is counted in frames, so the time is not used.
    if (g_keys->keyDown[VK_ESCAPE] == 1) {
        TerminateApplication(g_window);
    }
    if (g_keys->keyDown[VK_F1] == 1) {
        ToggleFullscreen(g_window);
    }
}

void Draw() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    ProcessMbance();
    glFlush();
}

void Deinitialize() {}
