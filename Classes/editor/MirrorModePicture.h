#pragma once

#include <QImage>

// A small picture of what a mirror mode does: one short stroke drawn by the
// painting engine itself in that mode, on a dark square of the given side.
QImage drawMirrorModePicture(int mode, int side);
