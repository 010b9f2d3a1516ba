// Finding the game's folders at start: owns the reason the player's folder
// could not be made; looks for the data folder from the executable's own
// place and the working folder, and makes the player's folder.
#include "app/find_folders.h"

#include "console/output.h"
#include "files/folders.h"

#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

static std::string player_folder_problem;

// Where an installed game's data lies, seen from its executable's folder:
// the Debian layout for games (PREFIX/games, PREFIX/share/games/sheepfall)
// first, then the usual one (PREFIX/bin, PREFIX/share/sheepfall). Relative,
// so an installed prefix can be moved.
static const char* const INSTALLED_DATA[] = {"../share/games/sheepfall/data",
                                             "../share/sheepfall/data"};
#ifdef _WIN32
// On Windows the installer puts the data beside the executable with its
// uninstaller, which an unpacked zip never has; the player's files then go
// to %APPDATA%\Sheepfall.
static const char* const UNINSTALLER = "Uninstall.exe";
static const char* const GAME_NAME = "Sheepfall";
#else
static const char* const GAME_NAME = "sheepfall";
#endif

static bool is_folder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

static fs::path executable_folder() {
    char* base = SDL_GetBasePath();
    if (!base) return {};
    fs::path folder = base;
    SDL_free(base);
    return folder;
}

// The folder as an absolute path without "." or ".." parts or a final "/".
static fs::path tidy(const fs::path& folder) {
    std::error_code error;
    fs::path absolute = fs::absolute(folder, error).lexically_normal();
    if (!absolute.has_filename()) absolute = absolute.parent_path();
    return absolute;
}

// Checks the folder --data names; the reason on stderr when it is not usable.
static bool named_data_usable(const std::string& named, const fs::path& folder) {
    std::error_code error;
    const char* reason = nullptr;
    if (!fs::exists(folder, error))
        reason = "no such folder";
    else if (!is_folder(folder))
        reason = "not a folder";
    else if (folder.filename() != "data")
        reason = "a data folder must be named data (its files name each other data/...)";
    if (!reason) return true;
    std::fprintf(stderr, "sheepfall: --data %s: %s\n", named.c_str(), reason);
    return false;
}

// The data folder the game plays from when --data names none; *installed
// tells whether it is an installed game's. An installed game (its data under
// ../share from its executable) always reads its own data: a data/ that
// happens to lie in the working folder belongs to something else. Only a
// game without installed data (run from its build or unpacked folder) reads
// data/ in the working folder, else the one beside its executable. Empty
// when there is none: the game then starts where it is and says which files
// it misses.
static fs::path find_data_folder(bool* installed) {
    fs::path executable = executable_folder();
    *installed = true;
    if (!executable.empty())
        for (const char* relative : INSTALLED_DATA)
            if (is_folder(executable / relative)) return tidy(executable / relative);
#ifdef _WIN32
    std::error_code error;
    if (!executable.empty() && is_folder(executable / "data") &&
        fs::exists(executable / UNINSTALLER, error))
        return tidy(executable / "data");
#endif
    *installed = false;
    if (is_folder("data")) return tidy("data");
    if (!executable.empty() && is_folder(executable / "data")) return tidy(executable / "data");
    return {};
}

#ifdef _WIN32
// %APPDATA%\Sheepfall (the roaming application data of the player's
// account), made by SDL when missing.
static fs::path player_folder_wanted() {
    char* prefs = SDL_GetPrefPath(nullptr, GAME_NAME);
    if (!prefs) {
        player_folder_problem = std::string("Can't find a folder for your files: ") + SDL_GetError();
        return fs::path("C:\\nonexistent") / GAME_NAME;
    }
    fs::path folder = prefs;
    SDL_free(prefs);
    return tidy(folder);
}
#else
// $XDG_DATA_HOME/sheepfall, or ~/.local/share/sheepfall when XDG_DATA_HOME
// is unset, empty or relative (which the XDG rules say to ignore). Without
// a home folder: the Debian name for none, so every write fails and says so.
static fs::path player_folder_wanted() {
    const char* data_home = SDL_getenv("XDG_DATA_HOME");
    if (data_home && data_home[0] == '/') return tidy(fs::path(data_home) / GAME_NAME);
    const char* home = SDL_getenv("HOME");
    if (home && home[0] == '/') return tidy(fs::path(home) / ".local/share" / GAME_NAME);
    player_folder_problem = "Can't find a folder for your files: HOME is not set";
    return fs::path("/nonexistent") / GAME_NAME;
}
#endif

// Makes every missing folder of the path with mode 0700, as the XDG rules
// ask. False with the reason when one cannot be made.
static bool make_private_folders(const fs::path& folder, std::string* reason) {
    // From the root ("/", or "C:\" with its drive: a drive name alone is
    // that drive's working folder, not a folder to make).
    fs::path made = folder.root_path();
    for (const fs::path& part : folder.relative_path()) {
        made /= part;
        std::error_code error;
        if (fs::exists(made, error)) {
            if (is_folder(made)) continue;
            *reason = made.string() + " is not a folder";
            return false;
        }
        fs::create_directory(made, error);
        if (!error) fs::permissions(made, fs::perms::owner_all, error);
        if (error) {
            *reason = error.message();
            return false;
        }
    }
    return true;
}

static void choose_player_folder() {
    fs::path folder = player_folder_wanted();
    std::string reason;
    if (player_folder_problem.empty() && !make_private_folders(folder, &reason))
        player_folder_problem = "Can't make " + folder.string() + " for your files: " + reason;
    if (!player_folder_problem.empty())
        std::fprintf(stderr, "sheepfall: %s\n", player_folder_problem.c_str());
    player_folder_set(folder.string());
}

bool folders_choose(const std::string& named) {
    player_folder_problem.clear();
    fs::path data;
    bool installed = true; // a folder named by --data is read, never written
    if (!named.empty()) {
        data = tidy(named);
        if (!named_data_usable(named, data)) return false;
    } else {
        data = find_data_folder(&installed);
    }
    if (!data.empty()) {
        data_folder_set(data.string());
        std::error_code error;
        fs::current_path(data.parent_path(), error);
    }
    if (installed) choose_player_folder();
    return true;
}

void player_folder_report_problem() {
    if (!player_folder_problem.empty()) console_print_error(player_folder_problem.c_str());
}
