// Whole files in and out: owns nothing between calls; reads files whole and
// writes them whole through a flushed temporary file and a rename. On
// Windows the same steps go through its own calls, with UTF-8 paths widened.
#include "files/file_io.h"

#include "open_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
// <windows.h> declares a function OpenFile, the name of the game's file holder.
#define OpenFile WindowsOpenFile
#include <windows.h>
#undef OpenFile
#else
#include <unistd.h>
#endif

#ifndef _WIN32
static const int MAX_LINKS = 40; // longer chains of symlinks are loops, as the system counts
static const mode_t NEW_FILE_MODE = 0666; // less the umask, as any program makes files
#endif

// errno's reason, when the caller asked for one; always false.
static bool failed_with_errno(std::string* reason) {
    if (reason) *reason = std::strerror(errno);
    return false;
}

bool read_whole_file(const char* path, std::vector<uint8_t>* bytes, std::string* reason) {
    OpenFile open_file(path);
    if (!open_file.file()) return failed_with_errno(reason);
    bytes->clear();
    uint8_t buffer[4096];
    for (;;) {
        size_t count = std::fread(buffer, 1, sizeof buffer, open_file.file());
        bytes->insert(bytes->end(), buffer, buffer + count);
        if (count == sizeof buffer) continue;
        if (std::ferror(open_file.file())) return failed_with_errno(reason); // a folder, say
        return true;
    }
}

std::string file_open_problem(const char* path) {
    OpenFile open_file(path);
    if (open_file.file()) return {};
    return std::strerror(errno);
}

#ifdef _WIN32
// A UTF-8 path as Windows' wide-character calls take it.
static std::wstring wide(const std::string& path) {
    int count = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    if (count <= 0) return {};
    std::wstring result(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, result.data(), count);
    result.resize(static_cast<size_t>(count - 1));
    return result;
}

// The errno value nearest to Windows' reason for its latest failure, so
// the player reads the same words as on other systems.
static int errno_of_last_error() {
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_WRITE_PROTECT: return EROFS;
    default: return EIO;
    }
}

namespace {

// A temporary file being written beside the file it will replace.
struct Temporary {
    std::string path;
    int fd = -1;
};

} // namespace

static int open_temporary(const std::string& target, Temporary* temporary) {
    temporary->path = target + ".tmp";
    std::wstring path = wide(temporary->path);
    if (_wunlink(path.c_str()) != 0 && errno != ENOENT) return errno;
    temporary->fd = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                           _S_IREAD | _S_IWRITE);
    return temporary->fd < 0 ? errno : 0;
}

static int fill_temporary(Temporary* temporary, const std::string& text) {
    size_t done = 0;
    bool ok = true;
    while (ok && done < text.size()) {
        size_t chunk = text.size() - done < (1u << 30) ? text.size() - done : (1u << 30);
        int count = _write(temporary->fd, text.data() + done, static_cast<unsigned>(chunk));
        ok = count > 0;
        if (ok) done += static_cast<size_t>(count);
    }
    ok = ok && _commit(temporary->fd) == 0;
    int error = ok ? 0 : errno;
    if (_close(temporary->fd) != 0 && error == 0) error = errno;
    temporary->fd = -1;
    return error;
}

