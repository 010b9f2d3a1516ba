// Where the game's files are: the data folder it reads, and the folder the
// player's own files are written to and read back from (log.txt,
// config.cfg, autoexec.cfg, history.txt, screenshots/ and demos/). The
// platform layer chooses both at start; everything else asks here.
#pragma once

#include <string>

// The data folder in use (empty until one is chosen).
void data_folder_set(const std::string& folder);
const std::string& data_folder();

// The player's folder. Empty means the working folder, which is the folder
// that holds data/ when the game plays from its build folder.
void player_folder_set(const std::string& folder);
const std::string& player_folder();

// The path of NAME in the player's folder: NAME itself while that is the
// working folder, so messages read "config.cfg" as they always have.
std::string player_file(const std::string& name);
