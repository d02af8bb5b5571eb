// A share that stops answering, for tests and benchmarks on Linux: a FUSE file system that shows
// a folder as it is, except that while a flag file exists every read of a file's content and
// every listing of a folder waits until the flag is gone, as a read from a share whose server has
// gone quiet waits; saves through it pass straight on. Opening and looking at a file answer at
// once: Wine's server opens files itself, and a wait there would hold every Wine process rather
// than the one thread that reads.
// Every request on a path is counted, a line each with the milliseconds of a steady clock
// ("5021734 getattr /Alert.ppsv"), in "<flag>.count", so that a test can tell how often a program
// asks the share.
//   stallfs <folder shown> <flag file> <mount point> [fuse options]
#define FUSE_USE_VERSION 31
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <limits.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

static const char* shown;
static const char* flag;
static char held[PATH_MAX];
static char counted[PATH_MAX];

static void Count(const char* request, const char* path) {
    FILE* file = fopen(counted, "a");
    if (!file) return;
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    fprintf(file, "%lld %s %s\n", (long long)now.tv_sec * 1000 + now.tv_nsec / 1000000, request,
            path);
    fclose(file);
}

static void Backing(char* out, const char* path) {
    snprintf(out, PATH_MAX, "%s%s", shown, path);
}

// Waits while the flag exists; "<flag>.held" then tells a test that a request is being held.
// 0 once the flag is gone; -EINTR when the process that waits is being ended, so that a program
// can always end while the share stalls (as a stuck read is cancelled when its process ends).
static int WhileStalled(void) {
    const struct timespec tick = {0, 10 * 1000 * 1000};
    if (access(flag, F_OK) == 0) close(open(held, O_WRONLY | O_CREAT, 0644));
    while (access(flag, F_OK) == 0) {
        if (fuse_interrupted()) return -EINTR;
        nanosleep(&tick, NULL);
    }
    return 0;
}

static void* Init(struct fuse_conn_info* conn, struct fuse_config* cfg) {
    (void)conn;
    // Every look and read reaches this program: nothing answers from the kernel's caches.
    cfg->entry_timeout = 0;
    cfg->attr_timeout = 0;
    cfg->negative_timeout = 0;
    cfg->direct_io = 1;
    cfg->use_ino = 1;
    cfg->intr = 1;
    cfg->intr_signal = SIGUSR1;
    return NULL;
}

static int GetAttr(const char* path, struct stat* st, struct fuse_file_info* fi) {
    (void)fi;
    Count("getattr", path);
    char real[PATH_MAX];
    Backing(real, path);
    return lstat(real, st) == 0 ? 0 : -errno;
}

static int ReadDir(const char* path, void* buf, fuse_fill_dir_t fill, off_t offset,
                   struct fuse_file_info* fi, enum fuse_readdir_flags flags) {
    (void)offset, (void)fi, (void)flags;
    Count("readdir", path);
    const int stalled = WhileStalled();
    if (stalled) return stalled;
    char real[PATH_MAX];
    Backing(real, path);
    DIR* dir = opendir(real);
    if (!dir) return -errno;
    for (struct dirent* entry; (entry = readdir(dir)) != NULL;) {
        if (fill(buf, entry->d_name, NULL, 0, 0)) break;
    }
    closedir(dir);
    return 0;
}

static int Open(const char* path, struct fuse_file_info* fi) {
    Count("open", path);
    char real[PATH_MAX];
    Backing(real, path);
    const int fd = open(real, fi->flags & (O_ACCMODE | O_TRUNC | O_APPEND));
    if (fd < 0) return -errno;
    fi->fh = (uint64_t)fd;
    fi->direct_io = 1;
    return 0;
}

static int Read(const char* path, char* buf, size_t size, off_t offset,
                struct fuse_file_info* fi) {
    Count("read", path);
    const int stalled = WhileStalled();
    if (stalled) return stalled;
    const ssize_t got = pread((int)fi->fh, buf, size, offset);
    return got < 0 ? -errno : (int)got;
}

// Saves through the share (a file made, written, renamed over another, cut or deleted) go
// straight through, never held: they are what a file server sends its change notices for, so that
// a test can save on the share as an administrator does and see the notice reach the screen.
static int Create(const char* path, mode_t mode, struct fuse_file_info* fi) {
    Count("create", path);
    char real[PATH_MAX];
    Backing(real, path);
    const int fd = open(real, fi->flags | O_CREAT, mode);
    if (fd < 0) return -errno;
    fi->fh = (uint64_t)fd;
    fi->direct_io = 1;
    return 0;
}

static int Write(const char* path, const char* buf, size_t size, off_t offset,
                 struct fuse_file_info* fi) {
    Count("write", path);
    const ssize_t put = pwrite((int)fi->fh, buf, size, offset);
    return put < 0 ? -errno : (int)put;
}

static int Rename(const char* from, const char* to, unsigned int flags) {
    Count("rename", from);
    if (flags) return -EINVAL;
    char realFrom[PATH_MAX], realTo[PATH_MAX];
    Backing(realFrom, from);
    Backing(realTo, to);
    return rename(realFrom, realTo) == 0 ? 0 : -errno;
}

static int Truncate(const char* path, off_t size, struct fuse_file_info* fi) {
    Count("truncate", path);
    if (fi) return ftruncate((int)fi->fh, size) == 0 ? 0 : -errno;
    char real[PATH_MAX];
    Backing(real, path);
    return truncate(real, size) == 0 ? 0 : -errno;
}

static int Unlink(const char* path) {
    Count("unlink", path);
    char real[PATH_MAX];
    Backing(real, path);
    return unlink(real) == 0 ? 0 : -errno;
}

static int Utimens(const char* path, const struct timespec times[2], struct fuse_file_info* fi) {
    Count("utimens", path);
    if (fi) return futimens((int)fi->fh, times) == 0 ? 0 : -errno;
    char real[PATH_MAX];
    Backing(real, path);
    return utimensat(AT_FDCWD, real, times, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : -errno;
}

static int Release(const char* path, struct fuse_file_info* fi) {
    (void)path;
    close((int)fi->fh);
    return 0;
}

static void Interrupted(int signal) {
    (void)signal;
}

static const struct fuse_operations kOperations = {
    .getattr = GetAttr,
    .open = Open,
    .read = Read,
    .release = Release,
    .readdir = ReadDir,
    .create = Create,
    .write = Write,
    .rename = Rename,
    .truncate = Truncate,
    .unlink = Unlink,
    .utimens = Utimens,
    .init = Init,
};

int main(int argc, char* argv[]) {
    if (argc < 4) {
        fprintf(stderr, "usage: stallfs <folder shown> <flag file> <mount point> [fuse options]\n");
        return 2;
    }
    static char shownFull[PATH_MAX], flagFull[PATH_MAX];
    if (!realpath(argv[1], shownFull)) return perror(argv[1]), 2;
    // The flag need not exist yet: its folder must.
    snprintf(flagFull, sizeof flagFull, "%s", argv[2]);
    shown = shownFull;
    flag = flagFull;
    snprintf(held, sizeof held, "%s.held", flagFull);
    snprintf(counted, sizeof counted, "%s.count", flagFull);
    // A request that waits learns that its process is being ended by this signal, which must not
    // end this program (the library sets up no handler for it when asked in Init).
    struct sigaction ignored = {0};
    ignored.sa_handler = Interrupted;
    sigaction(SIGUSR1, &ignored, NULL);
    argv[2] = argv[0];
    return fuse_main(argc - 2, argv + 2, &kOperations, NULL);
}
