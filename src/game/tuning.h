// The rules and feel of play in one place, each value with its unit: change
// the game here. The levels' own values (sheep to kill, their base speed)
// are in the level files, which the data tool writes from its level table.
#pragma once

#include <cstdint>

// The player
constexpr int START_LIVES = 5;            // lives at the start of every level
constexpr float WALK_SPEED = 40.0f;       // units a second per arrow key
constexpr float NEW_GAME_X = 256.0f;      // where a new game stands the player until
constexpr float NEW_GAME_Z = 256.0f;      //   the level places him in its middle
constexpr float EYE_HEIGHT = 10.0f;       // units above the ground
constexpr float PITCH_LIMIT = 1.5707964f; // radians: straight up or down
constexpr float LOOK_PER_COUNT = 0.01f;   // radians per mouse count (mouse_sensitivity's default)
constexpr float LOOK_PER_COUNT_MIN = 0.0001f; // the least and most mouse_sensitivity takes
constexpr float LOOK_PER_COUNT_MAX = 1.0f;

// The gamepad
constexpr float PAD_TURN_DEGREES_PER_S = 180.0f; // full tilt of the right stick (joy_sensitivity)
constexpr float PAD_DEAD_ZONE = 0.2f;            // of a stick's travel (joy_deadzone's default)
constexpr float PAD_TRIGGER_PULLED = 0.5f;       // of the trigger's travel: it fires from here

// The weapon
constexpr uint32_t SHOT_INTERVAL_MS = 100; // one shot per interval while the trigger is held
constexpr float SHOT_SPEED = 300.0f;       // units a second
constexpr float SHOT_RANGE = 10000.0f;     // units a shot flies at most
constexpr float SHOT_CEILING = 500.0f;     // height where a shot ends (the plane y = 0 ends it too)
constexpr float SHOT_REACH = 3.0f;         // units a shot's hit test reaches beyond its move
constexpr float HIT_DAMAGE = 25.0f;        // of a sheep's 100 health: four hits kill

// Camera shake, in degrees
constexpr float FIRE_SHAKE = 1.0f;           // while firing
constexpr float LANDING_SHAKE = 7.0f;        // added by each sheep that lands
constexpr float MAX_SHAKE = 12.0f;           // never more
constexpr float SHAKE_SETTLE_PER_S = 10.0f;  // degrees a second the shake settles by

// The sheep
constexpr int SHEEP_SLOTS = 10;              // sheep in the air and exploding at most
constexpr int SPAWN_AREA = 512;              // sheep start and aim inside 0 .. 511 of x and z
constexpr float SHEEP_START_HEIGHT = 400.0f; // units
constexpr float SHEEP_HALF_EXTENT = 10.0f;   // half the side of a sheep's hit box, units
constexpr int FIRST_SPAWN_MIN_S = 2;         // the first sheep of a level comes 2 to 6 s in
constexpr int SPAWN_MIN_S = 1;               // then one every 1 to 5 s
constexpr int SPAWN_SPREAD_S = 5;            //   (whole seconds: min + 0 .. spread - 1)
constexpr float SPEED_MIDDLE = 1.5f;         // a sheep falls at SPEED_MIDDLE +- SPEED_SPREAD
constexpr float SPEED_SPREAD = 0.5f;         //   times the level's speed: 1 to 2 times
constexpr float EXPLOSION_FADE_PER_S = 30.0f; // of 100, so an explosion lasts 3.3 s
constexpr float SHEEP_LANDING_HEIGHT = 150.0f; // radar blips turn red below this height

// The view
// Vertical, for the land, the sheep and the weapon; horizontal too while the
// picture stretches (keep_aspect 0), wider with the true aspect in a wide window.
constexpr double FIELD_OF_VIEW_DEGREES = 90.0;
constexpr float FIELD_OF_VIEW = 1.5707964f;    // the same in radians, for culling the land
constexpr float FOG_START = 90.0f;             // units from the eye
constexpr float FOG_END = 130.0f;              // units: nothing is seen beyond
constexpr double NEAR_PLANE = 1.0;             // units
constexpr double FAR_PLANE = 500.0;            // units

// The heads-up display's virtual screens, in their own units
constexpr double HUD_WIDTH = 640.0, HUD_HEIGHT = 480.0;       // crosshair and head
constexpr double RADAR_WIDTH = 1920.0, RADAR_HEIGHT = 1440.0; // radar: one unit a land unit
