// Material files: owns their grammar. Each material is a block of lines:
//   1  anything (a title)
//   2  base texture file name
//   3  combine keyword of the base layer (kept, not applied)
//   4  ENVMAP ON|OFF for the base layer
//   5  second texture file name, or NULL for a one-layer material
//   6  combine keyword of the second layer
//   7  ENVMAP ON|OFF for the second layer
// From each line only the first word (or the two words of an ENVMAP line) is
// taken. Lines end with LF or CR LF; a line longer than 254 characters is
// read as several lines.
#include "model/material.h"

#include "console/output.h"
#include "console/words.h"
#include "files/file_io.h"
#include "textures/texture.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr size_t LINE_SIZE = 256;
constexpr size_t LINE_MAX_CHARACTERS = 254;

// Hands out the lines of a text one at a time.
class LineReader {
  public:
    LineReader(const char* text, size_t size) : text_(text), size_(size) {}
    // False at the end of the text. The line is stored without its line end.
    bool next(char (&line)[LINE_SIZE]) {
        if (at_ >= size_) return false;
        number_++;
        size_t length = 0;
        while (at_ < size_ && text_[at_] != '\n' && length < LINE_MAX_CHARACTERS)
            line[length++] = text_[at_++];
        if (at_ < size_ && text_[at_] == '\n') at_++;
        if (length > 0 && line[length - 1] == '\r') length--;
        line[length] = '\0';
        return true;
    }
    // The number of the line read last, from 1.
    int number() const { return number_; }

  private:
    const char* text_;
    size_t size_;
    size_t at_ = 0;
    int number_ = 0;
};

// Copies the word that starts at or after *from into word and moves *from
// past it; false when only blanks are left.
bool next_word(const char** from, char (&word)[LINE_SIZE]) {
    const char* p = skip_blanks(*from);
    size_t length = static_cast<size_t>(word_end(p) - p);
    if (length == 0) return false;
    std::memcpy(word, p, length); // a line holds fewer than LINE_SIZE characters
    word[length] = '\0';
    *from = p + length;
    return true;
}

class MaterialParser {
  public:
    MaterialParser(const char* text, size_t size, MaterialTextureLoader load)
        : lines_(text, size), load_(load) {}

    enum Result { PARSED, BAD_FILE, NO_TEXTURE };

    // What was wrong where a block gave BAD_FILE: "line 5: blank where a
    // word is needed", "ends after line 12" or "empty".
    void problem(char* text, size_t size) const {
        if (ended_ && lines_.number() == 0)
            std::snprintf(text, size, "empty");
        else if (ended_)
            std::snprintf(text, size, "ends after line %d", lines_.number());
        else
            std::snprintf(text, size, "line %d: %s", lines_.number(), missing_);
    }

    Result block(MaterialLayers* layers) {
        char word[LINE_SIZE];
        if (!lines_.next(line_)) { // the title line
            ended_ = true;
            return BAD_FILE;
        }
        if (!first_word(word)) return BAD_FILE;
        layers->base_texture = load_(word);
        if (!layers->base_texture) return NO_TEXTURE;
        if (!first_word(word)) return BAD_FILE;
        layers->base_combine = combine_mode_from_name(word);
        if (!env_map_line(&layers->base_env_map)) return BAD_FILE;
        if (!first_word(word)) return BAD_FILE;
        if (std::strcmp(word, "NULL") == 0) return PARSED;
        layers->has_second_layer = true;
        layers->second_texture = load_(word);
        if (!layers->second_texture) return NO_TEXTURE;
        if (!first_word(word)) return BAD_FILE;
        layers->second_combine = combine_mode_from_name(word);
        if (!env_map_line(&layers->second_env_map)) return BAD_FILE;
        return PARSED;
    }

  private:
    // The first word of the next line; false at the end or on a blank line.
    bool first_word(char (&word)[LINE_SIZE]) {
        if (!lines_.next(line_)) {
            ended_ = true;
            return false;
        }
        after_word_ = line_;
        missing_ = "blank where a word is needed";
        return next_word(&after_word_, word);
    }
    // "ENVMAP ON" turns environment mapping on; ENVMAP with any other word, or
    // a line that starts with another word, leaves it off. A blank line or an
    // ENVMAP without its word is an error.
    bool env_map_line(bool* env_map) {
        char word[LINE_SIZE];
        if (!first_word(word)) return false;
        *env_map = false;
        if (std::strcmp(word, "ENVMAP") != 0) return true;
        if (!next_word(&after_word_, word)) {
            missing_ = "ENVMAP needs ON or OFF";
            return false;
        }
        *env_map = std::strcmp(word, "ON") == 0;
        return true;
    }

    LineReader lines_;
    MaterialTextureLoader load_;
    char line_[LINE_SIZE] = {};
    const char* after_word_ = line_; // where the line's first word ends
    bool ended_ = false;             // the text ended where a line was needed
    const char* missing_ = "";       // else what the last line lacked
};

Texture* load_cached_texture(const char* file_name) {
    return texture_load(file_name, false);
}

} // namespace

CombineMode combine_mode_from_name(const char* word) {
    if (std::strcmp(word, "ADD_SIGNED") == 0) return COMBINE_ADD_SIGNED;
    if (std::strcmp(word, "ADD") == 0) return COMBINE_ADD;
    if (std::strcmp(word, "ALPHA") == 0) return COMBINE_ALPHA;
    if (std::strcmp(word, "MULTIPLY") == 0) return COMBINE_MULTIPLY;
    return COMBINE_DEFAULT;
}

bool material_parse(Model* model, const char* text, size_t size, const char* path,
                    MaterialTextureLoader load_texture) {
    model->material_layers.assign(model->material_count, MaterialLayers{});
    MaterialParser parser(text, size, load_texture);
    for (MaterialLayers& layers : model->material_layers) {
        MaterialParser::Result result = parser.block(&layers);
        if (result == MaterialParser::PARSED) continue;
        if (result == MaterialParser::BAD_FILE) {
            char problem[64];
            parser.problem(problem, sizeof problem);
            console_print_errorf("Bad material file %s: %s", path, problem);
        }
        model->material_layers.clear();
        return false;
    }
    return true;
}

bool material_load(Model* model, const char* path) {
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!read_whole_file(path, &bytes, &reason)) {
        console_print_errorf("Can't open material file %s: %s", path, reason.c_str());
        return false;
    }
    return material_parse(model, reinterpret_cast<const char*>(bytes.data()), bytes.size(), path,
                          load_cached_texture);
}
