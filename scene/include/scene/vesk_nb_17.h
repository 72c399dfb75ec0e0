// vesk_nb_17.h - the scene: its objects, its four hooks for the frame, and
// the composition of each frame.
//
// The nine object arrays are built before the program starts, from the
// random generator's unseeded state, so the start-up layout is the same on
// every run; only the per-frame draws follow the clock seed Initialize makes.
// They live for the whole process and keep their state when the window is
// made again.
#pragma once

#include "framework/TolkGL.h"
#include "framework/scene_hooks.h"
#include "scene/actors/Camera.h"
#include "scene/actors/Carz.h"
#include "scene/actors/Cloud.h"
#include "scene/actors/Floor.h"
#include "scene/actors/Lampje.h"
#include "scene/actors/Moverz.h"
#include "scene/actors/Moverzbl.h"
#include "scene/world_tables.h"

inline constexpr int kCameras = 3; // only the first is driven
inline constexpr int kFloors = 717;
inline constexpr int kClouds = 2;
inline constexpr int kBlocks = 2400;
inline constexpr int kMovers = 400;
inline constexpr int kRedMovers = 200;
inline constexpr int kBlueMovers = 200;
inline constexpr int kGlowSquares = 1;

extern GL_Window* g_window;
extern Keys* g_keys;

// In the order they are built.
extern Lampje licht[kLampjes];
extern Camera Zenith[kCameras];
extern Floor vloer[kFloors];
extern Cloud cloudz[kClouds];
extern Carz kar[kBlocks];
extern Moverz mover[kMovers];
extern Moverzbl moverbl[kRedMovers];
extern Moverzbl2 moverbl2[kBlueMovers];
extern Moverzbl3 moverbl3[kGlowSquares];

// The scene's start-up after the context's own state, in its order: the
// generator seeded from the clock (or the seed a program gave
// platform::UseSeed), the degree tables, the glow image, uploaded as the
// texture where there is a context, and every block's world-space corners.
// Initialize calls it with a context; runs that draw nothing call it alone.
enum class SceneStart { WithContext, WithoutContext };
void StartScene(SceneStart start);

// Two of its steps, for measuring them alone.
void FillDegreeTables();
void SetupBlocks();

// One frame: the camera, the lights, then four passes, each object calculated
// and then drawn before the next; ends with a 2 ms sleep.
void ProcessMbance();

// One frame's calculations in the frame's order, without GL: what
// ProcessMbance does to the scene's state, for runs without a context.
void AdvanceScene();
