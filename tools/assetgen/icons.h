// The desktop icon: the player's ship under an enemy of the swarm, on a tile of deep space.
#pragma once

#include "assetgen/assets.h"
#include "assetgen/canvas.h"

namespace art {

// The sizes the icon theme gets, in pixels.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// The installable page's icons: the icon at these sizes, and a maskable one at the larger.
constexpr int kWebIconSizes[] = {192, 512};

// The icon for a launcher that cuts its own shape: deep space to every edge, the ship and the enemy
// within the middle 80 % that every such shape keeps.
Canvas maskableIconPicture(const Sources& sources, int size);

// The icon at `size` x `size` pixels, drawn once at its own pixel grid and resampled.
Canvas iconPicture(const Sources& sources, int size);

// `source` resampled to `size` x `size`: enlarged pixel by pixel, then averaged down by boxes, so that
// pixel art keeps hard edges wherever the sizes allow.
Canvas resampleSquare(const Canvas& source, int size);

}  // namespace art
