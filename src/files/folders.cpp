// Where the game's files are: owns the chosen data folder and the player's
// folder, and joins file names onto the latter.
#include "files/folders.h"

static std::string data_path;
static std::string player_path;

void data_folder_set(const std::string& folder) {
    data_path = folder;
}

const std::string& data_folder() {
    return data_path;
}

void player_folder_set(const std::string& folder) {
    player_path = folder;
    while (player_path.size() > 1 && player_path.back() == '/')
        player_path.pop_back();
}

const std::string& player_folder() {
    return player_path;
}

std::string player_file(const std::string& name) {
    if (player_path.empty()) return name;
    return player_path + "/" + name;
}
