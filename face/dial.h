#pragma once

#include "engine/ports.h"
#include "face/surface.h"

namespace face {

// Places the four marks at the midpoints of the edges, each 1/32 of the width or height
// long. Throws engine::RunTimeError when the surface reports a size that is not finite;
// the coordinates assigned before the fault keep their new values.
void DrawDialMarks(Surface& surface);

// Places the second, minute and hour hands from the centre to a point on the border picked
// by the clock's value. Throws engine::RunTimeError for a size that is not finite and for a
// clock value outside 0..59 (second, minute) or 0..23 (hour).
void DrawHands(Surface& surface, engine::WallClock& clock);

} // namespace face
