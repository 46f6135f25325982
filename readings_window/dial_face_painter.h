#pragma once

#include <QRectF>

#include "dial/dial_layout.h"

class QPainter;

// Draws the face of a dial laid out for the wall into `area`, as a person facing the wall sees
// it, up on the drawing up the wall: the hour lines of local apparent time from the style's root
// (whole hours long and numbered, half hours short), the substyle dashed and the style along it;
// parallel lines for a style parallel to the face, and a caption that says so.
void PaintDialFace(QPainter& painter, const QRectF& area, const kestramo::dial::DialLayout& layout);
