// Where a test finds the build's data and how it links files into its own
// folders (see test_files.h).
#include "support/test_files.h"

namespace fs = std::filesystem;

fs::path test_data_folder() { return fs::path(SHEEPFALL_DATA_DIR); }

fs::path test_build_folder() { return test_data_folder().parent_path(); }

#ifdef _WIN32
// Copies, not hard links: Windows refuses to delete a link's name while
// another process has the file open through any of its names, so a test that
// removes its own data/ would fail whenever a test beside it plays the same
// music file.
void link_test_file(const fs::path& target, const fs::path& link) {
    if (!fs::is_directory(target)) {
        fs::copy_file(target, link);
        return;
    }
    fs::copy(target, link, fs::copy_options::recursive);
}
#else
void link_test_file(const fs::path& target, const fs::path& link) {
    if (fs::is_directory(target))
        fs::create_directory_symlink(target, link);
    else
        fs::create_symlink(target, link);
}
#endif
