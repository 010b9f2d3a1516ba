// Words of a text line, split at blanks the same way by the console, the
// level files and the material files.
#pragma once

// Space, tab, line feed, carriage return, vertical tab and form feed.
bool is_blank(char c);
// The text from its first character that is not a blank.
const char* skip_blanks(const char* text);
// Where the word that starts at text ends: its first blank or the text's end.
const char* word_end(const char* text);
