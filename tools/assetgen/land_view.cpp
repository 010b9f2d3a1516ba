#include "land_view.h"

#include "landscape.h"
#include "noise.h"

#include <algorithm>
#include <cmath>
#include <limits>

// The block is drawn as triangles into a buffer that keeps, for every
// sample, the nearest point of the land seen there; each sample is then
// coloured from that point, so the shading has the full detail of the
// heightmap and base picture while the mesh stays coarse. Two by two
// samples make a pixel, which smooths the block's outline.

namespace {

constexpr int kSuper = 2;                 // samples per pixel along each axis
constexpr int kStep = 2;                  // units between the mesh's vertices
constexpr int kLast = kLandscapeSize - 1; // the land spans 0 .. kLast
constexpr int kShadowSize = kLandscapeSize / kStep;

enum Surface : uint8_t {
    SURFACE_NONE,
    SURFACE_TOP,
    SURFACE_WEST,
    SURFACE_EAST,
    SURFACE_SOUTH,
    SURFACE_NORTH
};

Point3 operator+(Point3 a, Point3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Point3 operator-(Point3 a, Point3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Point3 operator*(Point3 a, float k) {
    return {a.x * k, a.y * k, a.z * k};
}
float dot(Point3 a, Point3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Point3 cross(Point3 a, Point3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Point3 normalised(Point3 a) {
    return a * (1.0f / std::sqrt(dot(a, a)));
}

// The mesh's vertex positions along one side: every kStep units and the last.
std::vector<int> mesh_lines() {
    std::vector<int> lines;
    for (int i = 0; i < kLast; i += kStep)
        lines.push_back(i);
    lines.push_back(kLast);
    return lines;
}

// The far side of the land fades into the haze.
float haze_amount(float depth, const LandCamera& camera) {
    return 0.4f * smoothstep(camera.distance - 200.0f, camera.distance + 420.0f, depth);
}

// A corner of a triangle on the sample grid.
struct Vertex {
    float x = 0, y = 0;      // sample position
    float inverse_depth = 0; // 1 / distance ahead of the eye
    Point3 point;
};

} // namespace

struct LandView::Surfaces {
    int width, height; // in samples
    std::vector<float> depth;
    std::vector<Point3> point;
    std::vector<uint8_t> surface;

    Surfaces(int w, int h)
        : width(w), height(h), depth(static_cast<size_t>(w) * h, std::numeric_limits<float>::max()),
          point(depth.size()), surface(depth.size(), SURFACE_NONE) {}

    // Keeps, in every sample the triangle covers, its point when it lies
    // nearer than what the sample holds. Depth is interpolated through its
    // inverse, so points stay put on the ground however the triangle slants.
    void fill(const Vertex& a, const Vertex& b, const Vertex& c, uint8_t kind) {
        const float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (std::fabs(area) < 1e-6f) return;
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
        const int x1 = std::min(width - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
        const int y1 = std::min(height - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
        constexpr float kSeam = -1e-4f; // shared edges belong to both triangles
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const float px = x + 0.5f, py = y + 0.5f;
                const float wa = ((b.x - px) * (c.y - py) - (b.y - py) * (c.x - px)) / area;
                const float wb = ((c.x - px) * (a.y - py) - (c.y - py) * (a.x - px)) / area;
                const float wc = 1.0f - wa - wb;
                if (wa < kSeam || wb < kSeam || wc < kSeam) continue;
                const float ia = wa * a.inverse_depth, ib = wb * b.inverse_depth,
                            ic = wc * c.inverse_depth;
                const float sum = ia + ib + ic;
                const size_t i = static_cast<size_t>(y) * width + x;
                if (1.0f / sum >= depth[i]) continue;
                depth[i] = 1.0f / sum;
                point[i] = (a.point * ia + b.point * ib + c.point * ic) * (1.0f / sum);
                surface[i] = kind;
            }
    }
};

LandView::LandView(const LandRecipe& land, const LandCamera& camera)
    : seed_(land.seed), camera_(camera), heights_(landscape_heights(land)),
      base_(landscape_base_picture(land, kLandscapeSize)) {
    const float cp = std::cos(camera.pitch), sp = std::sin(camera.pitch);
    eye_.forward = {cp * std::cos(camera.yaw), -sp, cp * std::sin(camera.yaw)};
    eye_.right = normalised({-eye_.forward.z, 0.0f, eye_.forward.x});
    eye_.up = cross(eye_.right, eye_.forward);
    const Point3 middle = {kLandscapeSize / 2.0f, 0.0f, kLandscapeSize / 2.0f};
    eye_.position = middle - eye_.forward * camera.distance;
}

bool LandView::project(Point3 point, sdf::Vec* picture, float* depth) const {
    const Point3 v = point - eye_.position;
    const float ahead = dot(v, eye_.forward);
    if (ahead < 1.0f) return false;
    *picture = {camera_.centre.x + camera_.focal * dot(v, eye_.right) / ahead,
                camera_.centre.y - camera_.focal * dot(v, eye_.up) / ahead};
    *depth = ahead;
    return true;
}

float LandView::height_sample(int x, int z) const {
    x = std::clamp(x, 0, kLast);
    z = std::clamp(z, 0, kLast);
    return heights_[static_cast<size_t>(z) * kLandscapeSize + x] * 0.25f * camera_.relief;
}

float LandView::ground_height(float x, float z) const {
    const float fx = std::floor(x), fz = std::floor(z);
    const int ix = static_cast<int>(fx), iz = static_cast<int>(fz);
    const float tx = x - fx, tz = z - fz;
    const float near =
        height_sample(ix, iz) + (height_sample(ix + 1, iz) - height_sample(ix, iz)) * tx;
    const float far = height_sample(ix, iz + 1) +
                      (height_sample(ix + 1, iz + 1) - height_sample(ix, iz + 1)) * tx;
    return near + (far - near) * tz;
}

// The base picture holds one pixel a unit, its top row at the far end of z.
Colour LandView::base_colour(float x, float z) const {
    const float col = std::clamp(x - 0.5f, 0.0f, kLast - 0.001f);
    const float row = std::clamp(kLast + 0.5f - z, 0.0f, kLast - 0.001f);
    const int c = static_cast<int>(col), r = static_cast<int>(row);
    const float tc = col - c, tr = row - r;
    auto at = [&](int cc, int rr) {
        const uint8_t* p = &base_[(static_cast<size_t>(rr) * kLandscapeSize + cc) * 3];
        return Colour{p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f};
    };
    const int c1 = std::min(c + 1, kLast), r1 = std::min(r + 1, kLast);
    return mix(mix(at(c, r), at(c1, r), tc), mix(at(c, r1), at(c1, r1), tc), tr);
}

// How much sun reaches each mesh vertex, 0 .. 1: the sun against the highest
// horizon toward it, eased over a few degrees so shadows have soft edges.
std::vector<float> LandView::sun_shadow(const LandLight& light) const {
    const Point3 sun = normalised(light.sun);
    const float across = std::sqrt(sun.x * sun.x + sun.z * sun.z);
    const float dx = sun.x / across, dz = sun.z / across, sun_slope = sun.y / across;
    std::vector<float> lit(static_cast<size_t>(kShadowSize) * kShadowSize);
    for (int j = 0; j < kShadowSize; ++j)
        for (int i = 0; i < kShadowSize; ++i) {
            const float x = static_cast<float>(i * kStep), z = static_cast<float>(j * kStep);
            const float start = height_sample(i * kStep, j * kStep);
            float horizon = -1.0f;
            for (float t = 2.0f; t < 240.0f; t += t < 40.0f ? 2.0f : 4.0f) {
                const float sx = x + dx * t, sz = z + dz * t;
                if (sx < 0.0f || sz < 0.0f || sx > kLast || sz > kLast) break;
                horizon = std::max(horizon, (ground_height(sx, sz) - start) / t);
            }
            lit[static_cast<size_t>(j) * kShadowSize + i] =
                smoothstep(-0.06f, 0.06f, sun_slope - horizon);
        }
    return lit;
}

void LandView::rasterise(Surfaces& surfaces, const LandLight& light) const {
    const std::vector<int> lines = mesh_lines();
    const int n = static_cast<int>(lines.size());
    auto vertex = [&](Point3 p) {
        sdf::Vec at;
        float depth;
        if (!project(p, &at, &depth)) depth = std::numeric_limits<float>::max();
        return Vertex{at.x * kSuper, at.y * kSuper, 1.0f / depth, p};
    };
    // The top: two triangles a mesh cell.
    std::vector<Vertex> top(static_cast<size_t>(n) * n);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const float x = static_cast<float>(lines[i]), z = static_cast<float>(lines[j]);
            top[static_cast<size_t>(j) * n + i] = vertex({x, ground_height(x, z), z});
        }
    for (int j = 0; j + 1 < n; ++j)
        for (int i = 0; i + 1 < n; ++i) {
            const Vertex& a = top[static_cast<size_t>(j) * n + i];
            const Vertex& b = top[static_cast<size_t>(j) * n + i + 1];
            const Vertex& c = top[static_cast<size_t>(j + 1) * n + i];
            const Vertex& d = top[static_cast<size_t>(j + 1) * n + i + 1];
            surfaces.fill(a, b, d, SURFACE_TOP);
            surfaces.fill(a, d, c, SURFACE_TOP);
        }
    // The four sides, from the top's edge down to the block's floor.
    auto side = [&](auto edge_point, uint8_t kind) {
        for (int k = 0; k + 1 < n; ++k) {
            const Point3 p = edge_point(lines[k]), q = edge_point(lines[k + 1]);
            const Vertex a = vertex(p), b = vertex(q);
            const Vertex c = vertex({p.x, -light.ground, p.z}),
                         d = vertex({q.x, -light.ground, q.z});
            surfaces.fill(a, b, d, kind);
            surfaces.fill(a, d, c, kind);
        }
    };
    auto on_ground = [&](float x, float z) { return Point3{x, ground_height(x, z), z}; };
    const float last = static_cast<float>(kLast);
    side([&](int k) { return on_ground(0.0f, static_cast<float>(k)); }, SURFACE_WEST);
    side([&](int k) { return on_ground(last, static_cast<float>(k)); }, SURFACE_EAST);
    side([&](int k) { return on_ground(static_cast<float>(k), 0.0f); }, SURFACE_SOUTH);
    side([&](int k) { return on_ground(static_cast<float>(k), last); }, SURFACE_NORTH);
}

Colour LandView::shade_top(const Point3& p, float depth, const LandLight& light,
                           const std::vector<float>& shadow) const {
    const float gx = (ground_height(p.x + 1.0f, p.z) - ground_height(p.x - 1.0f, p.z)) * 0.5f;
    const float gz = (ground_height(p.x, p.z + 1.0f) - ground_height(p.x, p.z - 1.0f)) * 0.5f;
    const Point3 normal = normalised({-gx, 1.0f, -gz});
    // The shadow between the four mesh vertices around the point.
    const float sx = std::clamp(p.x / kStep, 0.0f, kShadowSize - 1.001f);
    const float sz = std::clamp(p.z / kStep, 0.0f, kShadowSize - 1.001f);
    const int i = static_cast<int>(sx), j = static_cast<int>(sz);
    auto at = [&](int a, int b) { return shadow[static_cast<size_t>(b) * kShadowSize + a]; };
    const float near = at(i, j) + (at(i + 1, j) - at(i, j)) * (sx - i);
    const float far = at(i, j + 1) + (at(i + 1, j + 1) - at(i, j + 1)) * (sx - i);
    const float sunlit =
        (near + (far - near) * (sz - j)) * std::max(0.0f, dot(normal, normalised(light.sun)));
    const float sky = 0.38f + 0.12f * normal.y;
    const Colour lit = Colour{sky, sky, sky * 1.1f} + light.tint * (0.85f * sunlit);
    const Colour c = base_colour(p.x, p.z) * lit;
    return mix(c, light.haze, haze_amount(depth, camera_));
}

// Layers of earth under a lip of the land's own colour, darker toward the
// floor of the block.
Colour LandView::shade_side(const Point3& p, int side, float depth, const LandLight& light) const {
    static const Point3 kNormals[] = {{-1, 0, 0}, {1, 0, 0}, {0, 0, -1}, {0, 0, 1}};
    const Point3 normal = kNormals[side - SURFACE_WEST];
    const float along = side == SURFACE_WEST || side == SURFACE_EAST ? p.z : p.x;
    const float top = ground_height(p.x, p.z);
    const float below = top - p.y;
    const uint32_t seed = 80u + seed_;
    const float wave =
        std::sin(p.y * 0.55f + 2.5f * fractal_noise(along / 60.0f, p.y / 25.0f, seed, 3));
    const Colour loam = {0.40f, 0.28f, 0.18f}, clay = {0.56f, 0.42f, 0.28f};
    const Colour dark = {0.24f, 0.17f, 0.12f};
    Colour c = mix(loam, clay, smoothstep(0.2f, 0.9f, wave));
    c = mix(c, dark, 0.5f * smoothstep(0.5f, 1.0f, -wave));
    const float stones =
        hash_unit(static_cast<int>(along * 1.5f), static_cast<int>(p.y * 1.5f), seed);
    if (stones > 0.93f) c = mix(c, Colour{0.62f, 0.58f, 0.52f}, 0.7f);
    // Turf at the top, with a dark line of roots under it.
    const float lip = 2.0f * camera_.relief;
    c = mix(c, dark, 0.6f * (1.0f - smoothstep(0.0f, 1.5f, std::fabs(below - lip))));
    c = mix(base_colour(p.x, p.z) * 0.85f, c, smoothstep(lip - 0.6f, lip + 0.6f, below));
    const float floor_shade = smoothstep(0.0f, top + light.ground, p.y + light.ground);
    const float sunlit = std::max(0.0f, dot(normal, normalised(light.sun)));
    const float brightness = (0.42f + 0.7f * sunlit) * (0.35f + 0.65f * floor_shade);
    return mix(c * brightness, light.haze, haze_amount(depth, camera_));
}

void LandView::paint(Canvas& canvas, const LandLight& light) const {
    Surfaces surfaces(canvas.width * kSuper, canvas.height * kSuper);
    rasterise(surfaces, light);
    const std::vector<float> shadow = sun_shadow(light);
    constexpr float kShare = 1.0f / (kSuper * kSuper);
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            Colour sum;
            float covered = 0.0f;
            for (int sy = 0; sy < kSuper; ++sy)
                for (int sx = 0; sx < kSuper; ++sx) {
                    const size_t i =
                        static_cast<size_t>(y * kSuper + sy) * surfaces.width + x * kSuper + sx;
                    const uint8_t kind = surfaces.surface[i];
                    if (kind == SURFACE_NONE) continue;
                    const Point3& p = surfaces.point[i];
                    sum =
                        sum + (kind == SURFACE_TOP ? shade_top(p, surfaces.depth[i], light, shadow)
                                                   : shade_side(p, kind, surfaces.depth[i], light));
                    covered += kShare;
                }
            if (covered > 0.0f) canvas.blend(x, y, sum * (kShare / covered), covered);
        }
}
