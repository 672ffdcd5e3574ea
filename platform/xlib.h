#pragma once
// Inside the platform layer only: the Xlib, RandR and GLX headers the window code uses.
#include <GL/glx.h>
#include <GL/glxext.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
