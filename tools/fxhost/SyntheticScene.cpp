#include "tools/fxhost/SyntheticScene.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace fxhost {
namespace {

struct Vector {
  double x, y, z;
};

Vector operator-(Vector a, Vector b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(Vector a, Vector b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

struct Sphere {
  Vector centre;
  double radius;
};

constexpr double kNear = 1.5;   // view depth shown brightest
constexpr double kFar = 11.0;   // view depth shown darkest
constexpr double kWall = 8.5;   // the back wall's view depth: dark, not black
constexpr double kFloorY = -1.2;
constexpr Sphere kSpheres[] = {
    {{-1.9, -0.35, -5.0}, 0.85}, {{0.7, -0.65, -3.4}, 0.55}, {{2.6, 0.3, -6.6}, 1.3}, {{-0.4, 1.2, -7.4}, 0.8}};

// Distance along the ray (from the origin, direction d) to the sphere, or infinity.
double HitSphere(Vector d, const Sphere& sphere) {
  const Vector toCentre = Vector{0, 0, 0} - sphere.centre;
  const double b = Dot(toCentre, d);
  const double c = Dot(toCentre, toCentre) - sphere.radius * sphere.radius;
  const double discriminant = b * b - Dot(d, d) * c;
  if (discriminant < 0.0) return std::numeric_limits<double>::infinity();
  const double t = (-b - std::sqrt(discriminant)) / Dot(d, d);
  return t > 0.0 ? t : std::numeric_limits<double>::infinity();
}

// A ramp rising from the floor towards the back: x in [0.4, 2.4], z in
// [-7, -4.5], its top climbing 0.5 for every unit of depth.
double HitRamp(Vector d) {
  // Plane y = kFloorY + 0.5 * (-4.5 - z), i.e. y + 0.5 z = kFloorY - 2.25.
  const double denominator = d.y + 0.5 * d.z;
  if (std::fabs(denominator) < 1e-12) return std::numeric_limits<double>::infinity();
  const double t = (kFloorY - 2.25) / denominator;
  const double x = d.x * t;
  const double z = d.z * t;
  if (t <= 0.0 || x < 0.4 || x > 2.4 || z > -4.5 || z < -7.0) return std::numeric_limits<double>::infinity();
  return t;
}

double HitPlaneY(Vector d, double y) {
  if (d.y >= 0.0) return std::numeric_limits<double>::infinity();
  return y / d.y;
}

}  // namespace

Image MakeSyntheticScene(uint32_t width, uint32_t height) {
  Image scene(width, height, 1, 16);
  const double tanHalfHeight = std::tan(0.5 * 50.0 * 3.14159265358979 / 180.0);
  const double aspect = static_cast<double>(width) / height;
  for (uint32_t row = 0; row < height; ++row) {
    for (uint32_t column = 0; column < width; ++column) {
      // Row 0 is the top of the picture.
      const double u = ((column + 0.5) / width * 2.0 - 1.0) * tanHalfHeight * aspect;
      const double v = (1.0 - (row + 0.5) / height * 2.0) * tanHalfHeight;
      const Vector d{u, v, -1.0};  // z = -1, so the ray parameter t is the view depth
      double t = kWall;            // the back wall
      t = std::min(t, HitPlaneY(d, kFloorY));
      t = std::min(t, HitRamp(d));
      for (const Sphere& sphere : kSpheres) t = std::min(t, HitSphere(d, sphere));
      const double depth = std::clamp((kFar - t) / (kFar - kNear), 0.0, 1.0);
      scene.At(column, row) = static_cast<uint16_t>(std::lround(depth * 65535.0));
    }
  }
  return scene;
}

}  // namespace fxhost
