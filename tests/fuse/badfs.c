/* A read-only file system serving the bytes of one backing file under three names, each failing
 * the way a damaged disc or drive does:
 *   disc.dat       reads touching one of the chosen byte ranges fail with EIO (scratched sectors);
 *   dying.dat      every read that reaches past the first N bytes fails with EIO, while the root
 *                  still answers (a drive that stops reading part way through the disc);
 *   vanishing.dat  the first read that reaches past the first N bytes fails with EIO, and from
 *                  then on the file is gone (ENOENT).
 * All three report one inode number: files that the volume identity cannot tell apart, as files
 * on two volumes of serial 0 under Wine can be.
 * Usage: badfs <backing-file> <first-last[,first-last...]> <N> <mountpoint> [fuse options]
 * Ranges are 0-based and inclusive. Direct I/O keeps the page cache out, so each read the
 * program makes reaches this file system with its own offset and size; no entry or attribute
 * is cached, so a vanished file is missing at once. */
#define FUSE_USE_VERSION 31
#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum Kind { kNone = -1, kDisc, kDying, kVanishing };
static const char* const kNames[] = {"/disc.dat", "/dying.dat", "/vanishing.dat"};
static int backing = -1;
static off_t backingSize = 0;
static struct { off_t first, last; } bad[64];
static int badCount = 0;
static off_t failAfter = 0;
static int vanished = 0;

static enum Kind KindOf(const char* path) {
    for (int k = kDisc; k <= kVanishing; ++k)
        if (strcmp(path, kNames[k]) == 0) return (k == kVanishing && vanished) ? kNone : (enum Kind)k;
    return kNone;
}

static void* bf_init(struct fuse_conn_info* conn, struct fuse_config* cfg) {
    (void)conn;
    cfg->use_ino = 1;
    cfg->entry_timeout = 0;
    cfg->attr_timeout = 0;
    cfg->negative_timeout = 0;
    return NULL;
}

static int bf_getattr(const char* path, struct stat* st, struct fuse_file_info* fi) {
    (void)fi;
    memset(st, 0, sizeof(*st));
    if (strcmp(path, "/") == 0) {
        st->st_mode = S_IFDIR | 0755;
        st->st_nlink = 2;
        st->st_ino = 1;
        return 0;
    }
    if (KindOf(path) == kNone) return -ENOENT;
    st->st_mode = S_IFREG | 0444;
    st->st_nlink = 1;
    st->st_ino = 2;
    st->st_size = backingSize;
    return 0;
}

static int bf_readdir(const char* path, void* buf, fuse_fill_dir_t fill, off_t off, struct fuse_file_info* fi,
                      enum fuse_readdir_flags flags) {
    (void)off;
    (void)fi;
    (void)flags;
    if (strcmp(path, "/") != 0) return -ENOENT;
    fill(buf, ".", NULL, 0, 0);
    fill(buf, "..", NULL, 0, 0);
    for (int k = kDisc; k <= kVanishing; ++k)
        if (KindOf(kNames[k]) != kNone) fill(buf, kNames[k] + 1, NULL, 0, 0);
    return 0;
}

static int bf_open(const char* path, struct fuse_file_info* fi) {
    if (KindOf(path) == kNone) return -ENOENT;
    if ((fi->flags & O_ACCMODE) != O_RDONLY) return -EACCES;
    fi->direct_io = 1;
    return 0;
}

static int bf_read(const char* path, char* buf, size_t size, off_t off, struct fuse_file_info* fi) {
    (void)fi;
    const enum Kind kind = KindOf(path);
    if (kind == kNone) return vanished ? -EIO : -ENOENT;
    if (off >= backingSize) return 0;
    if ((off_t)size > backingSize - off) size = (size_t)(backingSize - off);
    const off_t last = off + (off_t)size - 1;
    if (kind == kDisc)
        for (int i = 0; i < badCount; ++i)
            if (off <= bad[i].last && last >= bad[i].first) return -EIO;
    if (kind != kDisc && last >= failAfter) {
        if (kind == kVanishing) vanished = 1;
        return -EIO;
    }
    ssize_t n = pread(backing, buf, size, off);
    return n < 0 ? -errno : (int)n;
}

static const struct fuse_operations ops = {
    .getattr = bf_getattr,
    .readdir = bf_readdir,
    .open = bf_open,
    .read = bf_read,
    .init = bf_init,
};

int main(int argc, char* argv[]) {
    if (argc < 5) {
        fprintf(stderr, "usage: %s <backing-file> <first-last,...> <N> <mountpoint> [fuse options]\n", argv[0]);
        return 2;
    }
    backing = open(argv[1], O_RDONLY);
    if (backing < 0) {
        perror(argv[1]);
        return 2;
    }
    backingSize = lseek(backing, 0, SEEK_END);
    for (char* r = strtok(argv[2], ","); r && badCount < 64; r = strtok(NULL, ",")) {
        long long first = 0, last = 0;
        if (sscanf(r, "%lld-%lld", &first, &last) == 2) {
            bad[badCount].first = first;
            bad[badCount].last = last;
            ++badCount;
        }
    }
    failAfter = (off_t)atoll(argv[3]);
    /* fuse_main sees the program name, the mount point and the remaining options. */
    argv[3] = argv[0];
    return fuse_main(argc - 3, argv + 3, &ops, NULL);
}
