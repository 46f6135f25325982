#pragma once

#include <functional>
#include <string>

// Inverse trigonometric functions through which the engine recovers every angle it needs.
// All results are in radians.
namespace Trig_Functions {

// arctan(x), strictly between -pi/2 and pi/2. Checks nothing.
double ArcTan(double x);

// arcsin(x) built from arctan. Arguments up to 1e-11 beyond +-1 give (Pi / 2) * x, unclamped;
// larger ones raise "Input out of ArcSine range" and give 0.
double ArcSin(double x);

// arccos(x) built from arctan. Any argument beyond +-1 raises "Input out of ArcCos range"
// and gives 0.
double ArcCos(double x);

// Receives "Input out of ArcSine range" / "Input out of ArcCos range" and returns when the
// user has acknowledged it. The window installs a message box; the default writes to stderr.
// An empty handler restores the default.
void SetRangeErrorHandler(std::function<void(const std::string& message)> handler);

}  // namespace Trig_Functions
