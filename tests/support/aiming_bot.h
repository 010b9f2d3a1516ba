// A player who aims at the sheep that lands first and fires on it, through
// the real SDL event queue: each frame it pushes the mouse motion that turns
// the view to where a shot meets the sheep, and holds the button once it is
// on target. Used by the whole-game tests, the demo tests and the timedemo
// benchmark.
#pragma once

#include "game/flock.h"
#include "game/player.h"
#include "game/tuning.h"

#include <SDL.h>

#include <cmath>
#include <cstdlib>

class AimingBot {
  public:
    // A slot whose sheep the player lets land (none: every sheep is a target).
    const Sheep* spared = nullptr;

    // Pushes this frame's motion and button for the next pass of the loop.
    void aim_and_fire() { push_left_button(turn_toward_the_most_urgent_sheep()); }

    // Pushes the motion that turns the view to where a shot meets the sheep
    // that lands first; true when the view is on it.
    bool turn_toward_the_most_urgent_sheep() {
        Vector3 eye = {player_view().x, player_view().y, player_view().z};
        const Sheep* target = most_urgent_sheep(spared);
        Vector3 point{};
        if (!target || !intercept(*target, eye, &point)) {
            forget_motion();
            return false;
        }
        float dx = point.x - eye.x, dy = point.y - eye.y, dz = point.z - eye.z;
        float yaw = std::atan2(dz, dx);
        float pitch = -std::atan2(dy, std::sqrt(dx * dx + dz * dz));
        float yaw_after = player_view().yaw + pending_turn * RADIANS_PER_COUNT;
        float pitch_after = player_view().pitch + pending_tilt * RADIANS_PER_COUNT;
        int turn = static_cast<int>(std::lround(wrapped(yaw - yaw_after) / RADIANS_PER_COUNT));
        int tilt = static_cast<int>(std::lround((pitch - pitch_after) / RADIANS_PER_COUNT));
        push_mouse_motion(turn, tilt);
        pending_turn = turn;
        pending_tilt = tilt;
        return std::abs(turn) <= 1 && std::abs(tilt) <= 1;
    }

    // A new game: no motion is waiting to be polled.
    void forget_motion() { pending_turn = pending_tilt = 0; }

    static void push_mouse_motion(int dx, int dy) {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.xrel = dx;
        event.motion.yrel = dy;
        SDL_PushEvent(&event);
    }

    static void push_left_button(bool down) {
        SDL_Event event{};
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.button = SDL_BUTTON_LEFT;
        SDL_PushEvent(&event);
    }

  private:
    // The game's own tuning: the look at mouse_sensitivity's default, the
    // shots at their speed.
    static constexpr float RADIANS_PER_COUNT = LOOK_PER_COUNT;

    // The motion pushed before the last frame: the frame polled it at its end
    // and the next one turns the view by it.
    int pending_turn = 0, pending_tilt = 0;

    static float wrapped(float angle) {
        while (angle > 3.14159265f)
            angle -= 6.2831853f;
        while (angle < -3.14159265f)
            angle += 6.2831853f;
        return angle;
    }

    // Where a shot from the eye meets the sheep: the first time t at which the
    // sheep's place is SHOT_SPEED t from the eye.
    static bool intercept(const Sheep& s, const Vector3& eye, Vector3* point) {
        Vector3 v = {s.direction.x * s.speed, s.direction.y * s.speed, s.direction.z * s.speed};
        Vector3 d = {s.position.x - eye.x, s.position.y - eye.y, s.position.z - eye.z};
        float a = v.x * v.x + v.y * v.y + v.z * v.z - SHOT_SPEED * SHOT_SPEED;
        float b = 2.0f * (v.x * d.x + v.y * d.y + v.z * d.z);
        float c = d.x * d.x + d.y * d.y + d.z * d.z;
        float disc = b * b - 4.0f * a * c;
        if (disc < 0.0f) return false;
        float t = (-b - std::sqrt(disc)) / (2.0f * a);
        if (t < 0.0f) t = (-b + std::sqrt(disc)) / (2.0f * a);
        if (t < 0.0f) return false;
        *point = {s.position.x + v.x * t, s.position.y + v.y * t, s.position.z + v.z * t};
        return point->y > 0.0f;
    }

    // The falling sheep that lands first, leaving out the spared slot.
    static const Sheep* most_urgent_sheep(const Sheep* spared) {
        const Sheep* best = nullptr;
        float best_time = 1e30f;
        for (const Sheep& s : flock().sheep) {
            if (s.state != SHEEP_FALLING || s.speed <= 0.0f || &s == spared) continue;
            float time = s.position.y / (-s.direction.y * s.speed);
            if (time < best_time) {
                best_time = time;
                best = &s;
            }
        }
        return best;
    }
};
