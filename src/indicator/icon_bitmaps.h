#pragma once
// The core's pixel buffers as GDI bitmaps an image list takes.
#include <windows.h>

#include "core/pixel_buffer.h"
#include "framework/handles.h"

namespace lumitrax {

// A 32-bit device-independent bitmap with the buffer's colours.
UniqueBitmap ImageBitmap(const core::PixelBuffer& pixels);
// A monochrome bitmap: set bits where the mask is white (transparent).
UniqueBitmap MaskBitmap(const core::PixelBuffer& mask);

}  // namespace lumitrax
