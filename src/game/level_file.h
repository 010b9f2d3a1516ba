// The level description file: nine keyword lines naming the sheep to kill,
// their speed, the loading picture, the landscape's size and files, and the
// music. Read whole before any of it is used, so a broken file changes
// nothing.
#pragma once

#include <cstdio>

constexpr int LEVEL_LINE_SIZE = 256; // a line holds at most 255 characters
constexpr int LEVEL_MAX_SHEEP = 100000;         // NB_SHEEP is 0 to this
constexpr float LEVEL_MAX_SHEEP_SPEED = 10000.0f; // SHEEP_SPEED is above 0, at most this

struct LevelInfo {
    char nb_sheep_line[LEVEL_LINE_SIZE];    // line 1 as read, without its line break
    char sheep_speed_line[LEVEL_LINE_SIZE]; // line 2 likewise
    int nb_sheep;
    float sheep_speed;
    char logo[LEVEL_LINE_SIZE];
    int width;
    int height;
    char raw[LEVEL_LINE_SIZE];
    char base[LEVEL_LINE_SIZE];
    char detail[LEVEL_LINE_SIZE];
    char music[LEVEL_LINE_SIZE];
};

// Reads the nine lines of an open level file. False, with a console error
// line naming the file and the line, when a line is missing, does not start
// with its keyword, or its value does not parse or cannot play (NB_SHEEP
// outside 0 to 100000, SHEEP_SPEED not above 0 or above 10000); *info is
// then unchanged.
bool level_file_read(std::FILE* file, const char* file_name, LevelInfo* info);
