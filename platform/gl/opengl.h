// Everything a module needs to draw with OpenGL 1.1 and GLU into our
// windows, in the one include order that works: the platform's types first
// (they mark calling conventions as empty, and the OpenGL headers keep
// those markers when they are already defined), then OpenGL, GLU and the
// context layer.
#pragma once

#include "platform/base/types.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "platform/gl/wgl.h"
