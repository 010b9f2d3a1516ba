// Level file reader: owns the nine-line grammar. Each line is read as at
// most 255 characters (a longer one goes on as the next line) and must
// start with its keyword; the value is one number or one word after it.
#include "game/level_file.h"

#include "console/output.h"
#include "console/words.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

enum ValueKind { VALUE_INT, VALUE_FLOAT, VALUE_WORD };

struct LevelLine {
    const char* keyword;
    ValueKind kind;
};

const LevelLine LEVEL_LINES[] = {
    {"NB_SHEEP", VALUE_INT}, {"SHEEP_SPEED", VALUE_FLOAT}, {"LOGO", VALUE_WORD},
    {"WIDTH", VALUE_INT},    {"HEIGHT", VALUE_INT},        {"RAW", VALUE_WORD},
    {"BASE", VALUE_WORD},    {"DETAIL", VALUE_WORD},       {"MUSIC", VALUE_WORD},
};
constexpr int LEVEL_LINE_COUNT = 9;

void strip_line_break(char* line) {
    size_t length = std::strlen(line);
    while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r'))
        line[--length] = '\0';
}

bool parse_int(const char* text, int* value) {
    char* end = nullptr;
    errno = 0;
    long number = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || number < -2147483647L - 1 || number > 2147483647L)
        return false;
    *value = static_cast<int>(number);
    return true;
}

bool parse_float(const char* text, float* value) {
    const char* start = skip_blanks(text);
    // Decimal numbers only: "inf" and "nan" would make sheep that never land.
    const char* digits = start + (*start == '+' || *start == '-');
    if (!(*digits >= '0' && *digits <= '9') &&
        !(*digits == '.' && digits[1] >= '0' && digits[1] <= '9'))
        return false;
    char* end = nullptr;
    float number = std::strtof(start, &end);
    if (end == start || !std::isfinite(number)) return false;
    *value = number;
    return true;
}

// One word without blanks, at most 255 characters.
bool parse_word(const char* text, char (&word)[LEVEL_LINE_SIZE]) {
    const char* start = skip_blanks(text);
    size_t length = static_cast<size_t>(word_end(start) - start);
    if (length == 0) return false;
    std::memcpy(word, start, length);
    word[length] = '\0';
    return true;
}

bool parse_value(int index, const char* text, LevelInfo* info) {
    switch (index) {
    case 0: return parse_int(text, &info->nb_sheep);
    case 1: return parse_float(text, &info->sheep_speed);
    case 2: return parse_word(text, info->logo);
    case 3: return parse_int(text, &info->width);
    case 4: return parse_int(text, &info->height);
    case 5: return parse_word(text, info->raw);
    case 6: return parse_word(text, info->base);
    case 7: return parse_word(text, info->detail);
    case 8: return parse_word(text, info->music);
    }
    return false;
}

const char* kind_name(ValueKind kind) {
    switch (kind) {
    case VALUE_INT: return "a whole number";
    case VALUE_FLOAT: return "a number";
    case VALUE_WORD: return "a file name";
    }
    return "a value";
}

// Values that parse but cannot make a level that ends: sheep that rise or
// never arrive, or a count below zero. NB_SHEEP 0 is a level won at once.
bool value_playable(int index, const LevelInfo& read, const char* file_name) {
    if (index == 0 && (read.nb_sheep < 0 || read.nb_sheep > LEVEL_MAX_SHEEP)) {
        console_print_errorf("Level file %s: line 1: NB_SHEEP %d is not within 0 to %d",
                             file_name, read.nb_sheep, LEVEL_MAX_SHEEP);
        return false;
    }
    if (index == 1 && !(read.sheep_speed > 0.0f && read.sheep_speed <= LEVEL_MAX_SHEEP_SPEED)) {
        console_print_errorf("Level file %s: line 2: SHEEP_SPEED %g is not above 0 and at most %g",
                             file_name, static_cast<double>(read.sheep_speed),
                             static_cast<double>(LEVEL_MAX_SHEEP_SPEED));
        return false;
    }
    return true;
}

} // namespace

bool level_file_read(std::FILE* file, const char* file_name, LevelInfo* info) {
    LevelInfo read{};
    for (int i = 0; i < LEVEL_LINE_COUNT; i++) {
        const LevelLine& expected = LEVEL_LINES[i];
        char line[LEVEL_LINE_SIZE] = {};
        if (!std::fgets(line, sizeof line, file)) {
            if (std::ferror(file)) // a folder, say
                console_print_errorf("Can't read level file %s: %s", file_name,
                                     std::strerror(errno));
            else
                console_print_errorf("Level file %s ends before line %d (%s)", file_name, i + 1,
                                     expected.keyword);
            return false;
        }
        size_t keyword_length = std::strlen(expected.keyword);
        if (std::strncmp(line, expected.keyword, keyword_length) != 0) {
            console_print_errorf("Level file %s: line %d must start with %s", file_name, i + 1,
                                 expected.keyword);
            return false;
        }
        if (!parse_value(i, line + keyword_length, &read)) {
            console_print_errorf("Level file %s: %s needs %s", file_name, expected.keyword,
                                 kind_name(expected.kind));
            return false;
        }
        if (!value_playable(i, read, file_name)) return false;
        if (i == 0) std::memcpy(read.nb_sheep_line, line, sizeof line);
        if (i == 1) std::memcpy(read.sheep_speed_line, line, sizeof line);
    }
    strip_line_break(read.nb_sheep_line);
    strip_line_break(read.sheep_speed_line);
    *info = read;
    return true;
}
