// The files every test process shares: the build's data folder, the build
// folder where tests leave pictures, and links to data files in a test's
// own folders. On Linux a test's data/ is a symbolic link to the build's
// data folder; on Windows, where programs may not make symbolic links, it is
// a copy of it, so that no two test processes share a file.
#pragma once

#include <filesystem>

// The build's data folder, which every test's data/ shows.
std::filesystem::path test_data_folder();

// The build folder (the data folder's parent): pictures the tests leave for
// the README go to its screenshots/.
std::filesystem::path test_build_folder();

// Makes `link` show the file or folder `target`: a symbolic link on Linux;
// on Windows a copy of it.
void link_test_file(const std::filesystem::path& target, const std::filesystem::path& link);
