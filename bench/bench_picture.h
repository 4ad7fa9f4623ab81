#pragma once

#include <QImage>
#include <QString>

// A photograph-like 24-bit picture (smooth shapes, texture and noise), the
// same bytes on every run.
QImage benchPicture(int width, int height);

// A JPEG file of that picture at quality 90 in the temporary folder.
QString benchJpegFile(int width, int height);
