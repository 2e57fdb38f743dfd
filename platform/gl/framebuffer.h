// The off-screen image a rendering context draws into: a framebuffer object
// with a colour and a depth/stencil renderbuffer, resized to the window at
// make-current, and read back top row first for a swap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gl/opengl.h"

namespace gl {

class Framebuffer {
public:
    // The functions it needs beyond OpenGL 1.1; false when the current
    // context offers no framebuffer objects. Needs a current context.
    static bool LoadEntryPoints();

    // Creates the objects on first use and gives them `width` x `height`
    // pixels (contents are lost on a size change), then binds the
    // framebuffer for drawing and reading. Needs the owning context current;
    // false when the driver refuses the size.
    bool Bind(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Reads `rows` x `columns` pixels whose top-left is at (`x`, `top`) in
    // image coordinates (y down) as 0xAARRGGBB words, alpha forced opaque,
    // top row first, into `out` (rows * columns words). Needs the owning
    // context current and the framebuffer bound.
    void ReadTopDown(int x, int top, int columns, int rows, std::vector<uint32_t>& staging,
                     uint32_t* out, int outStride) const;

    // The objects die with their context; nothing to free here.

private:
    GLuint m_framebuffer = 0;
    GLuint m_colour = 0;
    GLuint m_depthStencil = 0;
    int m_width = 0;
    int m_height = 0;
};

}  // namespace gl
