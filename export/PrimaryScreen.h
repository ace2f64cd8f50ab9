#ifndef PRIMARYSCREEN_H
#define PRIMARYSCREEN_H

#include <QRect>

// The geometry of the primary screen, which sizes the picture export
// window. A geometry set with setPrimaryScreenGeometry() stands in for the
// real screen (tests give screens of their own); an invalid rectangle
// brings the real one back.
QRect primaryScreenGeometry();
void setPrimaryScreenGeometry(const QRect &geometry);

#endif // PRIMARYSCREEN_H
