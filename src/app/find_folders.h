// Finding the game's folders at start: the data folder (named by --data, in
// the working folder, beside the executable, or where the game is
// installed) and the player's folder, handed to files/folders.
#pragma once

#include <string>

// Chooses the data folder and changes to the folder that holds it (the
// game's files name each other "data/..."), then the player's folder:
//   - installed data (found from the executable, whatever the working folder
//     holds), or a folder named by --data: the player's files go to
//     $XDG_DATA_HOME/sheepfall (default ~/.local/share/sheepfall), made with
//     mode 0700 when missing;
//   - otherwise data found in the working folder or beside the executable (a
//     build or unpacked folder): the player's files stay beside that data.
// `named` is --data's folder, empty when not given. False when that folder
// is missing or is no data folder; the reason is then on stderr. A player's
// folder that cannot be made is no failure: see player_folder_report_problem.
bool folders_choose(const std::string& named);

// Prints why the player's folder could not be made, as a console error
// line, when it could not; the game plays on and each file that cannot be
// written says so when it is written.
void player_folder_report_problem();
