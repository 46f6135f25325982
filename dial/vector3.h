#pragma once

#include <cmath>

// Vectors in three dimensions. Each declaration that takes or returns one names its frame.
namespace kestramo::dial {

struct Vector3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

inline Vector3 operator+(Vector3 a, Vector3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vector3 operator-(Vector3 a, Vector3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vector3 operator-(Vector3 a) { return {-a.x, -a.y, -a.z}; }
inline Vector3 operator*(double k, Vector3 a) { return {k * a.x, k * a.y, k * a.z}; }
inline double Dot(Vector3 a, Vector3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vector3 Cross(Vector3 a, Vector3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Length(Vector3 a) { return std::sqrt(Dot(a, a)); }

}  // namespace kestramo::dial
