// Where a test finds the build's data and how it links files into its own
// folders (see test_files.h).
#include "support/test_files.h"

namespace fs = std::filesystem;

fs::path test_data_folder() { return fs::path(SHEEPFALL_DATA_DIR); }

fs::path test_build_folder() { return test_data_folder().parent_path(); }

#ifdef _WIN32
// One file: a hard link when the drive has them, else a copy.
static void link_or_copy(const fs::path& target, const fs::path& link) {
    std::error_code error;
    fs::create_hard_link(target, link, error);
    if (error) fs::copy_file(target, link);
}

void link_test_file(const fs::path& target, const fs::path& link) {
    if (!fs::is_directory(target)) return link_or_copy(target, link);
    fs::create_directories(link);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(target)) {
        const fs::path to = link / fs::relative(entry.path(), target);
        if (entry.is_directory())
            fs::create_directories(to);
        else
            link_or_copy(entry.path(), to);
    }
}
#else
void link_test_file(const fs::path& target, const fs::path& link) {
    if (fs::is_directory(target))
        fs::create_directory_symlink(target, link);
    else
        fs::create_symlink(target, link);
}
#endif
