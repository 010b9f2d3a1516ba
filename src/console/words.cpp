// Words of a text line: the one definition of a blank.
#include "console/words.h"

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

const char* skip_blanks(const char* text) {
    while (*text && is_blank(*text))
        text++;
    return text;
}

const char* word_end(const char* text) {
    while (*text && !is_blank(*text))
        text++;
    return text;
}