// The flushed temporary file over the target in one step, written through
// to the disk before the call returns. Gives an errno value, 0 on success.
static int move_over(const std::string& from, const std::string& to) {
    if (MoveFileExW(wide(from).c_str(), wide(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    return errno_of_last_error();
}

static void close_and_remove(Temporary* temporary) {
    if (temporary->fd >= 0) _close(temporary->fd);
    _wunlink(wide(temporary->path).c_str());
}

static bool is_folder(const std::string& path) {
    DWORD attributes = GetFileAttributesW(wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool replace_file(const char* path, const std::string& text, std::string* reason) {
    // Windows would refuse the move as "access denied": say what is in the way.
    if (is_folder(path)) {
        *reason = std::strerror(EISDIR);
        return false;
    }
    Temporary temporary;
    int error = open_temporary(path, &temporary);
    if (error == 0) error = fill_temporary(&temporary, text);
    if (error == 0) error = move_over(temporary.path, path);
    if (error != 0) {
        close_and_remove(&temporary);
        *reason = std::strerror(error);
        return false;
    }
    return true;
}

bool check_file_replaceable(const char* path, std::string* reason) {
    if (is_folder(path)) {
        *reason = std::strerror(EISDIR);
        return false;
    }
    Temporary temporary;
    int error = open_temporary(path, &temporary);
    close_and_remove(&temporary);
    if (error == 0) return true;
    *reason = std::strerror(error);
    return false;
}

bool remove_file(const char* path, std::string* reason) {
    if (_wunlink(wide(path).c_str()) == 0 || errno == ENOENT) return true;
    *reason = std::strerror(errno);
    return false;
}
#else
// The folder part of a path with its slash ("" for a name alone, "/" for
// a file at the root).
static std::string folder_prefix(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// The file a write of PATH lands on: PATH itself, or where its chain of
// symlinks ends (which need not exist yet).
static bool follow_links(const std::string& path, std::string* target, std::string* reason) {
    *target = path;
    for (int i = 0; i < MAX_LINKS; i++) {
        struct stat info;
        if (lstat(target->c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
        char link[4096];
        ssize_t length = readlink(target->c_str(), link, sizeof link);
        if (length < 0 || length == static_cast<ssize_t>(sizeof link)) {
            *reason = std::strerror(length < 0 ? errno : ENAMETOOLONG);
            return false;
        }
        std::string next(link, static_cast<size_t>(length));
        *target = next[0] == '/' ? next : folder_prefix(*target) + next;
    }
    *reason = std::strerror(ELOOP);
    return false;
}

// The system's reason for the latest failure; through a symlink, with the
// path of the file it leads to, so the player knows which file it was.
static std::string failure(const std::string& path, const std::string& target, int error) {
    std::string why = std::strerror(error);
    return target == path ? why : target + ": " + why;
}

namespace {

// A temporary file being written beside the file it will replace.
struct Temporary {
    std::string path;
    int fd = -1;
    bool keep_mode = false; // the target exists: its mode bits go on the new file
    mode_t mode = 0;
};

} // namespace

// Makes TARGET.tmp new and empty (a stale one from a crash goes first, and
// never is a symlink followed there). Gives errno's value, 0 on success.
static int open_temporary(const std::string& target, Temporary* temporary) {
    struct stat info;
    temporary->keep_mode = stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    temporary->mode = temporary->keep_mode ? (info.st_mode & 07777) : 0;
    temporary->path = target + ".tmp";
    if (unlink(temporary->path.c_str()) != 0 && errno != ENOENT) return errno;
    // Only the owner can touch it until its mode is set.
    mode_t mode = temporary->keep_mode ? 0600 : NEW_FILE_MODE;
    temporary->fd = open(temporary->path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    return temporary->fd < 0 ? errno : 0;
}

static bool write_all(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t count = write(fd, text.data() + done, text.size() - done);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        done += static_cast<size_t>(count);
    }
    return true;
}

// Writes the text, sets the mode and flushes it to the disk, then closes the
// file. Gives errno's value, 0 on success.
static int fill_temporary(Temporary* temporary, const std::string& text) {
    bool ok = write_all(temporary->fd, text) &&
              (!temporary->keep_mode || fchmod(temporary->fd, temporary->mode) == 0) &&
              fsync(temporary->fd) == 0;
    int error = ok ? 0 : errno;
    if (close(temporary->fd) != 0 && error == 0) error = errno;
    temporary->fd = -1;
    return error;
}

// After a rename: the folder's new entry flushed too, so a power cut cannot
// bring back the old name. Some file systems cannot flush a folder; the
// file is in place all the same, so that is no failure.
static void flush_folder_of(const std::string& path) {
    std::string folder = folder_prefix(path);
    int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

bool replace_file(const char* path, const std::string& text, std::string* reason) {
    std::string target;
    if (!follow_links(path, &target, reason)) return false;
    Temporary temporary;
    int error = open_temporary(target, &temporary);
    if (error == 0) error = fill_temporary(&temporary, text);
    if (error == 0 && std::rename(temporary.path.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        if (temporary.fd >= 0) close(temporary.fd);
        unlink(temporary.path.c_str());
        *reason = failure(path, target, error);
        return false;
    }
    flush_folder_of(target);
    return true;
}

bool check_file_replaceable(const char* path, std::string* reason) {
    std::string target;
    if (!follow_links(path, &target, reason)) return false;
    struct stat info;
    if (stat(target.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        *reason = failure(path, target, EISDIR);
        return false;
    }
    Temporary temporary;
    int error = open_temporary(target, &temporary);
    if (temporary.fd >= 0) close(temporary.fd);
    unlink(temporary.path.c_str());
    if (error == 0) return true;
    *reason = failure(path, target, error);
    return false;
}

bool remove_file(const char* path, std::string* reason) {
    struct stat info;
    if (lstat(path, &info) == 0 && S_ISLNK(info.st_mode)) return replace_file(path, "", reason);
    if (std::remove(path) == 0 || errno == ENOENT) return true;
    *reason = std::strerror(errno);
    return false;
}
#endif
